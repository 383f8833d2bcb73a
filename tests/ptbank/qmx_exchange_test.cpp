// QMX text exchange through the exported interface: golden files written
// from coordinate files and read back, the import's questions answered by
// a scripted host program, lines that are not points, the exchange's
// messages, and the description filters.

#include "scripted_crd_ui.hpp"
#include "vk_crd_api_support.hpp"

#include "ptbank/crd_file_type.hpp"

#include "support/temp_folder.hpp"

#include <cmath>
#include <deque>
#include <optional>

namespace {

using crdtest::pointRec;
using crdtest::ScriptedUi;

const std::filesystem::path qmxFixtures =
    std::filesystem::path(TARNWELL_FIXTURES) / "ptbank" / "qmx";
constexpr double none = -99999999.0;

std::string fileText(const std::filesystem::path& path) {
    return testsupport::readBytes(path);
}

class QmxExchange : public crdtest::CrdApiTest {
protected:
    // A new coordinate file of the type holding the points.
    void store(const std::string& name, int type, const std::vector<crdPointRec>& points) {
        VkCrdApi_SetDefaultCRDType(type);
        VkCrdHandle h = VKCRD_NO_HANDLE;
        ASSERT_EQ(VkCrdApi_open_coordfile(at(name).c_str(), 0, &h), 0);
        for (crdPointRec p : points)
            ASSERT_EQ(VkCrdApi_write_point(1, &p, h), 0);
        VkCrdApi_end_coord_file(&h);
    }

    std::optional<crdPointRec> stored(const std::string& file, const std::string& name) {
        VkCrdHandle h = VKCRD_NO_HANDLE;
        EXPECT_EQ(VkCrdApi_open_coordfile(at(file).c_str(), 0, &h), 0);
        crdPointRec p{};
        char buffer[VKCRD_NAME_SIZE] = {};
        std::strncpy(buffer, name.c_str(), sizeof buffer - 1);
        const int found = VkCrdApi_read_point(h, buffer, &p);
        VkCrdApi_end_coord_file(&h);
        return found == 0 ? std::optional(p) : std::nullopt;
    }

    double storedNorthing(const std::string& file, const std::string& name) {
        const auto p = stored(file, name);
        return p ? p->northing : std::nan("");
    }

    void writeText(const std::string& name, const std::string& text) {
        testsupport::writeBytes(at(name), text);
    }

    const std::vector<crdPointRec> threePoints = {
        pointRec("A1", 1000.5, 2000.25, 10.125, "iron pin", "IP"),
        pointRec("B2", 5000.0, -1200.125, none, "control", "CP"),
        pointRec("C3", 1e-8, 123456.789, -0.5)};
};

TEST_F(QmxExchange, ACoordinateFileIsWrittenAsTheGoldenFileAndReadBackIntoAnother) {
    ScriptedUi ui;
    store("site.vkc", ptbank::crd_type::vkAlphanumeric, threePoints);
    ASSERT_EQ(QMXfromCRD(at("site.vkc").c_str(), at("site.qmx").c_str()), 1);
    EXPECT_EQ(fileText(at("site.qmx")), fileText(qmxFixtures / "three_points.qmx"));

    VkCrdApi_SetDefaultCRDType(ptbank::crd_type::vkAlphanumeric);
    ASSERT_EQ(QMXtoCRD((qmxFixtures / "three_points.qmx").c_str(), at("copy.vkc").c_str()), 1);
    ASSERT_EQ(QMXfromCRD(at("copy.vkc").c_str(), at("copy.qmx").c_str()), 1);
    EXPECT_EQ(fileText(at("copy.qmx")), fileText(qmxFixtures / "three_points.qmx"));
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(ui.questions.empty());
}

TEST_F(QmxExchange, NamesCodesAndDescriptionsPassWithTheirFirstCharacters) {
    ScriptedUi ui;
    // The .mdb format holds long names and descriptions but no code; the
    // .vkc format holds codes.
    store("long.mdb", ptbank::crd_type::landDesktop,
          {pointRec("ABCDEFGHIJKL", 1.0, 2.0, 3.0, std::string(120, 'd'))});
    ASSERT_EQ(QMXfromCRD(at("long.mdb").c_str(), at("long.qmx").c_str()), 1);
    EXPECT_EQ(fileText(at("long.qmx")), "ABCDEFGHIJ,1.0000000000,2.0000000000,3.0000000000,," +
                                            std::string(100, 'd') + "\r\n");
    store("code.vkc", ptbank::crd_type::vkAlphanumeric,
          {pointRec("7", 1.0, 2.0, 3.0, "", "CODE77")});
    ASSERT_EQ(QMXfromCRD(at("code.vkc").c_str(), at("code.qmx").c_str()), 1);
    EXPECT_EQ(fileText(at("code.qmx")), "7,1.0000000000,2.0000000000,3.0000000000,CODE,\r\n");
}

TEST_F(QmxExchange, TheImportAsksAboutEachStoredPointAsTheAnswersSay) {
    struct Row {
        const char* what;
        std::deque<int> answers;
        std::size_t questions;
        double p1, p2, p3, p4; // northings afterwards; NaN: not stored
        int result;
    };
    const double absent = std::nan("");
    const Row rows[] = {
        {"overwrite, keep, overwrite", {181, 183, 181}, 3, 10.0, 2.0, 30.0, 40.0, 1},
        {"overwrite all", {182}, 1, 10.0, 20.0, 30.0, 40.0, 1},
        {"keep all: new names still added", {184}, 1, 1.0, 2.0, 3.0, 40.0, 1},
        {"keep, then overwrite all", {183, 182}, 2, 1.0, 20.0, 30.0, 40.0, 1},
        {"no window to ask in: everything stored is kept", {}, 3, 1.0, 2.0, 3.0, 40.0, 1},
        {"cancel at the first: nothing more is written", {2}, 1, 1.0, 2.0, 3.0, absent, 0},
        {"cancel at the second", {181, 2}, 2, 10.0, 2.0, 3.0, 40.0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::filesystem::remove(at("site.vkc"));
        std::filesystem::remove(at("site.vki"));
        store("site.vkc", ptbank::crd_type::vkAlphanumeric,
              {pointRec("P1", 1, 1, 1), pointRec("P2", 2, 2, 2), pointRec("P3", 3, 3, 3)});
        writeText("new.qmx",
                  "P1,10,10,10,,\r\nP4,40,40,40,,\r\nP2,20,20,20,,\r\nP3,30,30,30,,\r\n");
        ScriptedUi ui;
        ui.answers = row.answers;
        EXPECT_EQ(QMXtoCRD(at("new.qmx").c_str(), at("site.vkc").c_str()), row.result);
        EXPECT_EQ(ui.questions.size(), row.questions);
        EXPECT_TRUE(ui.boxes.empty());
        const double northings[] = {row.p1, row.p2, row.p3, row.p4};
        for (int i = 0; i < 4; ++i) {
            const std::string name = "P" + std::to_string(i + 1);
            SCOPED_TRACE(name);
            const double n = storedNorthing("site.vkc", name);
            if (std::isnan(northings[i]))
                EXPECT_TRUE(std::isnan(n));
            else
                EXPECT_EQ(n, northings[i]);
        }
    }
}

TEST_F(QmxExchange, TheQuestionShowsTheStoredPointBesideTheLine) {
    store("site.vkc", ptbank::crd_type::vkAlphanumeric,
          {pointRec("P1", 1.5, 2.5, none, "old pin", "IP")});
    writeText("new.qmx", "P1,10.25,20.5,30.75,CP,new pin\n");
    ScriptedUi ui;
    ui.answers = {183};
    EXPECT_EQ(QMXtoCRD(at("new.qmx").c_str(), at("site.vkc").c_str()), 1);
    ASSERT_EQ(ui.questions.size(), 1u);
    const crdOverwriteRec& q = ui.questions[0];
    EXPECT_STREQ(q.title, "Overwrite Point");
    EXPECT_STREQ(q.appKey, "PTBANK");
    EXPECT_EQ(q.useRegistry, 0);
    EXPECT_STREQ(q.positionFile, "");
    EXPECT_EQ(q.handle, 65535);
    EXPECT_EQ(q.showDoNotAsk, 1);
    EXPECT_EQ(q.northingFirst, 1);
    EXPECT_EQ(q.coordDecimals, 5);
    EXPECT_EQ(q.elevDecimals, 5);
    EXPECT_EQ(q.editMask, 0);
    EXPECT_EQ(q.elevEditable + q.codeEditable + q.descEditable, 0);
    EXPECT_EQ(ui.parents[0], nullptr);
    EXPECT_STREQ(q.current.name, "P1");
    EXPECT_STREQ(q.current.code, "IP");
    EXPECT_STREQ(q.current.description, "old pin");
    EXPECT_EQ(q.current.northing, 1.5);
    EXPECT_EQ(q.current.elevation, none);
    EXPECT_STREQ(q.proposed.name, "P1");
    EXPECT_STREQ(q.proposed.code, "CP");
    EXPECT_STREQ(q.proposed.description, "new pin");
    EXPECT_EQ(q.proposed.northing, 10.25);
    EXPECT_EQ(q.proposed.easting, 20.5);
    EXPECT_EQ(q.proposed.elevation, 30.75);
}

TEST_F(QmxExchange, ALineLikeTheStoredPointIsWrittenWithoutAQuestion) {
    store("site.vkc", ptbank::crd_type::vkAlphanumeric,
          {pointRec("P1", 1, 2, 3, "pin", "IP"), pointRec("P2", 5, 5, 5)});
    writeText("same.qmx", "P1,1,2,3,IP,pin\nP2,6,6,6\n");
    ScriptedUi ui;
    ui.answers = {181};
    EXPECT_EQ(QMXtoCRD(at("same.qmx").c_str(), at("site.vkc").c_str()), 1);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_STREQ(ui.questions[0].proposed.name, "P2");
    EXPECT_EQ(storedNorthing("site.vkc", "P2"), 6.0);
}

TEST_F(QmxExchange, ALineWithoutNorthingAndEastingIsNamedAndNotImported) {
    writeText("bad.qmx", "P1,1,2,3,IP,pin\r\n"
                         "P9\r\n"
                         "\r\n"
                         "P8,1.5,2.5\r\n"
                         "P7,abc,2,3\r\n"
                         "P6,1,2,high\r\n"
                         "P5,7,8,,CP\r\n"
                         "P4,nan,8,9\r\n");
    VkCrdApi_SetDefaultCRDType(ptbank::crd_type::vkAlphanumeric);
    ScriptedUi ui;
    EXPECT_EQ(QMXtoCRD(at("bad.qmx").c_str(), at("site.vkc").c_str()), 0);
    for (const char* name : {"P9", "P7", "P6", "P4"})
        EXPECT_FALSE(stored("site.vkc", name).has_value()) << name;
    ASSERT_TRUE(stored("site.vkc", "P8").has_value());
    EXPECT_EQ(stored("site.vkc", "P8")->elevation, none); // no elevation, not 0.0
    EXPECT_EQ(stored("site.vkc", "P5")->elevation, none);
    EXPECT_EQ(stored("site.vkc", "P1")->elevation, 3.0);
    const std::string path = at("bad.qmx");
    EXPECT_EQ(ui.boxTexts(),
              (std::vector<std::string>{
                  "Lines without a northing and an easting were not imported:\n" + path +
                      " line 2\n" + path + " line 5\n" + path + " line 6\n" + path + " line 8",
                  "Error writing points to coordinate file.\n\tNumber of errors = 4",
                  "ERROR writing points."}));
    EXPECT_EQ(ui.boxes[0].title, "Errors");
    EXPECT_EQ(ui.boxes[2].title, "Converting to Coordinates");
    EXPECT_EQ(ui.boxes[2].icon, ptbank::CrdMessageIcon::stop);
}

TEST_F(QmxExchange, AnExchangeThatCannotStartSaysWhyAndMakesNoFile) {
    ScriptedUi ui;
    EXPECT_EQ(QMXtoCRD(at("missing.qmx").c_str(), at("site.vkc").c_str()), 0);
    EXPECT_FALSE(std::filesystem::exists(at("site.vkc")));
    EXPECT_EQ(QMXfromCRD(at("missing.vkc").c_str(), at("out.qmx").c_str()), 0);
    EXPECT_FALSE(std::filesystem::exists(at("missing.vkc")));
    EXPECT_FALSE(std::filesystem::exists(at("out.qmx")));
    store("empty.vkc", ptbank::crd_type::vkAlphanumeric, {});
    EXPECT_EQ(QMXfromCRD(at("empty.vkc").c_str(), at("out.qmx").c_str()), 0);
    EXPECT_FALSE(std::filesystem::exists(at("out.qmx")));
    store("site.vkc", ptbank::crd_type::vkAlphanumeric, threePoints);
    const std::string noFolder = at("no/such/folder/out.qmx");
    EXPECT_EQ(QMXfromCRD(at("site.vkc").c_str(), noFolder.c_str()), 0);

    EXPECT_EQ(ui.boxTexts(), (std::vector<std::string>{
                                 "ERROR opening input file:\n" + at("missing.qmx"),
                                 "ERROR opening input file:\n" + at("missing.vkc"),
                                 "Input file is EMPTY", "ERROR opening file:\n" + noFolder}));
    EXPECT_EQ(ui.boxes[0].title, "Converting to Coordinates");
    for (std::size_t i = 1; i < ui.boxes.size(); ++i)
        EXPECT_EQ(ui.boxes[i].title, "Converting from Coordinates");
    for (const ScriptedUi::Box& box : ui.boxes)
        EXPECT_EQ(box.icon, ptbank::CrdMessageIcon::stop);
}

TEST(RemoveDescItems, LineWorkTokensAndUnderscoresGoAsTheModeSays) {
    struct Row {
        const char* description;
        int mode;
        const char* expected;
    };
    const Row rows[] = {
        {"bl*fence_line PT*", -4, "fence line"},
        {"bl*fence_line PT*", -3, "fence_line"},
        {"bl*fence_line PT*", -2, "bl*fence line PT*"},
        {"bl*fence_line PT*", -1, "bl*fence_line PT*"},
        {"bl*fence_line PT*", 0, "bl*fence_line PT*"},
        {"  CL*road Rc*edge cc*  ", -3, "road edge"},
        {"BBL*L*X", -3, "X"}, // a token closed up by a removal goes too
        {"PT*PC*OC*RP*CF*EL*", -3, ""},
        {"Pt* _a_ ", -2, "Pt*  a  "}, // underscores alone: no trimming
        {"BL", -4, "BL"},
        {"", -4, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.description) + " " + std::to_string(row.mode));
        char buffer[VKCRD_NAME_SIZE] = {};
        std::strcpy(buffer, row.description);
        VkCrdApi_removeDescItems(buffer, row.mode);
        EXPECT_STREQ(buffer, row.expected);
    }
    VkCrdApi_removeDescItems(nullptr, -4);
}

} // namespace
