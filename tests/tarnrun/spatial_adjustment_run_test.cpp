// 3D projects run as a user runs them: a terrestrial traverse (fixtures/
// run3d, made by make_fixtures.py from true geodetic positions) on UTM zone
// 18 and on State Plane 1983 New York East, the same with GPS vectors and a
// level run, the GPS vectors of fixtures/input/gps/site.gps alone, and the
// blunder modes. Each adjusts with exit 0 and lists every section of the 3D
// adjustment; the traverse's new stations land on their true grid positions.

#include "site_copy_run.hpp"

#include <fstream>
#include <sstream>
#include <vector>

namespace {

constexpr int exitConverged = 0;

std::string fixture(const std::string& name) {
    return std::string(TARNWELL_FIXTURES) + "/" + name;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

struct GridTruth {
    double northing = 0.0;
    double easting = 0.0;
};

// The true grid position of a station in the system (0 UTM 18, 1 New York
// East) from fixtures/run3d/truth.txt.
GridTruth truthOf(const std::string& name, int system) {
    std::ifstream in(fixture("run3d/truth.txt"));
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string n;
        double x, y, z, utmN, utmE, spcN, spcE;
        if (fields >> n >> x >> y >> z >> utmN >> utmE >> spcN >> spcE && n == name)
            return system == 0 ? GridTruth{utmN, utmE} : GridTruth{spcN, spcE};
    }
    ADD_FAILURE() << name << " not in truth.txt";
    return {};
}

globalVars spatialSettings(int gridSystem, int zone) {
    globalVars s = sitecopy::exampleSettings();
    s.geodeticModel = 1;
    s.gridSystem = gridSystem;
    s.gridZone = zone;
    s.ellipsoid = 9;
    s.geoidModel = 0;
    s.geoidHt = 0.0;
    s.includeClosure = 0;
    s.maxIterations = 10;
    s.convergeLimit = 0.0001;
    return s;
}

const char* const sections[] = {
    "Adjusted Geographic Coordinates", "Adjusted Grid Coordinates",
    "Adjusted Geocentric Coordinates", "Adjusted XYZ Coordinates Error Ellipses",
    "Adjusted Observations",           "Statistics"};

void expectSectionsInOrder(const std::string& report) {
    std::size_t last = 0;
    for (const char* section : sections) {
        const std::size_t at = report.find(section);
        ASSERT_NE(at, std::string::npos) << section << "\n" << report;
        EXPECT_GT(at, last) << section;
        last = at;
    }
}

// Copies a fixture of run3d into the folder.
void copyFixture(const testsupport::TempFolder& folder, const std::string& name) {
    std::filesystem::copy_file(fixture("run3d/" + name), folder / name);
}

void expectTruePositions(const testsupport::TempFolder& folder, int truthSystem) {
    const auto nez = sitecopy::readNez(folder / "site.NEZ");
    for (const char* name : {"C", "D"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(nez.count(name), 1u);
        const GridTruth t = truthOf(name, truthSystem);
        // Readings to 0.1" and 1 mm over 200-300 m sights.
        EXPECT_NEAR(nez.at(name).northing, t.northing, 0.005);
        EXPECT_NEAR(nez.at(name).easting, t.easting, 0.005);
    }
}

// The zenith residuals (seconds) of the report's "Adjusted Mark to Mark
// Vertical Angles" lines: from, to, angle, an optional "-", the residual.
std::vector<double> zenithResiduals(const std::string& report) {
    std::vector<double> residuals;
    bool inSection = false;
    for (const std::string& line : sitecopy::lines(report)) {
        if (line.find("Adjusted Mark to Mark Vertical Angles") != std::string::npos) {
            inSection = true;
            continue;
        }
        if (!inSection || line.find("From Sta.") != std::string::npos)
            continue;
        if (line.find("Root Mean Square") != std::string::npos)
            break;
        std::istringstream fields(line);
        std::string from, to, zenith, sign;
        double residual = 0.0;
        fields >> from >> to >> zenith >> sign;
        if (sign == "-")
            fields >> residual;
        else
            residual = std::stod(sign);
        residuals.push_back(residual);
    }
    return residuals;
}

// The fixture's zeniths are read to 0.1" from true positions and every line
// is sighted from both ends: the reverse sights, turned into the frame of
// the line's first station, agree with the forward ones, so no spread is
// warned about and no zenith keeps a residual (the convergence of the
// normals, 7-10" on these lines, left half of it in each before).
void expectReciprocalZenithsAgree(const testsupport::TempFolder& folder,
                                  const std::string& report) {
    EXPECT_FALSE(
        contains(testsupport::readBytes(folder / "site.ERR"), "Mark to Mark Vertical Angle from"));
    const std::vector<double> residuals = zenithResiduals(report);
    EXPECT_EQ(residuals.size(), 4u);
    for (double residual : residuals)
        EXPECT_LE(std::abs(residual), 0.2);
}

struct TerrestrialCase {
    const char* label;
    int gridSystem;
    int zone;
    const char* raw;
    int truthSystem;
};

class TerrestrialRun3D : public ::testing::TestWithParam<TerrestrialCase> {};

} // namespace

TEST_P(TerrestrialRun3D, AdjustsTheTraverseOntoItsTruePositions) {
    const TerrestrialCase& c = GetParam();
    testsupport::TempFolder folder(std::string("run3d-") + c.label);
    const std::string raw = testsupport::readBytes(fixture(std::string("run3d/") + c.raw));
    ASSERT_EQ(sitecopy::run(folder, spatialSettings(c.gridSystem, c.zone), raw), exitConverged)
        << testsupport::readBytes(folder / "console.txt")
        << testsupport::readBytes(folder / "site.ERR");
    const std::string report = testsupport::readBytes(folder / "site.RPT");
    expectSectionsInOrder(report);
    EXPECT_TRUE(contains(report, " Solution converged in "));
    EXPECT_TRUE(std::filesystem::exists(folder / "site.EEL"));
    expectTruePositions(folder, c.truthSystem);
    expectReciprocalZenithsAgree(folder, report);
}

INSTANTIATE_TEST_SUITE_P(Systems, TerrestrialRun3D,
                         ::testing::Values(TerrestrialCase{"utm18", gridUtm, 18,
                                                           "terrestrial_utm18.vkr", 0},
                                           TerrestrialCase{"spc3101", gridStatePlane83, 3101,
                                                           "terrestrial_spc3101.vkr", 1}),
                         [](const auto& info) { return std::string(info.param.label); });

// The three vectors of site.gps around BASE, N1, N2 with BASE held by its C
// line: every section, in UTM zone 18 and in State Plane 1983.
TEST(GpsRun3D, AdjustsTheVectorsAloneInBothSystems) {
    for (const auto& [system, zone] : {std::pair{gridUtm, 18}, {gridStatePlane83, 3101}}) {
        SCOPED_TRACE(system);
        testsupport::TempFolder folder("run3d-gps");
        globalVars s = spatialSettings(system, zone);
        s.includeRawData = 0;
        s.includeGPSVectors = 1;
        s.pGPSFileName = "site.gps";
        s.gpsFileFmtType = 0;
        s.GPSUnits = 0;
        std::filesystem::copy_file(fixture("input/gps/site.gps"), folder / "site.gps");
        ASSERT_EQ(sitecopy::run(folder, s, ""), exitConverged)
            << testsupport::readBytes(folder / "console.txt")
            << testsupport::readBytes(folder / "site.ERR");
        expectSectionsInOrder(testsupport::readBytes(folder / "site.RPT"));
    }
}

// The traverse with three GPS vectors and a level run A - C - D: the vectors
// and the levelled height differences join the sights in one adjustment.
TEST(MixedRun3D, AdjustsSightsVectorsAndLevelsTogether) {
    testsupport::TempFolder folder("run3d-mixed");
    globalVars s = spatialSettings(gridUtm, 18);
    s.includeGPSVectors = 1;
    s.pGPSFileName = "mixed.gps";
    s.gpsFileFmtType = 0;
    s.GPSUnits = 0;
    s.includeLevData = 1;
    s.pLevRawFileName = "mixed.lev";
    s.levelUnits = 0; // metres
    copyFixture(folder, "mixed.gps");
    copyFixture(folder, "mixed.lev");
    const std::string raw = testsupport::readBytes(fixture("run3d/terrestrial_utm18.vkr"));
    ASSERT_EQ(sitecopy::run(folder, s, raw), exitConverged)
        << testsupport::readBytes(folder / "console.txt")
        << testsupport::readBytes(folder / "site.ERR");
    const std::string report = testsupport::readBytes(folder / "site.RPT");
    expectSectionsInOrder(report);
    // 4 distances, 4 angles, 4 zeniths, 3 x 3 vector rows and 2 levels for
    // the 6 unknowns of C and D.
    EXPECT_TRUE(contains(report, " Degrees of freedom:17\r\n")) << report;
    expectTruePositions(folder, 0);
}

// Modes 10 and 11 through tarnrun: the passes run, the error report holds
// their listings and the note of the mode.
TEST(BlunderRun3D, FloatAndReweightModesRunTheirPasses) {
    struct Row {
        const char* option;
        const char* note;
    };
    const Row rows[] = {{"--blunder=float:2", "with ** is the observation that floated."},
                        {"--blunder=reweight:2", "largest residual and standard residual."}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.option);
        testsupport::TempFolder folder("run3d-blunder");
        const std::string raw = testsupport::readBytes(fixture("run3d/terrestrial_utm18.vkr"));
        EXPECT_EQ(sitecopy::run(folder, spatialSettings(gridUtm, 18), raw, row.option),
                  exitConverged)
            << testsupport::readBytes(folder / "console.txt");
        const std::string err = testsupport::readBytes(folder / "site.ERR");
        EXPECT_TRUE(contains(err, row.note)) << err;
        EXPECT_TRUE(contains(err, "Statistics\r\n")) << err;
    }
}

// The preprocessing check of a 3D project runs to its end: the clean
// traverse lists no observation, and a distance B-C planted 10 m long in both
// faces is listed through C, whose preliminary position it moves.
TEST(BlunderRun3D, ThePreprocessingCheckListsAPlantedBlunder) {
    struct Row {
        const char* label;
        const char* from;
        const char* to;
        bool listed;
    };
    const Row rows[] = {{"clean", "", "", false}, {"planted", "229.601", "239.601", true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        testsupport::TempFolder folder("run3d-check");
        std::string raw = testsupport::readBytes(fixture("run3d/terrestrial_utm18.vkr"));
        for (std::size_t at = raw.find(row.from); row.listed && at != std::string::npos;
             at = raw.find(row.from, at + 1))
            raw.replace(at, std::string(row.from).size(), row.to);
        EXPECT_EQ(sitecopy::run(folder, spatialSettings(gridUtm, 18), raw, "--blunder=check:0.1"),
                  exitConverged)
            << testsupport::readBytes(folder / "console.txt");
        const std::string err = testsupport::readBytes(folder / "site.ERR");
        EXPECT_TRUE(contains(err, "\r\nK-Matrix Analysis.\r\n")) << err;
        EXPECT_TRUE(contains(err, "\r\nPoint Proximity Report:\r\n")) << err;
        EXPECT_FALSE(contains(err, "is not built yet")) << err;
        std::vector<std::string> listed;
        for (const std::string& line : sitecopy::lines(err))
            if (line.starts_with("Distance:") || line.starts_with("Angle:") ||
                line.starts_with("Azimuth:") || line.starts_with("Vertical Angle:"))
                listed.push_back(line);
        EXPECT_EQ(!listed.empty(), row.listed) << err;
        for (const std::string& line : listed)
            EXPECT_TRUE(contains(line, " C")) << line;
    }
}
