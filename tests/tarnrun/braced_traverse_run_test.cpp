// A zig-zag traverse of 50 points on legs of about 80 m, fixed at both ends
// (P1, P2 and P49, P50), run through tarnrun from raw data alone: every setup
// Pi backsights P(i-1) and sights P(i+1) and, braced, also the point after
// next, P(i+2). The raw files are written here from the true positions,
// in the 2D model on a local grid and in the 3D model on UTM zone 18 (GRS 80,
// the frame of fixtures/run/terrestrial_3d), with the readings and distances
// rounded to 0.01" and 0.1 mm. The braces must not spoil the preliminary
// coordinates: both traverses converge onto the true points in a few
// iterations.
//
// The rounding carried along 47 legs of 80 m moves a point by at most
// 80 m x 0.005" x 47^2 / 2 + 47 x 0.05 mm = 4.5 mm; 5 mm is allowed.

#include "engine/prelim_network_3d.hpp"
#include "platform/c_locale_text.hpp"
#include "support/project_vars_guard.hpp"
#include "support/raw_file_text.hpp"
#include "support/report_text.hpp"
#include "support/temp_folder.hpp"
#include "tarnrun_command.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int exitConverged = 0;
constexpr int pointCount = 50;
constexpr double instrumentHeight_m = 1.5;
constexpr double targetHeight_m = 1.6;
constexpr double tolerance_m = 0.005;
constexpr int handfulOfIterations = 3;

std::string pointName(int i) {
    return "P" + std::to_string(i);
}

// Where the traverse's points lie, north and east of its start.
double northOffset(int i) {
    return 40.0 * (i % 2) + 5.0 * std::sin(1.7 * i);
}
double eastOffset(int i) {
    return 70.0 * i + 5.0 * std::cos(2.3 * i);
}

struct GridPoint {
    double northing;
    double easting;
    double elevation;
};

// A sight from the instrument (raised by its height) to the target (raised
// by its height) in the instrument's horizon: azimuth, slope distance and
// zenith angle.
struct Sight {
    double azimuth_deg;
    double slope_m;
    double zenith_deg;
};

std::string packed(double degrees) {
    return testsupport::packedDegrees(degrees, 2);
}

std::string fixed(double value, int decimals) {
    return platform::formatC("%.*f", decimals, value);
}

// One observation record: a setup when `hi` is set, else a foresight.
std::string observationLine(const std::string& station, const std::string& hi,
                            const std::string& backsight, const std::string& reading,
                            const Sight& s, const std::string& foresight) {
    return testsupport::rawObservationLine({station, hi, backsight, fixed(targetHeight_m, 3),
                                            reading, fixed(s.slope_m, 4), packed(s.zenith_deg),
                                            foresight, "", ""});
}

// The raw file: the four fixed points, then every setup with its backsight
// read at 0 and its foresights at their angles from it.
template <class SightOf>
std::string rawFile(const std::map<int, GridPoint>& fixedPoints, bool braced, SightOf sightOf) {
    std::vector<std::string> records = {"6SE X:! Y:! Z:!"};
    for (const auto& [i, p] : fixedPoints)
        records.push_back("6C " + pointName(i) + " " + fixed(p.northing, 4) + " " +
                          fixed(p.easting, 4) + " " + fixed(p.elevation, 4) + " 'CP");
    for (int i = 2; i < pointCount; ++i) {
        const Sight back = sightOf(i, i - 1);
        records.push_back(observationLine(pointName(i), fixed(instrumentHeight_m, 3),
                                          pointName(i - 1), packed(0.0), back, ""));
        for (int ahead = 1; ahead <= (braced ? 2 : 1) && i + ahead <= pointCount; ++ahead) {
            const Sight fore = sightOf(i, i + ahead);
            const double angle = std::fmod(fore.azimuth_deg - back.azimuth_deg + 720.0, 360.0);
            records.push_back(
                observationLine("", "", "", packed(angle), fore, pointName(i + ahead)));
        }
    }
    std::string text = testsupport::rawFileHeader(records.size()) + "\r\n";
    for (const std::string& r : records)
        text += r + "\r\n";
    return text;
}

// The true 2D positions: a local grid around 5000 / 5000, elevations about 100.
GridPoint planePoint(int i) {
    return {5000.0 + northOffset(i), 5000.0 + eastOffset(i), 100.0 + 2.0 * std::sin(0.9 * i)};
}

Sight planeSight(int from, int to) {
    const GridPoint a = planePoint(from);
    const GridPoint b = planePoint(to);
    const double dn = b.northing - a.northing;
    const double de = b.easting - a.easting;
    const double horizontal = std::hypot(dn, de);
    const double vertical = (b.elevation + targetHeight_m) - (a.elevation + instrumentHeight_m);
    double azimuth = std::atan2(de, dn) * 180.0 / std::numbers::pi;
    if (azimuth < 0)
        azimuth += 360.0;
    return {azimuth, std::hypot(horizontal, vertical),
            std::atan2(horizontal, vertical) * 180.0 / std::numbers::pi};
}

// Adjusted northing and easting by point name, from the run's .NEZ file
// ("name, northing, easting, elevation, ...").
std::map<std::string, std::pair<double, double>> adjusted(const std::filesystem::path& nez) {
    std::map<std::string, std::pair<double, double>> points;
    std::istringstream lines(testsupport::readBytes(nez));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string name, northing, easting;
        if (std::getline(fields, name, ',') && std::getline(fields, northing, ',') &&
            std::getline(fields, easting, ','))
            points[name.substr(0, name.find(' '))] = {std::stod(northing), std::stod(easting)};
    }
    return points;
}

int iterationsOf(const std::string& report) {
    const std::string marker = " Solution converged in ";
    const std::size_t at = report.find(marker);
    return at == std::string::npos ? -1 : std::stoi(report.substr(at + marker.size()));
}

// Runs the project `name`.prj in `folder` and checks that it converged in a
// handful of iterations onto the true positions `truth` gives.
template <class Truth>
void expectConvergedOntoTruth(const testsupport::TempFolder& folder, const std::string& name,
                              Truth truth) {
    ASSERT_EQ(tarnruntest::runQuiet(folder / (name + ".prj"), folder / "console.txt"),
              exitConverged)
        << testsupport::readBytes(folder / (name + ".ERR"));
    const int iterations = iterationsOf(testsupport::readBytes(folder / (name + ".RPT")));
    EXPECT_GE(iterations, 1);
    EXPECT_LE(iterations, handfulOfIterations);
    const auto points = adjusted(folder / (name + ".NEZ"));
    for (int i = 1; i <= pointCount; ++i) {
        SCOPED_TRACE(pointName(i));
        const auto found = points.find(pointName(i));
        ASSERT_NE(found, points.end());
        const GridPoint t = truth(i);
        EXPECT_NEAR(found->second.first, t.northing, tolerance_m);
        EXPECT_NEAR(found->second.second, t.easting, tolerance_m);
    }
}

std::string fixture(const std::string& path) {
    return std::string(TARNWELL_FIXTURES) + "/" + path;
}

// A copy of `project` naming the raw file `raw`, printing six decimals and
// closing nothing.
void writeProject(const testsupport::TempFolder& folder, const std::string& project,
                  const std::string& name, const std::string& rawText) {
    std::string text = testsupport::readBytes(project);
    for (const char* raw : {"site.vkr", "site3d.vkr"})
        text = testsupport::replaceAll(text, raw, name + ".vkr");
    text = testsupport::replaceAll(text, "coordPrec=3", "coordPrec=6");
    text = testsupport::replaceAll(text, "includeClosure=1", "includeClosure=0");
    testsupport::writeBytes(folder / (name + ".prj"), text);
    testsupport::writeBytes(folder / (name + ".vkr"), rawText);
}

template <class Truth> std::map<int, GridPoint> fixedOf(Truth truth) {
    std::map<int, GridPoint> points;
    for (int i : {1, 2, pointCount - 1, pointCount})
        points[i] = truth(i);
    return points;
}

} // namespace

TEST(BracedTraverseRun, The2DTraverseConvergesOntoItsTruthWithAndWithoutBraces) {
    for (bool braced : {false, true}) {
        SCOPED_TRACE(braced ? "braced" : "legs only");
        testsupport::TempFolder folder("braced-traverse-2d");
        writeProject(folder, fixture("../../examples/site/site.prj"), "zigzag",
                     rawFile(fixedOf(planePoint), braced, planeSight));
        expectConvergedOntoTruth(folder, "zigzag", planePoint);
    }
}

// The same traverse on the ellipsoid: stations 45 N 75.1 W and east of it,
// heights above the ellipsoid (the project's geoid height is 0); directions,
// slope distances and zenith angles in each instrument's horizon, as
// prelim_network_3d.hpp computes them.
TEST(BracedTraverseRun, The3DTraverseConvergesOntoItsTruthWithAndWithoutBraces) {
    testsupport::ProjectVarsGuard guard;
    projectVars.gridSystem = gridUtm;
    projectVars.gridZone = 18;
    projectVars.ellipsoid = 9;
    testsupport::SyntheticNetwork3D net;
    const auto markOf = [](int i) { return pointName(i); };
    const auto raisedOf = [](int i, double height) {
        return pointName(i) + "+" + fixed(height, 3);
    };
    constexpr double lat0 = 45.0;
    constexpr double lon0 = -75.1;
    for (int i = 1; i <= pointCount; ++i) {
        const double lat = lat0 + northOffset(i) / 111132.0;
        const double lon =
            lon0 + eastOffset(i) / (111320.0 * std::cos(lat0 * std::numbers::pi / 180.0));
        const double h = 100.0 + 2.0 * std::sin(0.9 * i);
        net.at(markOf(i), lat, lon, h);
        for (double height : {instrumentHeight_m, targetHeight_m})
            net.at(raisedOf(i, height), lat, lon, h + height);
    }
    const auto truth = [&net](int i) {
        const auto& t = net.truth(pointName(i));
        return GridPoint{t.northing, t.easting, t.h};
    };
    const auto sightOf = [&](int from, int to) {
        const auto l = net.local(raisedOf(from, instrumentHeight_m), raisedOf(to, targetHeight_m));
        return Sight{l.azimuth() * 180.0 / std::numbers::pi, l.slope(),
                     l.zenith() * 180.0 / std::numbers::pi};
    };
    const std::map<int, GridPoint> fixedPoints = fixedOf(truth);
    for (bool braced : {false, true}) {
        SCOPED_TRACE(braced ? "braced" : "legs only");
        testsupport::TempFolder folder("braced-traverse-3d");
        writeProject(folder, fixture("run/terrestrial_3d/site3d.prj"), "zigzag3d",
                     rawFile(fixedPoints, braced, sightOf));
        expectConvergedOntoTruth(folder, "zigzag3d", truth);
    }
}
