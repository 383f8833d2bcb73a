#include "model/settings/udp_record.hpp"
#include "platform/shell_services.hpp"
#include "support/angles.hpp"
#include "support/comma_locale.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

using testsupport::gradsToRadians;
using testsupport::pi;
using testsupport::radiansOf;

namespace {

const std::string fixture = std::string(TARNWELL_FIXTURES) + "/model/udp/lambert.udp";

// The record the fixture describes, with values entered independently of it.
udpRec fixtureRecord() {
    udpRec r;
    r.EllipsInt = 9;
    r.EllipseA = 6378137.0;
    r.EllipseF = 1.0 / 298.257222101;
    r.K = 1.0;
    r.ProjInt = udpLambertTwoParallels;
    r.ProjName = "Test Lambert = Two";
    r.DatumName = "NAD83";
    r.FalseEastings = 600000.0;
    r.CentralMeridian = radiansOf(-84, 30);
    r.CentralOrNorthLatitude = radiansOf(31, 55);
    r.ScaleOrRefLatitude = radiansOf(29, 30);
    r.SkewOrSouthLatitude = radiansOf(30, 20, 15.123456);
    r.projection_scale = 1.0;
    r.lonOrigin = -radiansOf(0, 5);
    return r;
}

// Shows every box the code under test opens, without a screen.
class UdpFile : public ::testing::Test {
protected:
    void SetUp() override { previous_ = setActiveShell(&shell); }
    void TearDown() override { setActiveShell(previous_); }

    RecordingShell shell;
    testsupport::TempFolder folder{"udp"};

private:
    ShellServices* previous_ = nullptr;
};

constexpr double oneMicroSecond_rad = 1e-6 / 3600.0 * pi / 180.0;

void expectSameRecord(const udpRec& a, const udpRec& b) {
    EXPECT_EQ(a.EllipsInt, b.EllipsInt);
    EXPECT_DOUBLE_EQ(a.EllipseA, b.EllipseA);
    EXPECT_NEAR(a.EllipseF, b.EllipseF, 1e-14);
    EXPECT_DOUBLE_EQ(a.K, b.K);
    EXPECT_EQ(a.ProjInt, b.ProjInt);
    EXPECT_EQ(a.ProjName, b.ProjName);
    EXPECT_EQ(a.DatumName, b.DatumName);
    EXPECT_DOUBLE_EQ(a.FalseEastings, b.FalseEastings);
    EXPECT_DOUBLE_EQ(a.FalseNorthings, b.FalseNorthings);
    EXPECT_NEAR(a.CentralMeridian, b.CentralMeridian, oneMicroSecond_rad);
    EXPECT_NEAR(a.CentralOrNorthLatitude, b.CentralOrNorthLatitude, oneMicroSecond_rad);
    EXPECT_NEAR(a.ScaleOrRefLatitude, b.ScaleOrRefLatitude, oneMicroSecond_rad);
    EXPECT_NEAR(a.SkewOrSouthLatitude, b.SkewOrSouthLatitude, oneMicroSecond_rad);
    EXPECT_NEAR(a.latOrigin, b.latOrigin, oneMicroSecond_rad);
    EXPECT_NEAR(a.lonOrigin, b.lonOrigin, oneMicroSecond_rad);
    EXPECT_DOUBLE_EQ(a.projection_scale, b.projection_scale);
}

} // namespace

TEST_F(UdpFile, WritesTheLayoutByteForByte) {
    udpRec rec = fixtureRecord();
    rec.path = (folder / "out.udp").string();
    ASSERT_EQ(rec.writeFile(), 0);
    EXPECT_EQ(testsupport::readBytes(rec.path), testsupport::readBytes(fixture));
    EXPECT_TRUE(shell.boxes.empty());
}

TEST_F(UdpFile, WritesTheSameBytesUnderACommaLocale) {
    testsupport::CommaLocale comma;
    TARNWELL_REQUIRE_COMMA(comma);
    udpRec rec = fixtureRecord();
    rec.path = (folder / "out.udp").string();
    ASSERT_EQ(rec.writeFile(), 0);
    EXPECT_EQ(testsupport::readBytes(rec.path), testsupport::readBytes(fixture));
    udpRec back;
    ASSERT_EQ(back.load(fixture), 0);
    expectSameRecord(back, fixtureRecord());
}

TEST_F(UdpFile, ReadsTheFixtureAndRoundTrips) {
    udpRec read;
    ASSERT_EQ(read.load(fixture), 0);
    expectSameRecord(read, fixtureRecord());
    EXPECT_EQ(read.path, fixture);

    read.path = (folder / "again.udp").string();
    ASSERT_EQ(read.writeFile(), 0);
    udpRec again;
    ASSERT_EQ(again.load(read.path), 0);
    expectSameRecord(again, read);
    EXPECT_TRUE(shell.boxes.empty());
}

TEST_F(UdpFile, MissingFileIsAnErrorAndIsNotCreated) {
    udpRec rec = fixtureRecord();
    const std::string missing = (folder / "missing.udp").string();
    EXPECT_EQ(rec.load(missing), 1);
    EXPECT_FALSE(std::filesystem::exists(missing));
    expectSameRecord(rec, fixtureRecord());
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0].text,
              "Error opening UDP file: " + missing + ": No such file or directory");
}

TEST_F(UdpFile, EmptyPathIsRefused) {
    udpRec rec;
    EXPECT_EQ(rec.readFile(), 1);
    EXPECT_EQ(rec.writeFile(), 1);
    ASSERT_EQ(shell.boxes.size(), 2u);
    EXPECT_EQ(shell.boxes[0].text, "Invalid UDP file.\n");
    EXPECT_EQ(shell.boxes[1].text, "Invalid UDP file.\n");
}

TEST_F(UdpFile, UnwritablePathFailsWithTheMessage) {
    udpRec rec = fixtureRecord();
    rec.path = (folder / "no-such-folder" / "x.udp").string();
    EXPECT_EQ(rec.writeFile(), 1);
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0].text,
              "Error opening UDP file: " + rec.path + ": No such file or directory");
}

TEST_F(UdpFile, BadLinesAreReportedAndReadingGoesOn) {
    const auto path = folder / "partial.udp";
    // LF line ends, a blank before "=", an unknown key, a key in another case
    // and a last line without a line end.
    testsupport::writeBytes(path,
                            "EllipsInt=12\nProjInt =3\nBogus line\nprojname=x\nDatumName=ED  50");
    udpRec rec = fixtureRecord();
    ASSERT_EQ(rec.load(path.string()), 0);
    EXPECT_EQ(rec.EllipsInt, 12);
    EXPECT_EQ(rec.ProjInt, udpLambertTwoParallels) << "a key ending in a blank is not ProjInt";
    EXPECT_EQ(rec.ProjName, "Test Lambert = Two")
        << "fields absent from the file keep their values";
    EXPECT_EQ(rec.DatumName, "ED 50") << "runs of blanks are squeezed";
    std::vector<std::string> texts;
    for (const auto& box : shell.boxes)
        texts.push_back(box.text);
    const std::string file = path.string();
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "Error parsing record: ProjInt =3\r\nFile: " + file,
                         "Error parsing record: Bogus line\r\nFile: " + file,
                         "Error parsing record: projname=x\r\nFile: " + file,
                     }));
}

// A folder named as the file is refused for what it is: the reason was the
// "No such file or directory" of an earlier call.
TEST_F(UdpFile, AFolderIsRefusedAsAFolder) {
    udpRec rec = fixtureRecord();
    EXPECT_EQ(rec.load(folder.path().string()), udpRec::failed);
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0].text,
              "Error opening UDP file: " + folder.path().string() + ": Is a directory");
    expectSameRecord(rec, fixtureRecord());
}

// A value that is not wholly what its field holds is refused naming the
// file, the line, the key and the value, and the load fails, so no run
// projects with it; the other lines are read. The C library's conversions
// took 500000,5 as 500000, 9x as 9, and 30.7500 (75 minutes) as 31 15'.
TEST_F(UdpFile, AValueThatIsNotWhollyItsFieldsIsRefused) {
    const struct {
        const char* line;
        const char* why;
    } cases[] = {
        {"FalseEastings=500000,5", "The FalseEastings \"500000,5\" is not a number."},
        {"FalseEastings=0x1p3", "The FalseEastings \"0x1p3\" is not a number."},
        {"projection_scale=0.9996 x", "The projection_scale \"0.9996 x\" is not a number."},
        {"EllipsInt=9x", "The EllipsInt \"9x\" is not a whole number."},
        {"ProjInt=1e0", "The ProjInt \"1e0\" is not a whole number."},
        {"EllipsInt=42", "The EllipsInt \"42\" is not a code from 0 to 16."},
        {"ProjInt=6", "The ProjInt \"6\" is not a code from 0 to 5."},
        {"ProjInt=-1", "The ProjInt \"-1\" is not a code from 0 to 5."},
        {"CentralMeridian=-84.7500000000",
         "The CentralMeridian \"-84.7500000000\" is not a dd.mmss angle: its minutes or seconds "
         "are 60 or more."},
        {"latOrigin=30.2060", "The latOrigin \"30.2060\" is not a dd.mmss angle: its minutes "
                              "or seconds are 60 or more."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        shell.boxes.clear();
        const auto path = folder / "damaged.udp";
        testsupport::writeBytes(path, std::string("DatumName=ED 50\r\n") + c.line +
                                          "\r\nProjName=After\r\n");
        udpRec rec = fixtureRecord();
        EXPECT_EQ(rec.load(path.string()), udpRec::failed);
        udpRec expected = fixtureRecord();
        expected.DatumName = "ED 50";
        expected.ProjName = "After";
        expectSameRecord(rec, expected);
        ASSERT_EQ(shell.boxes.size(), 1u);
        EXPECT_EQ(shell.boxes[0].text, "Error parsing record: " + std::string(c.line) +
                                           "\r\nFile: " + path.string() + ", line 2: " + c.why);
    }
}

TEST(UdpRecord, ResetKeepsThePath) {
    udpRec rec = fixtureRecord();
    rec.path = "site.udp";
    rec.reset();
    EXPECT_EQ(rec.path, "site.udp");
    EXPECT_EQ(rec.ProjName, "");
    EXPECT_EQ(rec.EllipsInt, 0);
    EXPECT_EQ(rec.SkewOrSouthLatitude, 0.0);
}
