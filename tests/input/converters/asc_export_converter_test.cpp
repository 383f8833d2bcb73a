#include "converter_test_support.hpp"
#include "input/converters/asc_export_reader.hpp"
#include "input/converters/converter_files.hpp"
#include "input/converters/total_station_converters.hpp"
#include "input/numeric_raw_reader.hpp"
#include "input/rw5_reader.hpp"

#include <gtest/gtest.h>

#include <cmath>

using namespace convertertest;

namespace {

// The observations of export.asc as every reader of the converted file must
// give them back: names made valid, degrees turned into radians.
struct ExpectedSight {
    int kind;
    const char* point; // station of a setup, target of a foresight
    const char* backsight;
    double hi, targetHeight, reading_deg, zenith_deg, distance;
};

// 90.2525 degrees = 90 deg 15' 09"; the other angles are whole minutes.
const ExpectedSight exportSights[] = {
    {rawSetup, "S_1", "BS_1", 1.550, 1.800, 45.5, 90.2525, 100.123},
    {rawForesight, "P2", "", notComputed, 1.800, 120.25, 85.5, 50.5},
    {rawForesight, "P3", "", notComputed, 2.000, 200.0, 95.0, 75.25},
    {rawSetup, "P2", "S_1", 1.600, 1.800, 0.0, 270.0, 50.5},
    {rawForesight, "POINT_TWEL", "", notComputed, 1.800, 10.5, 91.0, 30.0},
};

// The .RW5 reader folds a "BD" line into its setup but reads a "BR" line
// as a sight of its own: the P2 setup keeps its circle reading, and its
// backsight sight follows as a foresight to S_1.
const ExpectedSight exportSightsFromRw5[] = {
    exportSights[0],
    exportSights[1],
    exportSights[2],
    {rawSetup, "P2", "S_1", 1.600, 1.800, 0.0, notComputed, notComputed},
    {rawForesight, "S_1", "", notComputed, 1.800, 0.0, 270.0, 50.5},
    exportSights[4],
};

template <std::size_t N>
void expectSights(const std::vector<rawRec>& records, const ExpectedSight (&expected)[N]) {
    ASSERT_EQ(records.size(), N);
    for (std::size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(i);
        const ExpectedSight& e = expected[i];
        const rawRec& r = records[i];
        ASSERT_EQ(r.kind, e.kind);
        const bool setup = e.kind == rawSetup;
        EXPECT_EQ(nameOf(setup ? r.stationName : r.foresightName), e.point);
        if (setup) {
            EXPECT_EQ(nameOf(r.backsightName), e.backsight);
            EXPECT_NEAR(r.instrumentHeight, e.hi, 1e-9);
        }
        EXPECT_NEAR(setup ? r.bsTargetHeight : r.targetHeight, e.targetHeight, 1e-9);
        EXPECT_NEAR(setup ? r.bsHorizontalReading : r.horizontalReading, e.reading_deg * degree,
                    1e-9);
        if (isSet(e.zenith_deg))
            EXPECT_NEAR(r.zenithOrVertDiff, e.zenith_deg * degree, 1e-9);
        else
            EXPECT_EQ(r.zenithOrVertDiff, notComputed);
        EXPECT_NEAR(r.distance, e.distance, 1e-9);
    }
}

class AscExportConversion : public ConverterTest {};

} // namespace

TEST(AscPointName, IsUpperCasedAndMadeValid) {
    const std::pair<const char*, const char*> cases[] = {
        {"p-1", "P_1"},
        {"ab-cd ef-g", "AB_CD_EF_G"},   // ten characters keep their length
        {"abcdefghijkl", "ABCDEFGHIJ"}, // twelve keep their first ten
        {"long-name-of-it", "LONG_NAME_"},
        {"plain", "PLAIN"},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(ascPointName(name), expected) << name;
}

TEST(AscSeparator, ComesFromTheGeneralSectionOnly) {
    const std::vector<std::string> named = {"[General]", "Separator=;", "[Terrestrial]"};
    EXPECT_EQ(readAscSeparator(named), ';');
    const std::vector<std::string> elsewhere = {"[General]", "Version=1", "[Stations]",
                                                "Separator=;"};
    EXPECT_EQ(readAscSeparator(elsewhere), ',');
    EXPECT_EQ(readAscSeparator({}), ascDefaultSeparator);
}

TEST_F(AscExportConversion, WritesRw5LinesThatReadBackAsTheObservations) {
    std::string message;
    ASSERT_EQ(convertAscExportToRw5(fixture("export.asc"), path("out.RW5"), message),
              conversionDone)
        << message;
    // LS before the first setup; the P3 sight changes the target height; the
    // P2 setup changes the HI only; its zenith of 270 degrees makes a BR line.
    EXPECT_EQ(bytesOf("out.RW5"), "LS,HI1.550,HR1.800\r\n"
                                  "BK,OPS_1,BPBS_1,BS,BC45.3000\r\n"
                                  "BD,OPS_1,FPBS_1,AR45.3000,ZE90.1509,SD100.123,--\r\n"
                                  "SS,OPS_1,FPP2,AR120.1500,ZE85.3000,SD50.500,--\r\n"
                                  "LS,HI1.550,HR2.000\r\n"
                                  "SS,OPS_1,FPP3,AR200.0000,ZE95.0000,SD75.250,--\r\n"
                                  "LS,HI1.600,HR1.800\r\n"
                                  "BK,OPP2,BPS_1,BS,BC0.0000\r\n"
                                  "BR,OPP2,FPS_1,AR0.0000,ZE270.0000,SD50.500,--\r\n"
                                  "SS,OPP2,FPPOINT_TWEL,AR10.3000,ZE91.0000,SD30.000,--\r\n");
    ASSERT_EQ(readRw5File(path("out.RW5") + "\n", ""), rw5ReadDone);
    expectSights(readRecords(), exportSightsFromRw5);
}

TEST_F(AscExportConversion, WritesVkrLinesThatReadBackAsTheObservations) {
    std::string message;
    ASSERT_EQ(convertAscExportToVkr(fixture("export.asc"), path("out.VKR"), message),
              conversionDone)
        << message;
    const std::string expected =
        columns(498, {{190, "100"}, {198, "VER 1.0   "}, {209, "0000000005"}}) + "\r\n" +
        columns(187, {{0, "1"},
                      {1, "S_1"},
                      {12, "   1.550"},
                      {21, "BS_1"},
                      {32, "   1.800"},
                      {41, "45.3000"},
                      {52, "  100.123"},
                      {62, "90.1509"}}) +
        "\r\n" +
        columns(187, {{0, "1"},
                      {32, "   1.800"},
                      {41, "120.1500"},
                      {52, "   50.500"},
                      {62, "85.3000"},
                      {72, "P2"}}) +
        "\r\n" +
        columns(187, {{0, "1"},
                      {32, "   2.000"},
                      {41, "200.0000"},
                      {52, "   75.250"},
                      {62, "95.0000"},
                      {72, "P3"}}) +
        "\r\n" +
        columns(187, {{0, "1"},
                      {1, "P2"},
                      {12, "   1.600"},
                      {21, "S_1"},
                      {32, "   1.800"},
                      {41, "0.0000"},
                      {52, "   50.500"},
                      {62, "270.0000"}}) +
        "\r\n" +
        columns(187, {{0, "1"},
                      {32, "   1.800"},
                      {41, "10.3000"},
                      {52, "   30.000"},
                      {62, "91.0000"},
                      {72, "POINT_TWEL"}}) +
        "\r\n";
    EXPECT_EQ(bytesOf("out.VKR"), expected);
    ASSERT_EQ(readVkrRawFile(path("out.VKR") + "\n"), vkrReadOk);
    expectSights(readRecords(), exportSights);
}

TEST_F(AscExportConversion, TakesTheSeparatorOfTheFileAndAZenithOfPiMakesABrLine) {
    const std::string input = write("semi.asc", "[General]\r\nSeparator=;\r\n[Terrestrial]\r\n"
                                                "TerrObs;1;A;B;B;10;180;12.5;;1.5;1.6\r\n");
    std::string message;
    ASSERT_EQ(convertAscExportToRw5(input, path("semi.RW5"), message), conversionDone) << message;
    EXPECT_EQ(bytesOf("semi.RW5"), "LS,HI1.500,HR1.600\r\n"
                                   "BK,OPA,BPB,BS,BC10.0000\r\n"
                                   "BR,OPA,FPB,AR10.0000,ZE180.0000,SD12.500,--\r\n");
}

TEST_F(AscExportConversion, EachConversionWritesOnlyItsOwnRecords) {
    std::string message;
    ASSERT_EQ(convertAscExportToVkr(fixture("export.asc"), path("first.VKR"), message),
              conversionDone);
    const std::string input =
        write("one.asc", "[Terrestrial]\nTerrObs,1,A,B,B,10,90,12.5,,1.5,1.6\n");
    ASSERT_EQ(convertAscExportToRw5(input, path("second.RW5"), message), conversionDone);
    EXPECT_EQ(bytesOf("second.RW5"), "LS,HI1.500,HR1.600\r\n"
                                     "BK,OPA,BPB,BS,BC10.0000\r\n"
                                     "BD,OPA,FPB,AR10.0000,ZE90.0000,SD12.500,--\r\n");
}

// A value the file does not give was printed as -999999999.000 (14
// characters) into an 8-character column, shifting every field after it.
TEST_F(AscExportConversion, UnsetValuesLeaveTheirVkrColumnsBlank) {
    const std::string input = write("gaps.asc", "[Terrestrial]\nTerrObs,1,A,B,B,10,90,,,,1.5\n");
    std::string message;
    ASSERT_EQ(convertAscExportToVkr(input, path("gaps.VKR"), message), conversionDone);
    const std::string header =
        columns(498, {{190, "100"}, {198, "VER 1.0   "}, {209, "0000000001"}}) + "\r\n";
    EXPECT_EQ(bytesOf("gaps.VKR"), header +
                                       columns(187, {{0, "1"},
                                                     {1, "A"},
                                                     {21, "B"},
                                                     {32, "   1.500"},
                                                     {41, "10.0000"},
                                                     {62, "90.0000"}}) +
                                       "\r\n");
    ASSERT_EQ(readVkrRawFile(path("gaps.VKR") + "\n"), vkrReadOk);
    const auto records = readRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].instrumentHeight, notComputed);
    EXPECT_DOUBLE_EQ(records[0].bsTargetHeight, 1.5);
    EXPECT_NEAR(records[0].zenithOrVertDiff, 90 * degree, 1e-12);
    // The .RW5 form leaves the values empty and writes no backsight sight
    // without a distance.
    ASSERT_EQ(convertAscExportToRw5(input, path("gaps.RW5"), message), conversionDone);
    EXPECT_EQ(bytesOf("gaps.RW5"), "LS,HI,HR1.500\r\nBK,OPA,BPB,BS,BC10.0000\r\n");
}

// A value wider than its columns shifted every field after it.
TEST_F(AscExportConversion, AValueTooWideForItsVkrColumnsIsRefused) {
    const std::string input =
        write("wide.asc", "[Terrestrial]\nTerrObs,1,A,B,B,10,90,12.5,,123456.789,1.5\n");
    std::string message;
    EXPECT_EQ(convertAscExportToVkr(input, path("wide.VKR"), message), conversionFailed);
    EXPECT_EQ(message, "Cannot write " + path("wide.VKR") +
                           ": the instrument height \"123456.789\" of point A does not fit its "
                           ".VKR columns");
    EXPECT_FALSE(std::filesystem::exists(path("wide.VKR")));
    EXPECT_EQ(convertAscExportToRw5(input, path("wide.RW5"), message), conversionDone);
}

// Lines were read into a 510-character buffer.
TEST_F(AscExportConversion, LinesLongerThanFiveHundredCharactersAreReadWhole) {
    const std::string longField(700, 'x');
    const std::string input =
        write("long.asc", "[General]\nNote=" + longField + "\n[Terrestrial]\nTerrObs," + longField +
                              ",A,B,B,10,90,12.5,,1.5,1.6\n");
    std::string message;
    ASSERT_EQ(convertAscExportToRw5(input, path("long.RW5"), message), conversionDone) << message;
    EXPECT_EQ(bytesOf("long.RW5"), "LS,HI1.500,HR1.600\r\n"
                                   "BK,OPA,BPB,BS,BC10.0000\r\n"
                                   "BD,OPA,FPB,AR10.0000,ZE90.0000,SD12.500,--\r\n");
}

TEST_F(AscExportConversion, AFaultyLineStopsTheConversionAndKeepsTheOldOutput) {
    struct Case {
        const char* line;
        const char* fault;
    };
    const Case cases[] = {
        {"TerrObs,2,A,B,C,12x,90,10,,1.5,1.6",
         "The horizontal circle reading \"12x\" is not a number."},
        {"TerrObs,2,A,B,C,12,90,10,,1.5,nan", "The target height \"nan\" is not a number."},
        {"TerrObs,2,,B,C,12,90,10,,1.5,1.6", "observation without a station or backsight point"},
        {"TerrObs,2,A,B,,12,90,10,,1.5,1.6", "observation without a target point"},
        // Made valid, two points would become one.
        {"TerrObs,2,A,B,b-1,12,90,10,,1.5,1.6", "the points B 1 and B-1 would both be named B_1"},
        {"TerrObs,2,A,B,pointname-2,12,90,10,,1.5,1.6",
         "the points POINTNAME-1 and POINTNAME-2 would both be named POINTNAME_"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const std::string input =
            write("bad.asc", std::string("[Terrestrial]\n"
                                         "TerrObs,1,A,B,B,0,90,10,,1.5,1.6\n"
                                         "TerrObs,2,A,B,b 1,0,90,10,,1.5,1.6\n"
                                         "TerrObs,3,A,B,pointname-1,0,90,10,,1.5,1.6\n") +
                                 c.line + "\n");
        write("kept.RW5", "a good file\r\n");
        std::string message;
        EXPECT_EQ(convertAscExportToRw5(input, path("kept.RW5"), message), conversionFailed);
        EXPECT_EQ(message, input + ", line 5: " + c.fault);
        EXPECT_EQ(bytesOf("kept.RW5"), "a good file\r\n");
        EXPECT_EQ(convertAscExportToVkr(input, path("new.VKR"), message), conversionFailed);
        EXPECT_FALSE(std::filesystem::exists(path("new.VKR")));
        EXPECT_TRUE(otherFiles({"bad.asc", "kept.RW5"}).empty());
    }
}

TEST_F(AscExportConversion, FilesThatCannotBeOpenedAreNamed) {
    std::string message;
    EXPECT_EQ(convertAscExportToRw5(path("missing.asc"), path("out.RW5"), message),
              conversionFailed);
    EXPECT_EQ(message, "Error opening " + path("missing.asc") + ": No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(path("missing.asc"))) << "never created";
    const std::string unwritable = path("no-such-folder/out.VKR");
    EXPECT_EQ(convertAscExportToVkr(fixture("export.asc"), unwritable, message), conversionFailed);
    EXPECT_EQ(message, "Error opening " + unwritable + ": No such file or directory");
}
