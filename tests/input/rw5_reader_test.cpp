#include "rw5_test_support.hpp"

#include "input/raw_aliases.hpp"
#include "support/angles.hpp"

#include <cmath>

namespace {

using namespace rw5test;
using testsupport::pi;
using testsupport::radiansOf;

constexpr double unset = -999999999.0;
constexpr double tol = 1e-9;

using Rw5Read = Rw5ReaderTest;

TEST_F(Rw5Read, SetupTakesTheSightOfItsBackfoldBd) {
    ASSERT_EQ(read("setup_with_bd.rw5"), 0);
    const std::vector<rawRec> r = records();
    ASSERT_EQ(kindsOf(r), (std::vector<int>{rawSetup, rawForesight}));
    const rawRec& setup = r[0];
    EXPECT_EQ(nameOf(setup.stationName), "1");
    EXPECT_EQ(nameOf(setup.backsightName), "2");
    EXPECT_DOUBLE_EQ(setup.instrumentHeight, 1.5);
    EXPECT_DOUBLE_EQ(setup.bsTargetHeight, 1.8);
    EXPECT_DOUBLE_EQ(setup.bsHorizontalReading, 0.0);
    EXPECT_DOUBLE_EQ(setup.distance, 100.0);
    EXPECT_NEAR(setup.zenithOrVertDiff, pi / 2, 1e-12);
    EXPECT_NEAR(setup.horizDistance, 100.0, tol);
    EXPECT_NEAR(setup.vertDifference, 1.5 - 1.8, tol); // level sight: HI minus target height
    EXPECT_EQ(setup.face, faceDirect);
    EXPECT_EQ(setup.heightsApplied, 1);
    EXPECT_NEAR(setup.distStdErr, 0.01 + 5.0 * 100.0 / 1e6, tol); // 0.01 + 5 ppm of 100
    EXPECT_NEAR(setup.zenithStdErr, std::sqrt(3.0 * 3.0 + 3.0 * 3.0), tol);

    const rawRec& fs = r[1];
    EXPECT_EQ(nameOf(fs.foresightName), "3");
    EXPECT_NEAR(fs.horizontalReading, pi / 2, 1e-12);
    EXPECT_NEAR(fs.horizDistance, 50.0, tol);
    EXPECT_DOUBLE_EQ(fs.targetHeight, 1.8);
    EXPECT_STREQ(fs.description, "fence");
    EXPECT_EQ(errorReport(), "");
}

TEST_F(Rw5Read, TraverseMovesOnWithoutBk) {
    ASSERT_EQ(read("traverse.rw5"), 0);
    const std::vector<rawRec> r = records();
    ASSERT_EQ(kindsOf(r),
              (std::vector<int>{rawSetup, rawForesight, rawSetup, rawForesight, rawSetup}));
    EXPECT_EQ(nameOf(r[1].foresightName), "2");
    EXPECT_EQ(nameOf(r[2].stationName), "2");
    EXPECT_EQ(nameOf(r[2].backsightName), "1");
    EXPECT_DOUBLE_EQ(r[2].bsHorizontalReading, 0.0);
    EXPECT_DOUBLE_EQ(r[2].instrumentHeight, 1.5);
    EXPECT_EQ(nameOf(r[3].foresightName), "3");
    EXPECT_NEAR(r[3].horizontalReading, 3 * pi / 2, 1e-12);
    EXPECT_EQ(nameOf(r[4].stationName), "3");
    EXPECT_EQ(nameOf(r[4].backsightName), "2");
}

TEST_F(Rw5Read, DoSwitchesReadingAndElevationNotesSwitchHeights) {
    ASSERT_EQ(read("reading_switches.rw5"), 0);
    const std::vector<rawRec> r = records();
    ASSERT_EQ(r.size(), 4u); // the sight to 4 lies between the two "DO" lines
    EXPECT_EQ(nameOf(r[1].foresightName), "3");
    EXPECT_DOUBLE_EQ(r[1].targetHeight, 2.0);
    EXPECT_EQ(r[1].heightsApplied, 1);
    EXPECT_EQ(nameOf(r[2].foresightName), "5"); // after "--Elevation: 2D"
    EXPECT_EQ(r[2].targetHeight, unset);
    EXPECT_EQ(r[2].heightsApplied, 0);
    EXPECT_EQ(nameOf(r[3].foresightName), "6"); // "--elevation: 3d" turns them on again
    EXPECT_DOUBLE_EQ(r[3].targetHeight, 2.0);
}

TEST_F(Rw5Read, FirstSightFromAStoredPointGetsADummyBacksightNorth) {
    ASSERT_EQ(read("start_at_stored_point.rw5"), 0);
    const std::vector<rawRec> r = records();
    ASSERT_EQ(kindsOf(r), (std::vector<int>{rawCoord, rawCoord, rawSetup, rawForesight}));
    EXPECT_EQ(nameOf(r[1].pointName), "BACK1");
    EXPECT_DOUBLE_EQ(r[1].northing, 5100.0);
    EXPECT_DOUBLE_EQ(r[1].easting, 5000.0);
    EXPECT_DOUBLE_EQ(r[1].elevation, 100.0);
    EXPECT_EQ(nameOf(r[2].stationName), "1");
    EXPECT_EQ(nameOf(r[2].backsightName), "BACK1");
    EXPECT_DOUBLE_EQ(r[2].bsHorizontalReading, 0.0);
    EXPECT_DOUBLE_EQ(r[2].instrumentHeight, 1.5);
}

// A point known only by its elevation has no position to put a dummy
// backsight north of: the sight is read without one (a dummy at "100 units
// north" of an unset northing would be a point at a nonsense position).
TEST_F(Rw5Read, FirstSightFromAnElevationOnlyPointGetsNoDummy) {
    ASSERT_EQ(read("start_at_elevation_only.rw5"), 0);
    EXPECT_EQ(kindsOf(records()), (std::vector<int>{rawCoord, rawForesight}));
}

TEST_F(Rw5Read, LsWithANewHiRepeatsTheSetupNotASight) {
    ASSERT_EQ(read("new_hi.rw5"), 0);
    const std::vector<rawRec> r = records();
    ASSERT_EQ(kindsOf(r),
              (std::vector<int>{rawSetup, rawSetup, rawSetup, rawForesight, rawForesight}));
    EXPECT_DOUBLE_EQ(r[0].instrumentHeight, 1.5);
    EXPECT_EQ(nameOf(r[1].stationName), "");
    EXPECT_EQ(nameOf(r[1].backsightName), "");
    EXPECT_DOUBLE_EQ(r[1].instrumentHeight, 1.6);
    EXPECT_DOUBLE_EQ(r[1].bsTargetHeight, 2.0);
    EXPECT_EQ(r[1].bsHorizontalReading, unset);
    EXPECT_EQ(nameOf(r[2].stationName), "1");
    EXPECT_EQ(nameOf(r[2].backsightName), "2");
    EXPECT_DOUBLE_EQ(r[2].instrumentHeight, 1.6);
    EXPECT_NEAR(r[3].vertDifference, 1.6 - 2.0, tol);
    EXPECT_NEAR(r[4].vertDifference, 1.7 - 2.0, tol); // after a sight: no repeat, new HI used
}

TEST_F(Rw5Read, ResectionNotesBecomeASetupAndItsForesights) {
    ASSERT_EQ(read("resection.rw5"), 0);
    const std::vector<rawRec> r = records();
    // The resected point itself is not stored as a coordinate.
    ASSERT_EQ(kindsOf(r), (std::vector<int>{rawSetup, rawForesight, rawForesight, rawForesight}));
    EXPECT_EQ(nameOf(r[0].stationName), "50");
    EXPECT_EQ(nameOf(r[0].backsightName), "1");
    EXPECT_DOUBLE_EQ(r[0].instrumentHeight, 1.6);
    EXPECT_DOUBLE_EQ(r[0].bsTargetHeight, 1.7);
    EXPECT_NEAR(r[0].horizDistance, 100.0, tol);
    EXPECT_NEAR(r[0].vertDifference, 1.6 - 1.7, tol);
    EXPECT_EQ(nameOf(r[1].foresightName), "2");
    EXPECT_NEAR(r[1].horizontalReading, pi / 2, 1e-12);
    EXPECT_DOUBLE_EQ(r[1].targetHeight, 1.9);
    EXPECT_STREQ(r[1].description, "iron");
    EXPECT_EQ(nameOf(r[2].foresightName), "3");
    EXPECT_DOUBLE_EQ(r[2].targetHeight, 1.9); // the last target height carries on
    EXPECT_STREQ(r[2].description, "nail");
    EXPECT_EQ(nameOf(r[3].foresightName), "9");
    EXPECT_NEAR(r[3].vertDifference, 0.0, tol); // the reader's own HI 1.5 and HR 1.5
}

TEST_F(Rw5Read, MissingHeightsAreWarnedAndTheHorizontalDistanceKept) {
    ASSERT_EQ(read("without_heights.rw5"), 0);
    const std::vector<rawRec> r = records();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(errorReport(),
              "Warning, Uninitialized HI found when parsing the following record:\r\n"
              "  SS,OP1,FP3,AR90.0000,ZE90.0000,SD50.000\r\n"
              "\r\n"
              "Warning, Uninitialized rod height found when parsing the following record:\r\n"
              "  SS,OP1,FP3,AR90.0000,ZE90.0000,SD50.000\r\n"
              "\r\n");
    // Without heights the sight still has its horizontal distance (it does
    // not depend on them); the height difference is not mark to mark.
    EXPECT_NEAR(r[1].horizDistance, 50.0, tol);
    EXPECT_EQ(r[1].heightsApplied, 0);
}

TEST_F(Rw5Read, TenCharacterNamesStayWhole) {
    ASSERT_EQ(read("ten_character_names.rw5"), 0);
    const std::vector<rawRec> r = records();
    ASSERT_EQ(kindsOf(r), (std::vector<int>{rawCoord, rawCoord, rawSetup, rawForesight}));
    // Stored points and sights name the same 10-character points.
    EXPECT_EQ(nameOf(r[0].pointName), "STATION_10");
    EXPECT_EQ(nameOf(r[1].pointName), "BENCH_0010");
    EXPECT_EQ(nameOf(r[2].stationName), "STATION_10");
    EXPECT_EQ(nameOf(r[3].foresightName), "BENCH_0010");
}

TEST_F(Rw5Read, LongLinesAreReadWhole) {
    ASSERT_EQ(read("long_line.rw5"), 0);
    const std::vector<rawRec> r = records();
    // The text after column 121 is still the description, not a record of its own.
    ASSERT_EQ(kindsOf(r), (std::vector<int>{rawSetup, rawForesight, rawForesight}));
    EXPECT_EQ(std::string(r[1].description), std::string(100, 'x'));
    EXPECT_EQ(nameOf(r[2].foresightName), "5");
}

TEST_F(Rw5Read, StandardErrorRecordsInOrderOfTheirTokens) {
    ASSERT_EQ(read("std_errs.rw5"), 0);
    const std::vector<rawRec> r = records();
    ASSERT_EQ(kindsOf(r), (std::vector<int>{rawStdErrs, rawStdErrs, rawStdErrs}));
    // MSE,PE2.0,RE*,VP0,VR4.0,DE0.005,PP3: "*" takes the project's 3.0, 0 becomes 1e-6.
    EXPECT_DOUBLE_EQ(r[0].stErrPoint, 2.0);
    EXPECT_DOUBLE_EQ(r[0].stErrRead, 3.0);
    EXPECT_DOUBLE_EQ(r[0].vStErrPoint, 1e-6);
    EXPECT_DOUBLE_EQ(r[0].vStErrRead, 4.0);
    EXPECT_DOUBLE_EQ(r[0].stErrDist, 0.005);
    EXPECT_DOUBLE_EQ(r[0].stErrDistPPM, 3.0);
    EXPECT_EQ(r[0].stErrAz, unset);
    // SSE,TC0.002,IC*,HI0.001,RD0.003
    EXPECT_DOUBLE_EQ(r[1].stErrTrgtCentering, 0.002);
    EXPECT_DOUBLE_EQ(r[1].stErrInstrCentering, 0.005);
    EXPECT_DOUBLE_EQ(r[1].HIStErr, 0.001);
    EXPECT_DOUBLE_EQ(r[1].rodStErr, 0.003);
    // CSE,N 0.05,E #,EL!,AZ7.0
    EXPECT_DOUBLE_EQ(r[2].stErrY, 0.05);
    EXPECT_DOUBLE_EQ(r[2].stErrX, -1.0);
    EXPECT_DOUBLE_EQ(r[2].stErrZ, -2.0);
    EXPECT_DOUBLE_EQ(r[2].stErrAz, 7.0);

    // In force at once, except the free and fixed markers and the CSE azimuth error.
    EXPECT_DOUBLE_EQ(readerStdErrs[seHorizPointing], 2.0);
    EXPECT_DOUBLE_EQ(readerStdErrs[seVertPointing], 1e-6);
    EXPECT_DOUBLE_EQ(readerStdErrs[seDistConstant], 0.005);
    EXPECT_DOUBLE_EQ(readerStdErrs[seTargetCentering], 0.002);
    EXPECT_DOUBLE_EQ(readerStdErrs[seNorthing], 0.05);
    EXPECT_DOUBLE_EQ(readerStdErrs[seEasting], 0.01);
    EXPECT_DOUBLE_EQ(readerStdErrs[seElevation], 0.02);
    EXPECT_DOUBLE_EQ(readerStdErrs[seAzimuth], 5.0);
}

TEST_F(Rw5Read, LinearStandardErrorsTakeTheUnitFactorIn3D) {
    projectVars.geodeticModel = 1;
    projectVars.HorizUnits = 1; // US survey feet
    constexpr double usFoot = 0.3048006096012192;
    ASSERT_EQ(read("std_errs.rw5"), 0);
    const std::vector<rawRec> r = records();
    EXPECT_DOUBLE_EQ(r[0].stErrDist, 0.005 * usFoot);
    EXPECT_DOUBLE_EQ(r[0].stErrDistPPM, 3.0);
    EXPECT_DOUBLE_EQ(r[0].vStErrPoint, 1e-6);
    EXPECT_DOUBLE_EQ(r[1].stErrInstrCentering, 0.005 * usFoot); // "*" too
    EXPECT_DOUBLE_EQ(r[2].stErrY, 0.05 * usFoot);
    EXPECT_DOUBLE_EQ(r[2].stErrX, -1.0);
}

// An .RW5 file that cannot be opened fails the read: the run must not go on
// with the data of the files before it as if all were read.
TEST_F(Rw5Read, MissingFileIsAnErrorNamingIt) {
    ASSERT_EQ(read(std::vector<std::string>{"traverse.rw5", "no_such_file.rw5", "alias.rw5"}),
              rw5ReadFailed);
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0].text,
              "Error opening " + fixture("no_such_file.rw5") + ": No such file or directory");
    // Every file is opened before any is read (no dummy backsight may take the
    // name of a point of a later file), so none is read.
    EXPECT_EQ(records().size(), 0u);
    EXPECT_FALSE(std::filesystem::exists(fixture("no_such_file.rw5")));
}

TEST_F(Rw5Read, ReadingClearsTheRawListAndTheAliases) {
    rawRec old;
    initRawCoord(old);
    rawDataList.append(old);
    ptAliasRec alias;
    pointAliasList.append(alias);
    ASSERT_EQ(read("traverse.rw5"), 0);
    EXPECT_EQ(records().size(), 5u);
    EXPECT_EQ(pointAliasList.count(), 0);
    EXPECT_EQ(shell.messages, (std::vector<std::string>{"Reading Raw data"}));
}

// A file whose lines end in CR alone reads as the same file with CR LF: the
// same records, never one long line.
TEST_F(Rw5Read, CrOnlyLineEndsReadLikeCrLf) {
    ASSERT_EQ(read("traverse.rw5"), 0);
    const std::vector<int> expected = kindsOf(records());
    std::string text = testsupport::readBytes(fixture("traverse.rw5"));
    ASSERT_NE(text.find('\n'), std::string::npos);
    std::string crOnly;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\n') {
            if (crOnly.empty() || crOnly.back() != '\r')
                crOnly += '\r';
        } else {
            crOnly += text[at];
        }
    }
    ASSERT_EQ(crOnly.find('\n'), std::string::npos);
    projectVars.projectFileName = (folder / "site.prj").string();
    testsupport::writeBytes(folder / "cr.rw5", crOnly);
    ASSERT_EQ(readRw5File("cr.rw5\n", ""), 0);
    EXPECT_EQ(kindsOf(records()), expected);
}

TEST_F(Rw5Read, RelativeNamesAreTakenFromTheProjectFolder) {
    projectVars.projectFileName = (folder / "site.prj").string();
    testsupport::writeBytes(folder / "site.rw5", "EL,PNBM,EL12.5");
    ASSERT_EQ(readRw5File("site.rw5\n", ""), 0);
    const std::vector<rawRec> r = records();
    ASSERT_EQ(r.size(), 1u); // the last line has no line end and is still read
    EXPECT_DOUBLE_EQ(r[0].elevation, 12.5);
}

TEST(Rw5ObservationCodes, OnlyWholeCodes) {
    for (const char* code : {"TR", "SS", "CL", "FD", "FR", "BD", "BR", "AB", "OB", "--OB", "CL+AB"})
        EXPECT_EQ(isRw5ObservationCode(code), 1) << code;
    for (const char* code : {"BK", "S", "SSX", "CL+", "ss", "LS", ""})
        EXPECT_EQ(isRw5ObservationCode(code), 0) << code;
}

// The codes of the format: those the reader reads, notes, and those it
// passes over (job, mode, stakeout and GPS records). A code of one letter changed is none.
TEST(Rw5RecordCodes, TheFormatsCodesWholeAndInTheirCase) {
    for (const char* code :
         {"BK",  "LS", "SP", "GS", "EL",    "Z",    "AZ", "MSE",         "SSE",
          "CSE", "OC", "DO", "SS", "CL+AB", "--OB", "--", "--Resection", "--GPS session",
          "JB",  "MO", "CF", "DE", "BP",    "GPS",  "G0", "G1",          "G2",
          "G3"})
        EXPECT_EQ(isRw5RecordCode(code), 1) << code;
    for (const char* code : {"QP", "QS", "BQ", "ZZ", "ls", "sp", "S", "G4", "GPSX", "-", "D0", ""})
        EXPECT_EQ(isRw5RecordCode(code), 0) << code;
}

// Records of the format that hold nothing this reader uses (a job, a mode,
// the GPS records, notes) and blank lines are passed over: the file reads
// as the setup and sight alone.
TEST_F(Rw5Read, RecordsTheReaderDoesNotUseArePassedOver) {
    testsupport::writeBytes(folder / "mixed.rw5",
                            "JB,NMjob,DT03-14-2026,TM10:00:00\r\n"
                            "MO,AD0,UN1,SF1.00000000,EC0,EO0.0,AU0\r\n"
                            "--a note\r\n"
                            "LS,HI1.500,HR2.000\r\n"
                            "BK,OP1,BP2,BS,BC0.0000\r\n"
                            "   \r\n"
                            "BP,PNBASE,LA45.0000,LN-75.0000,EL100.000,AG1.500,PA0.100\r\n"
                            "GPS,PNROV1,LA45.0050,LN-74.5900,EL98.0\r\n"
                            "G0,(Average) V1.0\r\n"
                            "G1,BPBASE,PNROV1,DX1234.567,DY-2345.678,DZ987.654\r\n"
                            "G2,VX1.0e-6,VY4.0e-6,VZ9.0e-6\r\n"
                            "G3,XY1.0e-7,XZ-2.0e-7,YZ3.0e-7\r\n"
                            "SS,OP1,FP3,AR90.0000,VA0.0000,SD50.000\r\n");
    ASSERT_EQ(readRw5File((folder / "mixed.rw5").string() + "\n", ""), rw5ReadDone);
    const std::vector<rawRec> r = records();
    ASSERT_EQ(kindsOf(r), (std::vector<int>{rawSetup, rawForesight}));
    // A vertical angle of 0 is a level sight.
    EXPECT_NEAR(r[1].zenithOrVertDiff, pi / 2, 1e-12);
    EXPECT_EQ(errorReport(), "");
}

} // namespace

// A file whose third line is `record`, between a setup and a sight that
// read well. Left out with a warning, a damaged setup, height or control
// record let the records after it attach to the wrong setup or height, and
// the run ended well (70 m, 524 m, 10 cm): the reading now stops there.
class Rw5RefusedRecord : public Rw5ReaderTest {
protected:
    // Reads the file afresh (lists and error report emptied); the error
    // report. The setup before the record stays, nothing after it is read.
    std::string readAround(const std::string& record) {
        resetProgramLists();
        shell.boxes.clear();
        EXPECT_EQ(::ftruncate(errFile, 0), 0);
        EXPECT_EQ(::lseek(errFile, 0, SEEK_SET), 0);
        testsupport::writeBytes(folder / "bad.rw5", "LS,HI1.500,HR2.000\r\n"
                                                    "BK,OP1,BP2,BS,BC0.0000\r\n" +
                                                        record +
                                                        "\r\nSS,OP1,FP3,AR10.0000,ZE90.0000,"
                                                        "SD10.000\r\n");
        EXPECT_EQ(readRw5File(path() + "\n", ""), rw5ReadFailed);
        EXPECT_EQ(kindsOf(records()), (std::vector<int>{rawSetup}));
        EXPECT_EQ(shell.boxes.size(), 1u);
        return errorReport();
    }
    std::string path() const { return (folder / "bad.rw5").string(); }
};

// A value that is no number of a survey ("inf", "nan", an overflow, 1e308)
// stops the reading naming the file, the line and the value.
TEST_F(Rw5RefusedRecord, RecordWithANonDataNumberStopsTheReading) {
    for (const std::string bad : {"LS,HIINF", "LS,HInan", "LS,HI1e400", "LS,HR1e308",
                                  "SS,OP1,FP5,AR10.0000,ZE90.0000,SD-inf"}) {
        SCOPED_TRACE(bad);
        const std::string report = readAround(bad);
        EXPECT_NE(report.find("File: " + path() + ", line 3"), std::string::npos) << report;
        EXPECT_NE(report.find(bad.substr(bad.rfind(',') + 1)), std::string::npos) << report;
    }
}

// A token holds wholly what it must after its prefix: a damaged number is
// never read as far as it goes (SD30#.816 as 30 m, AR9Q.25023 as 9 degrees),
// an angle has minutes and seconds below 60, a sideshot has a name. The
// reading stops naming the file, the line and the field.
TEST_F(Rw5RefusedRecord, RecordWithADamagedFieldStopsTheReadingNamingTheField) {
    const std::string notANumber = " is not a number.";
    const std::string notAnAngle =
        " is not a dd.mmss angle: its minutes or seconds are 60 or more.";
    const std::string unknownCode =
        " is no record type this program knows, so the file may be damaged; a record of a type "
        "it does not read can be taken out of the file.";
    const struct {
        const char* record;
        std::string why;
    } rows[] = {
        {"SS,OP1,FP5,AR10.0000,ZE90.0000,SD30#.816", "distance \"SD30#.816\"" + notANumber},
        {"SS,OP1,FP5,AR10.0000,ZE90.0000,SD50,123", "record has 7 fields; it needs 6."},
        {"SS,OP1,FP5,AR10.0000,ZE90,1234,SD50.123", "record has 7 fields; it needs 6."},
        {"SP,PN7,N 1000.0,E 2000,5,EL10.0", "record has 6 fields; it needs 5."},
        {"EL,PN7,EL52,340", "record has 4 fields; it needs 3."},
        {"SS,OP1,FP5,AR10.0000,ZE90.0000,SD50.1 23", "distance \"SD50.1 23\"" + notANumber},
        {"SS,OP1,FP5,AR9Q.25023,ZE90.0000,SD30.816", "angle \"AR9Q.25023\"" + notANumber},
        {"SS,OP1,FP5,AR10.7500,ZE90.0000,SD30.816", "angle \"AR10.7500\"" + notAnAngle},
        {"SS,OP1,FP5,BRNE4O.0000,ZE90.0000,SD30.816", "angle \"BRNE4O.0000\"" + notANumber},
        {"SS,OP1,FP5,BRNE40.0060,ZE90.0000,SD30.816", "angle \"BRNE40.0060\"" + notAnAngle},
        {"SS,OP1,FP5,AR10.0000,ZE9O.0000,SD30.816", "vertical \"ZE9O.0000\"" + notANumber},
        {"SS,OP1,FP5,AR10.0000,ZE89.6000,SD30.816", "vertical \"ZE89.6000\"" + notAnAngle},
        {"SS,OP1,FP5,AR10.0000,ZEinf,SD30.816", "vertical \"ZEinf\"" + notANumber},
        {"SS,OP1,FP5,AR10.0000,CE0.5m,SD30.816", "vertical \"CE0.5m\"" + notANumber},
        {"SS,OP1,FP   ,AR10.0000,ZE90.0000,SD30.816", "foresight point is blank."},
        {"SS,OP1,,AR10.0000,ZE90.0000,SD30.816", "foresight point is blank."},
        {"BK,OP1,BP2,BS,BC120.3x000", "circle reading \"BC120.3x000\"" + notANumber},
        {"BK,OP1,BP2,BS45.6000,BC0.0000", "backsight azimuth \"BS45.6000\"" + notAnAngle},
        {"LS,HI1.5m", "HI \"HI1.5m\"" + notANumber},
        {"LS,HI1.5x0", "HI \"HI1.5x0\"" + notANumber},
        {"LS,HI1.500,HR2.0.0", "rod height \"HR2.0.0\"" + notANumber},
        {"LS,HI1,550,HR1.600", "record has 4 fields; it needs 3."},
        {"LS,HI1.550,HR1,600", "record has 4 fields; it needs 3."},
        // A slip in a height's prefix left the height at its last value.
        {"LS,HQ1.550,HR1.600", "height \"HQ1.550\" has a prefix its record does not know."},
        {"LS,HI1.550,RH1.600", "height \"RH1.600\" has a prefix its record does not know."},
        {"SP,PN7,N 1000.0x,E 2000.0,EL10.0", "northing \"N 1000.0x\"" + notANumber},
        {"GS,PN7,N 1000.0,E 0x7D0,EL10.0", "easting \"E 0x7D0\"" + notANumber},
        {"EL,PN7,EL1O.0", "elevation \"EL1O.0\"" + notANumber},
        {"Z,PN7,ELnan", "elevation \"ELnan\"" + notANumber},
        {"AZ,BP1,FP7,AZ45.3O", "azimuth \"AZ45.3O\"" + notANumber},
        {"AZ,BP1,FP7,AZ45.7500", "azimuth \"AZ45.7500\"" + notAnAngle},
        {"MSE,PE5,RE5,VP5,VR5,DE0.005,PP3ppm", "distance PPM \"PP3ppm\"" + notANumber},
        {"SSE,TC0.001,IC0.001,HI0.00l,HR0.001", "HI error \"HI0.00l\"" + notANumber},
        {"CSE,N#,E!,EL*,AZ5\"", "azimuth error \"AZ5\"\"" + notANumber},
        // A vertical token of another prefix was read as a vertical angle:
        // QE90 became a zenith of 0.
        {"SS,OP1,FP5,AR10.0000,QE90.0000,SD30.816",
         "vertical \"QE90.0000\" has a prefix its record does not know."},
        {"SS,OP1,FP5,AR10.0000,ZF89.4000,SD30.816",
         "vertical \"ZF89.4000\" has a prefix its record does not know."},
        // An angle token of another prefix was read as its value: QL10 as
        // an angle right of 10 degrees where AL10 is one of 350, a bearing
        // without its quadrant as an azimuth.
        {"SS,OP1,FP5,QL10.0000,ZE90.0000,SD30.816",
         "angle \"QL10.0000\" has a prefix its record does not know."},
        {"SS,OP1,FP5,A10.0000,ZE90.0000,SD30.816",
         "angle \"A10.0000\" has a prefix its record does not know."},
        {"SS,OP1,FP5,BR45.0000,ZE90.0000,SD30.816",
         "bearing quadrant \"45\" is not NE, SE, SW or NW."},
        {"SS,OP1,FP5,BRNQ45.0000,ZE90.0000,SD30.816",
         "bearing quadrant \"NQ\" is not NE, SE, SW or NW."},
        // A distance token of another first letter than H was read as a
        // slope distance: QD100 from a horizontal 100 at a zenith of 60.
        {"SS,OP1,FP5,AR10.0000,ZE60.0000,QD100.000",
         "distance \"QD100.000\" has a prefix its record does not know."},
        {"SS,OP1,FP5,AR10.0000,ZE60.0000,HS100.000",
         "distance \"HS100.000\" has a prefix its record does not know."},
        // A damaged code was passed over: the control point, the heights or
        // the sight it held were lost.
        {"QP,PN7,N 1000.0,E 2000.0,EL10.0", "record code \"QP\"" + unknownCode},
        {"QS,HI1.550,HR1.600", "record code \"QS\"" + unknownCode},
        {"ss,OP1,FP5,AR10.0000,ZE90.0000,SD30.816", "record code \"ss\"" + unknownCode},
        {"D0", "record code \"D0\"" + unknownCode},
        {"CG,PN101,CU0.250", "record code \"CG\"" + unknownCode},
        {",OP1,FP5,AR10.0000,ZE90.0000,SD30.816", "record code is missing."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.record);
        EXPECT_EQ(readAround(row.record), "Error parsing raw record:\r\n" +
                                              std::string(row.record) + "\r\n  File: " + path() +
                                              ", line 3\r\nThe " + row.why + "\r\n\r\n");
    }
}

// The first "BD" after a "BK" gives the setup its backsight sight and was
// never read on its own, so its fields were not checked at all.
TEST_F(Rw5RefusedRecord, TheBacksightSightASetupTakesIsCheckedToo) {
    const std::string report = readAround("BD,OP1,FP2,AR0.0000,ZE90.0000,SD1O.000");
    EXPECT_NE(report.find("The distance \"SD1O.000\" is not a number."), std::string::npos)
        << report;
}

// Markers and empty values are no damaged numbers: "*" takes the project's
// standard error, "#" and "!" free and fix a control coordinate.
TEST_F(Rw5Read, MarkersAndEmptyValuesAreRead) {
    const std::string path = (folder / "markers.rw5").string();
    testsupport::writeBytes(folder / "markers.rw5", "MSE,PE*,RE5,VP*,VR5,DE*,PP3\r\n"
                                                    "CSE,N#,E!,EL*,AZ*\r\n"
                                                    "SP,PN7,N 1000.0,E 2000.0,EL\r\n"
                                                    "BK,OP7,BP2,BS,BC\r\n");
    ASSERT_EQ(readRw5File(path + "\n", ""), 0);
    EXPECT_EQ(kindsOf(records()), (std::vector<int>{rawStdErrs, rawStdErrs, rawCoord, rawSetup}));
    EXPECT_EQ(errorReport(), "");
}

// The numbers of resection notes are whole numbers too: a damaged one stops
// the reading, named with file, line and field, rather than giving the
// resection a height or a sight it does not have.
TEST_F(Rw5Read, ADamagedNumberOfAResectionNoteStopsTheReading) {
    const std::string good = testsupport::readBytes(fixture("resection.rw5"));
    const struct {
        const char* from;
        const char* to;
        const char* field;
        int line;
    } rows[] = {
        {"--Resection:HI 1.600", "--Resection:HI 1.6OO", "HI \"--Resection:HI 1.6OO\"", 4},
        {"SD100.000,HR1.700", "SD1OO.000,HR1.700", "distance \"SD1OO.000\"", 5},
        {"SD80.000,--iron,HR1.900", "SD80.000,--iron,HR1.9x", "target height \"HR1.9x\"", 6},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.to);
        resetProgramLists();
        shell.boxes.clear();
        std::string text = good;
        text.replace(text.find(row.from), std::string(row.from).size(), row.to);
        testsupport::writeBytes(folder / "res.rw5", text);
        const std::string path = (folder / "res.rw5").string();
        ASSERT_EQ(readRw5File(path + "\n", ""), rw5ReadFailed);
        ASSERT_EQ(shell.boxes.size(), 1u);
        const std::string expected = "Error parsing resection note: The " + std::string(row.field) +
                                     " is not a number.\n  File: " + path + ", line " +
                                     std::to_string(row.line) + "\n";
        EXPECT_EQ(shell.boxes[0].text.substr(0, expected.size()), expected);
    }
}

// A point may be called "INF": names are no numbers.
TEST_F(Rw5Read, PointNamedLikeANonNumberIsRead) {
    const std::string path = (folder / "named.rw5").string();
    testsupport::writeBytes(folder / "named.rw5", "LS,HI1.500,HR2.000\r\n"
                                                  "BK,OP1,BPINF,BS,BC0.0000\r\n"
                                                  "SS,OP1,FPNAN,AR10.0000,ZE90.0000,SD10.000\r\n");
    ASSERT_EQ(readRw5File(path + "\n", ""), 0);
    const std::vector<rawRec> r = records();
    ASSERT_EQ(kindsOf(r), (std::vector<int>{rawSetup, rawForesight}));
    EXPECT_EQ(nameOf(r[0].backsightName), "INF");
    EXPECT_EQ(nameOf(r[1].foresightName), "NAN");
}
