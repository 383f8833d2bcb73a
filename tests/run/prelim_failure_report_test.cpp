// How a run words preliminary coordinates that could not be computed: the
// .ERR lines, the message dialog with the control advice, and the short form
// of preprocessing. The lists are filled by hand as the station-list
// building would leave them.

#include "engine/prelim_network.hpp"
#include "model/program_lists.hpp"
#include "output/report_lines.hpp"
#include "platform/shell_services.hpp"
#include "reports/report_files.hpp"
#include "run/driver_steps.hpp"
#include "run/processing_driver.hpp"
#include "support/project_vars_guard.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <sstream>

using testsupport::pointRecord;

namespace {

constexpr int reasonInstrumentOrBacksight = 1;
constexpr int reasonOtherPoints = 0;
constexpr bool road2D = false;
constexpr bool road3D = true;

class PrelimFailureReport : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = setActiveShell(&shell);
        resetProgramLists();
        projectVars.projectFileName = (folder / "net1.prj").string();
        ASSERT_GT(openRptFile(startNewFile), 0);
        ASSERT_GT(openErrFile(startNewFile), 0);
    }
    void TearDown() override {
        closeRptFile();
        closeErrFile();
        resetProgramLists();
        setActiveShell(previous_);
    }

    static void angle(const char* backsight, const char* instrument, const char* foresight) {
        angleObs2D a;
        setPointName(a.backsight, backsight);
        setPointName(a.instrument, instrument);
        setPointName(a.foresight, foresight);
        a.angle = 1.0;
        angleList2D.append(a);
    }

    // The .ERR as lines without their CR LF.
    std::vector<std::string> errLines() const {
        const std::string bytes = testsupport::readBytes(folder / "net1.ERR");
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos;
             start = end + 2)
            lines.push_back(bytes.substr(start, end - start));
        EXPECT_EQ(start, bytes.size()) << "every line ends in CR LF";
        return lines;
    }

    testsupport::ProjectVarsGuard guard;
    testsupport::TempFolder folder{"prelim-failure"};
    RecordingShell shell;
    RunContext context{shell};

private:
    ShellServices* previous_ = nullptr;
};

const std::vector<std::string> numericAdvice = {
    "Coordinate control is best entered in the raw file as coordinate records.\n",
    "Azimuth control is best entered in the raw file as azimuth records.\n",
};
const std::vector<std::string> rw5Advice = {
    "Coordinate control is best entered in the raw file as 'SP' records.\n",
    "Azimuth control is best entered in the raw file as 'AZ' records.\n",
    "BK records in the raw file are not used for azimuth control.\n",
};

std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST_F(PrelimFailureReport, WithoutControlTheAdviceAloneIsGiven) {
    for (const int notRw5 : {1, 0}) {
        SCOPED_TRACE(notRw5);
        shell.messageLists.clear();
        resetProgramLists();
        if (errFile == 0) {
            ASSERT_GT(openRptFile(startNewFile), 0);
            ASSERT_GT(openErrFile(startNewFile), 0);
        }
        pointList2D.append(pointRecord("1", ptUnknown));
        angle("A", "1", "2");

        EXPECT_EQ(reportPrelimFailure(context, road2D, notRw5, reasonInstrumentOrBacksight), 0);
        EXPECT_EQ(errLines(),
                  (std::vector<std::string>{
                      "No control points found.",
                      "Either two control points, or one control point and an azimuth are "
                      "required.",
                      "Enter the control points as coordinate records in the raw File, or",
                      "as a point in a supplamental control file.",
                      "Enter azimuths as azimuth records in the raw data file."}));
        ASSERT_EQ(shell.messageLists.size(), 1u);
        EXPECT_EQ(shell.messageLists[0],
                  joined({"No control points found.\r\n",
                          "Either two control points, or one control point and a reference "
                          "azimuth are required.\n",
                          " \n"},
                         notRw5 != 0 ? numericAdvice : rw5Advice));
        EXPECT_EQ(rptFile, 0);
        EXPECT_EQ(errFile, 0);
        EXPECT_EQ(shell.activated.back(), ReportKind::error);
    }
}

// Stalled angle passes: only instrument and backsight points are named,
// never a carried point, never one with a position.
TEST_F(PrelimFailureReport, StalledAnglePassesNameTheInstrumentAndBacksightPoints) {
    fixedPointList2D.append(pointRecord("A", ptFixed, 5000, 5000, 100));
    controlPointList2D.append(pointRecord("A", ptFixed, 5000, 5000, 100));
    for (const char* p : {"1", "2", "3"})
        pointList2D.append(pointRecord(p, ptUnknown));
    pointList2D.append(pointRecord("S", ptCarried));
    pointList2D.append(pointRecord("K", ptUnknown, 5100, 5100));
    angle("2", "1", "3"); // 3 only a foresight
    angle("K", "S", "3");

    EXPECT_EQ(reportPrelimFailure(context, road2D, 1, reasonInstrumentOrBacksight), 0);
    EXPECT_EQ(errLines(), (std::vector<std::string>{
                              "Insufficient control found.",
                              "As a minimum either two control points, or one control point "
                              "and an azimuth are required.",
                              "The following instrument and backsight pts. could not be "
                              "computed:",
                              " 1 2"}));
    ASSERT_EQ(shell.messageLists.size(), 1u);
    const std::vector<std::string> expected = joined(
        joined({"Insufficient control found.\r\nAs a minimum either two control points, or one "
                "control point and an azimuth are required.\r\nThe following instrument and "
                "backsight pts. could not be computed:\n",
                " 1 2\n", " \n"},
               numericAdvice),
        {" \n", "Following is a list of the control found in the project.\n",
         " Coordinate Control\n",
         " Pt. #A         :        5000.000        5000.000         100.000 \n", " \n",
         " No azimuth control found.\n"});
    EXPECT_EQ(shell.messageLists[0], expected);
}

TEST_F(PrelimFailureReport, OtherPointsAreAllNamedUnderTheirOwnHeading) {
    fixedPointList2D.append(pointRecord("A", ptFixed, 5000, 5000, 100));
    for (const char* p : {"1", "2", "3"})
        pointList2D.append(pointRecord(p, ptUnknown));
    angle("2", "1", "3");

    reportPrelimFailure(context, road2D, 1, reasonOtherPoints);
    EXPECT_EQ(errLines(), (std::vector<std::string>{
                              "Error computing initial NEZ estimates for points:", " 1 2 3"}));
    ASSERT_EQ(shell.messageLists.size(), 1u);
    EXPECT_EQ(shell.messageLists[0][0], "Error computing initial NEZ estimates for points:\n");
    EXPECT_EQ(shell.messageLists[0][1], " 1 2 3\n");
}

// 60 names of 3 characters: the .ERR lines take names while they are at most
// 80 characters long (21 names, 84 characters), and name every point once;
// the dialog takes names while its text is under 200 characters (50 names).
TEST_F(PrelimFailureReport, ALongListFillsSeveralErrLinesAndACutDialogLine) {
    fixedPointList2D.append(pointRecord("A", ptFixed, 5000, 5000, 100));
    std::string all;
    for (int i = 1; i <= 60; ++i) {
        const std::string name = (i < 10 ? "P0" : "P") + std::to_string(i);
        pointList2D.append(pointRecord(name.c_str(), ptUnknown));
        all += " " + name;
    }
    reportPrelimFailure(context, road2D, 1, reasonOtherPoints);

    const auto lines = errLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], all.substr(0, 84));
    EXPECT_EQ(lines[2], all.substr(84, 84));
    EXPECT_EQ(lines[3], all.substr(168));
    ASSERT_EQ(shell.messageLists.size(), 1u);
    EXPECT_EQ(shell.messageLists[0][1], all.substr(0, 200) + "\n");
}

// Each weighted control point is listed once, wherever it stands in the
// control list (a look-up result of "found at index 1" once counted as
// "not found").
TEST_F(PrelimFailureReport, TheControlListingNamesEachPointOnce) {
    controlPointList2D.append(pointRecord("A", ptFixed, 5000, 5000, 100));
    controlPointList2D.append(pointRecord("K", ptWeightedControl, 5100, 5200, 101));
    fixedPointList2D.append(pointRecord("A", ptFixed, 5000, 5000, 100));
    pointList2D.append(pointRecord("K", ptWeightedControl, 5100, 5200, 101));
    pointList2D.append(pointRecord("W", ptWeightedControl, 5300, 5400, 102));
    givenPointList2D.append(pointRecord("G", ptGiven, 5500, 5600, 103));
    azimuthObs az;
    setPointName(az.from, "A");
    setPointName(az.to, "K");
    az.azimuth = 1.0;
    azimuthList2D.append(az);

    std::vector<std::string> dialog;
    listProjectControl(road2D, 1, dialog);
    const std::vector<std::string> head = joined({" \n"}, numericAdvice);
    ASSERT_EQ(dialog.size(), head.size() + 10);
    EXPECT_EQ(std::vector<std::string>(dialog.begin(), dialog.begin() + 3), head);
    EXPECT_EQ(std::vector<std::string>(dialog.begin() + 3, dialog.begin() + 10),
              (std::vector<std::string>{
                  " \n",
                  "Following is a list of the control found in the project.\n",
                  " Coordinate Control\n",
                  " Pt. #A         :        5000.000        5000.000         100.000 \n",
                  " Pt. #K         :        5100.000        5200.000         101.000 \n",
                  " Pt. #W         :        5300.000        5400.000         102.000 \n",
                  " Pt. #G         :        5500.000        5600.000         103.000 \n",
              }));
    EXPECT_EQ(dialog[10], " \n");
    EXPECT_EQ(dialog[11], " Azimuth Control\n");
    EXPECT_EQ(dialog[12].rfind(" Az. From: A  To:K  ", 0), 0u) << dialog[12];
}

// A 3D run lists the control of its own lists: its stations and azimuths,
// not the empty lists of the 2D model.
TEST_F(PrelimFailureReport, The3DRoadListsItsOwnControl) {
    const auto station = [](const char* name, int type, double n, double e, double z) {
        stationRec s;
        initStationRec(s);
        setPointName(s.name, name);
        s.pointType = type;
        s.northing = n;
        s.easting = e;
        s.elevation = z;
        return s;
    };
    controlStationList.append(station("A", ptFixed, 5000, 5000, 100));
    fixedStationList.append(station("A", ptFixed, 5000, 5000, 100));
    stationList.append(station("K", ptWeightedControl, 5100, 5200, 101));
    stationList.append(station("1", ptUnknown, notComputed, notComputed, notComputed));
    givenStationList.append(station("G", ptGiven, 5500, 5600, 103));
    azimuthObs az;
    setPointName(az.from, "A");
    setPointName(az.to, "K");
    az.azimuth = 1.0;
    azimuthList.append(az);

    reportPrelimFailure(context, road3D, 1, reasonOtherPoints);
    EXPECT_EQ(errLines(), (std::vector<std::string>{
                              "Error computing initial NEZ estimates for points:", " 1"}));
    ASSERT_EQ(shell.messageLists.size(), 1u);
    const std::vector<std::string>& dialog = shell.messageLists[0];
    const std::vector<std::string> control(dialog.end() - 7, dialog.end());
    EXPECT_EQ(std::vector<std::string>(control.begin(), control.end() - 1),
              (std::vector<std::string>{
                  " Coordinate Control\n",
                  " Pt. #A         :        5000.000        5000.000         100.000 \n",
                  " Pt. #K         :        5100.000        5200.000         101.000 \n",
                  " Pt. #G         :        5500.000        5600.000         103.000 \n",
                  " \n",
                  " Azimuth Control\n",
              }));
    EXPECT_EQ(control.back().rfind(" Az. From: A  To:K  ", 0), 0u) << control.back();
}

// A fixed control point counts as control whatever its vertical type: the
// run must not claim that no control was found.
TEST_F(PrelimFailureReport, FixedControlOfAnyVerticalTypeCountsAsControl) {
    coordRec a = pointRecord("A", ptFixed, 5000, 5000, 100);
    a.vertType = vtFixedElevation;
    fixedPointList2D.append(a);
    pointList2D.append(pointRecord("1", ptUnknown));
    angle("A", "1", "2");

    reportPrelimFailure(context, road2D, 1, reasonInstrumentOrBacksight);
    ASSERT_FALSE(errLines().empty());
    EXPECT_EQ(errLines()[0], "Insufficient control found.");
}

TEST_F(PrelimFailureReport, PreprocessingUsesTheShortForm) {
    pointList2D.append(pointRecord("1", ptUnknown));
    angle("A", "1", "2");
    EXPECT_EQ(reportPrelimFailureShort(context, road2D, reasonInstrumentOrBacksight), 0);
    EXPECT_EQ(errLines(), std::vector<std::string>{"No control points found"});
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0].text, "No control points found");
    EXPECT_TRUE(shell.messageLists.empty());

    shell.boxes.clear();
    ASSERT_GT(openRptFile(startNewFile), 0);
    ASSERT_GT(openErrFile(startNewFile), 0);
    fixedPointList2D.append(pointRecord("A", ptFixed, 5000, 5000, 100));
    reportPrelimFailureShort(context, road2D, reasonInstrumentOrBacksight);
    const std::string heading =
        "The following instrument and backsight pts. could not be computed:";
    EXPECT_EQ(errLines(), (std::vector<std::string>{heading, " 1"}));
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0].text, heading + "\n 1");
    EXPECT_EQ(errFile, 0);
    EXPECT_EQ(shell.activated.back(), ReportKind::error);
}
