// The ellipsoid table, elevation factors, the edge cases of the passes to
// grid and sea level with their warnings, and the local-to-earth-centred
// rotations.

#include "engine/earth_centred_frames.hpp"
#include "engine/geodetic_reductions.hpp"
#include "model/program_lists.hpp"
#include "model/project_ellipsoid.hpp"
#include "output/report_lines.hpp"
#include "support/project_vars_guard.hpp"
#include "support/temp_folder.hpp"

#include "geodetic/fixture_table.hpp"
#include "geodetic/state_plane_83.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cmath>

using namespace geodetic_test;

namespace {

// Published ellipsoids: NIMA TR8350.2 (3rd ed., 2000) Table A1, the same
// values as the EPSG dataset (codes in brackets) and `proj -le`.
TEST(EllipsoidTable, HoldsThePublishedEllipsoids) {
    struct Row {
        int code;
        double a;
        double invFlattening;
    };
    const Row rows[] = {
        {0, 6377563.396, 299.3249646},  // Airy 1830 (7001)
        {1, 6377340.189, 299.3249646},  // Airy Modified 1849 (7002)
        {2, 6378160.0, 298.25},         // Australian National (7003)
        {3, 6377397.155, 299.1528128},  // Bessel 1841 (7004)
        {4, 6378206.4, 294.9786982},    // Clarke 1866 (7008)
        {5, 6378249.145, 293.465},      // Clarke 1880 (RGS) (7012)
        {6, 6377276.345, 300.8017},     // Everest EA, India 1830 (7015)
        {7, 6377298.556, 300.8017},     // Everest EB, Brunei and E. Malaysia (7016)
        {8, 6377301.243, 300.8017},     // Everest EC, India 1956 (proj evrst56)
        {9, 6378137.0, 298.257222101},  // GRS 1980 (7019)
        {10, 6378200.0, 298.3},         // Helmert 1906 (7020)
        {11, 6378270.0, 297.0},         // Hough 1960 (TR8350.2 HO)
        {12, 6378388.0, 297.0},         // International 1924 (7022)
        {13, 6378160.0, 298.25},        // South American 1969 (TR8350.2 SA)
        {14, 6378135.0, 298.26},        // WGS 72 (7043)
        {15, 6378137.0, 298.257223563}, // WGS 84 (7030)
        {17, 6378137.0, 298.257223563}, // any other code: WGS 84
        {-1, 6378137.0, 298.257223563},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        ellipsoid ell{};
        EXPECT_EQ(initEllipsoidByType(ell, row.code), 0);
        EXPECT_EQ(ell.semiMajor, row.a);
        EXPECT_NEAR(1.0 / ell.flattening, row.invFlattening, 1e-8);
        EXPECT_NEAR(ell.semiMinor, row.a * (1.0 - 1.0 / row.invFlattening), 1e-6);
    }
    ellipsoid callers{};
    callers.semiMajor = 42.0;
    EXPECT_EQ(initEllipsoidByType(callers, userDefinedEllipsoid), 0);
    EXPECT_EQ(callers.semiMajor, 42.0) << "16 is the caller's to fill";
}

TEST(EllipsoidTable, ProjectAndUserProjectionEllipsoids) {
    testsupport::ProjectVarsGuard guard;
    projectVars.ellipsoid = 3;
    double a = 0.0, f = 0.0;
    projectEllipsoidAxes(a, f);
    EXPECT_EQ(a, 6377397.155);
    EXPECT_NEAR(1.0 / f, 299.1528128, 1e-8);
    projectVars.ellipsoid = userDefinedEllipsoid;
    projectVars.udp.EllipseA = 6378000.0;
    projectVars.udp.EllipseF = 1.0 / 300.0;
    projectEllipsoidAxes(a, f);
    EXPECT_EQ(a, 6378000.0);
    EXPECT_EQ(f, 1.0 / 300.0);

    ellipsoid ell{};
    projectVars.gridSystem = gridUserDefined;
    projectVars.udp.EllipsInt = 12;
    ASSERT_EQ(initGridSystemEllipsoid(ell), 0);
    EXPECT_EQ(ell.semiMajor, 6378388.0);
    projectVars.gridSystem = gridStatePlane27;
    ASSERT_EQ(initGridSystemEllipsoid(ell), 0);
    EXPECT_NEAR(1.0 / ell.flattening, 294.9787, 1e-9);
    projectVars.gridSystem = gridLocal;
    EXPECT_EQ(initGridSystemEllipsoid(ell), 1);
}

// h = elevation (or projZ) + N, N held in metres and turned into the
// elevation unit: 500 ft - 35 m x 3.2808333 ft/m = 385.17083 ft; R = 20906000 ft
// for feet, 6372000 m for metres.
TEST(ElevationFactor, GeoidSeparationInMetresIsAddedInTheElevationUnit) {
    testsupport::ProjectVarsGuard guard;
    projectVars.useProjZ = 1;
    struct Row {
        int unit;
        double elevation;
        double expected;
    };
    const Row rows[] = {
        {0, 152.4, 6372000.0 / (6372000.0 + 152.4 - 35.0)},
        {1, 500.0, 20906000.0 / (20906000.0 + 500.0 - 35.0 * 3.2808333333333333)},
        {2, 500.0, 20906000.0 / (20906000.0 + 500.0 - 35.0 * 3.280839895013123)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.unit);
        coordRec p;
        p.elevation = row.elevation;
        p.geoidSep = -35.0;
        EXPECT_EQ(computeElevFactor(p, gridUtm, 11, row.unit), elevFactorComputed);
        EXPECT_DOUBLE_EQ(p.elevFactor, row.expected);
    }
    coordRec noSeparation;
    noSeparation.elevation = 100.0;
    computeElevFactor(noSeparation, gridStatePlane83, 406, 0);
    EXPECT_DOUBLE_EQ(noSeparation.elevFactor, 6372000.0 / 6372100.0);

    coordRec noElevation;
    EXPECT_EQ(computeElevFactor(noElevation, gridStatePlane83, 406, 0), elevFactorNoHeight);
    EXPECT_EQ(noElevation.elevFactor, 1.0);
    projectVars.useProjZ = 0;
    projectVars.projZ = 250.0;
    EXPECT_EQ(computeElevFactor(noElevation, gridStatePlane83, 406, 0), elevFactorComputed);
    EXPECT_DOUBLE_EQ(noElevation.elevFactor, 6372000.0 / 6372250.0);
    projectVars.geodeticModel = 1; // the 3D model always takes the point's own elevation
    EXPECT_EQ(computeElevFactor(noElevation, gridStatePlane83, 406, 0), elevFactorNoHeight);
}

// A project in State Plane 1983 zone 0406 in metres, elevations in metres,
// no geoid separation; its reduction report files capture the warnings.
class ReductionPasses : public ::testing::Test {
protected:
    void SetUp() override {
        init83ZoneConstants();
        resetProgramLists();
        projectVars.gridSystem = gridStatePlane83;
        projectVars.gridZone = 406;
        projectVars.useProjZ = 1;
        projectVars.geoidHt = 0.0;
        rptFile = ::open((folder / "r.RPT").c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
        errFile = ::open((folder / "r.ERR").c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    }
    void TearDown() override {
        for (int* handle : {&rptFile, &errFile}) {
            if (*handle > 0)
                ::close(*handle);
            *handle = 0;
        }
        resetProgramLists();
    }

    // A point near 32.75 N 117.15 W, `dn` and `de` metres away.
    static coordRec point(const char* name, double dn, double de, double elevation) {
        coordRec p;
        initCoordRec(p);
        setPointName(p.name, name);
        p.northing = 565057.4951805 + dn;
        p.easting = 1915656.2728879 + de;
        p.elevation = elevation;
        return p;
    }
    static void distance(const char* from, const char* to, double length,
                         double vertDiff = notComputed) {
        distanceObs2D d;
        setPointName(d.from, from);
        setPointName(d.to, to);
        d.distance = length;
        d.vertDiff = vertDiff;
        distanceList2D.append(d);
    }
    static distanceObs2D line(int index) {
        distanceObs2D d;
        EXPECT_EQ(distanceList2D.getAt(index, d), 0);
        return d;
    }
    std::string errorReport() {
        const std::string err = testsupport::readBytes(folder / "r.ERR");
        EXPECT_EQ(testsupport::readBytes(folder / "r.RPT"), err);
        return err;
    }
    static double factor(double h) { return 6372000.0 / (6372000.0 + h); }

    testsupport::ProjectVarsGuard guard;
    testsupport::TempFolder folder{"reductions"};
};

// An end without an elevation takes the other end's plus the height
// difference; without a difference it borrows the other end's elevation and
// says so in both report files.
TEST_F(ReductionPasses, MissingElevationsComeFromTheOtherEnd) {
    pointList2D.append(point("A", 0, 0, 100.0));
    pointList2D.append(point("E", 800, 600, notComputed));
    distance("A", "E", 1000.0, 12.5);
    distance("E", "A", 1000.0, -12.5);
    distance("A", "E", 1000.0);
    distance("E", "A", 1000.0);
    ASSERT_EQ(reduceDistancesToSeaLevel(), 0);
    EXPECT_DOUBLE_EQ(line(0).elevFactor, (factor(100.0) + factor(112.5)) / 2.0);
    EXPECT_DOUBLE_EQ(line(1).elevFactor, (factor(112.5) + factor(100.0)) / 2.0);
    EXPECT_DOUBLE_EQ(line(2).elevFactor, factor(100.0));
    EXPECT_DOUBLE_EQ(line(2).distance, 1000.0 * factor(100.0));
    EXPECT_DOUBLE_EQ(line(3).elevFactor, factor(100.0));
    const std::string warning = "Warning: Insufficient data fo compute elevation factor for "
                                "point: E\r\n"
                                "  Elevation of A used to compute elevation factor of line A -> "
                                "E\r\n"
                                "\r\n";
    EXPECT_EQ(errorReport(), warning + warning);
}

// From the project elevation every line is reduced, points with or without
// elevations alike, and nothing is said.
TEST_F(ReductionPasses, ProjectElevationReducesEveryLineSilently) {
    projectVars.useProjZ = 0;
    projectVars.projZ = 300.0;
    projectVars.geoidHt = -30.0;
    pointList2D.append(point("A", 0, 0, 100.0));
    pointList2D.append(point("E", 800, 600, notComputed));
    pointList2D.append(point("F", -800, 600, notComputed));
    distance("A", "E", 1000.0);
    distance("E", "F", 1600.0);
    ASSERT_EQ(reduceDistancesToSeaLevel(), 0);
    EXPECT_DOUBLE_EQ(line(0).elevFactor, factor(270.0));
    EXPECT_DOUBLE_EQ(line(1).distance, 1600.0 * factor(270.0));
    EXPECT_EQ(errorReport(), "");
}

// Lines that cannot be reduced keep their values: both ends without an
// elevation (after the warning), an end in neither point list, and, in both
// passes, a record that carries only a levelled height difference.
TEST_F(ReductionPasses, LinesThatCannotBeReducedStayAsTheyWere) {
    pointList2D.append(point("A", 0, 0, 100.0));
    pointList2D.append(point("E", 800, 600, notComputed));
    pointList2D.append(point("F", -800, 600, notComputed));
    distance("E", "F", 1600.0);
    distance("A", "X", 1000.0);
    distance("A", "E", notComputed, 2.5);
    ASSERT_EQ(reduceObsToGrid(), 0);
    ASSERT_EQ(reduceDistancesToSeaLevel(), 0);
    EXPECT_NE(line(0).gridFactor, 1.0);
    EXPECT_DOUBLE_EQ(line(0).distance, 1600.0 * line(0).gridFactor);
    EXPECT_EQ(line(0).elevFactor, 1.0);
    EXPECT_EQ(line(1).distance, 1000.0);
    EXPECT_EQ(line(1).gridFactor, 1.0);
    EXPECT_EQ(line(1).elevFactor, 1.0);
    // The zone's scale is below 1 here: an unset distance times the factors
    // would pass for a set one.
    EXPECT_LT(line(2).gridFactor * line(2).elevFactor, 1.0);
    EXPECT_EQ(line(2).distance, notComputed);
    EXPECT_EQ(errorReport(), "Warning: Insufficient data fo compute elevation factor for point: "
                             "F\r\n"
                             "  Elevation of E used to compute elevation factor of line E -> F\r\n"
                             "\r\n");
}

// Control points come first; a control record without the value a pass
// needs gives way to the point list's record of that name.
TEST_F(ReductionPasses, ControlPointsComeFirst) {
    controlPointList2D.append(point("A", 0, 0, 50.0));
    pointList2D.append(point("A", 0, 0, 900.0));
    controlPointList2D.append(point("E", 800, 600, notComputed));
    pointList2D.append(point("E", 800, 600, 70.0));
    distance("A", "E", 1000.0);
    ASSERT_EQ(reduceDistancesToSeaLevel(), 0);
    EXPECT_DOUBLE_EQ(line(0).elevFactor, (factor(50.0) + factor(70.0)) / 2.0);
}

// In the 3D model an elevation factor needs the point's own elevation; the
// pass stops at the first line whose ends have none and keeps what it
// reduced.
TEST_F(ReductionPasses, AFactorThatCannotBeComputedEndsThePass) {
    projectVars.useProjZ = 0;
    projectVars.geodeticModel = 1;
    pointList2D.append(point("A", 0, 0, 100.0));
    pointList2D.append(point("B", 0, 900, 100.0));
    pointList2D.append(point("E", 800, 600, notComputed));
    pointList2D.append(point("F", -800, 600, notComputed));
    distance("A", "B", 900.0);
    distance("E", "F", 1000.0);
    distance("B", "A", 900.0);
    EXPECT_EQ(reduceDistancesToSeaLevel(), elevFactorNoHeight);
    EXPECT_DOUBLE_EQ(line(0).distance, 900.0 * factor(100.0));
    EXPECT_EQ(line(1).distance, 1000.0);
    EXPECT_EQ(line(2).distance, 900.0);
}

// Only State Plane 1983 corrects angles; an angle with a point that has no
// northing keeps its value, and a local system reduces nothing.
TEST_F(ReductionPasses, AnglesChangeOnlyWhereTheCorrectionApplies) {
    pointList2D.append(point("A", 0, 0, 100.0));
    pointList2D.append(point("B", 0, 9000, 100.0));
    pointList2D.append(point("C", 9000, 4000, 100.0));
    pointList2D.append(point("N", notComputed - 565057.4951805, 0, 100.0));
    const auto angle = [](const char* bs, const char* at, const char* fs) {
        angleObs2D a;
        setPointName(a.backsight, bs);
        setPointName(a.instrument, at);
        setPointName(a.foresight, fs);
        a.angle = 1.0;
        angleList2D.append(a);
    };
    angle("B", "A", "C");
    angle("B", "A", "N");
    distance("A", "B", 9000.0);
    struct Row {
        int gridSystem;
        bool corrected;
    };
    for (const Row row :
         {Row{gridStatePlane83, true}, Row{gridUtm, false}, Row{gridLocal, false}}) {
        SCOPED_TRACE(row.gridSystem);
        projectVars.gridSystem = row.gridSystem;
        projectVars.gridZone = row.gridSystem == gridUtm ? 11 : 406;
        for (int i = 0; i < 2; ++i) {
            angleObs2D a;
            angleList2D.getAt(i, a);
            a.angle = 1.0;
            a.arcToChord = 0.0;
            angleList2D.replace(a);
        }
        distanceObs2D d = line(0);
        d.distance = 9000.0;
        d.gridFactor = 1.0;
        distanceList2D.replace(d);
        ASSERT_EQ(reduceObsToGrid(), 0);
        angleObs2D a;
        angleList2D.getAt(0, a);
        EXPECT_EQ(a.angle != 1.0, row.corrected);
        EXPECT_EQ(a.angle, 1.0 + a.arcToChord);
        angleList2D.getAt(1, a);
        EXPECT_EQ(a.angle, 1.0);
        EXPECT_EQ(a.arcToChord, 0.0);
        EXPECT_EQ(line(0).distance != 9000.0, row.gridSystem != gridLocal);
    }
}

// The rotation to local east, north, up is PROJ's topocentric frame
// (tests/fixtures/geodetic/local_frame.txt); going back must give the
// earth-centred vector, and the covariance v v^T + s^2 I of a local vector v
// must become w w^T + s^2 I of its earth-centred w.
TEST(LocalToEarthCentred, VectorsAndCovariancesTurnBack) {
    for (const FixtureRow& row : readFixtureTable("local_frame.txt")) {
        SCOPED_TRACE(row.where);
        const double lat = row[0] * degree, lon = row[1] * degree;
        const double e = row[5], n = row[6], u = row[7];
        double dX = 0, dY = 0, dZ = 0;
        EXPECT_EQ(localToEcefVector(lat, lon, n, e, u, dX, dY, dZ), 0);
        EXPECT_NEAR(dX, row[2], 1e-6);
        EXPECT_NEAR(dY, row[3], 1e-6);
        EXPECT_NEAR(dZ, row[4], 1e-6);

        const double s2 = 0.25;
        const std::array<double, 6> ecef = localToEcefCovariance(
            lat, lon, {e * e + s2, n * n + s2, u * u + s2, e * n, e * u, n * u});
        const double x = row[2], y = row[3], z = row[4];
        const std::array<double, 6> expected = {x * x + s2, y * y + s2, z * z + s2,
                                                x * y,      x * z,      y * z};
        for (std::size_t i = 0; i < 6; ++i)
            EXPECT_NEAR(ecef[i], expected[i], 1e-6 * (1.0 + std::fabs(expected[i])));
    }
}

} // namespace
