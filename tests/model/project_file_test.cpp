#include "model/settings/global_vars.hpp"
#include "model/settings/project_file.hpp"
#include "support/comma_locale.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

const std::string fixture = std::string(TARNWELL_FIXTURES) + "/model/project/every_setting.prj";

constexpr double pi = 3.14159265358979323846;
constexpr double secondsToRadians = pi / 648000.0;

// The settings of the fixture, every one differing from its default.
globalVars fixtureSettings() {
    globalVars g;
    g.pInputFileName = "field/day1.rw5\nfield/day2.rw5\n";
    g.reportFileName = "site.rpt";
    g.controlNEFileName = "control.nez";
    g.nullElev = "NULL";
    g.crdFileName = "Site.crd";
    g.convergeLimit = 0.0005;
    g.gridSystem = 1;
    g.gridZone = 3702;
    g.SF = 0.999912345;
    g.projZ = 125.5;
    g.stErrDist = 0.003;
    g.stErrDistPPM = 2.5;
    g.stErrAz = 4.0;
    g.stErrX = 0.011;
    g.stErrY = 0.012;
    g.stErrZ = 0.025;
    g.stErrPoint = 1.5;
    g.stErrRead = 2.0;
    g.stErrTrgtCentering = 0.002;
    g.stErrInstrCentering = 0.0015;
    g.maxIterations = 12;
    g.neOutPrec = 4;
    g.zOutPrec = 2;
    g.useProjZ = 1;
    g.vertAdjust = 0;
    g.horizAdjust = 1;
    g.directionType = 1;
    g.curvRefract = 0;
    g.dUnits = 2;
    g.ZUnits = 1;
    g.NEDisplayType = 1;
    g.distPrec = 4;
    g.coordPrec = 5;
    g.directionPrec = 2;
    g.supplamentalNE = 1;
    g.nezFileFmtType = 4;
    g.wrtToCrd = 1;
    g.vDistTol = 0.05;
    g.hDistTol = 0.04;
    g.hAngTol = 10 * secondsToRadians;
    g.HorizUnits = 1;
    g.version = 5;
    g.rodStErr = 0.003;
    g.HIStErr = 0.004;
    g.vStErrPoint = 6.0;
    g.vStErrRead = 7.0;
    g.includeSS = 1;
    g.pGPSFileName = "gps/a.gps\n";
    g.includeGPSVectors = 1;
    g.includeRawData = 1;
    g.stErrGPSCentering = 0.003;
    g.stErrGPSMultFactor = 1.5;
    g.includeClosure = 1;
    g.pClosureFileName = "loops.cls";
    g.confidenceInterval = 99.0;
    g.angleType = 1;
    g.PtSubstituteS = "@";
    g.pLevRawFileName = "level.lev";
    g.includeLevData = 1;
    g.diffLevDistBSFS = 60.0;
    g.diffLevCollimation = 4.0;
    g.diffLevRodRead = 0.0002;
    g.geodeticModel = 1;
    g.geoidHt = -28.5;
    g.geoidModel = 1;
    g.geoidModelType = 2;
    g.gpsFileFmtType = 3;
    g.elevDispPrec = 2;
    g.vAngTol = 20 * secondsToRadians;
    g.asciiNEZType = 2;
    g.crdFileType = 3;
    g.ttlStaUnits = 2;
    g.GPSUnits = 1;
    g.levelUnits = 2;
    g.defaultRawEditor = 1;
    g.ALTARptOn = 1;
    g.relativeErrFileNm = "pairs.alt";
    g.relativeErrFileOn = 1;
    g.altaPPM = 60;
    g.altaTolerance = 0.08;
    g.ellipsoid = 16;
    g.UDPFilePath = "proj/local.udp";
    g.levelFileFmtType = 1;
    g.Rw5GPSUnits = 2;
    g.useRw5GPSVectors = 1;
    return g;
}

// Every stored setting but `reportFileName` (never read) and `version`; the
// two tolerances travel with six decimals of a radian.
void expectSameStoredSettings(const globalVars& a, const globalVars& b) {
    EXPECT_EQ(a.pInputFileName, b.pInputFileName);
    EXPECT_EQ(a.controlNEFileName, b.controlNEFileName);
    EXPECT_EQ(a.nullElev, b.nullElev);
    EXPECT_EQ(a.crdFileName, b.crdFileName);
    EXPECT_EQ(a.pGPSFileName, b.pGPSFileName);
    EXPECT_EQ(a.pClosureFileName, b.pClosureFileName);
    EXPECT_EQ(a.PtSubstituteS, b.PtSubstituteS);
    EXPECT_EQ(a.pLevRawFileName, b.pLevRawFileName);
    EXPECT_EQ(a.relativeErrFileNm, b.relativeErrFileNm);
    EXPECT_EQ(a.UDPFilePath, b.UDPFilePath);
    const std::pair<int, int> ints[] = {
        {a.gridSystem, b.gridSystem},
        {a.gridZone, b.gridZone},
        {a.maxIterations, b.maxIterations},
        {a.neOutPrec, b.neOutPrec},
        {a.zOutPrec, b.zOutPrec},
        {a.useProjZ, b.useProjZ},
        {a.vertAdjust, b.vertAdjust},
        {a.horizAdjust, b.horizAdjust},
        {a.directionType, b.directionType},
        {a.curvRefract, b.curvRefract},
        {a.dUnits, b.dUnits},
        {a.ZUnits, b.ZUnits},
        {a.NEDisplayType, b.NEDisplayType},
        {a.distPrec, b.distPrec},
        {a.coordPrec, b.coordPrec},
        {a.directionPrec, b.directionPrec},
        {a.supplamentalNE, b.supplamentalNE},
        {a.nezFileFmtType, b.nezFileFmtType},
        {a.wrtToCrd, b.wrtToCrd},
        {a.HorizUnits, b.HorizUnits},
        {a.includeSS, b.includeSS},
        {a.includeGPSVectors, b.includeGPSVectors},
        {a.includeRawData, b.includeRawData},
        {a.includeClosure, b.includeClosure},
        {a.angleType, b.angleType},
        {a.includeLevData, b.includeLevData},
        {a.geodeticModel, b.geodeticModel},
        {a.geoidModel, b.geoidModel},
        {a.geoidModelType, b.geoidModelType},
        {a.gpsFileFmtType, b.gpsFileFmtType},
        {a.elevDispPrec, b.elevDispPrec},
        {a.asciiNEZType, b.asciiNEZType},
        {a.crdFileType, b.crdFileType},
        {a.ttlStaUnits, b.ttlStaUnits},
        {a.GPSUnits, b.GPSUnits},
        {a.levelUnits, b.levelUnits},
        {a.defaultRawEditor, b.defaultRawEditor},
        {a.ALTARptOn, b.ALTARptOn},
        {a.relativeErrFileOn, b.relativeErrFileOn},
        {a.altaPPM, b.altaPPM},
        {a.ellipsoid, b.ellipsoid},
        {a.levelFileFmtType, b.levelFileFmtType},
        {a.Rw5GPSUnits, b.Rw5GPSUnits},
        {a.useRw5GPSVectors, b.useRw5GPSVectors},
    };
    for (std::size_t i = 0; i < std::size(ints); ++i) {
        SCOPED_TRACE("int setting " + std::to_string(i));
        EXPECT_EQ(ints[i].first, ints[i].second);
    }
    const std::pair<double, double> reals[] = {
        {a.convergeLimit, b.convergeLimit},
        {a.SF, b.SF},
        {a.projZ, b.projZ},
        {a.stErrDist, b.stErrDist},
        {a.stErrDistPPM, b.stErrDistPPM},
        {a.stErrAz, b.stErrAz},
        {a.stErrX, b.stErrX},
        {a.stErrY, b.stErrY},
        {a.stErrZ, b.stErrZ},
        {a.stErrPoint, b.stErrPoint},
        {a.stErrRead, b.stErrRead},
        {a.stErrTrgtCentering, b.stErrTrgtCentering},
        {a.stErrInstrCentering, b.stErrInstrCentering},
        {a.vDistTol, b.vDistTol},
        {a.hDistTol, b.hDistTol},
        {a.rodStErr, b.rodStErr},
        {a.HIStErr, b.HIStErr},
        {a.vStErrPoint, b.vStErrPoint},
        {a.vStErrRead, b.vStErrRead},
        {a.stErrGPSCentering, b.stErrGPSCentering},
        {a.stErrGPSMultFactor, b.stErrGPSMultFactor},
        {a.confidenceInterval, b.confidenceInterval},
        {a.diffLevDistBSFS, b.diffLevDistBSFS},
        {a.diffLevCollimation, b.diffLevCollimation},
        {a.diffLevRodRead, b.diffLevRodRead},
        {a.geoidHt, b.geoidHt},
        {a.altaTolerance, b.altaTolerance},
    };
    for (std::size_t i = 0; i < std::size(reals); ++i) {
        SCOPED_TRACE("real setting " + std::to_string(i));
        EXPECT_DOUBLE_EQ(reals[i].first, reals[i].second);
    }
    EXPECT_NEAR(a.hAngTol, b.hAngTol, 0.5e-6);
    EXPECT_NEAR(a.vAngTol, b.vAngTol, 0.5e-6);
}

// A text project: the version line, then the lines given, every one ended by CR LF.
std::string project(const std::string& body) {
    return "TARNWELL_PROJECT_VERSION=7\r\n" + body;
}

class ProjectFile : public ::testing::Test {
protected:
    testsupport::TempFolder folder{"project"};

    globalVars readText(const std::string& text, globalVars start = globalVars()) {
        const auto path = folder / "p.prj";
        writeBytes(path, text);
        EXPECT_NE(start.readProjectFile(path.string()), 0);
        return start;
    }
};

} // namespace

TEST_F(ProjectFile, WritesTheKeyTableByteForByte) {
    const auto path = (folder / "out.prj").string();
    ASSERT_NE(fixtureSettings().writeProjectFile(path), 0);
    EXPECT_EQ(readBytes(path), readBytes(fixture));
}

TEST_F(ProjectFile, WritesTheSameBytesUnderACommaLocale) {
    testsupport::CommaLocale comma;
    TARNWELL_REQUIRE_COMMA(comma);
    const auto path = (folder / "out.prj").string();
    ASSERT_NE(fixtureSettings().writeProjectFile(path), 0);
    EXPECT_EQ(readBytes(path), readBytes(fixture));
    globalVars back;
    ASSERT_NE(back.readProjectFile(fixture), 0);
    expectSameStoredSettings(back, fixtureSettings());
}

TEST_F(ProjectFile, ReadingTheFixtureRestoresEverySetting) {
    globalVars read;
    ASSERT_NE(read.readProjectFile(fixture), 0);
    expectSameStoredSettings(read, fixtureSettings());
    EXPECT_EQ(read.version, 7);
    EXPECT_EQ(read.reportFileName, "") << "the report file name is written, never read";
    EXPECT_EQ(read.nezFileFmtType, 4) << "a version 7 project keeps its control format code";
}

TEST_F(ProjectFile, WriteReadWriteGivesTheSameFile) {
    const auto first = (folder / "first.prj").string();
    const auto second = (folder / "second.prj").string();
    globalVars settings = fixtureSettings();
    ASSERT_NE(settings.writeProjectFile(first), 0);
    globalVars read;
    ASSERT_NE(read.readProjectFile(first), 0);
    read.reportFileName = settings.reportFileName;
    ASSERT_NE(read.writeProjectFile(second), 0);
    EXPECT_EQ(readBytes(first), readBytes(second));
}

TEST_F(ProjectFile, ReplacesAnExistingFileAndFailsQuietlyWhenItCannot) {
    const auto path = folder / "site.prj";
    writeBytes(path, "old contents");
    ASSERT_NE(fixtureSettings().writeProjectFile(path.string()), 0);
    EXPECT_EQ(readBytes(path), readBytes(fixture));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator{}),
              1)
        << "no temporary file is left behind";
    EXPECT_EQ(globalVars().writeProjectFile((folder / "missing" / "x.prj").string()), 0);
    globalVars g;
    EXPECT_EQ(g.readProjectFile((folder / "absent.prj").string()), 0);
    EXPECT_FALSE(std::filesystem::exists(folder / "absent.prj"));
}

TEST_F(ProjectFile, LinesTheReaderSkipsOrTakes) {
    struct Case {
        const char* name;
        std::string body;
        int globalVars::*field;
        int expected;
    };
    const Case cases[] = {
        {"plain", "gridSystem=4\r\n", &globalVars::gridSystem, 4},
        {"blank before and after the equals sign", "gridSystem = 4\r\n", &globalVars::gridSystem,
         0},
        {"key in another letter case", "GridSystem=4\r\n", &globalVars::gridSystem, 0},
        {"line without equals sign", "gridSystem 4\r\n", &globalVars::gridSystem, 0},
        {"unknown key", "gridSystems=4\r\n", &globalVars::gridSystem, 0},
        {"blanks and tabs around the line", " \tgridSystem=4 \t\r\n", &globalVars::gridSystem, 4},
        {"non-numeric value, refused", "maxIterations=ten\r\n", &globalVars::maxIterations, 10},
        {"leading number of a value, refused", "maxIterations=25 passes\r\n",
         &globalVars::maxIterations, 10},
        {"blanks around a value", "maxIterations= 25 \r\n", &globalVars::maxIterations, 25},
        {"a sign", "maxIterations=+25\r\n", &globalVars::maxIterations, 25},
        {"last line without CR LF", "gridZone=3702", &globalVars::gridZone, 3702},
        {"setting after a skipped line", "x\r\ngridZone=1101\r\n", &globalVars::gridZone, 1101},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const globalVars g = readText(project(c.body));
        EXPECT_EQ(g.*c.field, c.expected);
    }
}

TEST_F(ProjectFile, FileListsKeepALineFeedAfterEachName) {
    const globalVars g = readText(project("pInputFileName=a.rw5\nb.rw5\n\r\n"
                                          "pGPSFileName=only.gps\r\n"
                                          "crdFileName=site.crd\r\n"));
    EXPECT_EQ(g.pInputFileName, "a.rw5\nb.rw5\n");
    EXPECT_EQ(g.pGPSFileName, "only.gps\n") << "a list's last name gets its line feed back";
    EXPECT_EQ(g.crdFileName, "site.crd") << "other texts stay as they are";

    const globalVars empty = readText(project("pInputFileName=\r\n"), fixtureSettings());
    EXPECT_EQ(empty.pInputFileName, "");
}

// A project saved by an editor that ends lines with LF alone is the same
// project; a list's further names stand on lines without "=". Written back,
// every line ends in CR LF again.
TEST_F(ProjectFile, LineFeedOnlyProjectReadsAsTheSameProject) {
    std::string text = readBytes(fixture);
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;)
        text.erase(at, 1);
    const globalVars g = readText(text);
    globalVars expected = fixtureSettings();
    expected.reportFileName = g.reportFileName;
    expectSameStoredSettings(g, expected);

    const auto path = (folder / "back.prj").string();
    globalVars back = g;
    back.reportFileName = fixtureSettings().reportFileName;
    ASSERT_NE(back.writeProjectFile(path), 0);
    EXPECT_EQ(readBytes(path), readBytes(fixture));

    const globalVars lf = readText("TARNWELL_PROJECT_VERSION=7\npInputFileName=a.rw5\nb.rw5\n\n"
                                   "includeRawData=1\n");
    EXPECT_EQ(lf.pInputFileName, "a.rw5\nb.rw5\n");
    EXPECT_EQ(lf.includeRawData, 1);
}

// A name in a file list is a name whatever it holds: only a line that
// starts with one of the project's keys ends a list. A line after the CR LF
// that ends a list is no name. Saved again, the list travels whole. Every
// case is read as written (CR LF ends a value, LF ends a name) and with
// every line ended by LF alone, as an editor may leave it.
TEST_F(ProjectFile, FileListNamesAreToldFromKeyLinesByTheKnownKeys) {
    struct Case {
        const char* name;
        std::string body;  // between the version line and "includeRawData=1"
        bool lineFeedForm; // also read with LF alone after every line
        const char* rawFiles;
        const char* gpsFiles;
    };
    const Case cases[] = {
        {"names holding an equals sign", "pInputFileName=a=1.rw5\nday=2.rw5\nc.rw5\n\r\n", true,
         "a=1.rw5\nday=2.rw5\nc.rw5\n", ""},
        {"a name like a setting of no known key", "pGPSFileName=gps\nmaxIter=9.gps\n\r\n", true, "",
         "gps\nmaxIter=9.gps\n"},
        {"a stray line after a list", "pInputFileName=a.rw5\nb.rw5\n\r\nstray line\r\n", false,
         "a.rw5\nb.rw5\n", ""},
        {"a stray line after a one-name list", "pGPSFileName=only.gps\r\nstray.gps\r\n", false, "",
         "only.gps\n"},
        {"both lists, one after the other",
         "pInputFileName=x=y.vkr\n\r\npGPSFileName=p=q.gps\nr.gps\n\r\n", true, "x=y.vkr\n",
         "p=q.gps\nr.gps\n"},
    };
    const auto lineFeedOnly = [](std::string text) {
        for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;)
            text.erase(at, 1);
        return text;
    };
    for (const Case& c : cases) {
        const std::string written = project(c.body + "includeRawData=1\r\n");
        std::vector<std::pair<std::string, std::string>> forms{{"CR LF", written}};
        if (c.lineFeedForm)
            forms.emplace_back("LF alone", lineFeedOnly(written));
        for (const auto& [form, text] : forms) {
            SCOPED_TRACE(std::string(c.name) + ", " + form);
            const globalVars g = readText(text, fixtureSettings());
            EXPECT_EQ(g.pInputFileName,
                      c.rawFiles[0] ? c.rawFiles : fixtureSettings().pInputFileName);
            EXPECT_EQ(g.pGPSFileName, c.gpsFiles[0] ? c.gpsFiles : fixtureSettings().pGPSFileName);
            EXPECT_EQ(g.includeRawData, 1) << "the setting after the lists is read";

            const auto saved = (folder / "saved.prj").string();
            ASSERT_NE(g.writeProjectFile(saved), 0);
            globalVars back = fixtureSettings();
            ASSERT_NE(back.readProjectFile(saved), 0);
            EXPECT_EQ(back.pInputFileName, g.pInputFileName);
            EXPECT_EQ(back.pGPSFileName, g.pGPSFileName);
        }
    }
}

// Values no run can use are refused where the project is read: the setting
// keeps its value, and the message names the file, the line, the setting and
// the value. A value is taken only when it is wholly a number (an integer
// for an int setting): the C library would read a prefix of it and make
// 1,5 a standard error of 1 and 1e1 ten iterations of 1.
TEST_F(ProjectFile, RefusesValuesOutOfTheirRange) {
    const struct {
        const char* line;
        const char* key;
        const char* value;
    } cases[] = {
        {"distPrec=2147483647", "distPrec", "2147483647"},
        {"coordPrec=-1", "coordPrec", "-1"},
        {"directionPrec=13", "directionPrec", "13"},
        {"neOutPrec=99", "neOutPrec", "99"},
        {"zOutPrec=2147483647", "zOutPrec", "2147483647"},
        {"confidenceInterval=inf", "confidenceInterval", "inf"},
        {"confidenceInterval=150", "confidenceInterval", "150"},
        {"confidenceInterval=-5", "confidenceInterval", "-5"},
        {"confidenceInterval=100", "confidenceInterval", "100"},
        {"stErrZ=nan", "stErrZ", "nan"},
        {"stErrDist=-inf", "stErrDist", "-inf"},
        {"stErrX=-0.5", "stErrX", "-0.5"},
        {"vStErrRead=1e400", "vStErrRead", "1e400"},
        // Squares or inverse squares that are no ordinary numbers: weights
        // of 1e320 or 1e-320 make the adjustment's solution infinite.
        {"stErrZ=1e-160", "stErrZ", "1e-160"},
        {"stErrDist=1e-101", "stErrDist", "1e-101"},
        {"rodStErr=1e-300", "rodStErr", "1e-300"},
        {"convergeLimit=NAN", "convergeLimit", "NAN"},
        {"SF=1e308", "SF", "1e308"},
        // Not wholly a number.
        {"stErrDist=1,5", "stErrDist", "1,5"},
        {"stErrDist=0x1p-3", "stErrDist", "0x1p-3"},
        {"stErrDist=1 5", "stErrDist", "1 5"},
        {"stErrDist=1\t5", "stErrDist", "1<TAB>5"}, // the message shows the tab
        {"stErrDist=", "stErrDist", ""},
        {"stErrDist=.", "stErrDist", "."},
        {"stErrPoint=2abc", "stErrPoint", "2abc"},
        {"maxIterations=2abc", "maxIterations", "2abc"},
        {"maxIterations=1e1", "maxIterations", "1e1"},
        {"maxIterations=10.0", "maxIterations", "10.0"},
        {"maxIterations=0x10", "maxIterations", "0x10"},
        {"maxIterations=", "maxIterations", ""},
        {"gridZone=2147483648", "gridZone", "2147483648"},
        {"gridZone=-99999999999", "gridZone", "-99999999999"},
        // Codes outside their lists.
        {"geodeticModel=2", "geodeticModel", "2"},
        {"geodeticModel=-1", "geodeticModel", "-1"},
        {"ellipsoid=42", "ellipsoid", "42"},
        {"ellipsoid=17", "ellipsoid", "17"},
        {"HorizUnits=9", "HorizUnits", "9"},
        {"HorizUnits=3", "HorizUnits", "3"},
        {"gridSystem=6", "gridSystem", "6"},
        {"nezFileFmtType=8", "nezFileFmtType", "8"},
        {"geoidModelType=8", "geoidModelType", "8"},
        {"gpsFileFmtType=12", "gpsFileFmtType", "12"},
        {"GPSUnits=4", "GPSUnits", "4"},
        {"Rw5GPSUnits=3", "Rw5GPSUnits", "3"},
        {"levelUnits=3", "levelUnits", "3"},
        {"ttlStaUnits=3", "ttlStaUnits", "3"},
        {"levelFileFmtType=2", "levelFileFmtType", "2"},
        {"asciiNEZType=18", "asciiNEZType", "18"},
        {"crdFileType=0", "crdFileType", "0"},
        {"crdFileType=7", "crdFileType", "7"},
        {"NEDisplayType=4", "NEDisplayType", "4"},
        {"angleType=2", "angleType", "2"},
    };
    const globalVars held = readText(project("gridZone=12\r\n"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto path = folder / "p.prj";
        writeBytes(path, project(std::string("gridZone=12\r\n") + c.line + "\r\n"));
        globalVars g;
        std::vector<std::string> refusals;
        ASSERT_NE(g.readProjectFile(path.string(), refusals), 0);
        expectSameStoredSettings(g, held);
        ASSERT_EQ(refusals.size(), 1u);
        EXPECT_NE(refusals[0].find(path.string() + ", line 3: " + c.key + "=" + c.value),
                  std::string::npos)
            << refusals[0];
    }
    writeBytes(folder / "p.prj", project("stErrZ=1e-160\r\n"));
    globalVars g;
    std::vector<std::string> refusals;
    ASSERT_NE(g.readProjectFile((folder / "p.prj").string(), refusals), 0);
    ASSERT_EQ(refusals.size(), 1u);
    EXPECT_NE(refusals[0].find("(a standard error is 0 or from 1e-100 to 1e+12)"),
              std::string::npos)
        << "the accepted range is named: " << refusals[0];
}

// The reason names what the value should have been.
TEST_F(ProjectFile, ARefusalSaysWhatTheValueShouldBe) {
    const struct {
        const char* line;
        const char* reason;
    } cases[] = {
        {"stErrDist=1,5", "(not a number)"},
        {"maxIterations=1e1", "(not a whole number)"},
        {"HorizUnits=9", "(the codes of HorizUnits are 0 to 2)"},
        {"ellipsoid=42", "(the codes of ellipsoid are 0 to 16)"},
        {"crdFileType=0", "(the codes of crdFileType are 1 to 6)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        writeBytes(folder / "p.prj", project(std::string(c.line) + "\r\n"));
        globalVars g;
        std::vector<std::string> refusals;
        ASSERT_NE(g.readProjectFile((folder / "p.prj").string(), refusals), 0);
        ASSERT_EQ(refusals.size(), 1u);
        EXPECT_EQ(refusals[0], "Project file " + (folder / "p.prj").string() +
                                   ", line 2: " + c.line + " refused " + c.reason);
    }
}

TEST_F(ProjectFile, TakesValuesAtTheEndsOfTheirRange) {
    const auto path = folder / "p.prj";
    writeBytes(path, project("distPrec=0\r\ncoordPrec=12\r\nconfidenceInterval=50\r\n"
                             "stErrZ=0\r\nstErrX=-1\r\nstErrY=-2\r\n"
                             "confidenceInterval=99.99\r\nstErrDist=1e-100\r\nrodStErr=1e12\r\n"));
    globalVars g;
    std::vector<std::string> refusals;
    ASSERT_NE(g.readProjectFile(path.string(), refusals), 0);
    EXPECT_TRUE(refusals.empty());
    EXPECT_EQ(g.distPrec, 0);
    EXPECT_EQ(g.coordPrec, 12);
    EXPECT_DOUBLE_EQ(g.confidenceInterval, 99.99);
    EXPECT_DOUBLE_EQ(g.stErrZ, 0.0);
    EXPECT_DOUBLE_EQ(g.stErrX, -1.0);
    EXPECT_DOUBLE_EQ(g.stErrY, -2.0);
    EXPECT_DOUBLE_EQ(g.stErrDist, 1e-100);
    EXPECT_DOUBLE_EQ(g.rodStErr, 1e12);
}

TEST_F(ProjectFile, ALongFileListTravelsWhole) {
    globalVars settings;
    for (int i = 0; i < 300; ++i)
        settings.pInputFileName += "survey/2024/crew-b/day" + std::to_string(i) + ".rw5\n";
    ASSERT_GT(settings.pInputFileName.size(), 5000u);
    const auto path = (folder / "long.prj").string();
    ASSERT_NE(settings.writeProjectFile(path), 0);
    globalVars back;
    ASSERT_NE(back.readProjectFile(path), 0);
    EXPECT_EQ(back.pInputFileName, settings.pInputFileName);
}

TEST_F(ProjectFile, SettingsTheFileLacksKeepTheirValues) {
    const globalVars g = readText(project("gridZone=1101\r\n"), fixtureSettings());
    EXPECT_EQ(g.gridZone, 1101);
    EXPECT_EQ(g.crdFileName, "Site.crd");
    EXPECT_EQ(g.maxIterations, 12);
    EXPECT_EQ(g.reportFileName, "site.rpt");
}

TEST_F(ProjectFile, OlderProjectsRenumberTheControlFileFormat) {
    // Older numbering -> current: 0->1, 1->2, 4->3, 5->4, 6->5, 7->6, else 0.
    // (A code beyond 7 is refused as it is read: see RefusesValuesOutOfTheirRange.)
    const std::pair<int, int> codes[] = {{0, 1}, {1, 2}, {2, 0}, {3, 0},
                                         {4, 3}, {5, 4}, {6, 5}, {7, 6}};
    for (const auto& [older, current] : codes) {
        SCOPED_TRACE(older);
        const globalVars v6 =
            readText(project("version=6\r\nnezFileFmtType=" + std::to_string(older) + "\r\n"));
        EXPECT_EQ(v6.nezFileFmtType, current);
        const globalVars v7 =
            readText(project("version=7\r\nnezFileFmtType=" + std::to_string(older) + "\r\n"));
        EXPECT_EQ(v7.nezFileFmtType, older);
    }
    globalVars held;
    held.version = 7;
    const globalVars noVersionLine = readText(project("nezFileFmtType=4\r\n"), held);
    EXPECT_EQ(noVersionLine.nezFileFmtType, 4) << "the version held before counts";
}

// The version line is the file's version: a project whose settings carry no
// `version` line (a hand-made one, or one a tool wrote) is not an older
// project, and its control file format stays as written. A `version` line
// after it holds.
TEST_F(ProjectFile, TheVersionLineGivesTheVersion) {
    const struct {
        const char* name;
        std::string text;
        int version;
        int controlFormat;
    } cases[] = {
        {"version line 7 alone", "TARNWELL_PROJECT_VERSION=7\r\nnezFileFmtType=5\r\n", 7, 5},
        {"version line 6 alone", "TARNWELL_PROJECT_VERSION=6\r\nnezFileFmtType=5\r\n", 6, 4},
        {"a version line after it",
         "TARNWELL_PROJECT_VERSION=7\r\nversion=6\r\nnezFileFmtType=5\r\n", 6, 4},
        {"a version line 7 after 6",
         "TARNWELL_PROJECT_VERSION=6\r\nversion=7\r\nnezFileFmtType=7\r\n", 7, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        globalVars fresh;
        ASSERT_EQ(fresh.version, 0) << "a new settings object holds no version";
        const globalVars g = readText(c.text, fresh);
        EXPECT_EQ(g.version, c.version);
        EXPECT_EQ(g.nezFileFmtType, c.controlFormat);
    }
    writeBytes(folder / "p.prj", "TARNWELL_PROJECT_VERSION=7a\r\nnezFileFmtType=5\r\n");
    globalVars g;
    std::vector<std::string> refusals;
    ASSERT_NE(g.readProjectFile((folder / "p.prj").string(), refusals), 0);
    ASSERT_EQ(refusals.size(), 1u);
    EXPECT_NE(
        refusals[0].find(", line 1: TARNWELL_PROJECT_VERSION=7a refused (not a whole number)"),
        std::string::npos)
        << refusals[0];
}

// An editor that ends every line with CR alone (the file lists' LF as well)
// leaves the same project, as one that ends them with LF alone does; CR
// alone in place of CR LF, the lists' LF kept, too.
TEST_F(ProjectFile, CarriageReturnOnlyProjectReadsAsTheSameProject) {
    const std::string written = readBytes(fixture);
    std::string crForCrLf = written;
    for (std::size_t at; (at = crForCrLf.find("\r\n")) != std::string::npos;)
        crForCrLf.erase(at + 1, 1);
    std::string crOnly = crForCrLf;
    std::replace(crOnly.begin(), crOnly.end(), '\n', '\r');
    for (const auto& [form, text] :
         {std::pair{"CR alone", crOnly}, std::pair{"CR for CR LF, lists in LF", crForCrLf}}) {
        SCOPED_TRACE(form);
        ASSERT_EQ(text.find("\r\n"), std::string::npos);
        globalVars g;
        const auto path = folder / "cr.prj";
        writeBytes(path, text);
        std::vector<std::string> refusals;
        ASSERT_NE(g.readProjectFile(path.string(), refusals), 0);
        EXPECT_TRUE(refusals.empty()) << refusals.front();
        globalVars expected = fixtureSettings();
        expected.reportFileName = g.reportFileName;
        expectSameStoredSettings(g, expected);
    }
}

TEST(ProjectFileLines, ReadKeyLineResults) {
    std::istringstream file("TARNWELL_PROJECT_VERSION=7\r\n"
                            "gridZone=12\r\n"
                            "nothing here\r\n"
                            "noSuchKey=1\r\n"
                            "pInputFileName=a\nb\n\r\n"
                            "useRw5GPSVectors=1");
    int id = -5;
    std::string value = "untouched";
    EXPECT_EQ(globalVars::readKeyLine(file, id, value), 0);
    EXPECT_EQ(value, "7");
    EXPECT_EQ(globalVars::readKeyLine(file, id, value), 8);
    EXPECT_EQ(id, 8);
    EXPECT_EQ(value, "12");
    EXPECT_EQ(globalVars::readKeyLine(file, id, value), 87);
    EXPECT_EQ(globalVars::readKeyLine(file, id, value), 86);
    EXPECT_EQ(id, 8) << "only a recognised key sets the out values";
    EXPECT_EQ(value, "12");
    EXPECT_EQ(globalVars::readKeyLine(file, id, value), 1);
    EXPECT_EQ(value, "a\nb");
    EXPECT_EQ(globalVars::readKeyLine(file, id, value), 85);
    EXPECT_EQ(globalVars::readKeyLine(file, id, value), -1);
}

TEST_F(ProjectFile, TellsTextProjectsFromOtherFiles) {
    const struct {
        const char* name;
        std::string bytes;
        bool text;
    } cases[] = {
        {"text project", "TARNWELL_PROJECT_VERSION=7\r\n", true},
        {"the key alone", "TARNWELL_PROJECT_VERSION", true},
        {"shorter than the key", "TARNWELL_PROJECT", false},
        {"another letter case", "tarnwell_project_version=7\r\n", false},
        {"empty", "", false},
        {"binary archive", std::string("\x05site\x00\x00", 7), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = folder / "kind.prj";
        writeBytes(path, c.bytes);
        EXPECT_EQ(isTextProjectFile(path.string()), c.text);
    }
    EXPECT_FALSE(isTextProjectFile((folder / "absent.prj").string()));
}

TEST_F(ProjectFile, AFileOfAnotherKindReadAsTextChangesNothing) {
    // A legacy archive given to the text reader: no line of it is a setting.
    const std::string archive("\x0a"
                              "field.rw5\x00\x00\x00\x00\x07",
                              16);
    globalVars start = fixtureSettings();
    start.version = 7;
    const globalVars g = readText(archive, start);
    expectSameStoredSettings(g, start);
}
