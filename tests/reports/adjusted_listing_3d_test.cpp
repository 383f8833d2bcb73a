// The report sections of the 3D adjustment: golden lines composed by hand from
// the section formats, with the geocentric standard deviations and the GPS
// residuals turned into the earth-centred frame by a rotation written here.

#include "engine/adjustment_results.hpp"
#include "engine/cofactors.hpp"
#include "model/program_lists.hpp"
#include "reports/adjusted_listing_3d.hpp"
#include "run_files_fixture.hpp"
#include "support/angles.hpp"
#include "support/hand_made_cofactors.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace {

using testsupport::radiansOf;

constexpr double usFeet = 3.2808333333333333;

std::string sp(int n) {
    return std::string(static_cast<std::size_t>(n), ' ');
}

std::string fmt(const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

stationRec station(const char* name, int type, double n, double e, double h) {
    stationRec s;
    setPointName(s.name, name);
    s.pointType = type;
    s.northing = n;
    s.easting = e;
    s.elevation = h;
    return s;
}

// Rows north, east, up of the local frame at (lat, lon), in earth-centred
// components.
std::array<std::array<double, 3>, 3> localAxes(double lat, double lon) {
    const double sf = std::sin(lat), cf = std::cos(lat), sl = std::sin(lon), cl = std::cos(lon);
    return {{{-sf * cl, -sf * sl, cf}, {-sl, cl, 0.0}, {cf * cl, cf * sl, sf}}};
}

// The inverse of a symmetric 3 x 3 matrix by its adjugate.
std::array<std::array<double, 3>, 3> inverse3(const std::array<std::array<double, 3>, 3>& m) {
    std::array<std::array<double, 3>, 3> adj{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const int r1 = (j + 1) % 3, r2 = (j + 2) % 3, c1 = (i + 1) % 3, c2 = (i + 2) % 3;
            adj[i][j] = m[r1][c1] * m[r2][c2] - m[r1][c2] * m[r2][c1];
        }
    const double det = m[0][0] * adj[0][0] + m[0][1] * adj[1][0] + m[0][2] * adj[2][0];
    for (auto& row : adj)
        for (double& x : row)
            x /= det;
    return adj;
}

class Listing3D : public RunFiles {
protected:
    void SetUp() override {
        RunFiles::SetUp();
        projectVars.geodeticModel = 1;
        projectVars.coordPrec = 3;
        projectVars.distPrec = 3;
        projectVars.elevDispPrec = 3;
        projectVars.directionPrec = 1;
        projectVars.angleType = 0;
        projectVars.directionType = 1;
        projectVars.NEDisplayType = 0;
        projectVars.HorizUnits = 0;
        projectVars.gridSystem = gridUtm;
        projectVars.gridZone = 17;  // central meridian 81 W
        projectVars.ellipsoid = 15; // WGS 1984
    }

    std::vector<std::string> reportLines() { return crlfLines(report()); }
};

// P on the central meridian of UTM zone 17 (easting 500000), at 40 N, 81 W:
// scale factor k0 = 0.9996 and convergence 0 there exactly; h = 100 m gives
// the elevation factor 6372000 / 6372100.
class Geographic3D : public Listing3D {
protected:
    void SetUp() override {
        Listing3D::SetUp();
        stationRec p = station("P", ptUnknown, 4428236.0, 500000.0, 100.0);
        p.latitude = radiansOf(40);
        p.longitude = -radiansOf(81);
        stationList.append(p);
        stationList.append(station("S", ptSideshot, 4428000.0, 500100.0, 90.0));
    }
};

TEST_F(Geographic3D, ListsPositionHeightAndFactorsOfTheAdjustedStations) {
    projectVars.HorizUnits = 1;
    ASSERT_EQ(writeRptGeographicCoords3D(rptFile), 0);
    const double elevFactor = 6372000.0 / 6372100.0;
    const std::vector<std::string> want = {
        "",
        "",
        "Adjusted Geographic Coordinates",
        " Sta.         Latitude          Longitude          Z (Ellip.)   Conv. Ang.     Grid "
        "Factor   Z Factor   Combined Factor",
        // " %-10.10s %s  %s  %s  %s  %s   %s   %s"; the height 100 m in US
        // feet "%12.3f", the convergence padded to 14.
        " P" + sp(10) + "40-00'00.00000\"N  81-00'00.00000\"W  " + fmt("%12.3f", 100.0 * usFeet) +
            "   000-00'00.0\"   0.99960000   " + fmt("%.8f", elevFactor) + "   " +
            fmt("%.8f", 0.9996 * elevFactor),
    };
    EXPECT_EQ(reportLines(), want);
}

class GridAndGeocentric : public Listing3D {
protected:
    void SetUp() override {
        Listing3D::SetUp();
        stationRec p = station("P", ptUnknown, 1000.0, 2000.0, 110.0);
        p.geoidSep = -30.0;
        p.latitude = radiansOf(40);
        p.longitude = -radiansOf(81);
        p.ecefX = 738575.6531;
        p.ecefY = -4663211.8769;
        p.ecefZ = 4077985.5722;
        stationList.append(p);
        stationList.append(station("S", ptSideshot, 1500.0, 2500.0, 90.0));
        stationRec w = station("W", ptWeightedControl, 1200.5, 2300.25, 95.0);
        w.latitude = radiansOf(-33, 30);
        w.longitude = radiansOf(151, 10);
        w.ecefX = -4646000.125;
        w.ecefY = 2557000.5;
        w.ecefZ = -3502000.75;
        stationList.append(w);
    }
};

TEST_F(GridAndGeocentric, GridListingShowsFeetAndStoresTheSigmasInMetres) {
    projectVars.HorizUnits = 1;
    const std::vector<double> sigmas = {0.003, 0.004, 0.012, 0.006, 0.005, 0.020};
    ASSERT_EQ(writeRptAdjustedCoords3D(rptFile, sigmas), 0);
    // " %-10.10s  %s  %s    %s %s    %s  %s": N, E "%12.3f", Z above the
    // geoid (110 - (-30) = 140 m; W has no separation), sN, sE, sZ "%7.3f",
    // all in US feet.
    auto row = [](const char* name, double n, double e, double z, double sn, double se, double sz) {
        return fmt(" %-10.10s  %12.3f  %12.3f    %12.3f %7.3f    %7.3f  %7.3f", name, n * usFeet,
                   e * usFeet, z * usFeet, sn * usFeet, se * usFeet, sz * usFeet);
    };
    const std::vector<std::string> want = {
        "",
        "Adjusted Grid Coordinates, (US Feet)",
        " Sta.            N:            E:            Z (Geoid):   StErr N:    StErr E:  StErr Z:",
        row("P", 1000.0, 2000.0, 140.0, 0.003, 0.004, 0.012),
        row("W", 1200.5, 2300.25, 95.0, 0.006, 0.005, 0.020),
    };
    EXPECT_EQ(reportLines(), want);
    stationRec p;
    ASSERT_GE(stationList.find("P", p), 0);
    EXPECT_EQ(p.stdErrN, 0.003);
    EXPECT_EQ(p.stdErrE, 0.004);
    EXPECT_EQ(p.stdErrZ, 0.012);
    stationRec s;
    ASSERT_GE(stationList.find("S", s), 0);
    EXPECT_EQ(s.stdErrN, 0.0) << "a sideshot takes no standard deviations";
}

TEST_F(GridAndGeocentric, EastingFirstSwapsTheCoordinatesAndTheirSigmas) {
    projectVars.NEDisplayType = 1;
    const std::vector<double> sigmas = {0.003, 0.004, 0.012, 0.006, 0.005, 0.020};
    ASSERT_EQ(writeRptAdjustedCoords3D(rptFile, sigmas), 0);
    const std::vector<std::string> lines = reportLines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[3], fmt(" %-10.10s  %12.3f  %12.3f    %12.3f %7.3f    %7.3f  %7.3f", "P",
                            2000.0, 1000.0, 140.0, 0.004, 0.003, 0.012));
}

// Q of the unknowns (north, east, up of P, then of W) from a block-diagonal
// factor L: Q = (L L^T)^-1. Each station's covariance s0^2 Q is rotated
// into the earth-centred frame here: C = R^T Cneu R with R's rows the
// local north, east and up axes.
TEST_F(GridAndGeocentric, GeocentricSigmasAreTheRotatedCovarianceTimesTheReferenceVariance) {
    const double block[2][3][3] = {{{40.0, 0, 0}, {6.0, 50.0, 0}, {-3.0, 4.0, 25.0}},
                                   {{30.0, 0, 0}, {-5.0, 35.0, 0}, {2.0, -7.0, 20.0}}};
    LowerFactor l;
    l.n = 6;
    for (int k = 0; k < 2; ++k)
        for (int j = 0; j < 3; ++j) {
            l.columnStart.push_back(static_cast<int>(l.rowIndex.size()));
            for (int i = j; i < 3; ++i) {
                l.rowIndex.push_back(3 * k + i);
                l.value.push_back(block[k][i][j]);
            }
        }
    l.columnStart.push_back(static_cast<int>(l.rowIndex.size()));
    l.permutation = {0, 1, 2, 3, 4, 5};
    const Cofactors q(l, {});
    const double s0Squared = 2.25;
    ASSERT_EQ(writeRptGeocentricCoords(rptFile, q, s0Squared), 0);

    const double lat[2] = {radiansOf(40), radiansOf(-33, 30)};
    const double lon[2] = {-radiansOf(81), radiansOf(151, 10)};
    std::array<double, 3> sigma[2];
    for (int k = 0; k < 2; ++k) {
        std::array<std::array<double, 3>, 3> n{};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                for (int m = 0; m < 3; ++m)
                    n[i][j] += block[k][i][m] * block[k][j][m];
        const auto cneu = inverse3(n);
        const auto r = localAxes(lat[k], lon[k]);
        for (int x = 0; x < 3; ++x) {
            double c = 0.0;
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j)
                    c += r[i][x] * cneu[i][j] * r[j][x];
            sigma[k][x] = std::sqrt(s0Squared * c);
        }
    }
    const std::vector<std::string> want = {
        "",
        "",
        "Adjusted Geocentric Coordinates, (Metric)",
        " Sta.            X:            Y:              Z:        StErr X(m): StErr Y(m): StErr "
        "Z(m):",
        fmt(" %-10.10s  %12.3f  %12.3f    %12.3f %7.3f    %7.3f  %7.3f", "P", 738575.6531,
            -4663211.8769, 4077985.5722, sigma[0][0], sigma[0][1], sigma[0][2]),
        fmt(" %-10.10s  %12.3f  %12.3f    %12.3f %7.3f    %7.3f  %7.3f", "W", -4646000.125,
            2557000.5, -3502000.75, sigma[1][0], sigma[1][1], sigma[1][2]),
    };
    EXPECT_EQ(reportLines(), want);
    // The three sigmas differ in the third decimal for P, so the rotation
    // is exercised, not only copied.
    EXPECT_NE(fmt("%.3f", sigma[0][0]), fmt("%.3f", sigma[0][2]));
}

// Fault mended: the geocentric listing stored its X, Y, Z sigmas into the
// stations' northing, easting and elevation standard errors, which the
// coordinate output then wrote as grid sigmas.
TEST_F(GridAndGeocentric, GeocentricListingKeepsTheGridSigmasOfTheStations) {
    ASSERT_EQ(writeRptAdjustedCoords3D(rptFile, {0.003, 0.004, 0.012, 0.006, 0.005, 0.020}), 0);
    LowerFactor l;
    l.n = 6;
    for (int j = 0; j < 6; ++j) {
        l.columnStart.push_back(j);
        l.rowIndex.push_back(j);
        l.value.push_back(10.0);
    }
    l.columnStart.push_back(6);
    l.permutation = {0, 1, 2, 3, 4, 5};
    ASSERT_EQ(writeRptGeocentricCoords(rptFile, Cofactors(l, {}), 1.0), 0);
    stationRec w;
    ASSERT_GE(stationList.find("W", w), 0);
    EXPECT_EQ(w.stdErrN, 0.006);
    EXPECT_EQ(w.stdErrE, 0.005);
    EXPECT_EQ(w.stdErrZ, 0.020);
}

// The grid listing stores each station's sigmas just before its line: a
// failed write ends it before any later station is touched.
TEST_F(GridAndGeocentric, AFailedWriteStopsEachListing) {
    closeRptFile();
    clearOutputWriteFailures();
    const int closed = 987654; // a descriptor that is not open
    EXPECT_EQ(writeRptAdjustedCoords3D(closed, {0.003, 0.004, 0.012, 0.006, 0.005, 0.020}), 1);
    EXPECT_EQ(shell.boxes.size(), 1u);
    stationRec w;
    ASSERT_GE(stationList.find("W", w), 0);
    EXPECT_EQ(w.stdErrN, 0.0);
    EXPECT_EQ(writeRptGeographicCoords3D(closed), 1);
    EXPECT_EQ(writeRptGeocentricCoords(closed, Cofactors(), 1.0), 1);
    EXPECT_EQ(writeRptAdjustedObs3D(closed, {}, {}, -1), 1);
    clearOutputWriteFailures();
}

// One observation of every kind, a skipped distance and one weighted control
// station W. Entries: 0 distance, 1 angle, 2 azimuth, 3 zenith, 4-6 W, 7-9
// the GPS vector (north, east, up at P), 10 the level record.
class AdjustedObs3D : public Listing3D {
protected:
    void SetUp() override {
        Listing3D::SetUp();
        stationRec p = station("P", ptUnknown, 1000.0, 2000.0, 110.0);
        p.latitude = radiansOf(40);
        p.longitude = -radiansOf(81);
        stationList.append(p);
        stationRec w = station("W", ptWeightedControl, 1200.0, 2300.0, 95.0);
        w.latitude = radiansOf(40, 1);
        w.longitude = -radiansOf(80, 58);
        stationList.append(w);
        controlStationList.append(w);
        controlStationList.append(station("F", ptFixed, 0, 0, 0));
        addDistance("A", "B", 100.0, 0.005, 0);
        addDistance("B", "C", 50.0, 0.010, obsNotAdjusted);
        angleObs a;
        setPointName(a.backsight, "B");
        setPointName(a.instrument, "A");
        setPointName(a.foresight, "C");
        a.angle = radiansOf(90);
        a.stdErr = 3.0;
        angleList.append(a);
        azimuthObs z;
        setPointName(z.from, "A");
        setPointName(z.to, "B");
        z.azimuth = radiansOf(45);
        z.convergence = radiansOf(0, 30);
        z.stdErr = 2.0;
        azimuthList.append(z);
        verticalObs t;
        setPointName(t.from, "A");
        setPointName(t.to, "B");
        t.zenith = radiansOf(88);
        t.stdErr = 4.0;
        verticalList.append(t);
        gpsVectorRec g;
        setPointName(g.from, "P");
        setPointName(g.to, "W");
        g.dX = 120.5;
        g.dY = -250.25;
        g.dZ = 75.125;
        g.varX = 0.0001;
        g.varY = 0.0004;
        g.varZ = 0.000025;
        gpsVectorList.append(g);
        levelObs lv;
        setPointName(lv.from, "P");
        setPointName(lv.to, "W");
        lv.ellipsoidalDiff = 1.234;
        lv.stdErr = 0.002;
        levelList.append(lv);
        // P's unknowns are 0-2 and W's 3-5 of the hand-made cofactors.
        varCovMatrix = testsupport::handMadeCofactors();
        referenceStdDev = 1.3;
    }
    void TearDown() override {
        releaseAdjustmentResults();
        Listing3D::TearDown();
    }

    static void addDistance(const char* from, const char* to, double d, double sigma, int status) {
        distanceObs r;
        setPointName(r.from, from);
        setPointName(r.to, to);
        r.reducedDist = d;
        r.stdErr = sigma;
        r.status = status;
        distanceList.append(r);
    }

    const std::vector<double> v = {0.010, -1.5,  4.6,    2.0,   0.1,   0.2,
                                   0.3,   0.003, -0.004, 0.012, -0.003};
    const std::vector<double> sigma = {0.004, 1.2,   0.8,    2.5,   0.0,  0.0,
                                       0.0,   0.002, 0.0025, 0.006, 0.001};
};

// Angle texts: " %c%03d-%02d'%04.1f\"" padded to 14 (directions to 15);
// second values: a sign character and "% 7.1f" padded to 9; standardized
// residuals of angles: the flag, a blank and "% 7.1f" padded to 9.
// The GPS vector's StdDev column holds the standard deviations of its
// adjusted Delta X, Y and Z. Fault mended: it held those of the north, east
// and up rows of the adjustment under the Delta X, Y, Z labels.
TEST_F(AdjustedObs3D, ListsEveryKindInRowOrder) {
    ASSERT_EQ(writeRptAdjustedObs3D(rptFile, v, sigma, 7), 0);
    // The GPS residuals (north 0.003, east -0.004, up 0.012 at 40 N, 81 W)
    // in the earth-centred frame.
    const auto r = localAxes(radiansOf(40), -radiansOf(81));
    double dXYZ[3];
    for (int x = 0; x < 3; ++x)
        dXYZ[x] = r[0][x] * 0.003 + r[1][x] * -0.004 + r[2][x] * 0.012;
    const double observed[3] = {120.5, -250.25, 75.125};
    const double stdDev[3] = {0.01, 0.02, 0.005};
    // The adjusted Delta X, Y, Z = R_W x_W - R_P x_P, R the columns north,
    // east, up of each station's frame: s0^2 J Q J^T with J = [-R_P  R_W].
    const auto rw = localAxes(radiansOf(40, 1), -radiansOf(80, 58));
    const auto q = testsupport::cofactorsByHand();
    double adjustedSigma[3];
    for (int x = 0; x < 3; ++x) {
        double jRow[6];
        for (int k = 0; k < 3; ++k) {
            jRow[k] = -r[k][x];
            jRow[3 + k] = rw[k][x];
        }
        double variance = 0.0;
        for (int i = 0; i < 6; ++i)
            for (int j = 0; j < 6; ++j)
                variance += jRow[i] * q[i][j] * jRow[j];
        adjustedSigma[x] = 1.3 * std::sqrt(variance);
    }
    const std::string lead[3] = {" P" + sp(16), " W" + sp(16), sp(18)};
    std::string gps[3];
    for (int i = 0; i < 3; ++i) {
        const double z = std::fabs(dXYZ[i]) / stdDev[i];
        gps[i] = lead[i] + fmt("%12.4f   %7.4f    %c%7.4f    %7.4f", observed[i] + dXYZ[i], dXYZ[i],
                               z > 2 ? '*' : ' ', z, adjustedSigma[i]);
    }
    gps[0] += " **";
    const std::vector<std::string> want = {
        "",
        "Adjusted Observations",
        std::string(21, '='),
        "",
        "Adjusted Mark to Mark Distances",
        " From Sta.  To Sta.        Distance      Residual     StdRes.   StdDev",
        // 0.010 / 0.005 is exactly 2: no flag.
        " A" + sp(13) + "B" + sp(12) + "100.010" + sp(5) + "0.010" + sp(9) + "2.000" + sp(4) +
            "0.004",
        sp(12) + "Root Mean Square (RMS)" + sp(6) + "0.010",
        "",
        "Adjusted Horizontal Angles",
        " BS Sta.  Occ. Sta.   FS Sta.                 Angle        Residual     StdRes   "
        "StdDev(Sec.)",
        // " %-10.10s   %-10.10s    %-10.10s   %s    %s       %s     %s"
        " B" + sp(12) + "A" + sp(13) + "C" + sp(12) + " 089-59'58.5\"" + sp(5) + "-    1.5" +
            sp(15) + "0.5" + sp(12) + "1.2  ",
        sp(31) + "Root Mean Square (RMS)" + sp(11) + "1.5  ",
        "",
        "Adjusted Grid Azimuths",
        " Occ. Sta.  FS Sta.      Azimuth           Residual    StdRes   StdDev(Sec.)  "
        "Convergence Angle",
        // the 2D azimuth line, then three blanks and the convergence.
        " A" + sp(11) + "B" + sp(10) + " 045-00'04.6\"" + sp(10) + "4.6" + sp(6) + "*" + sp(5) +
            "2.3" + sp(11) + "0.8  " + sp(3) + " 000-30'00.0\" ",
        sp(16) + "Root Mean Square (RMS)" + sp(9) + "4.6  ",
        "Adjusted Mark to Mark Vertical Angles",
        " From Sta.   To Sta.     Vertical Ang.      Residual    StdRes   StdDev(Sec.)",
        // The elevation angle's residual +2.0" is the zenith's -2.0":
        // 88 deg - 2.0" = 087-59'58.0". " %-10.10s    %-10.10s %s    %s      %s       %s"
        " A" + sp(13) + "B" + sp(10) + " 087-59'58.0\"" + sp(5) + "-    2.0" + sp(8) + " " + sp(5) +
            "0.5" + sp(14) + "2.5  ",
        sp(17) + "Root Mean Square (RMS)" + sp(10) + "2.0  ",
        "",
        "GPS Vectors:    1 Observations",
        " From Sta.          Delta X    Residual    StdRes    StdDev",
        " To   Sta.          Delta Y    Residual    StdRes    StdDev",
        "                    Delta Z    Residual    StdRes    StdDev",
        gps[0],
        gps[1],
        gps[2],
        "",
        "Adjusted Elevation Differences",
        " From Sta.   To Sta.    Ellipsoid Diff.     Residual      StdRes   StdDev",
        // " %-10.10s    %-10.10s %s        %s    %s    %s"
        " P" + sp(13) + "W" + sp(14) + "1.231" + sp(8) + " -0.003" + sp(4) + " " + "  1.500" +
            sp(4) + "  0.001",
        sp(16) + "Root Mean Square (RMS)" + sp(3) + sp(4) + "0.003",
    };
    EXPECT_EQ(reportLines(), want);
}

TEST_F(AdjustedObs3D, LengthsAreShownInTheProjectUnit) {
    projectVars.HorizUnits = 1;
    ASSERT_EQ(writeRptAdjustedObs3D(rptFile, v, sigma, -1), 0);
    const std::vector<std::string> lines = reportLines();
    ASSERT_GE(lines.size(), 8u);
    // 100.010 m, 0.010 m and 0.004 m in US feet; the standardized residual
    // has no unit.
    EXPECT_EQ(lines[6], " A" + sp(13) + "B" + sp(10) + fmt("%9.3f", 100.01 * usFeet) + sp(3) +
                            fmt("% 7.3f", 0.010 * usFeet) + sp(6) + " " + "  2.000" + sp(2) +
                            fmt("%7.3f", 0.004 * usFeet));
    EXPECT_EQ(lines[7], sp(12) + "Root Mean Square (RMS)  " + fmt("%9.3f", 0.010 * usFeet));
    const std::string levelRms = lines.back();
    EXPECT_EQ(levelRms, sp(16) + "Root Mean Square (RMS)   " + fmt("%9.3f", 0.003 * usFeet));
}

// Sections of empty lists are left out, and a skipped observation takes no
// entry: the level record's residual follows the angle's directly.
TEST_F(AdjustedObs3D, EmptyKindsAreLeftOut) {
    distanceList.clear();
    addDistance("B", "C", 50.0, 0.010, obsNotAdjusted);
    azimuthList.clear();
    verticalList.clear();
    gpsVectorList.clear();
    controlStationList.clear();
    ASSERT_EQ(writeRptAdjustedObs3D(rptFile, {-1.5, -0.003}, {1.2, 0.001}, 1), 0);
    const std::vector<std::string> lines = reportLines();
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[4], "Adjusted Mark to Mark Distances");
    EXPECT_EQ(lines[6], "") << "no distance listed: no RMS line";
    EXPECT_EQ(lines[7], "Adjusted Horizontal Angles");
    EXPECT_EQ(lines[12], "Adjusted Elevation Differences");
    EXPECT_EQ(lines[14].substr(lines[14].size() - 3), " **");
}

} // namespace
