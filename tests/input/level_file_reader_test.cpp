#include "input/level_file_reader.hpp"
#include "input/level_test_project.hpp"
#include "model/angle_math.hpp"

#include <gtest/gtest.h>

#include <cmath>

using leveltest::crlfLines;

namespace {

struct LevLineCase {
    const char* line;
    levelLineResult result;
    int kind;
    const char* name;
    double backsight, foresight, elevation;
    int fixed;
    const char* description;
};

constexpr double unset = notComputed;

// Three-wire readings are averaged: (1.100 + 1.200 + 1.330) / 3 = 1.210.
const LevLineCase levLines[] = {
    {"SR,PN1,BS1.2340,FS,FE100.0000,--", levelLineResult::record, levStartOfRun, "1", 1.234, unset,
     100.0, 1, ""},
    {"SR,PNBM7,BT1.100,BM1.200,BB1.330,FT,FM,FB,EL52.5,--north rim", levelLineResult::record,
     levStartOfRun, "BM7", 1.21, unset, 52.5, 0, "north rim"},
    {"SR, PN1 , BS1.5 ,, EL10", levelLineResult::record, levStartOfRun, "1", 1.5, unset, 10.0, 0,
     ""},
    {"TP,PN,BS1.200,FS0.800,--", levelLineResult::record, levTurningPoint, "", 1.2, 0.8, unset, 0,
     ""},
    {"TP,BS1.200,FT0.700,FM0.800,FB0.900,--chained", levelLineResult::record, levTurningPoint, "",
     1.2, 0.8, unset, 0, "chained"},
    {"ER,PN3,BS,FS0.500,EL,--end", levelLineResult::record, levEndOfRun, "3", unset, 0.5, unset, 0,
     "end"},
    {"ER,PN3,FS0.500,FE12.25", levelLineResult::record, levEndOfRun, "3", unset, 0.5, 12.25, 1, ""},
    {"LV,PNPOLE123456,BT1,BM2,BB3,FS2.000,--side, north", levelLineResult::record, levSideShot,
     "POLE123456", unset, 2.0, unset, 0, "side, north"},
    {"--any comment, with commas", levelLineResult::record, levComment, "", unset, unset, unset, 0,
     "any comment, with commas"},
    // Records that do not fit their code.
    {"SR,PN1,BS1.234,FS,--no elevation", levelLineResult::malformed, 0, "", 0, 0, 0, 0, ""},
    {"SR,PN1,BS1.234,FS,EL,--empty elevation", levelLineResult::malformed, 0, "", 0, 0, 0, 0, ""},
    {"SR,BS1.234,FS,EL5", levelLineResult::malformed, 0, "", 0, 0, 0, 0, ""},
    {"TP,PN2,BT1.1,BM1.2,FS0.8", levelLineResult::malformed, 0, "", 0, 0, 0, 0, ""},
    {"TP,PN2,BS1.1,FT0.7,FM0.8", levelLineResult::malformed, 0, "", 0, 0, 0, 0, ""},
    {"TP,PN2,BS1.1x,FS0.8", levelLineResult::malformed, 0, "", 0, 0, 0, 0, ""},
    {"TP,PN2,BSnan,FS0.8", levelLineResult::malformed, 0, "", 0, 0, 0, 0, ""},
    // A reading no level rod gives: its square would overflow the adjustment.
    {"TP,PN2,BS1.1,FS1e308", levelLineResult::malformed, 0, "", 0, 0, 0, 0, ""},
    {"TP,PN2,BS-inf,FS0.8", levelLineResult::malformed, 0, "", 0, 0, 0, 0, ""},
    {"ER,PN3,BS,FS0.5,EL1e13", levelLineResult::malformed, 0, "", 0, 0, 0, 0, ""},
    {"ER,PN3,BS,EL5", levelLineResult::malformed, 0, "", 0, 0, 0, 0, ""},
    {"ER,PN3,BS,FS0.5,ELabc", levelLineResult::malformed, 0, "", 0, 0, 0, 0, ""},
    // Fields read whole: a name is never cut, a number holds no comma,
    // blank, tab or control byte, and no field is left over.
    {"LV,PNPOLE1234567,BT1,BM2,BB3,FS2.000", levelLineResult::malformed, 0, "", 0, 0, 0, 0, ""},
    {"TP,PN2,BS1.1,FS0,380", levelLineResult::malformed, 0, "", 0, 0, 0, 0, ""},
    {"TP,PN2,BS1.1,FS0 380", levelLineResult::malformed, 0, "", 0, 0, 0, 0, ""},
    {"TP,PN2,BS1.1,FS0\t380", levelLineResult::malformed, 0, "", 0, 0, 0, 0, ""},
    {"TP,PN2,BS1.1,FS1.6x0", levelLineResult::malformed, 0, "", 0, 0, 0, 0, ""},
    {"SR,PN1,BS1.5,FS,EL52,340", levelLineResult::malformed, 0, "", 0, 0, 0, 0, ""},
    {"TP,PN2\x01,BS1.1,FS0.5", levelLineResult::malformed, 0, "", 0, 0, 0, 0, ""},
    // A code that is none of the format's is a damaged one: read as no
    // record, its readings went to the records after it.
    {"S", levelLineResult::malformed, 0, "", 0, 0, 0, 0, ""},
    {"XX,PN1,BS1", levelLineResult::malformed, 0, "", 0, 0, 0, 0, ""},
    {"QP,PN2,BS1.1,FS0.5", levelLineResult::malformed, 0, "", 0, 0, 0, 0, ""},
    {"sr,PN1,BS1,FS,EL1", levelLineResult::malformed, 0, "", 0, 0, 0, 0, ""},
    // Blank lines are no records.
    {"", levelLineResult::notARecord, 0, "", 0, 0, 0, 0, ""},
    {" \t ", levelLineResult::notARecord, 0, "", 0, 0, 0, 0, ""},
};

void expectReading(double actual, double expected) {
    if (expected == unset)
        EXPECT_EQ(actual, unset);
    else
        EXPECT_NEAR(actual, expected, 1e-12);
}

} // namespace

TEST(LevelLineParse, RecordsOfEachCodeAndTheLinesThatAreNotRead) {
    for (const LevLineCase& c : levLines) {
        SCOPED_TRACE(c.line);
        levelRec record;
        std::string fault;
        ASSERT_EQ(parseLevelLine(c.line, record, fault), c.result);
        EXPECT_EQ(fault.empty(), c.result != levelLineResult::malformed) << fault;
        if (c.result != levelLineResult::record)
            continue;
        EXPECT_EQ(record.kind, c.kind);
        EXPECT_EQ(fixedText(record.name), c.name);
        expectReading(record.backsight, c.backsight);
        expectReading(record.foresight, c.foresight);
        expectReading(record.elevation, c.elevation);
        EXPECT_EQ(record.fixed, c.fixed);
        EXPECT_EQ(record.description, c.description);
    }
}

TEST(LevelLineParse, ThreeWireReadingsAreKeptBesideTheirMean) {
    levelRec r;
    std::string fault;
    ASSERT_EQ(parseLevelLine("TP,PN9,BT1.1,BM1.2,BB1.33,FT0.7,FM0.8,FB0.93", r, fault),
              levelLineResult::record);
    EXPECT_DOUBLE_EQ(r.backTop, 1.1);
    EXPECT_DOUBLE_EQ(r.backMiddle, 1.2);
    EXPECT_DOUBLE_EQ(r.backBottom, 1.33);
    EXPECT_NEAR(r.foresight, (0.7 + 0.8 + 0.93) / 3, 1e-12);
    EXPECT_DOUBLE_EQ(r.foreBottom, 0.93);
}

TEST(TrigLevelLineParse, SightingsByZenithAndSlopeDistanceOrByVerticalValue) {
    testsupport::ProjectVarsGuard guard;
    projectVars.curvRefract = 0;
    trigLevelRec r;
    std::string fault;
    // Face left, zenith 60 degrees, 10 m: height component 10 cos 60 = 5,
    // horizontal 10 sin 60 = 8.660254037844386; the vertical value is -5.
    ASSERT_EQ(parseTrigLevelLine("BS, PN A1 ,ZE60.0000,SD10.000,--rod on pin", r, fault),
              levelLineResult::record);
    EXPECT_EQ(r.kind, trigBacksight);
    EXPECT_EQ(fixedText(r.name), "A1");
    EXPECT_NEAR(r.zenith, angle::pi / 3, 1e-12);
    EXPECT_NEAR(r.horizontalDistance, 8.660254037844386, 1e-12);
    EXPECT_NEAR(r.vertical, -5.0, 1e-12);
    EXPECT_EQ(r.description, "rod on pin");
    // Face right, zenith 300 degrees: the vertical value is +5.
    ASSERT_EQ(parseTrigLevelLine("FS,PNB,ZE300.0000,SD10.000", r, fault), levelLineResult::record);
    EXPECT_EQ(r.kind, trigForesight);
    EXPECT_NEAR(r.vertical, 5.0, 1e-12);
    ASSERT_EQ(parseTrigLevelLine("FS,PNB,VD-0.25,HD31.5", r, fault), levelLineResult::record);
    EXPECT_DOUBLE_EQ(r.vertical, -0.25);
    EXPECT_DOUBLE_EQ(r.horizontalDistance, 31.5);
    EXPECT_EQ(r.zenith, unset);
}

TEST(TrigLevelLineParse, BenchmarksRodsHeadersAndMalformedNumbers) {
    trigLevelRec r;
    std::string fault;
    ASSERT_EQ(parseTrigLevelLine("BM,PNBM1,EL100.125,--brass disk", r, fault),
              levelLineResult::record);
    EXPECT_EQ(fixedText(r.name), "BM1");
    EXPECT_DOUBLE_EQ(r.elevation, 100.125);
    EXPECT_EQ(r.description, "brass disk");
    ASSERT_EQ(parseTrigLevelLine("BM,PNBM2", r, fault), levelLineResult::record);
    EXPECT_EQ(r.elevation, unset);
    ASSERT_EQ(parseTrigLevelLine("LS,XX1,HR1.750", r, fault), levelLineResult::record);
    EXPECT_DOUBLE_EQ(r.rodHeight, 1.75);
    ASSERT_EQ(parseTrigLevelLine("H1,LPloop north,OPjd,PRjob12345678", r, fault),
              levelLineResult::record);
    EXPECT_EQ(r.projectName, "job1234567");
    EXPECT_EQ(r.operatorName, "jd");
    EXPECT_EQ(r.loopName, "loop north");
    ASSERT_EQ(parseTrigLevelLine("H2,TP21C,PR1013,DT2024-05-01,TM09:30", r, fault),
              levelLineResult::record);
    EXPECT_EQ(r.date, "2024-05-01");
    EXPECT_EQ(r.time, "09:30");
    EXPECT_EQ(r.pressure, "1013");
    EXPECT_EQ(r.temperature, "21C");
    EXPECT_EQ(parseTrigLevelLine("BS,PNA,ZE9o.0000,SD10", r, fault), levelLineResult::malformed);
    EXPECT_EQ(parseTrigLevelLine("BM,PNA,EL1O0", r, fault), levelLineResult::malformed);
    // Fields read whole: a decimal comma leaves a token that is no tag and
    // value; minutes or seconds of 60 are no angle; a name is never cut.
    for (const char* line : {"FS,PNA,VD-0,620", "BS,PNA,SD50,123,ZE90.0000", "BM,PNA,EL52,340",
                             "BS,PNA,ZE90.6000,SD10", "BS,PNA,ZE90.0060,SD10",
                             "FS,PNLEVELPOINT1,VD0.5", "LS,HR1\t500"}) {
        SCOPED_TRACE(line);
        fault.clear();
        EXPECT_EQ(parseTrigLevelLine(line, r, fault), levelLineResult::malformed);
        EXPECT_FALSE(fault.empty());
    }
    // A code of the other format, or a damaged one, is no record of this one.
    for (const char* line : {"SR,PN1,BS1,FS,EL1", "QS,PNL1,VD0.400", "fs,PNL1,VD0.400"}) {
        SCOPED_TRACE(line);
        fault.clear();
        EXPECT_EQ(parseTrigLevelLine(line, r, fault), levelLineResult::malformed);
        EXPECT_EQ(fault, "The record code \"" + std::string(line).substr(0, 2) +
                             "\" names no record type of its file.");
    }
    EXPECT_EQ(parseTrigLevelLine("  ", r, fault), levelLineResult::notARecord);
}

namespace {
using LevelFileRead = leveltest::LevelProject;
} // namespace

TEST_F(LevelFileRead, AFileThatCannotBeOpenedIsReportedAndReadsNothing) {
    EXPECT_EQ(readLevFile2D(rptFile, "missing.lev", 1), levelReadFailed);
    EXPECT_EQ(readTrigLevelFile(rptFile, "missing.tlv", 1), levelReadFailed);
    EXPECT_EQ(readLevFile3D("missing.lev"), levelReadFailed);
    const std::string path = (folder / "missing.lev").string();
    ASSERT_EQ(boxTexts().size(), 3u);
    EXPECT_EQ(boxTexts()[0], "Error opening " + path + ": No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(folder / "missing.lev")) << "never created";
    EXPECT_EQ(distanceList2D.count(), 0);
}

// A damaged record stops the reading: left out with a warning, as the
// level file's own rule has it, its readings went to the records after it
// and moved every later elevation of its run.
TEST_F(LevelFileRead, AMalformedLineStopsTheReadingNamingFileLineFieldAndRecord) {
    projectVars.pLevRawFileName = writeFile("run.lev", "SR,PN1,BS1.000,FS,FE100.000,--\r\n"
                                                       "TP,PN2,BS1.x00,FS0.500\r\n"
                                                       "\r\n"
                                                       "ER,PN3,BS,FS0.250");
    EXPECT_EQ(readLevelFile(), levelReadFailed);
    const std::string path = (folder / "run.lev").string();
    const auto errors = crlfLines(errorText());
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(errors[0], "Level file " + path +
                             ", line 2: The backsight \"1.x00\" is not a number. Record: "
                             "TP,PN2,BS1.x00,FS0.500");
    EXPECT_EQ(distanceList2D.count(), 0);
    EXPECT_EQ(levelRunList.count(), 0) << "the records are cleared after the read";
}

// The last line has no line end and is still read: 1 -> 3 = 101 - 0.25 - 100.
TEST_F(LevelFileRead, TheLastLineWithoutALineEndIsRead) {
    projectVars.pLevRawFileName = writeFile("run.lev", "SR,PN1,BS1.000,FS,FE100.000,--\r\n"
                                                       "\r\n"
                                                       "ER,PN3,BS,FS0.250");
    EXPECT_EQ(readLevelFile(), levelReadOk);
    distanceObs2D line;
    ASSERT_GE(distanceList2D.find("1", "3", line), 0);
    EXPECT_NEAR(line.vertDiff, 0.75, 1e-12);
    EXPECT_EQ(shell.messages.front(), "Reading level data");
    EXPECT_EQ(shell.percents.back(), 100);
}
