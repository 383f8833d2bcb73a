#include "input/level_file_reader.hpp"
#include "input/level_reports.hpp"
#include "input/level_test_project.hpp"
#include "support/comma_locale.hpp"

#include <gtest/gtest.h>

using leveltest::crlfLines;

namespace {

std::string blanks(int n) {
    return std::string(static_cast<std::size_t>(n), ' ');
}

using LevelReport = leveltest::LevelProject;

} // namespace

TEST_F(LevelReport, DifferentialRunWithSingleAndThreeWireReadings) {
    testsupport::CommaLocale comma;
    // Carried from a height of instrument of 0: SR HI 101.5; unnamed TP
    // 101.5 - 0.8 = 100.7, HI 101.9; TP 2 (means 1.0 and 1.1) 100.8, HI 101.8;
    // LV 5 101.8 - 2.0 = 99.8; ER 3 101.8 - 0.5 = 101.3 replaces its 12.000.
    ASSERT_EQ(readLevFile2D(rptFile, leveltest::levelFixture("run.lev"), 1), levelReadOk);
    const std::vector<std::string> expected = {
        "Unadjusted Level Report",
        "",
        " Pt. Num.      BS            HI        FS    Unadjusted El.   Desc.",
        "  1            1.500       101.500" + blanks(11) + "   100.000       start",
        "  " + blanks(10) + "   1.200       101.900   0.800      100.700       ",
        "  2            0.900 T     101.800   1.000 T    100.800       tp2",
        blanks(13) + "  1.000 M " + blanks(12) + "  1.100 M",
        blanks(13) + "  1.100 B " + blanks(12) + "  1.200 B",
        "  5         " + blanks(23) + "  2.000       99.800       side",
        "Comment: note",
        "  3         " + blanks(23) + "  0.400 T     101.300       end",
        blanks(35) + "  0.500 M",
        blanks(35) + "  0.600 B",
        "",
        "",
    };
    EXPECT_EQ(crlfLines(reportText()), expected);
}

TEST_F(LevelReport, ATurningPointBeforeAnyStartUsesAHeightOfInstrumentOfZero) {
    std::vector<levelRec> records(2);
    records[0].kind = levTurningPoint;
    records[0].backsight = 1.0;
    records[0].foresight = 0.25;
    records[1].kind = levSideShot;
    records[1].foresight = 0.5;
    records[1].elevation = 7.0;
    computeLevelReportValues(records);
    EXPECT_DOUBLE_EQ(records[0].elevation, -0.25);
    EXPECT_DOUBLE_EQ(records[0].heightOfInstrument, 0.75);
    EXPECT_DOUBLE_EQ(records[1].elevation, 0.25);
}

TEST_F(LevelReport, TrigonometricFileWithGroupsAndASideShot) {
    // Reference 100, rod 1.5: backsight HIs 100 - 0.2 + 1.5 = 101.3 and
    // 101.28, average 101.29. Foresights to T1 (the next backsight's point):
    // 101.29 - 0.4 - 1.5 = 99.39 and 99.37, average 99.38, the next reference.
    // Backsight to T1: 99.38 - 0.3 + 1.5 = 100.58. With rod 2.0 the last
    // foresight has no setup after it: a side shot, 100.58 + 5 - 2 = 103.58.
    ASSERT_EQ(readTrigLevelFile(rptFile, leveltest::levelFixture("setups.tlv"), 1), levelReadOk);
    const std::string average = blanks(75);
    const std::vector<std::string> expected = {
        "Unadjusted Trigonometric Level Report",
        "",
        " Header1:    Operator:jd  loop Name: loop  Project Name:job1",
        " Header2:    date:2024-05-01  pressure: 1013  temperature:21 time:09:30",
        " Benchmark:  Name: BM1         El:    100.000  Desc: bench",
        " Rod:        Rod Ht.      1.500",
        " Backsight:  Name: BM1          VD:   -0.200  HI:   101.300 ",
        " Backsight:  Name: BM1          VD:   -0.220  HI:   101.280 ",
        average + "Average HI:   101.290",
        "",
        " Foresight:  Name: T1           VD:    0.400  EL:    99.390 ",
        " Comment:    comment inside the group",
        " Foresight:  Name: T1           VD:    0.420  EL:    99.370 ",
        average + "Average EL:    99.380",
        "",
        " Backsight:  Name: T1           VD:   -0.300  HI:   100.580 ",
        average + "Average HI:   100.580",
        "",
        " Rod:        Rod Ht.      2.000",
        " Foresight:  Name: E            VD:   -5.000 HD:    8.660 EL:   103.580 ",
        average + "Average EL:   103.580",
        "",
        "",
    };
    EXPECT_EQ(crlfLines(reportText()), expected);
}

TEST_F(LevelReport, ABacksightBeforeAnyBenchmarkHasNoHeightOfInstrument) {
    std::vector<trigLevelRec> records(3);
    records[0].kind = trigBacksight;
    setPointName(records[0].name, "A");
    records[0].vertical = 0.1;
    records[1].kind = trigForesight;
    setPointName(records[1].name, "B");
    records[1].vertical = 0.2;
    records[2].kind = trigBenchmark;
    setPointName(records[2].name, "B");
    records[2].elevation = 50.0;
    computeTrigReportValues(records);
    EXPECT_EQ(records[0].reportValue, notComputed);
    EXPECT_EQ(records[0].groupEnd, 0);
    EXPECT_EQ(records[1].reportValue, notComputed);
}
