#include "converter_test_support.hpp"
#include "input/converters/converter_files.hpp"
#include "input/converters/total_station_converters.hpp"
#include "input/numeric_raw_reader.hpp"
#include "input/rw5_reader.hpp"

#include <gtest/gtest.h>

using namespace convertertest;

namespace {

class FieldBookConversion : public ConverterTest {
protected:
    // fieldbook.xml with one piece of text replaced.
    std::string fieldBookWith(const std::string& from, const std::string& to) {
        std::string text = testsupport::readBytes(fixture("fieldbook.xml"));
        const auto at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos)
            text.replace(at, from.size(), to);
        return write("book.xml", text);
    }

    // Converts `input` both ways and expects the failure `message`, with no
    // output file left and an earlier output kept.
    void expectFailure(const std::string& input, const std::string& expected) {
        write("kept.RW5", "a good file\r\n");
        std::string message;
        EXPECT_EQ(convertFieldBookXmlToRw5(input, path("kept.RW5"), message), conversionFailed);
        EXPECT_EQ(message, expected);
        EXPECT_EQ(bytesOf("kept.RW5"), "a good file\r\n");
        EXPECT_EQ(convertFieldBookXmlToVkr(input, path("new.VKR"), message), conversionFailed);
        EXPECT_EQ(message, expected);
        EXPECT_TRUE(otherFiles({"book.xml", "kept.RW5"}).empty());
    }
};

struct ExpectedPoint {
    const char* name;
    double northing, easting, elevation;
    const char* description;
};

struct ExpectedSight {
    int kind;
    const char* point; // station of a setup, target of a foresight
    const char* backsight;
    double hi, targetHeight, reading_deg, zenith_deg, distance;
    const char* description;
};

// fieldbook.xml: CP1 copied and CP2 from a base are control (CP2 without an
// elevation); K1 (keyed in) and CP3 (deleted) are not. Station CP1 sights
// its backsight CP2 with target height 1.8, then 101 with 2.0 (the mean
// turned angle to 101 is not a reading of its own); station 101 sights CP1
// with the current target height 2.0, then 102.
const ExpectedPoint fieldBookPoints[] = {
    {"CP1", 5000.1234, 3000.5678, 120.25, "IRON PIN"},
    {"CP2", 5100.0, 3050.5, notComputed, "GPS"},
};
const ExpectedSight fieldBookSights[] = {
    {rawSetup, "CP1", "CP2", 1.5, 1.8, 0.0, 89.5, 111.222, ""},
    {rawForesight, "101", "", notComputed, 2.0, 30.5, 92.25, 45.678, "TREE"},
    {rawSetup, "101", "CP1", 1.45, 2.0, 180.0, 270.5, 45.68, ""},
    {rawForesight, "102", "", notComputed, 2.0, 300.75, 88.0, 60.0, "FENCE"},
};

void expectPoint(const rawRec& r, const ExpectedPoint& e, double tolerance) {
    SCOPED_TRACE(e.name);
    ASSERT_EQ(r.kind, rawCoord);
    EXPECT_EQ(nameOf(r.pointName), e.name);
    EXPECT_NEAR(r.northing, e.northing, tolerance);
    EXPECT_NEAR(r.easting, e.easting, tolerance);
    EXPECT_NEAR(r.elevation, e.elevation, tolerance);
    EXPECT_EQ(fixedText(r.description), e.description);
}

void expectSight(const rawRec& r, const ExpectedSight& e) {
    SCOPED_TRACE(e.point);
    ASSERT_EQ(r.kind, e.kind);
    const bool setup = e.kind == rawSetup;
    EXPECT_EQ(nameOf(setup ? r.stationName : r.foresightName), e.point);
    if (setup) {
        EXPECT_EQ(nameOf(r.backsightName), e.backsight);
        EXPECT_NEAR(r.instrumentHeight, e.hi, 1e-9);
    }
    EXPECT_NEAR(setup ? r.bsTargetHeight : r.targetHeight, e.targetHeight, 1e-9);
    EXPECT_NEAR(setup ? r.bsHorizontalReading : r.horizontalReading, e.reading_deg * degree, 1e-9);
    EXPECT_NEAR(r.zenithOrVertDiff, e.zenith_deg * degree, 1e-9);
    EXPECT_NEAR(r.distance, e.distance, 1e-9);
    EXPECT_EQ(fixedText(r.description), e.description);
}

} // namespace

// The stored points keep their descriptions and an unset elevation stays
// empty; the sideshots carry their codes.
TEST_F(FieldBookConversion, WritesRw5LinesThatReadBackAsTheFieldBook) {
    std::string message;
    ASSERT_EQ(convertFieldBookXmlToRw5(fixture("fieldbook.xml"), path("book.RW5"), message),
              conversionDone)
        << message;
    EXPECT_EQ(bytesOf("book.RW5"), "SP,PNCP1,N5000.1234,E3000.5678,EL120.2500,--IRON PIN\r\n"
                                   "SP,PNCP2,N5100.0000,E3050.5000,EL,--GPS\r\n"
                                   "LS,HI1.500,HR1.800\r\n"
                                   "BK,OPCP1,BPCP2,BS,BC0.0000\r\n"
                                   "BD,OPCP1,FPCP2,AR0.0000,ZE89.3000,SD111.222,--\r\n"
                                   "LS,HI1.500,HR2.000\r\n"
                                   "SS,OPCP1,FP101,AR30.3000,ZE92.1500,SD45.678,--TREE\r\n"
                                   "LS,HI1.450,HR2.000\r\n"
                                   "BK,OP101,BPCP1,BS,BC180.0000\r\n"
                                   "BR,OP101,FPCP1,AR180.0000,ZE270.3000,SD45.680,--\r\n"
                                   "SS,OP101,FP102,AR300.4500,ZE88.0000,SD60.000,--FENCE\r\n");
    ASSERT_EQ(readRw5File(path("book.RW5") + "\n", ""), rw5ReadDone);
    const auto records = readRecords();
    // The .RW5 reader reads the "BR" backsight sight of station 101 as a
    // foresight of its own after the setup.
    ASSERT_EQ(records.size(), 7u);
    expectPoint(records[0], fieldBookPoints[0], 1e-9);
    expectPoint(records[1], fieldBookPoints[1], 1e-9);
    expectSight(records[2], fieldBookSights[0]);
    expectSight(records[3], fieldBookSights[1]);
    EXPECT_EQ(nameOf(records[4].stationName), "101");
    EXPECT_NEAR(records[4].instrumentHeight, 1.45, 1e-9);
    expectSight(records[5], {rawForesight, "CP1", "", notComputed, 2.0, 180.0, 270.5, 45.68, ""});
    expectSight(records[6], fieldBookSights[3]);
}

TEST_F(FieldBookConversion, WritesVkrLinesThatReadBackAsTheFieldBook) {
    std::string message;
    ASSERT_EQ(convertFieldBookXmlToVkr(fixture("fieldbook.xml"), path("book.VKR"), message),
              conversionDone)
        << message;
    const std::string expected =
        columns(498, {{190, "100"}, {198, "VER 1.0   "}, {209, "0000000006"}}) + "\r\n" +
        "6C CP1 5000.123 3000.568 120.250 ',IRON PIN\r\n"
        "6C CP2 5100.000 3050.500 ',GPS\r\n" +
        columns(187, {{0, "1"},
                      {1, "CP1"},
                      {12, "   1.500"},
                      {21, "CP2"},
                      {32, "   1.800"},
                      {41, "0.0000"},
                      {52, "  111.222"},
                      {62, "89.3000"}}) +
        "\r\n" +
        columns(187, {{0, "1"},
                      {32, "   2.000"},
                      {41, "30.3000"},
                      {52, "   45.678"},
                      {62, "92.1500"},
                      {72, "101"},
                      {87, "TREE"}}) +
        "\r\n" +
        columns(187, {{0, "1"},
                      {1, "101"},
                      {12, "   1.450"},
                      {21, "CP1"},
                      {32, "   2.000"},
                      {41, "180.0000"},
                      {52, "   45.680"},
                      {62, "270.3000"}}) +
        "\r\n" +
        columns(187, {{0, "1"},
                      {32, "   2.000"},
                      {41, "300.4500"},
                      {52, "   60.000"},
                      {62, "88.0000"},
                      {72, "102"},
                      {87, "FENCE"}}) +
        "\r\n";
    EXPECT_EQ(bytesOf("book.VKR"), expected);
    ASSERT_EQ(readVkrRawFile(path("book.VKR") + "\n"), vkrReadOk);
    const auto records = readRecords();
    ASSERT_EQ(records.size(), 6u);
    // Coordinates are written with three decimals.
    expectPoint(records[0], fieldBookPoints[0], 5e-4);
    expectPoint(records[1], fieldBookPoints[1], 5e-4);
    for (std::size_t i = 0; i < std::size(fieldBookSights); ++i)
        expectSight(records[i + 2], fieldBookSights[i]);
}

TEST_F(FieldBookConversion, MalformedXmlIsNamedWithItsLine) {
    // The closing tag of the second point's Code (line 17) does not match.
    const std::string input = fieldBookWith("<Code>GPS</Code>", "<Code>GPS</Cde>");
    expectFailure(input, input + ", line 17: Start-end tags mismatch");
    const std::string truncated =
        write("book.xml", testsupport::readBytes(fixture("fieldbook.xml")).substr(0, 400));
    std::string message;
    EXPECT_EQ(convertFieldBookXmlToRw5(truncated, path("cut.RW5"), message), conversionFailed);
    EXPECT_EQ(message.rfind(truncated + ", line ", 0), 0u) << message;
    EXPECT_FALSE(std::filesystem::exists(path("cut.RW5")));
}

TEST_F(FieldBookConversion, AValueThatIsNotANumberIsNamedWithItsLine) {
    const std::string height = fieldBookWith("<TheodoliteHeight>1.500", "<TheodoliteHeight>1.5m");
    expectFailure(height, height + ", line 50: The TheodoliteHeight \"1.5m\" is not a number.");
    const std::string north = fieldBookWith("<North>5100</North>", "<North>51OO</North>");
    expectFailure(north, north + ", line 21: The North \"51OO\" is not a number.");
}

TEST_F(FieldBookConversion, AStationWithoutNameBacksightOrBacksightObservationStops) {
    const std::string unnamed = fieldBookWith("<StationName>101</StationName>", "");
    expectFailure(unnamed, unnamed + ", line 100: station record without a station name");
    const std::string noBacksight = fieldBookWith("<BackSight>CP2</BackSight>", "");
    expectFailure(noBacksight, noBacksight + ", line 48: station CP1 without a backsight point");
    // The second station's backsight observation never comes: the record is
    // classified as a normal sight. The station and its sights used to be
    // dropped without a word.
    const std::string noObservation =
        fieldBookWith("<Classification>BackSight</Classification>\n      <Deleted>false</Deleted>\n"
                      "      <Circle>\n        <HorizontalCircle>180",
                      "<Classification>Normal</Classification>\n      <Deleted>false</Deleted>\n"
                      "      <Circle>\n        <HorizontalCircle>180");
    expectFailure(noObservation,
                  noObservation + ", line 100: station 101 without a backsight observation");
}

TEST_F(FieldBookConversion, FilesThatCannotBeOpenedAreNamed) {
    std::string message;
    EXPECT_EQ(convertFieldBookXmlToVkr(path("missing.xml"), path("out.VKR"), message),
              conversionFailed);
    EXPECT_EQ(message, "Error opening " + path("missing.xml") + ": No such file or directory");
    const std::string unwritable = path("no-such-folder/out.RW5");
    EXPECT_EQ(convertFieldBookXmlToRw5(fixture("fieldbook.xml"), unwritable, message),
              conversionFailed);
    EXPECT_EQ(message, "Error opening " + unwritable + ": No such file or directory");
}

TEST_F(FieldBookConversion, DeeplyNestedElementsAreWalkedWithoutExhaustingTheStack) {
    const int depth = 200000;
    std::string nested;
    for (int i = 0; i < depth; ++i)
        nested += "<Group>";
    nested += "<TargetRecord><TargetHeight>1.25</TargetHeight></TargetRecord>";
    for (int i = 0; i < depth; ++i)
        nested += "</Group>";
    // The nested target record stands between the two stations: the second
    // backsight is sighted with its height.
    const std::string input =
        fieldBookWith("    <StationRecord ID=\"12\">", nested + "\n    <StationRecord ID=\"12\">");
    std::string message;
    ASSERT_EQ(convertFieldBookXmlToRw5(input, path("deep.RW5"), message), conversionDone)
        << message;
    EXPECT_NE(bytesOf("deep.RW5").find("LS,HI1.450,HR1.250\r\n"), std::string::npos);
}
