// Final coordinates into the project's coordinate file through the
// coordinate file library: each answer of the overwrite question, the
// identical point kept without asking, the request the question gets, the
// vertical-only point, an invalid name, the point-number ranges, and the
// new file's type.

#include "final_coords_support.hpp"
#include "ptbank/crd_file_type.hpp"
#include "ptbank/crd_overwrite_rec.h"
#include "ptbank/vk_crd_handles.hpp"
#include "reports/coordinate_file_output.hpp"
#include "reports/crd_point_id_ranges.hpp"
#include "reports/final_coordinates.hpp"
#include "run_files_fixture.hpp"

#include <cstring>
#include <optional>

namespace {

constexpr int alphanumericType = 1; // the library's "Velmora Alphanumeric" .crd
constexpr int numericType = 0;

using finalcoords::crdPoint;

coordRec point2D(const char* name, const char* code, const char* description, double n, double e,
                 double z, int type = ptUnknown) {
    return finalcoords::pointOf<coordRec>(name, code, description, n, e, z, 0.0, 0.0, 0.0, type);
}

std::string trimmed(const char* text) {
    std::string s(text);
    s.erase(0, s.find_first_not_of(' '));
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

// Keeps every overwrite request it is asked, with its range texts.
class RequestKeepingShell : public RecordingShell {
public:
    int overwritePrompt(crdOverwriteRec& request) override {
        std::vector<std::string> names;
        for (int i = 0; i < request.pointNameCount; ++i)
            names.emplace_back(request.pointNames[i]);
        offeredNames.push_back(names);
        requests.push_back(request);
        requests.back().pointNames = nullptr; // the texts are the caller's
        return RecordingShell::overwritePrompt(request);
    }
    std::vector<crdOverwriteRec> requests;
    std::vector<std::vector<std::string>> offeredNames;
};

class FinalCoordsCrd : public RunFiles {
protected:
    void SetUp() override {
        RunFiles::SetUp();
        closeRptFile();
        closeErrFile();
        setActiveShell(&prompts);
        ptbank::resetVkCrdApiForTests();
        ptbank::resetCrdSettings();
        globalVars& s = projectVars;
        s.coordPrec = 3;
        s.elevDispPrec = 2;
        s.neOutPrec = 3;
        s.zOutPrec = 3;
        s.distPrec = 3;
        s.nullElev = "-99999999.0";
        s.asciiNEZType = 0;
        s.wrtToCrd = 1;
        s.crdFileName = "site.crd";
        s.crdFileType = 4; // a new file is the library's type 1
    }
    void TearDown() override {
        ptbank::resetVkCrdApiForTests();
        ptbank::resetCrdSettings();
        RunFiles::TearDown();
    }

    std::string crdPath() const { return (folder / "site.crd").string(); }

    void storeFile(int type, const std::vector<crdPointRec>& points) {
        finalcoords::storeCrdPoints(crdPath(), type, points);
    }

    std::optional<crdPointRec> stored(const char* name) {
        return finalcoords::storedPoint(crdPath(), name);
    }

    // Fixed A; D, C and E to adjust. The file holds A as it is, and other
    // values under C and E. (The type-1 file keeps no codes.)
    void fillWithStoredConflicts() {
        fixedPointList2D.append(point2D("A", "", "control A", 1000.0, 2000.0, 50.125, ptFixed));
        pointList2D.append(point2D("D", "IP", "new pin", 880.5, 1210.25, 99.0));
        pointList2D.append(point2D("C", "IRON", "iron pin", 1050.5, 1430.25, 101.5));
        pointList2D.append(point2D("E", "IP", "pin E", 700.0, 900.0, notComputed));
        storeFile(alphanumericType, {crdPoint("A", 1000.0, 2000.0, 50.125, "", "control A"),
                                     crdPoint("C", 1.0, 2.0, 3.0, "OLD", "old C"),
                                     crdPoint("E", 4.0, 5.0, 6.0, "OLD", "old E")});
    }

    RequestKeepingShell prompts;
};

// Every answer of the question, with the questions asked, what the file
// holds afterwards and what the output says it did not store. Cancel keeps the file as it was, also
// the new point D decided on before the question, and the .NEZ and .OUT are still complete.
TEST_F(FinalCoordsCrd, EachOverwriteAnswerDoesWhatItSays) {
    struct Row {
        int answer;
        int questions;
        bool replaced; // C and E hold the final values
        bool added;    // D is in the file
    };
    for (const Row& row :
         {Row{VKCRD_ANSWER_OVERWRITE, 2, true, true},
          Row{VKCRD_ANSWER_OVERWRITE_ALL, 1, true, true}, Row{VKCRD_ANSWER_KEEP, 2, false, true},
          Row{VKCRD_ANSWER_KEEP_ALL, 1, false, true}, Row{VKCRD_ANSWER_CANCEL, 1, false, false}}) {
        SCOPED_TRACE(row.answer);
        resetProgramLists();
        std::filesystem::remove(crdPath());
        fillWithStoredConflicts();
        prompts.overwriteQuestions = 0;
        prompts.overwriteAnswer = row.answer;
        const CrdShortfall shortfall = writeFinalCoords(RunContext(prompts), 1).coordinateFile;

        EXPECT_EQ(prompts.overwriteQuestions, row.questions);
        // Kept points are the user's choice; only Cancel leaves a shortfall.
        EXPECT_EQ(shortfall.text(),
                  row.added ? ""
                            : "Nothing was stored in site.crd: the overwrite question was "
                              "cancelled.");
        const std::optional<crdPointRec> c = stored("C");
        const std::optional<crdPointRec> e = stored("E");
        ASSERT_TRUE(c && e);
        EXPECT_EQ(c->northing, row.replaced ? 1050.5 : 1.0);
        EXPECT_EQ(trimmed(c->description), row.replaced ? "iron pin" : "old C");
        EXPECT_EQ(e->elevation, row.replaced ? -99999999.0 : 6.0);
        EXPECT_EQ(stored("D").has_value(), row.added);
        EXPECT_EQ(stored("A")->elevation, 50.125);
        // The other coordinate files are complete whatever the answer.
        EXPECT_EQ(crlfLines(testsupport::readBytes(folder / "site.NEZ")).size(), 4u);
    }
}

TEST_F(FinalCoordsCrd, TheQuestionShowsTheStoredPointUnderTheNewName) {
    fillWithStoredConflicts();
    prompts.overwriteAnswer = VKCRD_ANSWER_OVERWRITE_ALL;
    writeFinalCoords(RunContext(prompts), 1);
    ASSERT_EQ(prompts.requests.size(), 1u);
    const crdOverwriteRec& r = prompts.requests[0];
    EXPECT_STREQ(r.title, "Network Least Squares");
    EXPECT_STREQ(r.appKey, "Tarnwell");
    EXPECT_EQ(r.useRegistry, 1);
    EXPECT_STREQ(r.positionFile, "");
    EXPECT_NE(r.handle, VKCRD_NO_HANDLE);
    EXPECT_STREQ(r.current.name, "C");
    EXPECT_EQ(r.current.northing, 1.0);
    EXPECT_STREQ(r.current.description, "old C"); // trimmed
    EXPECT_STREQ(r.proposed.name, "C");
    EXPECT_EQ(r.proposed.northing, 1050.5);
    EXPECT_EQ(r.proposed.easting, 1430.25);
    EXPECT_STREQ(r.proposed.description, "iron pin");
    const int flags[] = {r.showDoNotAsk,  r.doNotAskAgain, r.overwriteChosen, r.editMask,
                         r.northingFirst, r.coordDecimals, r.elevDecimals,    r.elevEditable,
                         r.codeEditable,  r.descEditable};
    EXPECT_EQ(std::vector<int>(std::begin(flags), std::end(flags)),
              (std::vector<int>{1, 0, 0, 1, 1, 3, 2, 1, 1, 1}));
    // Names that are no numbers read as 0: everything from 1 is free.
    EXPECT_EQ(prompts.offeredNames[0], (std::vector<std::string>{"1 ->"}));
}

TEST_F(FinalCoordsCrd, AnIdenticalStoredPointIsNeitherAskedAboutNorRewritten) {
    fixedPointList2D.append(point2D("A", "", " control A", 1000.0, 2000.0, 50.125, ptFixed));
    storeFile(alphanumericType, {crdPoint("A", 1000.0, 2000.0, 50.125, "", "control A")});
    writeFinalCoords(RunContext(prompts), 1);
    EXPECT_EQ(prompts.overwriteQuestions, 0);
}

TEST_F(FinalCoordsCrd, AVerticalOnlyPointKeepsItsStoredPosition) {
    pointList2D.append(point2D("V", "BM", "bench", notComputed, notComputed, 12.5));
    storeFile(alphanumericType, {crdPoint("V", 500.0, 600.0, 10.0, "BM", "bench")});
    writeFinalCoords(RunContext(prompts), 1);
    const std::optional<crdPointRec> v = stored("V");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->northing, 500.0);
    EXPECT_EQ(v->easting, 600.0);
    EXPECT_EQ(v->elevation, 12.5);
    // The .NEZ shows the point as computed.
    EXPECT_NE(testsupport::readBytes(folder / "site.NEZ").find("-999999999.000"),
              std::string::npos);
}

TEST_F(FinalCoordsCrd, AnInvalidNameAsksWhetherToGoOn) {
    for (const Answer answer : {Answer::no, Answer::yes}) {
        SCOPED_TRACE(answer == Answer::yes ? "yes" : "no");
        resetProgramLists();
        std::filesystem::remove(crdPath());
        pointList2D.append(point2D("ABCDEFGHIJ", "", "", 1.0, 2.0, 3.0)); // too long for the file
        pointList2D.append(point2D("D", "", "", 4.0, 5.0, 6.0));
        prompts.boxes.clear();
        prompts.answers = {answer};
        const CrdShortfall shortfall = writeFinalCoords(RunContext(prompts), 1).coordinateFile;
        // A "no" leaves D unwritten too, and the output says so.
        const std::vector<std::string> notStored =
            answer == Answer::yes ? std::vector<std::string>{"ABCDEFGHIJ"}
                                  : std::vector<std::string>{"ABCDEFGHIJ", "D"};
        EXPECT_EQ(shortfall.notStored, notStored);
        ASSERT_EQ(prompts.boxes.size(), 1u);
        EXPECT_EQ(prompts.boxes[0].text, "Invalid point name: ABCDEFGHIJ, Do you wish to "
                                         "continue/writing the remaining points?");
        EXPECT_EQ(prompts.boxes[0].kind, MessageKind::yesNo);
        EXPECT_EQ(stored("D").has_value(), answer == Answer::yes);
    }
}

TEST_F(FinalCoordsCrd, NoFileNameIsToldAndTheOtherFilesAreWritten) {
    projectVars.crdFileName.clear();
    pointList2D.append(point2D("D", "", "", 4.0, 5.0, 6.0));
    const CrdShortfall shortfall = writeFinalCoords(RunContext(prompts), 1).coordinateFile;
    EXPECT_EQ(shortfall.text(), "Nothing was stored in the coordinate file: no output coordinate "
                                "file name has been specified.");
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text, "No output coordinate file name has been specified");
    EXPECT_EQ(crlfLines(testsupport::readBytes(folder / "site.NEZ")).size(), 1u);
}

TEST_F(FinalCoordsCrd, ANewFileTakesTheProjectsTypeAndAnUnknownTypeBecomesOne) {
    projectVars.crdFileType = 3; // the library's numeric type
    pointList2D.append(point2D("12", "", "", 4.0, 5.0, 6.0));
    writeFinalCoords(RunContext(prompts), 1);
    EXPECT_EQ(ptbank::detectCrdType(crdPath()), numericType);

    projectVars.crdFileType = 9;
    const RunContext context(prompts);
    CoordinateFileOutput output(context);
    projectVars.crdFileName = "other.crd";
    output.open();
    EXPECT_EQ(projectVars.crdFileType, 1);
}

TEST_F(FinalCoordsCrd, PointNumberRangesUsedAndAvailable) {
    storeFile(numericType, {crdPoint("1", 1, 1, 1, "", ""), crdPoint("2", 1, 1, 1, "", ""),
                            crdPoint("3", 1, 1, 1, "", ""), crdPoint("7", 1, 1, 1, "", ""),
                            crdPoint("8", 1, 1, 1, "", "")});
    VkCrdHandle h = VKCRD_NO_HANDLE;
    ASSERT_EQ(VkCrdApi_open_coordfile(crdPath().c_str(), 0, &h), 0);
    std::vector<std::string> used;
    std::vector<std::string> available;
    listCrdPointIds(h, 1, &used);
    listCrdPointIds(h, 0, &available);
    listCrdPointIds(h, 0, nullptr);
    VkCrdApi_end_coord_file(&h);
    EXPECT_EQ(used, (std::vector<std::string>{"1 -> 3", "7 -> 8"}));
    EXPECT_EQ(available, (std::vector<std::string>{"4 -> 6", "9 ->"}));
}

} // namespace
