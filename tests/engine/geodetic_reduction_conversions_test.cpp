// Grid, geodetic and earth-centred conversions of the project's coordinate
// system, in every system and unit, against PROJ and GeographicLib
// (tests/fixtures/engine/reductions, made by make_fixtures.sh there with the
// commands written above each block).

#include "engine/earth_centred_frames.hpp"
#include "engine/geodetic_reductions.hpp"
#include "model/project_ellipsoid.hpp"
#include "model/project_geodesy.hpp"
#include "model/run_stops.hpp"
#include "platform/length_units.hpp"
#include "support/project_vars_guard.hpp"

#include "geodetic/fixture_table.hpp"
#include "geodetic/state_plane_27.hpp"
#include "geodetic/state_plane_83.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <map>

using namespace geodetic_test;

namespace {

constexpr double footTolerance_ft = gridTolerance_m / 0.3048; // 0.1 mm in feet

std::vector<FixtureRow> reductionTable(const std::string& name) {
    return readFixtureTable("../engine/reductions/" + name);
}

double radians(double degrees) {
    return degrees * degree;
}

// One coordinate-system case of projected_points.txt: the project settings
// that stand for the PROJ string of its block.
struct SystemCase {
    int gridSystem;
    int zone;
    int horizUnits;
    int ellipsoidCode;
    std::function<void(udpRec&)> projection; // user-defined systems
    bool westInverse;                        // projGridToGeod gives west-positive longitudes
    bool westForward;                        // projGeodToGrid takes west-positive longitudes
    double grid;                             // tolerance in the project's unit
    double angle_deg;                        // tolerance of latitude and longitude
    double scale;                            // tolerance of the point scale factor
};

void udpEllipsoid(udpRec& udp, double a, double inverseFlattening) {
    udp.EllipsInt = userDefinedEllipsoid;
    udp.EllipseA = a;
    udp.EllipseF = 1.0 / inverseFlattening;
}

// The 1927 State Plane grids come from the tabular formulas of the geodetic
// library, which hold within 0.06 ft of the rigorous projections PROJ
// computes near the zones' centres (geodetic/state_plane_27.hpp); 0.1 ft
// and its angle (0.1 ft / 364,000 ft per degree) are allowed for them. The
// stereographic scale is the sphere's (4e-7, double_stereographic.hpp); the
// transverse Mercator forward scale series stops at L^4 (2e-9 three degrees
// from the central meridian, fixture_table.hpp).
const std::map<int, SystemCase>& systemCases() {
    static const std::map<int, SystemCase> cases = [] {
        const double grid_ft = footTolerance_ft;
        std::map<int, SystemCase> c;
        c[1] = {gridStatePlane83, 406, 0, 0, {}, true, true, gridTolerance_m, 1e-9, 1e-9};
        c[2] = {gridStatePlane83, 406, 1, 0, {}, true, true, grid_ft, 1e-9, 1e-9};
        c[3] = {gridStatePlane83, 101, 2, 0, {}, true, true, grid_ft, 1e-9, 1e-9};
        c[4] = {gridStatePlane27, 406, 1, 0, {}, true, true, 0.1, 3e-7, 1e-7};
        c[5] = {gridStatePlane27, 101, 2, 0, {}, true, true, 0.1, 3e-7, 1e-7};
        c[6] = {
            gridNewBrunswickStereographic, 0, 0, 0, {}, false, false, gridTolerance_m, 1e-9, 4e-7};
        c[7] = {gridUtm, 33, 0, 12, {}, false, false, gridTolerance_m, 1e-9, 2e-9};
        c[8] = {gridUtm, 76, 1, 3, {}, false, false, grid_ft, 1e-9, 2e-9};
        c[9] = {gridUtm, 96, 0, 5, {}, false, false, gridTolerance_m, 1e-9, 2e-9};
        c[10] = {gridUtm, 44, 0, 6, {}, false, false, gridTolerance_m, 1e-9, 2e-9};
        const auto user = [](std::function<void(udpRec&)> set, bool westForward, double scale) {
            return SystemCase{gridUserDefined, 0,    0,    0, set, false, westForward,
                              gridTolerance_m, 1e-9, scale};
        };
        c[11] = user(
            [](udpRec& u) {
                udpEllipsoid(u, 6378137.0, 298.257222101);
                u.ProjInt = udpTransverseMercator;
                u.CentralMeridian = radians(-74.5);
                u.ScaleOrRefLatitude = radians(40.5);
                u.projection_scale = 0.9999;
                u.FalseEastings = 150000.0;
                u.FalseNorthings = 20000.0;
            },
            true, 2e-9);
        c[12] = user(
            [](udpRec& u) {
                udpEllipsoid(u, 6378206.4, 294.9786982);
                u.ProjInt = udpLambertOneParallel;
                u.CentralMeridian = radians(-77.0);
                u.ScaleOrRefLatitude = radians(18.0);
                u.projection_scale = 1.0;
                u.FalseEastings = 250000.0;
                u.FalseNorthings = 150000.0;
            },
            true, 1e-9);
        c[13] = user(
            [](udpRec& u) {
                udpEllipsoid(u, 6377397.155, 299.1528128);
                u.ProjInt = udpLambertTwoParallels;
                u.CentralOrNorthLatitude = radians(45.0);
                u.SkewOrSouthLatitude = radians(33.0);
                u.ScaleOrRefLatitude = radians(23.0);
                u.CentralMeridian = radians(-96.0);
                u.FalseEastings = 100000.0;
                u.FalseNorthings = 200000.0;
            },
            true, 1e-9);
        c[14] = user(
            [](udpRec& u) {
                udpEllipsoid(u, 6377397.155, 299.1528128);
                u.ProjInt = udpDoubleStereographic;
                u.CentralMeridian = radians(5.38763888888889);
                u.ScaleOrRefLatitude = radians(52.1561605555556);
                u.projection_scale = 0.9999079;
                u.FalseEastings = 155000.0;
                u.FalseNorthings = 463000.0;
            },
            false, 4e-7);
        c[15] = user(
            [](udpRec& u) {
                udpEllipsoid(u, 6378137.0, 298.257222101);
                u.ProjInt = udpObliqueMercatorAzimuth;
                u.SkewOrSouthLatitude = radians(-36.8698976458);
                u.latOrigin = radians(57.0);
                u.lonOrigin = radians(-133.6666666667);
                u.projection_scale = 0.9999;
                u.FalseEastings = 5000000.0;
                u.FalseNorthings = -5000000.0;
            },
            true, 1e-9);
        c[16] = user(
            [](udpRec& u) {
                udpEllipsoid(u, 6377298.556, 300.8017);
                u.ProjInt = udpObliqueMercatorCentre;
                u.latOrigin = radians(4.0);
                u.lonOrigin = radians(102.25);
                u.SkewOrSouthLatitude = radians(323.0257905);
                u.CentralMeridian = radians(323.1301024);
                u.projection_scale = 0.99984;
                u.FalseEastings = 804671.0;
                u.FalseNorthings = 0.0;
            },
            false, 1e-9);
        return c;
    }();
    return cases;
}

void useCase(const SystemCase& c) {
    projectVars.gridSystem = c.gridSystem;
    projectVars.gridZone = c.zone;
    projectVars.HorizUnits = c.horizUnits;
    projectVars.ellipsoid = c.ellipsoidCode;
    projectVars.udp = udpRec();
    if (c.projection)
        c.projection(projectVars.udp);
}

class ProjectConversions : public ::testing::Test {
protected:
    void SetUp() override {
        init83ZoneConstants();
        init27ZoneConstants();
    }
    testsupport::ProjectVarsGuard guard;
};

} // namespace

TEST_F(ProjectConversions, GridToGeodeticInEverySystemAndUnit) {
    for (const FixtureRow& row : reductionTable("projected_points.txt")) {
        const SystemCase& c = systemCases().at(static_cast<int>(row[0]));
        const ProjectedReference ref = projectedReference(row);
        SCOPED_TRACE(ref.where);
        useCase(c);
        geodCoord g = gridPointOf(ref);
        EXPECT_EQ(projGridToGeod(g), 0);
        const double lonEast = c.westInverse ? -g.lon : g.lon;
        EXPECT_NEAR(g.lat / degree, ref.lat_deg, c.angle_deg);
        EXPECT_NEAR(angleDifference_deg(lonEast / degree, ref.lon_deg), 0.0, c.angle_deg);
        EXPECT_NEAR(g.scale, ref.scale, c.scale);

        coordRec point;
        point.northing = ref.northing;
        point.easting = ref.easting;
        computeGridFactor(point, c.gridSystem, c.zone);
        EXPECT_EQ(point.gridFactor, g.scale) << "the grid factor is the inverse's scale";
    }
}

TEST_F(ProjectConversions, GeodeticToGridInEverySystemAndUnit) {
    for (const FixtureRow& row : reductionTable("projected_points.txt")) {
        const SystemCase& c = systemCases().at(static_cast<int>(row[0]));
        const ProjectedReference ref = projectedReference(row);
        SCOPED_TRACE(ref.where);
        useCase(c);
        geodCoord g = c.westForward ? westPositivePoint(ref) : eastPositivePoint(ref);
        EXPECT_EQ(projGeodToGrid(g), 0);
        EXPECT_NEAR(g.easting, ref.easting, c.grid);
        EXPECT_NEAR(g.northing, ref.northing, c.grid);
        EXPECT_NEAR(g.scale, ref.scale, c.scale);
        EXPECT_NEAR(g.conv / degree, ref.conv_deg, c.gridSystem == gridStatePlane27 ? 5e-6 : 1e-7);
    }
}

// The metre forms skip the unit step, and leave a State Plane 1927 point
// alone (its grid is in US survey feet).
TEST_F(ProjectConversions, MetreFormsSkipTheUnitStep) {
    for (const FixtureRow& row : reductionTable("projected_points.txt")) {
        const SystemCase& c = systemCases().at(static_cast<int>(row[0]));
        const ProjectedReference ref = projectedReference(row);
        SCOPED_TRACE(ref.where);
        useCase(c);
        const double toMetres = units::metresPerUnit(c.horizUnits);
        geodCoord inverse = gridPointOf(ref);
        inverse.northing *= toMetres;
        inverse.easting *= toMetres;
        geodCoord forward = c.westForward ? westPositivePoint(ref) : eastPositivePoint(ref);
        const geodCoord inverseBefore = inverse, forwardBefore = forward;
        EXPECT_EQ(projGridMetersToGeod(inverse), 0);
        EXPECT_EQ(projGeodToGridMeters(forward), 0);
        if (c.gridSystem == gridStatePlane27) {
            EXPECT_EQ(inverse.lat, inverseBefore.lat);
            EXPECT_EQ(forward.easting, forwardBefore.easting);
            continue;
        }
        const double lonEast = c.westInverse ? -inverse.lon : inverse.lon;
        EXPECT_NEAR(inverse.lat / degree, ref.lat_deg, c.angle_deg);
        EXPECT_NEAR(angleDifference_deg(lonEast / degree, ref.lon_deg), 0.0, c.angle_deg);
        EXPECT_NEAR(forward.easting, ref.easting * toMetres, gridTolerance_m);
        EXPECT_NEAR(forward.northing, ref.northing * toMetres, gridTolerance_m);
    }
}

// A State Plane 1927 point in international feet returns to itself (to the
// few micro-feet in which the library's tabular forward and inverse series
// agree), and its scale factor is the one of the same point in US survey
// feet (0.999998 US survey feet to the international foot).
TEST_F(ProjectConversions, StatePlane27InternationalFeetRoundTrip) {
    const SystemCase& c = systemCases().at(5);
    useCase(c);
    const double easting_ift = 610000.25, northing_ift = 850000.75;
    geodCoord g{};
    g.northing = northing_ift;
    g.easting = easting_ift;
    projGridToGeod(g);
    const double scale = g.scale;
    projGeodToGrid(g);
    EXPECT_NEAR(g.easting, easting_ift, 1e-5);
    EXPECT_NEAR(g.northing, northing_ift, 1e-5);

    coordRec international, us;
    international.easting = easting_ift;
    international.northing = northing_ift;
    us.easting = easting_ift * 0.999998;
    us.northing = northing_ift * 0.999998;
    computeGridFactor(international, gridStatePlane27, 101);
    projectVars.HorizUnits = 1;
    computeGridFactor(us, gridStatePlane27, 101);
    EXPECT_EQ(international.gridFactor, scale);
    EXPECT_DOUBLE_EQ(international.gridFactor, us.gridFactor);
}

TEST_F(ProjectConversions, ALocalSystemConvertsNothing) {
    projectVars.gridSystem = gridLocal;
    geodCoord g{};
    g.northing = 1000.0;
    g.easting = 2000.0;
    g.lat = 0.5;
    const geodCoord before = g;
    for (auto convert :
         {projGridToGeod, projGridMetersToGeod, projGeodToGridMeters, projGeodToGrid}) {
        EXPECT_EQ(convert(g), 0);
        EXPECT_EQ(std::memcmp(&g, &before, sizeof g), 0);
    }
    coordRec point;
    point.northing = 1000.0;
    point.easting = 2000.0;
    point.elevation = 100.0;
    EXPECT_EQ(computeGridFactor(point, gridLocal, 0), 0);
    EXPECT_EQ(computeElevFactor(point, gridLocal, 0, 0), elevFactorComputed);
    EXPECT_EQ(point.gridFactor, 1.0);
    EXPECT_EQ(point.elevFactor, 1.0);
}

// A user projection of a type outside 0-5 leaves the point as it was.
TEST_F(ProjectConversions, AnUnknownUserProjectionLeavesThePointAlone) {
    useCase(systemCases().at(11));
    projectVars.udp.ProjInt = 6;
    geodCoord g{0.7, 0.2, 1000.0, 2000.0, 0.0, 1.0, 0.0, 0};
    const geodCoord before = g;
    projGridMetersToGeod(g);
    projGeodToGridMeters(g);
    EXPECT_EQ(std::memcmp(&g, &before, sizeof g), 0);
}

// Zone codes the system does not have stop the run with "Unknown zone %d"
// instead of converting on an empty zone record.
TEST_F(ProjectConversions, AnUnknownZoneStopsTheRun) {
    struct Row {
        int gridSystem;
        int zone;
    };
    for (const Row row : {Row{gridStatePlane83, 999}, Row{gridStatePlane27, 4999}, Row{gridUtm, 0},
                          Row{gridUtm, 121}}) {
        SCOPED_TRACE(row.zone);
        projectVars.gridSystem = row.gridSystem;
        projectVars.gridZone = row.zone;
        geodCoord g{};
        g.northing = 500000.0;
        g.easting = 500000.0;
        try {
            projGridToGeod(g);
            ADD_FAILURE() << "no stop";
        } catch (const UnknownZone& stop) {
            EXPECT_STREQ(stop.what(), platform::formatC("Unknown zone %d", row.zone).c_str());
        }
        coordRec point;
        point.northing = g.northing;
        point.easting = g.easting;
        EXPECT_THROW(computeGridFactor(point, row.gridSystem, row.zone), UnknownZone);
    }
}

// Earth-centred X, Y, Z on the ellipsoid of each system, and back.
TEST_F(ProjectConversions, EarthCentredOnTheSystemsEllipsoid) {
    struct Row {
        int fixtureCase; // 1 GRS 80, 2 Clarke 1866 (1/f 294.9787), 3 Bessel 1841, 4 International
        int gridSystem;
        int ellipsoidCode;
        int udpEllipsoidCode;
    };
    const Row rows[] = {{1, gridStatePlane83, 0, 0},
                        {1, gridNewBrunswickStereographic, 0, 0},
                        {2, gridStatePlane27, 0, 0},
                        {3, gridUtm, 3, 0},
                        {4, gridUserDefined, 9, 12}};
    const std::vector<FixtureRow> table = reductionTable("earth_centred.txt");
    for (const Row& r : rows) {
        projectVars.gridSystem = r.gridSystem;
        projectVars.ellipsoid = r.ellipsoidCode;
        projectVars.udp.EllipsInt = r.udpEllipsoidCode;
        for (const FixtureRow& row : table) {
            if (static_cast<int>(row[0]) != r.fixtureCase)
                continue;
            SCOPED_TRACE(row.where);
            SCOPED_TRACE(r.gridSystem);
            stationRec s;
            s.latitude = radians(row[1]);
            s.longitude = radians(row[2]);
            s.elevation = row[3];
            projGeodToEcef(s);
            EXPECT_NEAR(s.ecefX, row[4], gridTolerance_m);
            EXPECT_NEAR(s.ecefY, row[5], gridTolerance_m);
            EXPECT_NEAR(s.ecefZ, row[6], gridTolerance_m);
            stationRec back;
            back.ecefX = row[4];
            back.ecefY = row[5];
            back.ecefZ = row[6];
            projEcefToGeod(back);
            EXPECT_NEAR(back.latitude / degree, row[1], angleTolerance_deg);
            EXPECT_NEAR(angleDifference_deg(back.longitude / degree, row[2]), 0.0,
                        angleTolerance_deg);
            EXPECT_NEAR(back.elevation, row[3], gridTolerance_m);
            if (r.fixtureCase == 1) {
                stationRec wgs84;
                wgs84.latitude = s.latitude;
                wgs84.longitude = s.longitude;
                wgs84.elevation = s.elevation;
                projectVars.gridSystem = gridUtm; // not consulted
                geodToEcefWgs84(wgs84);
                projectVars.gridSystem = r.gridSystem;
                EXPECT_NEAR(wgs84.ecefX, row[4], gridTolerance_m);
                EXPECT_NEAR(wgs84.ecefZ, row[6], gridTolerance_m);
            }
        }
    }
    projectVars.gridSystem = gridLocal;
    stationRec local;
    local.latitude = 0.5;
    projGeodToEcef(local);
    EXPECT_FALSE(isSet(local.ecefX));
}
