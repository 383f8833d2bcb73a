// Sights reduced to the marks and merged per line, checked against the
// exact geometry of the same sights on a sphere.

#include "model/mark_to_mark.hpp"

#include "model/program_lists.hpp"
#include "model/project_geodesy.hpp"
#include "model/settings/global_vars.hpp"
#include "support/raw_list_builder.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

namespace {

using namespace testsupport;

constexpr double pi = std::numbers::pi;
constexpr double degree = pi / 180.0;

// In a local grid the reduction takes the line's mid-point at latitude 0;
// for a line running east-west the radius of curvature there is the
// prime-vertical radius at the equator, the GRS 80 semi-major axis.
constexpr double sphereRadius = 6378137.0;

// Slope distance and zenith from a point at height h1 above the sphere to a
// point at height h2 above it, the central angle between them `theta`; the
// zenith is measured from the radius through the first point.
struct sphereSight {
    double slope;
    double zenith;
};

sphereSight onSphere(double h1, double h2, double theta) {
    const double r1 = sphereRadius + h1;
    const double r2 = sphereRadius + h2;
    const double x = r2 * std::sin(theta);
    const double up = r2 * std::cos(theta) - r1;
    const double slope = std::hypot(x, up);
    return {slope, std::acos(up / slope)};
}

stationRec station(const char* name, double e, double n, double z) {
    stationRec r;
    initStationRec(r);
    setPointName(r.name, name);
    r.easting = e;
    r.northing = n;
    r.elevation = z;
    return r;
}

void addLine(const char* from, const char* to) {
    distanceObs d;
    setPointName(d.from, from);
    setPointName(d.to, to);
    distanceList.append(d);
    verticalObs v;
    setPointName(v.to, to);
    setPointName(v.from, from);
    verticalList.append(v);
}

rawRec measured(rawRec r, double slope, double zenith, double distErr = 0.003,
                double zenithErr = 3.0) {
    r.distance = slope;
    r.zenithOrVertDiff = zenith;
    r.distStdErr = distErr;
    r.zenithStdErr = zenithErr;
    return r;
}

rawRec marks(rawRec r, double slope, double zenith, double distErr, double zenithErr) {
    r.markSlopeDistance = slope;
    r.markZenith = zenith;
    r.distStdErr = distErr;
    r.zenithStdErr = zenithErr;
    return r;
}

class MarkToMark : public RawListTest {
protected:
    void SetUp() override {
        RawListTest::SetUp();
        projectVars.geodeticModel = 1;
        projectVars.gridSystem = gridLocal;
        projectVars.curvRefract = 0;
        projectVars.HorizUnits = 0;
        projectVars.hDistTol = 0.01;
        projectVars.vAngTol = 10.0 / 3600.0 * degree;
        fixedStationList.append(station("I", 0.0, 0.0, 100.0));
        stationList.append(station("T", 500.0, 0.0, 110.0));
        addLine("I", "T");
    }

    rawRec reducedSetup() {
        rawRec r;
        rawDataList.seek(0);
        rawDataList.get(r);
        return r;
    }

    // Instrument mark 100, HI 1.6; target mark 110, target height 1.3; 500 m
    // of arc at sea level.
    static constexpr double hi = 1.6;
    static constexpr double ht = 1.3;
    const double theta = 500.0 / sphereRadius;
    const sphereSight measuredSight = onSphere(100.0 + hi, 110.0 + ht, theta);
    const sphereSight markSight = onSphere(100.0, 110.0, theta);
};

// Both reductions are exact on the sphere.
TEST_F(MarkToMark, ASlopeSightReducesToTheMarksAsOnTheSphere) {
    appendRaw({measured(withHeights(setupRecord("I", "T"), hi, ht), measuredSight.slope,
                        measuredSight.zenith)});
    ASSERT_EQ(reduceRawSlopeToMarks(), 0);
    const rawRec r = reducedSetup();
    EXPECT_NEAR(r.markSlopeDistance, markSight.slope, 1e-8);
    EXPECT_NEAR(r.markZenith, markSight.zenith, 0.001 / 3600 * degree);

    distanceObs d;
    ASSERT_GE(distanceList.find("I", "T", d), 0);
    EXPECT_NEAR(d.reducedDist, markSight.slope, 1e-8);
    EXPECT_NEAR(d.stdErr, 0.003, 1e-15); // one sight, no centering errors
    verticalObs v;
    ASSERT_GE(verticalList.find("I", "T", v), 0);
    EXPECT_NEAR(v.zenith, markSight.zenith, 0.05 / 3600 * degree);
    EXPECT_NEAR(v.stdErr, 3.0, 1e-12);
}

namespace {

using Vector3 = std::array<double, 3>;

Vector3 along(const Vector3& p, double length, const Vector3& unit) {
    return {p[0] + length * unit[0], p[1] + length * unit[1], p[2] + length * unit[2]};
}

Vector3 between(const Vector3& from, const Vector3& to) {
    return {to[0] - from[0], to[1] - from[1], to[2] - from[2]};
}

double lengthOf(const Vector3& v) {
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}

// The zenith of `line` from the plumb line `up` (a unit vector).
double zenithFrom(const Vector3& up, const Vector3& line) {
    return std::acos((up[0] * line[0] + up[1] * line[1] + up[2] * line[2]) / lengthOf(line));
}

struct SightCase {
    const char* what;
    double arc_m, markRise_m, hi, ht;
};

} // namespace

// A sight along the equator, built in earth-centred coordinates: the marks
// on the plumb lines of GRS 80 (on the equator the radii of the ellipsoid),
// the telescope hi and the prism ht above them; the measured slope distance
// and zenith are those of telescope to prism, the mark zenith that of mark
// to mark, each from the instrument's plumb line. The reduction gives the
// mark zenith to 0.001" on steep short sights, up and down, in both faces.
// Fault mended: the zenith was turned by the angle |ht - hi| subtends at the
// mark distance, off by 6.8" on 50 m at 20 deg with 0.5 m between the
// heights and 93" on 30 m at 25 deg with 1 m.
TEST_F(MarkToMark, TheMarkZenithIsThatOfTheMarksInEarthCentredCoordinates) {
    const SightCase cases[] = {
        {"400 m, 10 deg up, ht 0.63 m above hi", 400.0, 400.0 * std::tan(10 * degree), 1.5, 2.13},
        {"50 m, 20 deg up, 0.5 m", 50.0, 50.0 * std::tan(20 * degree), 1.5, 2.0},
        {"30 m, 25 deg up, 1 m", 30.0, 30.0 * std::tan(25 * degree), 1.5, 2.5},
        {"31 m, 24 deg up, 1 m", 28.3, 28.3 * std::tan(24 * degree), 1.4, 2.4},
        {"40 m, 30 deg down, hi above ht", 40.0, -40.0 * std::tan(30 * degree), 1.7, 0.2},
        {"25 m, 15 deg down, ht above hi", 25.0, -25.0 * std::tan(15 * degree), 1.5, 2.8},
        {"level, equal heights", 300.0, 0.0, 1.5, 1.5},
        {"1.2 km, 2 deg up, hi above ht", 1200.0, 1200.0 * std::tan(2 * degree), 1.6, 0.5},
    };
    const double a = 6378137.0, zi = 100.0;
    for (const SightCase& c : cases) {
        SCOPED_TRACE(c.what);
        const double lambda = c.arc_m / a;
        const Vector3 upAtI = {1.0, 0.0, 0.0};
        const Vector3 upAtT = {std::cos(lambda), std::sin(lambda), 0.0};
        const Vector3 markI = along({0.0, 0.0, 0.0}, a + zi, upAtI);
        const Vector3 markT = along({0.0, 0.0, 0.0}, a + zi + c.markRise_m, upAtT);
        const Vector3 sight = between(along(markI, c.hi, upAtI), along(markT, c.ht, upAtT));
        const Vector3 markLine = between(markI, markT);
        const double slope = lengthOf(sight);
        const double zenith = zenithFrom(upAtI, sight);
        const double wanted = zenithFrom(upAtI, markLine);
        for (const bool faceTwo : {false, true}) {
            SCOPED_TRACE(faceTwo ? "face two" : "face one");
            double markSlope = 0.0, markZenith = 0.0;
            reduceSlopeToMarks(0.0, 0.0, zi, c.arc_m, 0.0, zi + c.markRise_m, c.hi, c.ht, slope,
                               faceTwo ? 2 * pi - zenith : zenith, markSlope, markZenith, 0);
            EXPECT_NEAR(markZenith, faceTwo ? 2 * pi - wanted : wanted, 0.001 / 3600 * degree);
            EXPECT_NEAR(markSlope, lengthOf(markLine), 1e-8);
        }
    }
}

// The same sight recorded as horizontal distance and vertical difference
// must give the same marks; read as slope and zenith its vertical
// difference of about 9.9 m would be a zenith of 9.9 rad.
TEST_F(MarkToMark, ASightRecordedAsHorizontalAndVerticalReducesAsSuch) {
    rawRec hv = withHeights(setupRecord("I", "T"), hi, ht);
    hv.sightForm = sightHorizVert;
    hv = measured(hv, measuredSight.slope * std::sin(measuredSight.zenith),
                  measuredSight.slope * std::cos(measuredSight.zenith));
    appendRaw({hv});
    ASSERT_EQ(reduceRawSlopeToMarks(), 0);
    const rawRec r = reducedSetup();
    EXPECT_NEAR(r.markSlopeDistance, markSight.slope, 1e-8);
    EXPECT_NEAR(r.markZenith, markSight.zenith, 0.05 / 3600 * degree);
}

TEST_F(MarkToMark, AZenithWithoutDistanceGivesOnlyAMarkZenith) {
    rawRec sight = withHeights(setupRecord("I", "T"), hi, ht);
    sight.zenithOrVertDiff = measuredSight.zenith;
    appendRaw({sight});
    reduceRawSlopeToMarks();
    const rawRec r = reducedSetup();
    EXPECT_FALSE(isSet(r.markSlopeDistance));
    EXPECT_NEAR(r.markZenith, markSight.zenith, 0.05 / 3600 * degree);
    distanceObs d;
    distanceList.find("I", "T", d);
    EXPECT_FALSE(isSet(d.reducedDist));
    verticalObs v;
    verticalList.find("I", "T", v);
    EXPECT_NEAR(v.zenith, markSight.zenith, 0.05 / 3600 * degree);
}

TEST_F(MarkToMark, ASightToAStationWithoutCoordinatesStaysUnreduced) {
    appendRaw({measured(withHeights(setupRecord("I", "Q"), hi, ht), 100.0, pi / 2)});
    rawRec r = reducedSetup();
    EXPECT_EQ(reduceSetupSight(r), sightNotReduced);
    reduceRawSlopeToMarks();
    EXPECT_FALSE(isSet(reducedSetup().markSlopeDistance));
}

TEST_F(MarkToMark, AnEmptyRawListReturnsOne) {
    EXPECT_EQ(reduceRawSlopeToMarks(), 1);
}

// A -> B at 88 deg and B -> A at 92 deg (88 deg seen from A), and a face-two
// reading of 272 deg (88 deg in face one): zenith 88 deg, no spread, error
// (3 x 3" / 3) / sqrt(3) = sqrt(3)".
TEST_F(MarkToMark, RepeatedZenithsMergeAsSeenFromTheFirstPoint) {
    addLine("A", "B");
    appendRaw({marks(setupRecord("A", "B"), 100.000, 88 * degree, 0.004, 3),
               marks(foresightRecord("B"), 100.002, 272 * degree, 0.004, 3),
               marks(setupRecord("B", "A"), 100.004, 92 * degree, 0.004, 3)});
    ASSERT_EQ(mergeMarkToMarkDist3D("A", "B", 0), 0);
    verticalObs v;
    ASSERT_GE(verticalList.find("A", "B", v), 0);
    EXPECT_NEAR(v.zenith, 88 * degree, 1e-12);
    EXPECT_NEAR(v.stdErr, std::sqrt(3.0), 1e-12);
    distanceObs d;
    distanceList.find("A", "B", d);
    EXPECT_NEAR(d.reducedDist, 100.002, 1e-12);
    EXPECT_NEAR(d.stdErr, 0.004 * 3 / 3 / std::sqrt(3.0), 1e-15);
    EXPECT_EQ(warnings(), "");
    EXPECT_EQ(mergeMarkToMarkDist3D("A", "B", 3), 1);
}

TEST_F(MarkToMark, AZenithRecordStoredTheOtherWayRoundIsTurned) {
    verticalObs v;
    setPointName(v.to, "A");
    setPointName(v.from, "B");
    verticalList.append(v);
    appendRaw({marks(setupRecord("A", "B"), notComputed, 88 * degree, 0, 3)});
    mergeMarkToMarkVert3D("A", "B", 0);
    ASSERT_GE(verticalList.find("B", "A", v), 0);
    EXPECT_NEAR(v.zenith, 92 * degree, 1e-12);
}

TEST_F(MarkToMark, SpreadsAtTheToleranceAreWarnedAbout) {
    addLine("A", "B");
    appendRaw({marks(setupRecord("A", "B"), 100.000, 88 * degree, 0.004, 3),
               marks(foresightRecord("B"), 100.010, 88 * degree + 10.0 / 3600 * degree, 0.004, 3)});
    mergeMarkToMarkDist3D("A", "B", 0);
    const std::string text = warnings();
    EXPECT_NE(text.find("Mark to mark distance from A to B exceeds tolerance:"), std::string::npos);
    EXPECT_NE(text.find("Mark to Mark Vertical Angle from A to B exceeds tolerance:"),
              std::string::npos);
}

// Each sight takes the centering errors in force at its own record: a
// standard-error record after the first line's sight changes the second
// line's error only.
TEST_F(MarkToMark, StandardErrorRecordsDoNotLeakIntoEarlierLines) {
    addLine("I", "U");
    rawRec centering = stdErrRecord();
    centering.stErrTrgtCentering = 0.010;
    appendRaw({marks(setupRecord("I", "T"), 500.0, pi / 2, 0.003, 3), centering,
               marks(foresightRecord("U"), 50.0, pi / 2, 0.003, 3)});
    mergeRepeatedDists3D();
    distanceObs first;
    distanceObs second;
    distanceList.find("I", "T", first);
    distanceList.find("I", "U", second);
    EXPECT_NEAR(first.stdErr, 0.003, 1e-15);
    EXPECT_NEAR(second.stdErr, std::hypot(0.010, 0.003), 1e-15);
    EXPECT_EQ(readerStdErrs[seTargetCentering], 0.010); // the pass itself applies them
}

// Reciprocal zeniths on the ellipsoid: two stations 256 m apart, given by
// latitude, longitude and height on GRS 80, their earth-centred positions and
// the zenith of the chord between the marks from each end's ellipsoid normal
// worked here. The two zeniths add up to pi plus 8.3" (the normals'
// convergence), so a reverse sight turned by pi - z alone would sit 8.3"
// below the forward one.
constexpr double grs80A = 6378137.0;
constexpr double grs80F = 1.0 / 298.257222101;

struct geodeticPoint {
    double latitude_deg;
    double longitude_deg;
    double height;
};

struct vector3 {
    double x, y, z;
};

vector3 earthCentred(const geodeticPoint& p) {
    const double e2 = grs80F * (2.0 - grs80F);
    const double phi = p.latitude_deg * degree;
    const double lambda = p.longitude_deg * degree;
    const double n = grs80A / std::sqrt(1.0 - e2 * std::sin(phi) * std::sin(phi));
    return {(n + p.height) * std::cos(phi) * std::cos(lambda),
            (n + p.height) * std::cos(phi) * std::sin(lambda),
            (n * (1.0 - e2) + p.height) * std::sin(phi)};
}

// The zenith at `from` of the chord to `to`, from the ellipsoid normal.
double chordZenith(const geodeticPoint& from, const geodeticPoint& to) {
    const vector3 a = earthCentred(from);
    const vector3 b = earthCentred(to);
    const vector3 d{b.x - a.x, b.y - a.y, b.z - a.z};
    const double phi = from.latitude_deg * degree;
    const double lambda = from.longitude_deg * degree;
    const vector3 up{std::cos(phi) * std::cos(lambda), std::cos(phi) * std::sin(lambda),
                     std::sin(phi)};
    const double length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    return std::acos((up.x * d.x + up.y * d.y + up.z * d.z) / length);
}

stationRec geodeticStation(const char* name, const geodeticPoint& p) {
    stationRec r = station(name, 1000.0, 1000.0, p.height);
    const vector3 x = earthCentred(p);
    r.latitude = p.latitude_deg * degree;
    r.longitude = p.longitude_deg * degree;
    r.ecefX = x.x;
    r.ecefY = x.y;
    r.ecefZ = x.z;
    return r;
}

class ReciprocalZeniths : public MarkToMark {
protected:
    void SetUp() override {
        MarkToMark::SetUp();
        projectVars.vAngTol = 1.0 / 3600 * degree;
        fixedStationList.append(geodeticStation("P", p));
        stationList.append(geodeticStation("Q", q));
    }

    const geodeticPoint p{45.0, -75.2, 95.0};
    const geodeticPoint q{45.00162, -75.1977, 97.34};
    const double forward = chordZenith(p, q);
    const double reverse = chordZenith(q, p);
};

TEST_F(ReciprocalZeniths, TheWorkedCaseConvergesByTheCentralAngle) {
    const vector3 a = earthCentred(p);
    const vector3 b = earthCentred(q);
    const double chord = std::hypot(b.x - a.x, b.y - a.y, b.z - a.z);
    EXPECT_NEAR((forward + reverse - pi) / (chord / grs80A), 1.0, 0.01);
    EXPECT_GT(forward + reverse - pi, 8.0 / 3600 * degree);
}

// Sighted both ways (the reverse in face two too), the line merges to the
// forward zenith with no spread worth a warning, whichever end the vertical
// record is stored from.
TEST_F(ReciprocalZeniths, AReverseSightIsTurnedIntoTheFrameOfTheFirstEnd) {
    struct storedAs {
        const char* from;
        const char* to;
        double zenith;
    };
    for (const storedAs& stored : {storedAs{"P", "Q", forward}, storedAs{"Q", "P", reverse}}) {
        SCOPED_TRACE(stored.from);
        verticalList.clear();
        rawDataList.clear();
        verticalObs v;
        setPointName(v.from, stored.from);
        setPointName(v.to, stored.to);
        verticalList.append(v);
        appendRaw({marks(setupRecord("P", "Q"), notComputed, forward, 0, 3),
                   marks(setupRecord("Q", "P"), notComputed, reverse, 0, 3),
                   marks(foresightRecord("P"), notComputed, 2 * pi - reverse, 0, 3)});
        ASSERT_EQ(mergeMarkToMarkVert3D("P", "Q", 0), 0);
        ASSERT_GE(verticalList.find(stored.from, stored.to, v), 0);
        EXPECT_NEAR(v.zenith, stored.zenith, 1e-10);
        EXPECT_EQ(warnings(), "");
    }
}

// A reverse sight read 2" low still shows as a 2" spread: forward
// 089-28'35.4", the reverse turned 089-28'37.4".
TEST_F(ReciprocalZeniths, ASpreadLeftAfterTheTurnIsWarnedAbout) {
    addLine("P", "Q");
    appendRaw({marks(setupRecord("P", "Q"), 255.5, forward, 0.003, 3),
               marks(setupRecord("Q", "P"), 255.5, reverse - 2.0 / 3600 * degree, 0.003, 3)});
    mergeMarkToMarkDist3D("P", "Q", 0);
    verticalObs v;
    ASSERT_GE(verticalList.find("P", "Q", v), 0);
    EXPECT_NEAR(v.zenith, forward + 1.0 / 3600 * degree, 1e-10);
    const std::string text = warnings();
    EXPECT_NE(text.find("Mark to Mark Vertical Angle from P to Q exceeds tolerance:"),
              std::string::npos);
    EXPECT_NE(text.find("Low: 089-28'35.4\""), std::string::npos) << text;
    EXPECT_NE(text.find("High: 089-28'37.4\""), std::string::npos) << text;
}

} // namespace
