#include "model/settings/global_vars.hpp"
#include "platform/binary_io.hpp"
#include "platform/shell_services.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr double pi = 3.14159265358979323846;

// Builds an archive field by field as older releases stored the settings:
// 32-bit ints, 64-bit reals, texts with the archive's length prefix.
class ArchiveBuilder {
public:
    ArchiveBuilder& integer(int v) {
        out_.i32(v);
        return *this;
    }
    ArchiveBuilder& real(double v) {
        out_.f64(v);
        return *this;
    }
    // One-byte length below 255, else 0xFF and a 16-bit length.
    ArchiveBuilder& text(const std::string& s) {
        if (s.size() < 0xFF) {
            out_.u8(static_cast<std::uint8_t>(s.size()));
        } else {
            out_.u8(0xFF);
            out_.u16(static_cast<std::uint16_t>(s.size()));
        }
        out_.fixedText(s, s.size());
        return *this;
    }
    // The marker 0xFF 0xFFFE, a one-byte character count, 16-bit characters.
    ArchiveBuilder& wideText(const std::vector<std::uint16_t>& units) {
        out_.u8(0xFF);
        out_.u16(0xFFFE);
        out_.u8(static_cast<std::uint8_t>(units.size()));
        for (const auto u : units)
            out_.u16(u);
        return *this;
    }
    std::vector<std::uint8_t> bytes() const { return out_.bytes(); }

private:
    platform::ByteWriter out_;
};

// The head every version has, with values that differ from the defaults.
ArchiveBuilder head(int version, const std::string& rawFiles = "day1.rw5\n") {
    ArchiveBuilder a;
    a.text(rawFiles).text("old.rpt").text("ctl.nez").text("-1.0").text("Site.crd");
    a.real(0.0005).integer(2).integer(3701);
    for (double v : {0.9999, 12.5, 0.004, 3.0, 6.0, 0.011, 0.012, 0.021, 2.5, 2.0, 0.003, 0.004})
        a.real(v);
    // maxIterations ... directionPrec, supplamentalNE, nezFileFmtType, wrtToCrd
    for (int v : {15, 4, 4, 1, 0, 1, 1, 0, 2, 1, 1, 5, 5, 2, 1, 5, 1})
        a.integer(v);
    a.real(0.06).real(0.05).real(8 * pi / 648000.0);
    a.integer(2).integer(version);
    return a;
}

void groupsAB(ArchiveBuilder& a) {
    a.real(0.02).real(0.03).real(4.0).real(4.5).integer(1).text("net.gps\n").integer(1).integer(0);
    a.real(0.002).real(2.5);
}

void groupC(ArchiveBuilder& a) {
    a.integer(1).text("loops.cls").real(90.0).integer(1).text("#").text("run.lev").integer(1);
    a.real(75.0).real(5.0).real(0.0003).integer(1).real(-30.25);
    a.integer(1).integer(3).integer(2).integer(4).real(9 * pi / 648000.0).integer(1).integer(2);
}

void groupD(ArchiveBuilder& a) {
    a.integer(0).integer(2).integer(0);
}

void groupE(ArchiveBuilder& a) {
    a.integer(0).integer(1).text("pairs.alt").integer(1).integer(30).real(0.05).integer(7);
}

std::vector<std::uint8_t> archiveOfVersion(int version) {
    ArchiveBuilder a = head(version);
    if (version >= 2 && version <= 5)
        groupsAB(a);
    if (version >= 3 && version <= 5)
        groupC(a);
    if (version >= 4 && version <= 5)
        groupD(a);
    if (version == 5)
        groupE(a);
    return a.bytes();
}

bool load(globalVars& g, const std::vector<std::uint8_t>& bytes) {
    platform::ByteReader archive(bytes);
    return g.Serialize(archive);
}

void expectHeadValues(const globalVars& g) {
    EXPECT_EQ(g.pInputFileName, "day1.rw5\n");
    EXPECT_EQ(g.reportFileName, "old.rpt");
    EXPECT_EQ(g.controlNEFileName, "ctl.nez");
    EXPECT_EQ(g.nullElev, "-1.0");
    EXPECT_EQ(g.crdFileName, "Site.crd");
    EXPECT_EQ(g.convergeLimit, 0.0005);
    EXPECT_EQ(g.gridSystem, 2);
    EXPECT_EQ(g.gridZone, 3701);
    EXPECT_EQ(g.SF, 0.9999);
    EXPECT_EQ(g.projZ, 12.5);
    EXPECT_EQ(g.stErrDist, 0.004);
    EXPECT_EQ(g.stErrDistPPM, 3.0);
    EXPECT_EQ(g.stErrAz, 6.0);
    EXPECT_EQ(g.stErrX, 0.011);
    EXPECT_EQ(g.stErrY, 0.012);
    EXPECT_EQ(g.stErrZ, 0.021);
    EXPECT_EQ(g.stErrPoint, 2.5);
    EXPECT_EQ(g.stErrRead, 2.0);
    EXPECT_EQ(g.stErrTrgtCentering, 0.003);
    EXPECT_EQ(g.stErrInstrCentering, 0.004);
    EXPECT_EQ(g.maxIterations, 15);
    EXPECT_EQ(g.neOutPrec, 4);
    EXPECT_EQ(g.zOutPrec, 4);
    EXPECT_EQ(g.useProjZ, 1);
    EXPECT_EQ(g.vertAdjust, 0);
    EXPECT_EQ(g.horizAdjust, 1);
    EXPECT_EQ(g.directionType, 1);
    EXPECT_EQ(g.curvRefract, 0);
    EXPECT_EQ(g.dUnits, 2);
    EXPECT_EQ(g.ZUnits, 1);
    EXPECT_EQ(g.NEDisplayType, 1);
    EXPECT_EQ(g.distPrec, 5);
    EXPECT_EQ(g.coordPrec, 5);
    EXPECT_EQ(g.directionPrec, 2);
    EXPECT_EQ(g.supplamentalNE, 1);
    EXPECT_EQ(g.nezFileFmtType, 4) << "older code 5 is 4 in the current numbering";
    EXPECT_EQ(g.wrtToCrd, 1);
    EXPECT_EQ(g.vDistTol, 0.06);
    EXPECT_EQ(g.hDistTol, 0.05);
    EXPECT_DOUBLE_EQ(g.hAngTol, 8 * pi / 648000.0);
    EXPECT_EQ(g.HorizUnits, 2);
}

void expectGroupsAB(const globalVars& g) {
    EXPECT_EQ(g.rodStErr, 0.02);
    EXPECT_EQ(g.HIStErr, 0.03);
    EXPECT_EQ(g.vStErrPoint, 4.0);
    EXPECT_EQ(g.vStErrRead, 4.5);
    EXPECT_EQ(g.includeSS, 1);
    EXPECT_EQ(g.pGPSFileName, "net.gps\n");
    EXPECT_EQ(g.includeGPSVectors, 1);
    EXPECT_EQ(g.includeRawData, 0);
    EXPECT_EQ(g.stErrGPSCentering, 0.002);
    EXPECT_EQ(g.stErrGPSMultFactor, 2.5);
}

void expectGroupC(const globalVars& g) {
    EXPECT_EQ(g.includeClosure, 1);
    EXPECT_EQ(g.pClosureFileName, "loops.cls");
    EXPECT_EQ(g.confidenceInterval, 90.0);
    EXPECT_EQ(g.angleType, 1);
    EXPECT_EQ(g.PtSubstituteS, "#");
    EXPECT_EQ(g.pLevRawFileName, "run.lev");
    EXPECT_EQ(g.includeLevData, 1);
    EXPECT_EQ(g.diffLevDistBSFS, 75.0);
    EXPECT_EQ(g.diffLevCollimation, 5.0);
    EXPECT_EQ(g.diffLevRodRead, 0.0003);
    EXPECT_EQ(g.geodeticModel, 1);
    EXPECT_EQ(g.geoidHt, -30.25);
    EXPECT_EQ(g.geoidModel, 1);
    EXPECT_EQ(g.geoidModelType, 3);
    EXPECT_EQ(g.gpsFileFmtType, 2);
    EXPECT_EQ(g.elevDispPrec, 4);
    EXPECT_DOUBLE_EQ(g.vAngTol, 9 * pi / 648000.0);
    EXPECT_EQ(g.asciiNEZType, 1);
    EXPECT_EQ(g.crdFileType, 2);
}

// The older defaults of versions 0 and 1 for what groups A and B hold.
void expectVersion1Defaults(const globalVars& g) {
    EXPECT_EQ(g.rodStErr, 0.01);
    EXPECT_EQ(g.HIStErr, 0.01);
    EXPECT_EQ(g.vStErrPoint, 3.0);
    EXPECT_EQ(g.vStErrRead, 3.0);
    EXPECT_EQ(g.includeSS, 0);
    EXPECT_EQ(g.includeGPSVectors, 0);
    EXPECT_EQ(g.includeRawData, 1);
    EXPECT_EQ(g.stErrGPSCentering, 0.0);
    EXPECT_EQ(g.stErrGPSMultFactor, 1.0);
}

// What versions 3 and older set for group E; the unit codes follow dUnits (2).
void expectVersion3Defaults(const globalVars& g) {
    EXPECT_EQ(g.ttlStaUnits, 2);
    EXPECT_EQ(g.GPSUnits, 2);
    EXPECT_EQ(g.levelUnits, 2);
    EXPECT_EQ(g.defaultRawEditor, 1);
    EXPECT_EQ(g.ALTARptOn, 0);
    EXPECT_EQ(g.relativeErrFileNm, "");
    EXPECT_EQ(g.relativeErrFileOn, 0);
    EXPECT_EQ(g.altaPPM, 50);
    EXPECT_EQ(g.altaTolerance, 0.07);
}

void expectVersion2Defaults(const globalVars& g) {
    EXPECT_EQ(g.confidenceInterval, 95.0);
    EXPECT_EQ(g.includeClosure, 0);
    EXPECT_EQ(g.angleType, 0);
    EXPECT_EQ(g.PtSubstituteS, "");
    EXPECT_EQ(g.pLevRawFileName, "");
    EXPECT_EQ(g.includeLevData, 0);
    EXPECT_EQ(g.diffLevDistBSFS, 50.0);
    EXPECT_EQ(g.diffLevCollimation, 3.0);
    EXPECT_EQ(g.diffLevRodRead, 0.0001);
    EXPECT_EQ(g.geodeticModel, 0);
    EXPECT_EQ(g.geoidHt, 0.0);
    EXPECT_EQ(g.geoidModel, 0);
    EXPECT_EQ(g.geoidModelType, 1);
    EXPECT_EQ(g.gpsFileFmtType, 0);
    EXPECT_EQ(g.elevDispPrec, 2);
    EXPECT_DOUBLE_EQ(g.vAngTol, 7 * pi / 648000.0);
    EXPECT_EQ(g.asciiNEZType, 0);
    EXPECT_EQ(g.crdFileType, 1);
    expectVersion3Defaults(g);
    EXPECT_EQ(g.levelFileFmtType, 0);
    EXPECT_EQ(g.Rw5GPSUnits, 0);
    EXPECT_EQ(g.useRw5GPSVectors, 0);
}

// Settings no archive holds, changed before loading so that keeping them shows.
globalVars usedSettings() {
    globalVars g;
    g.UDPFilePath = "kept.udp";
    g.levelFileFmtType = 1;
    g.Rw5GPSUnits = 2;
    g.useRw5GPSVectors = 1;
    g.ellipsoid = 9;
    return g;
}

} // namespace

TEST(LegacyProjectArchive, EachVersionReadsItsGroupsAndSetsTheRest) {
    for (int version = 0; version <= 6; ++version) {
        SCOPED_TRACE("version " + std::to_string(version));
        globalVars g = usedSettings();
        ASSERT_TRUE(load(g, archiveOfVersion(version)));
        expectHeadValues(g);
        EXPECT_EQ(g.version, version);
        EXPECT_EQ(g.UDPFilePath, "kept.udp");
        if (version <= 1)
            expectVersion1Defaults(g);
        if (version >= 2 && version <= 5)
            expectGroupsAB(g);
        if (version <= 2)
            expectVersion2Defaults(g);
        if (version >= 3 && version <= 5)
            expectGroupC(g);
        if (version == 3)
            expectVersion3Defaults(g);
        if (version == 4 || version == 5) {
            EXPECT_EQ(g.ttlStaUnits, 0);
            EXPECT_EQ(g.GPSUnits, 2);
            EXPECT_EQ(g.levelUnits, 0);
        }
        if (version == 5) {
            EXPECT_EQ(g.defaultRawEditor, 0);
            EXPECT_EQ(g.ALTARptOn, 1);
            EXPECT_EQ(g.relativeErrFileNm, "pairs.alt");
            EXPECT_EQ(g.relativeErrFileOn, 1);
            EXPECT_EQ(g.altaPPM, 30);
            EXPECT_EQ(g.altaTolerance, 0.05);
            EXPECT_EQ(g.ellipsoid, 7);
        } else {
            EXPECT_EQ(g.ellipsoid, 9) << "only version 5 holds the ellipsoid";
        }
        if (version >= 3) {
            EXPECT_EQ(g.levelFileFmtType, 1);
            EXPECT_EQ(g.Rw5GPSUnits, 2);
            EXPECT_EQ(g.useRw5GPSVectors, 1);
        }
    }
}

TEST(LegacyProjectArchive, LongAndWideTexts) {
    const std::string longList(300, 'x');
    ArchiveBuilder a = head(6, longList);
    globalVars g;
    ASSERT_TRUE(load(g, a.bytes()));
    EXPECT_EQ(g.pInputFileName, longList);

    // "Köln/Ω.rw5" with a character beyond 16 bits (U+1F5FA as a surrogate
    // pair) and a lone surrogate, which cannot be shown and becomes U+FFFD.
    ArchiveBuilder w;
    w.wideText({'K', 0x00F6, 'l', 'n', '/', 0x03A9, 0xD83D, 0xDDFA, 0xDC00, '.', 'r', 'w', '5'});
    const auto wide = w.bytes();
    auto bytes = head(6).bytes();
    const std::size_t firstTextLength = 1 + std::strlen("day1.rw5\n");
    bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(firstTextLength));
    bytes.insert(bytes.begin(), wide.begin(), wide.end());
    globalVars u;
    ASSERT_TRUE(load(u, bytes));
    EXPECT_EQ(u.pInputFileName, "K\xC3\xB6ln/\xCE\xA9\xF0\x9F\x97\xBA\xEF\xBF\xBD.rw5");
    EXPECT_EQ(u.crdFileName, "Site.crd");
}

TEST(LegacyProjectArchive, TruncatedArchivesAreRefusedAndChangeNothing) {
    for (int version : {0, 3, 5}) {
        const auto whole = archiveOfVersion(version);
        for (std::size_t length = 0; length < whole.size(); ++length) {
            SCOPED_TRACE("version " + std::to_string(version) + ", " + std::to_string(length) +
                         " bytes");
            globalVars g = usedSettings();
            const std::vector<std::uint8_t> cut(
                whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
            ASSERT_FALSE(load(g, cut));
            EXPECT_EQ(g.pInputFileName, "");
            EXPECT_EQ(g.gridZone, 0);
            EXPECT_EQ(g.UDPFilePath, "kept.udp");
            EXPECT_EQ(g.ellipsoid, 9);
        }
    }
}

TEST(LegacyProjectArchive, ForeignArchivesAreRefused) {
    auto longerThanTheFile = head(6).bytes();
    longerThanTheFile[0] = 0xFF; // a 16-bit length follows: 0x7964 ("dy") bytes
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"version beyond the archive versions", head(9).bytes()},
        {"negative version", head(-1).bytes()},
        {"text length beyond the file", longerThanTheFile},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        globalVars g = usedSettings();
        EXPECT_FALSE(load(g, c.bytes));
        EXPECT_EQ(g.pInputFileName, "");
        EXPECT_EQ(g.UDPFilePath, "kept.udp");
    }
}

class LegacyProjectFile : public ::testing::Test {
protected:
    void SetUp() override { previous_ = setActiveShell(&shell); }
    void TearDown() override { setActiveShell(previous_); }

    RecordingShell shell;
    testsupport::TempFolder folder{"legacy"};

private:
    ShellServices* previous_ = nullptr;
};

TEST_F(LegacyProjectFile, LoadsAnArchiveFile) {
    const auto path = folder / "old.prj";
    const auto bytes = archiveOfVersion(4);
    testsupport::writeBytes(path, std::string(bytes.begin(), bytes.end()));
    globalVars g;
    EXPECT_NE(g.readLegacyProjectFile(path.string()), 0);
    expectHeadValues(g);
    expectGroupC(g);
    EXPECT_TRUE(shell.boxes.empty());
}

TEST_F(LegacyProjectFile, RefusesWhatItCannotReadWithTheMessage) {
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty file", ""},
        {"a text file of another kind", "[Settings]\nname=survey of the north field\n"},
        {"truncated archive", std::string(20, '\0')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        shell.boxes.clear();
        const auto path = (folder / "bad.prj").string();
        testsupport::writeBytes(path, c.bytes);
        globalVars g = usedSettings();
        EXPECT_EQ(g.readLegacyProjectFile(path), 0);
        EXPECT_EQ(g.UDPFilePath, "kept.udp");
        EXPECT_EQ(g.nullElev, "-99999999.0");
        ASSERT_EQ(shell.boxes.size(), 1u);
        EXPECT_EQ(shell.boxes[0].text, "Unable to open " + path + ": it is not a project file");
    }
    const auto missing = (folder / "missing.prj").string();
    globalVars g;
    EXPECT_EQ(g.readLegacyProjectFile(missing), 0);
    EXPECT_EQ(shell.boxes.back().text, "Unable to open " + missing + ": No such file or directory");
}

// The numbers of an archive pass the checks of a text project: a NaN
// standard error and a precision of 2147483647 keep the values held before,
// each named; the rest of the archive is read.
TEST_F(LegacyProjectFile, NumbersOutOfRangeKeepTheValuesHeld) {
    ArchiveBuilder a;
    a.text("day1.rw5\n").text("old.rpt").text("ctl.nez").text("-1.0").text("Site.crd");
    a.real(0.0005).integer(2).integer(3701);
    // SF, projZ, stErrDist, stErrDistPPM, stErrAz, stErrX, stErrY, stErrZ, ...
    for (double v :
         {0.9999, 12.5, 0.004, 3.0, 6.0, 0.011, 0.012, std::nan(""), 2.5, 2.0, 0.003, 0.004})
        a.real(v);
    // maxIterations, neOutPrec, ...
    for (int v : {15, 2147483647, 4, 1, 0, 1, 1, 0, 2, 1, 1, 5, 5, 2, 1, 5, 1})
        a.integer(v);
    a.real(0.06).real(0.05).real(8 * pi / 648000.0);
    a.integer(2).integer(1);
    const auto bytes = a.bytes();
    const auto path = folder / "old.prj";
    testsupport::writeBytes(path, std::string(bytes.begin(), bytes.end()));
    globalVars g;
    const globalVars held = g;
    std::vector<std::string> refusals;
    ASSERT_NE(g.readLegacyProjectFile(path.string(), refusals), 0);
    EXPECT_EQ(g.stErrZ, held.stErrZ);
    EXPECT_EQ(g.neOutPrec, held.neOutPrec);
    EXPECT_EQ(g.stErrY, 0.012) << "the rest is read";
    EXPECT_EQ(g.zOutPrec, 4);
    ASSERT_EQ(refusals.size(), 2u);
    EXPECT_NE(refusals[0].find(path.string() + ": stErrZ=nan refused"), std::string::npos)
        << refusals[0];
    EXPECT_NE(refusals[1].find("neOutPrec=2147483647 refused"), std::string::npos) << refusals[1];
}
