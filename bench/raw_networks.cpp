#include "raw_networks.hpp"

#include "geodetic/projection_engine.hpp"
#include "geodetic/utm.hpp"
#include "grid_shape.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/c_locale_text.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace rawnetworks {

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double degreesPerRadian = 180.0 / pi;
constexpr double spacing_m = 200.0;
constexpr double instrumentHeight_m = 1.5;
constexpr double targetHeight_m = 1.6;
constexpr unsigned seed = 2026;
constexpr double metresPerRadian = 6367000.0; // of latitude, near enough for placing points

// GRS 80, UTM zone 18: where the 3D network lies.
constexpr double grsSemiMajor_m = 6378137.0;
constexpr double grsFlattening = 0.0033528106811836675;
constexpr int grsEllipsoid = 9;
constexpr int utmZone = 18;
constexpr int gridUtm = 4;

std::string nameOf(int i) {
    return "P" + std::to_string(i);
}

// Degrees as packed dd.mmssS text, the seconds rounded to 0.1".
std::string packed(double degrees) {
    const long fullCircle = 360L * 36000L;
    const long tenths = ((std::lround(degrees * 36000.0) % fullCircle) + fullCircle) % fullCircle;
    const long minutesAndTenths = tenths % 36000;
    const long seconds = minutesAndTenths % 600;
    return platform::formatC("%ld.%02ld%02ld%ld", tenths / 36000, minutesAndTenths / 600,
                             seconds / 10, seconds % 10);
}

double circle(double degrees) {
    return degrees - 360.0 * std::floor(degrees / 360.0);
}

// A sight as the instrument sees it: horizontal direction (degrees from
// north), slope distance and zenith angle (degrees).
struct Sight {
    double azimuth_deg = 0.0;
    double slope_m = 0.0;
    double zenith_deg = 0.0;
};

// The fields of one observation line; an empty one is left blank.
struct ObservationFields {
    char kind = '1'; // '1' slope distance and zenith, '2' horizontal distance and height difference
    std::string station, backsight, reading, distance, second, foresight;
};

// A setup line (station, instrument height, backsight) or, with an empty
// station, a foresight line.
std::string observationLine(const ObservationFields& f) {
    std::string line = platform::formatC(
        "%c%-10s %8s %-10s %8.3f %10s %9s %9s %-10s", f.kind, f.station.c_str(),
        f.station.empty() ? "" : platform::formatC("%.3f", instrumentHeight_m).c_str(),
        f.backsight.c_str(), targetHeight_m, f.reading.c_str(), f.distance.c_str(),
        f.second.c_str(), f.foresight.c_str());
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

std::string rawLine(const std::string& station, const std::string& backsight, double reading_deg,
                    const Sight& s, const std::string& foresight) {
    return observationLine({'1', station, backsight, packed(circle(reading_deg)),
                            platform::formatC("%.3f", s.slope_m), packed(s.zenith_deg), foresight});
}

std::string vkrHeader(std::size_t records) {
    std::string text(498, ' ');
    text.replace(190, 3, "100");
    text.replace(198, 10, "VER 1.0   ");
    text.replace(209, 10, platform::formatC("%010zu", records));
    return text;
}

void writeLines(const std::filesystem::path& path, const std::string& first,
                const std::vector<std::string>& lines) {
    std::ofstream out(path, std::ios::binary);
    if (!first.empty())
        out << first << "\r\n";
    for (const std::string& line : lines)
        out << line << "\r\n";
}

// Every point a station: its first neighbour the backsight at a seeded
// circle reading, then a foresight line to each other neighbour. The last
// setup's orientation (degrees to add to a direction) is returned.
template <class SightOf>
double appendSetups(std::vector<std::string>& records, int count, SightOf sightOf) {
    const int side = gridshape::rowLength(count);
    std::mt19937 random(seed + 1);
    std::uniform_real_distribution<double> zero(0.0, 360.0);
    double orientation = 0.0;
    for (int i = 0; i < count; ++i) {
        const std::vector<int> around = gridshape::gridNeighbours(i, side, count);
        const Sight back = sightOf(i, around.front());
        orientation = zero(random) - back.azimuth_deg;
        records.push_back(
            rawLine(nameOf(i), nameOf(around.front()), back.azimuth_deg + orientation, back, ""));
        for (std::size_t k = 1; k < around.size(); ++k) {
            const Sight fore = sightOf(i, around[k]);
            records.push_back(
                rawLine("", "", fore.azimuth_deg + orientation, fore, nameOf(around[k])));
        }
    }
    return orientation;
}

std::string sideshotName(int k) {
    return "S" + std::to_string(k);
}

// Where each sideshot lies from its station: north and east offsets.
std::vector<std::array<double, 2>> sideshotOffsets(int count) {
    std::mt19937 random(seed + 3);
    std::uniform_real_distribution<double> direction(0.0, 2.0 * pi);
    std::uniform_real_distribution<double> distance(10.0, 300.0);
    std::vector<std::array<double, 2>> offsets;
    for (int k = 0; k < count; ++k) {
        const double t = direction(random);
        const double d = distance(random);
        offsets.push_back({d * std::cos(t), d * std::sin(t)});
    }
    return offsets;
}

// The foresight lines of the last setup (its orientation given) to each
// sideshot after the setup's own foresights.
template <class SightOf>
void appendSideshots(std::vector<std::string>& records, double orientation, int count,
                     SightOf sightOf) {
    for (int k = 0; k < count; ++k) {
        const Sight s = sightOf(k);
        records.push_back(rawLine("", "", s.azimuth_deg + orientation, s, sideshotName(k)));
    }
}

std::array<int, 4> corners(int count) {
    const int side = gridshape::rowLength(count);
    return {0, side - 1, count - side, count - 1};
}

void writeProject(const std::filesystem::path& path, globalVars settings) {
    settings.writeProjectFile(path.string());
}

globalVars commonSettings() {
    globalVars s;
    s.setDefaults();
    s.includeRawData = 1;
    s.pInputFileName = "network.vkr";
    s.includeSS = 1;
    s.includeClosure = 0;
    s.wrtToCrd = 0;
    s.relativeErrFileOn = 0;
    s.maxIterations = 10;
    s.convergeLimit = 0.0001;
    s.confidenceInterval = 95.0;
    s.angleType = 0;
    s.directionType = 1;
    s.curvRefract = 0;
    return s;
}

std::vector<GridPosition> perturbedGrid(int count, double jitter_m = 30.0) {
    const int side = gridshape::rowLength(count);
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> jitter(-jitter_m, jitter_m);
    std::vector<GridPosition> points;
    for (int i = 0; i < count; ++i)
        points.push_back({5000.0 + spacing_m * (i / side) + jitter(random),
                          5000.0 + spacing_m * (i % side) + jitter(random)});
    return points;
}

// The 2D networks' settings: a local grid, horizontal adjustment only.
globalVars planeSettings() {
    globalVars s = commonSettings();
    s.geodeticModel = 0;
    s.gridSystem = 0;
    s.SF = 1.0;
    s.horizAdjust = 1;
    s.vertAdjust = 0;
    return s;
}

// The measuring errors of the angle-observed network (one standard error).
constexpr double angleGridJitter_m = 40.0;
constexpr double angleError_sec = 2.0;
constexpr double distanceError_m = 0.003;
constexpr double distanceError_ppm = 2.0;
constexpr double flatRise_m = targetHeight_m - instrumentHeight_m;

// Measured values: the true ones with normal errors when `noisy`.
class Measuring {
public:
    explicit Measuring(bool noisy) : noisy_(noisy), random_(seed + 3) {}

    double angle_deg(double truth_deg) { return truth_deg + error(angleError_sec) / 3600.0; }
    double distance_m(double truth_m) {
        return truth_m + error(distanceError_m + distanceError_ppm * 1e-6 * truth_m);
    }

private:
    double error(double standard) { return noisy_ ? standard * normal_(random_) : 0.0; }

    bool noisy_;
    std::mt19937 random_;
    std::normal_distribution<double> normal_;
};

double azimuth_deg(const GridPosition& from, const GridPosition& to) {
    return circle(std::atan2(to.easting - from.easting, to.northing - from.northing) *
                  degreesPerRadian);
}

double horizontal_m(const GridPosition& from, const GridPosition& to) {
    return std::hypot(to.northing - from.northing, to.easting - from.easting);
}

// A horizontal distance to flat ground: the target stands higher than the
// instrument by the difference of their heights.
ObservationFields flatSight(Measuring& measuring, const GridPosition& from,
                            const GridPosition& to) {
    ObservationFields f;
    f.kind = '2';
    f.distance = platform::formatC("%.4f", measuring.distance_m(horizontal_m(from, to)));
    f.second = platform::formatC("%.3f", flatRise_m);
    return f;
}

// Every point a station, row by row from the south, each row from east to
// west: for each neighbour after the first (west, north, east, south), a
// setup on the first (read at 0) and one foresight reading; the distance to
// the first neighbour goes with the first setup, every other with its
// foresight.
void appendAngleSetups(std::vector<std::string>& records, const std::vector<GridPosition>& truth,
                       bool noisy) {
    const int count = static_cast<int>(truth.size());
    const int side = gridshape::rowLength(count);
    Measuring measuring(noisy);
    for (int written = 0; written < count; ++written) {
        const int i = written - written % side + side - 1 - written % side;
        const std::vector<int> around = gridshape::gridNeighbours(i, side, count);
        const GridPosition& at = truth[i];
        const int first = around.front();
        for (std::size_t k = 1; k < around.size(); ++k) {
            ObservationFields setup;
            setup.kind = '2';
            if (k == 1)
                setup = flatSight(measuring, at, truth[first]);
            setup.station = nameOf(i);
            setup.backsight = nameOf(first);
            setup.reading = packed(0.0);
            records.push_back(observationLine(setup));
            ObservationFields fore = flatSight(measuring, at, truth[around[k]]);
            const double angle = azimuth_deg(at, truth[around[k]]) - azimuth_deg(at, truth[first]);
            fore.reading = packed(circle(measuring.angle_deg(angle)));
            fore.foresight = nameOf(around[k]);
            records.push_back(observationLine(fore));
        }
    }
}

// The 3D network's stations: geodetic position and earth-centred vector.
struct Station {
    double lat_rad, lon_rad, height_m;
    std::array<double, 3> xyz;
};

std::array<double, 3> earthCentred(double lat, double lon, double h) {
    const double e2 = grsFlattening * (2.0 - grsFlattening);
    const double n = grsSemiMajor_m / std::sqrt(1.0 - e2 * std::sin(lat) * std::sin(lat));
    return {(n + h) * std::cos(lat) * std::cos(lon), (n + h) * std::cos(lat) * std::sin(lon),
            (n * (1.0 - e2) + h) * std::sin(lat)};
}

std::vector<Station> stationsOnTheEllipsoid(int count) {
    const std::vector<GridPosition> plane = perturbedGrid(count);
    std::mt19937 random(seed + 2);
    std::uniform_real_distribution<double> height(90.0, 110.0);
    std::vector<Station> stations;
    for (const GridPosition& p : plane) {
        Station s;
        s.lat_rad = 45.0 / degreesPerRadian + (p.northing - 5000.0) / metresPerRadian;
        s.lon_rad = -75.2 / degreesPerRadian +
                    (p.easting - 5000.0) / (metresPerRadian * std::cos(45.0 / degreesPerRadian));
        s.height_m = height(random);
        s.xyz = earthCentred(s.lat_rad, s.lon_rad, s.height_m);
        stations.push_back(s);
    }
    return stations;
}

// The sight from the instrument above `from` to the target above `to`, in
// the instrument's local frame (north, east, up along the normal).
Sight localSight(const Station& from, const Station& to) {
    const std::array<double, 3> i =
        earthCentred(from.lat_rad, from.lon_rad, from.height_m + instrumentHeight_m);
    const std::array<double, 3> t =
        earthCentred(to.lat_rad, to.lon_rad, to.height_m + targetHeight_m);
    const double dx = t[0] - i[0], dy = t[1] - i[1], dz = t[2] - i[2];
    const double sp = std::sin(from.lat_rad), cp = std::cos(from.lat_rad);
    const double sl = std::sin(from.lon_rad), cl = std::cos(from.lon_rad);
    const double north = -sp * cl * dx - sp * sl * dy + cp * dz;
    const double east = -sl * dx + cl * dy;
    const double up = cp * cl * dx + cp * sl * dy + sp * dz;
    const double slope = std::sqrt(north * north + east * east + up * up);
    return {circle(std::atan2(east, north) * degreesPerRadian), std::round(slope * 1000.0) / 1000.0,
            std::acos(up / slope) * degreesPerRadian};
}

std::string gridControlLine(const Station& s, const std::string& name) {
    ellipsoid grs{};
    initEllipsoid(&grs, grsSemiMajor_m, grsFlattening);
    geodCoord point{};
    point.lat = s.lat_rad;
    point.lon = s.lon_rad;
    UTMGeod2Grid(utmZone, &grs, &point);
    return platform::formatC("6C %s %.4f %.4f %.4f", name.c_str(), point.northing, point.easting,
                             s.height_m);
}

std::vector<std::string> gpsVectors(const std::vector<Station>& stations) {
    const int count = static_cast<int>(stations.size());
    const int side = gridshape::rowLength(count);
    std::vector<std::string> lines = {".GPS WEIGHT COVARIANCE"};
    for (int i = 0; i < count; ++i) {
        if (i % side + 1 == side)
            continue;
        const Station& a = stations[i];
        const Station& b = stations[i + 1];
        lines.push_back(platform::formatC("G1  %s-%s  %15.4f %15.4f %15.4f", nameOf(i).c_str(),
                                          nameOf(i + 1).c_str(), b.xyz[0] - a.xyz[0],
                                          b.xyz[1] - a.xyz[1], b.xyz[2] - a.xyz[2]));
        lines.push_back("G2    2.500000e-05   3.600000e-05   4.900000e-05");
        lines.push_back("G3    6.000000e-06  -4.200000e-06   8.400000e-06");
    }
    return lines;
}

} // namespace

std::filesystem::path writeGridProject2D(const std::filesystem::path& folder, int points,
                                         bool givenStart, Sideshots sideshots) {
    const std::vector<GridPosition> truth = gridTruth2D(points);
    std::vector<std::string> records = {"6SE X:! Y:! Z:!"};
    const std::array<int, 4> fixed = corners(points);
    for (const int c : fixed)
        records.push_back(platform::formatC("6C %s %.3f %.3f 50.000", nameOf(c).c_str(),
                                            truth[c].northing, truth[c].easting));
    if (givenStart) {
        records.push_back("6SE X:# Y:#");
        for (int i = 0; i < points; ++i)
            if (std::find(fixed.begin(), fixed.end(), i) == fixed.end())
                records.push_back(platform::formatC("6C %s %.3f %.3f", nameOf(i).c_str(),
                                                    truth[i].northing, truth[i].easting));
    }
    const auto sightAlong = [](double dn, double de) {
        const double flat = std::hypot(dn, de);
        const double rise = targetHeight_m - instrumentHeight_m;
        return Sight{circle(std::atan2(de, dn) * degreesPerRadian),
                     std::round(std::hypot(flat, rise) * 1000.0) / 1000.0,
                     std::atan2(flat, rise) * degreesPerRadian};
    };
    const double orientation = appendSetups(records, points, [&](int from, int to) {
        return sightAlong(truth[to].northing - truth[from].northing,
                          truth[to].easting - truth[from].easting);
    });
    const std::vector<std::array<double, 2>> offsets = sideshotOffsets(sideshots.count);
    appendSideshots(records, orientation, sideshots.count,
                    [&](int k) { return sightAlong(offsets[k][0], offsets[k][1]); });
    writeLines(folder / "network.vkr", vkrHeader(records.size()), records);
    globalVars s = planeSettings();
    s.includeSS = sideshots.adjusted ? 1 : 0;
    const std::filesystem::path project = folder / "network.prj";
    writeProject(project, s);
    return project;
}

std::vector<GridPosition> gridTruth2D(int points) {
    return perturbedGrid(points);
}

std::vector<GridPosition> angleGridTruth(int points) {
    return perturbedGrid(points, angleGridJitter_m);
}

std::filesystem::path writeAngleGridProject2D(const std::filesystem::path& folder, int points,
                                              bool noisy) {
    const std::vector<GridPosition> truth = angleGridTruth(points);
    std::vector<std::string> records = {"6SE X:! Y:! Z:!"};
    for (const int c : corners(points))
        records.push_back(platform::formatC("6C %s %.4f %.4f 50.000", nameOf(c).c_str(),
                                            truth[c].northing, truth[c].easting));
    records.push_back(platform::formatC(
        "6SE PE:%.1f RE:%.1f D:%.3f PPM:%.0f TE:0 IE:0", angleError_sec / std::sqrt(2.0),
        angleError_sec / std::sqrt(2.0), distanceError_m, distanceError_ppm));
    appendAngleSetups(records, truth, noisy);
    writeLines(folder / "network.vkr", vkrHeader(records.size()), records);
    const std::filesystem::path project = folder / "network.prj";
    writeProject(project, planeSettings());
    return project;
}

std::filesystem::path writeNetworkProject3D(const std::filesystem::path& folder, int stations,
                                            Sideshots sideshots) {
    const std::vector<Station> truth = stationsOnTheEllipsoid(stations);
    std::vector<std::string> records = {"6SE X:! Y:! Z:!"};
    for (const int c : corners(stations))
        records.push_back(gridControlLine(truth[c], nameOf(c)));
    const double orientation = appendSetups(
        records, stations, [&](int from, int to) { return localSight(truth[from], truth[to]); });
    const Station& last = truth.back();
    const std::vector<std::array<double, 2>> offsets = sideshotOffsets(sideshots.count);
    appendSideshots(records, orientation, sideshots.count, [&](int k) {
        Station target = last;
        target.lat_rad += offsets[k][0] / metresPerRadian;
        target.lon_rad += offsets[k][1] / (metresPerRadian * std::cos(last.lat_rad));
        return localSight(last, target);
    });
    writeLines(folder / "network.vkr", vkrHeader(records.size()), records);
    writeLines(folder / "network.gps", "", gpsVectors(truth));

    globalVars s = commonSettings();
    s.geodeticModel = 1;
    s.gridSystem = gridUtm;
    s.gridZone = utmZone;
    s.ellipsoid = grsEllipsoid;
    s.geoidModel = 0;
    s.geoidHt = 0.0;
    s.includeGPSVectors = 1;
    s.pGPSFileName = "network.gps";
    s.gpsFileFmtType = 0;
    s.GPSUnits = 0;
    s.includeSS = sideshots.adjusted ? 1 : 0;
    const std::filesystem::path project = folder / "network.prj";
    writeProject(project, s);
    return project;
}

} // namespace rawnetworks
