// A State Plane 1983 project (zone 0406, California VI, Lambert; US survey
// feet) reduced to the grid and to sea level, against an independent
// computation written here from published formulas on PROJ and GeographicLib
// values (tests/fixtures/engine/reductions/state_plane_network.txt):
//   - point scale factors k from PROJ's proj_factors at the points and at the
//     grid mid-points of the lines (inverted by cs2cs);
//   - line grid factor (k1 + 4 km + k2) / 6 (NOAA Manual NOS NGS 5, Stem
//     1989, eq. 3-19, Simpson's rule);
//   - elevation factor R / (R + H + N), R = 20,906,000 ft, N the geoid
//     separation turned from metres into US survey feet;
//   - arc-to-chord correction of the Lambert projection, (t - T)12 =
//     (lambda1 - lambda2)(sin((2 phi1 + phi2) / 3) - sin phi0) / 2 with
//     west-positive longitudes and sin phi0 the cone constant n (NGS 5,
//     eq. 2-30; n by Snyder, USGS PP 1395, eqs. 15-8, 15-9, 14-15);
//   - observed angles as the geodesic angles between GeographicLib's
//     azimuths (GeodSolve), whose chord angles on the grid are the truth the
//     correction must reach.

#include "engine/geodetic_reductions.hpp"
#include "model/program_lists.hpp"
#include "support/project_vars_guard.hpp"

#include "geodetic/fixture_table.hpp"
#include "geodetic/state_plane_83.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <utility>

using namespace geodetic_test;

namespace {

constexpr double relativeTolerance = 1e-9;
constexpr double arcSecond = std::numbers::pi / 648000.0;
constexpr double usFeetPerMetre = 3.2808333333333333;

// GRS 80 and the zone's standard parallels (EPSG:26946).
constexpr double flattening = 1.0 / 298.257222101;
constexpr double northParallel_deg = 33.8833333333333;
constexpr double southParallel_deg = 32.7833333333333;

// The project: elevations in US survey feet, one geoid separation of -35 m.
constexpr double geoidSeparation_m = -35.0;
constexpr double earthRadius_ft = 20906000.0;
const std::array<const char*, 4> names = {"A", "B", "C", "D"};
const std::array<double, 4> elevations_ft = {400.0, 650.0, 1200.0, 300.0};

struct NetworkPoint {
    double lat, lon; // radians, east-positive
    double easting, northing, k;
};

struct Network {
    std::array<NetworkPoint, 4> points{};
    std::map<std::pair<int, int>, double> midScale; // by (from, to)
    std::map<std::pair<int, int>, double> azimuth;  // geodesic, radians
};

Network readNetwork() {
    Network n;
    for (const FixtureRow& row : readFixtureTable("../engine/reductions/state_plane_network.txt")) {
        const int kind = static_cast<int>(row[0]);
        const int i = static_cast<int>(row[1]);
        if (kind == 1)
            n.points.at(static_cast<std::size_t>(i)) = {row[2] * degree, row[3] * degree, row[4],
                                                        row[5], row[6]};
        else if (kind == 2)
            n.midScale[{i, static_cast<int>(row[2])}] = row[7];
        else
            n.azimuth[{i, static_cast<int>(row[2])}] = row[3] * degree;
    }
    return n;
}

// Snyder eq. 14-15 and 15-9 for t, 14-15 for m; n = (ln m1 - ln m2) / (ln t1 - ln t2).
double coneConstant() {
    const double e = std::sqrt(flattening * (2.0 - flattening));
    const auto m = [e](double phi) {
        return std::cos(phi) / std::sqrt(1.0 - e * e * std::sin(phi) * std::sin(phi));
    };
    const auto t = [e](double phi) {
        const double es = e * std::sin(phi);
        return std::tan(std::numbers::pi / 4.0 - phi / 2.0) /
               std::pow((1.0 - es) / (1.0 + es), e / 2.0);
    };
    const double phi1 = northParallel_deg * degree, phi2 = southParallel_deg * degree;
    return (std::log(m(phi1)) - std::log(m(phi2))) / (std::log(t(phi1)) - std::log(t(phi2)));
}

double tMinusT(const NetworkPoint& p1, const NetworkPoint& p2) {
    const double westLon1 = -p1.lon, westLon2 = -p2.lon;
    return (westLon1 - westLon2) * (std::sin((2.0 * p1.lat + p2.lat) / 3.0) - coneConstant()) / 2.0;
}

double normalized(double angle) {
    angle = std::fmod(angle, 2.0 * std::numbers::pi);
    return angle < 0 ? angle + 2.0 * std::numbers::pi : angle;
}

double elevationFactor(int point) {
    const double h =
        elevations_ft[static_cast<std::size_t>(point)] + geoidSeparation_m * usFeetPerMetre;
    return earthRadius_ft / (earthRadius_ft + h);
}

class StatePlaneNetwork : public ::testing::Test {
protected:
    void SetUp() override {
        init83ZoneConstants();
        resetProgramLists();
        projectVars.gridSystem = gridStatePlane83;
        projectVars.gridZone = 406;
        projectVars.HorizUnits = 1;
        projectVars.ZUnits = 1;
        projectVars.useProjZ = 1;
        projectVars.geodeticModel = 0;
        projectVars.geoidModel = 0;
        projectVars.geoidHt = geoidSeparation_m;
        for (std::size_t i = 0; i < names.size(); ++i) {
            coordRec p;
            initCoordRec(p);
            setPointName(p.name, names[i]);
            p.easting = network.points[i].easting;
            p.northing = network.points[i].northing;
            p.elevation = elevations_ft[i];
            // Control in the control list, the others among the points.
            (i < 2 ? controlPointList2D : pointList2D).append(p);
        }
    }
    void TearDown() override { resetProgramLists(); }

    // A measured horizontal distance: the grid chord a little longer.
    double measured(int from, int to) const {
        const NetworkPoint &a = network.points.at(static_cast<std::size_t>(from)),
                           &b = network.points.at(static_cast<std::size_t>(to));
        return std::hypot(b.easting - a.easting, b.northing - a.northing) * 1.00003;
    }

    // The geodesic angle at `at` from `bs` to `fs`.
    double observed(int bs, int at, int fs) const {
        return normalized(network.azimuth.at({at, fs}) - network.azimuth.at({at, bs}));
    }

    testsupport::ProjectVarsGuard guard;
    Network network = readNetwork();
};

const std::array<std::pair<int, int>, 5> lines = {{{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 2}}};
const std::array<std::array<int, 3>, 5> angles = {
    {{3, 0, 1}, {0, 1, 2}, {1, 2, 3}, {2, 3, 0}, {1, 0, 2}}};

void addDistance(int from, int to, double distance) {
    distanceObs2D d;
    setPointName(d.from, names[static_cast<std::size_t>(from)]);
    setPointName(d.to, names[static_cast<std::size_t>(to)]);
    d.distance = distance;
    distanceList2D.append(d);
}

void addAngle(const std::array<int, 3>& a, double angle) {
    angleObs2D r;
    setPointName(r.backsight, names[static_cast<std::size_t>(a[0])]);
    setPointName(r.instrument, names[static_cast<std::size_t>(a[1])]);
    setPointName(r.foresight, names[static_cast<std::size_t>(a[2])]);
    r.angle = angle;
    angleList2D.append(r);
}

} // namespace

TEST_F(StatePlaneNetwork, DistancesReduceToGridAndSeaLevel) {
    for (const auto& [from, to] : lines)
        addDistance(from, to, measured(from, to));
    ASSERT_EQ(reduceObsToGrid(), 0);
    std::vector<double> gridDistances;
    distanceObs2D d;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto [from, to] = lines[i];
        SCOPED_TRACE(std::string(names[static_cast<std::size_t>(from)]) + "-" +
                     names[static_cast<std::size_t>(to)]);
        ASSERT_EQ(distanceList2D.getAt(static_cast<int>(i), d), 0);
        const double k1 = network.points[static_cast<std::size_t>(from)].k;
        const double k2 = network.points[static_cast<std::size_t>(to)].k;
        const double gridFactor = (k1 + 4.0 * network.midScale.at({from, to}) + k2) / 6.0;
        EXPECT_NEAR(d.gridFactor / gridFactor - 1.0, 0.0, relativeTolerance);
        const double expected = measured(from, to) * gridFactor;
        EXPECT_NEAR(d.distance / expected - 1.0, 0.0, relativeTolerance);
        EXPECT_EQ(d.elevFactor, 1.0);
        gridDistances.push_back(d.distance);
    }

    ASSERT_EQ(reduceDistancesToSeaLevel(), 0);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto [from, to] = lines[i];
        SCOPED_TRACE(i);
        ASSERT_EQ(distanceList2D.getAt(static_cast<int>(i), d), 0);
        const double elevFactor = (elevationFactor(from) + elevationFactor(to)) / 2.0;
        EXPECT_NEAR(d.elevFactor / elevFactor - 1.0, 0.0, relativeTolerance);
        EXPECT_NEAR(d.distance / (gridDistances[i] * elevFactor) - 1.0, 0.0, relativeTolerance);
    }
}

// The grid angle between two chords is the geodesic angle plus (t - T) to
// the foresight minus (t - T) to the backsight; it agrees with the angle of
// the chords between the PROJ grid positions to the 0.01" of the Lambert
// formula, which the opposite sign would miss by twice the correction.
TEST_F(StatePlaneNetwork, AnglesTakeTheArcToChordCorrection) {
    for (const auto& a : angles)
        addAngle(a, observed(a[0], a[1], a[2]));
    ASSERT_EQ(reduceObsToGrid(), 0);
    double largest = 0.0;
    angleObs2D r;
    for (std::size_t i = 0; i < angles.size(); ++i) {
        const auto [bs, at, fs] = angles[i];
        SCOPED_TRACE(i);
        ASSERT_EQ(angleList2D.getAt(static_cast<int>(i), r), 0);
        const NetworkPoint &b = network.points[static_cast<std::size_t>(bs)],
                           &p = network.points[static_cast<std::size_t>(at)],
                           &f = network.points[static_cast<std::size_t>(fs)];
        const double correction = tMinusT(p, f) - tMinusT(p, b);
        const double expected = observed(bs, at, fs) + correction;
        EXPECT_NEAR(r.angle / expected - 1.0, 0.0, relativeTolerance);
        EXPECT_NEAR(r.arcToChord, correction, relativeTolerance * expected);

        const double chordAngle =
            normalized(std::atan2(f.easting - p.easting, f.northing - p.northing) -
                       std::atan2(b.easting - p.easting, b.northing - p.northing));
        EXPECT_NEAR(r.angle, chordAngle, 0.01 * arcSecond);
        largest = std::max(largest, std::fabs(correction));
    }
    EXPECT_GT(largest, 0.1 * arcSecond) << "corrections large enough to show their sign";
}
