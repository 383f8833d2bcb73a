#include "engine/edm_calibration.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

CALIBRATE_RAWREC constants(double edm, double reflector) {
    CALIBRATE_RAWREC r;
    r.kind = edmConstants;
    r.edmConstant = edm;
    r.reflectorConstant = reflector;
    return r;
}

CALIBRATE_RAWREC atmosphere(int apply, int wetBulb, double nRef, double lambda, double vp) {
    CALIBRATE_RAWREC r;
    r.kind = edmAtmosphere;
    r.applyCorrection = apply;
    r.wetBulb = wetBulb;
    r.refractionIndex = nRef;
    r.wavelength_um = lambda;
    r.vapourPressure_mmHg = vp;
    return r;
}

struct Line {
    const char* from;
    double fromElev;
    const char* to;
    double toElev;
    double slope;
    double published;
};

constexpr double instrumentHeight = 1.512;
constexpr double reflectorHeight = 1.600;

CALIBRATE_RAWREC observation(const Line& l) {
    CALIBRATE_RAWREC r;
    r.kind = edmObservation;
    r.fromStation = l.from;
    r.toStation = l.to;
    r.fromElevation = l.fromElev;
    r.toElevation = l.toElev;
    r.instrumentHeight = instrumentHeight;
    r.reflectorHeight = reflectorHeight;
    r.slopeDistance = l.slope;
    r.publishedDistance = l.published;
    r.dryTemp_C = 25.0;
    r.pressure_mmHg = 740.0;
    r.wetTemp_C = 18.0;
    return r;
}

// A baseline of five pillars measured in seven lines. The slope distances
// were made from a constant error of 4 mm, a scale error of 6 ppm, blunder-
// free noise of 1.5 mm and the constants below, and rounded to 0.1 mm.
const std::vector<Line> baseline = {
    {"A", 100.000, "B", 100.850, 150.0304, 150.0},
    {"A", 100.000, "C", 99.620, 430.0248, 430.0},
    {"A", 100.000, "D", 101.430, 1000.0235, 1000.0},
    {"A", 100.000, "E", 100.200, 1300.0207, 1300.0},
    {"B", 100.850, "C", 99.620, 280.0300, 280.0},
    {"B", 100.850, "D", 101.430, 850.0235, 850.0},
    {"C", 99.620, "E", 100.200, 870.0214, 870.0},
};
constexpr double edmConstant = -0.002;
constexpr double reflectorConstant = -0.030;

std::vector<CALIBRATE_RAWREC> baselineRecords(const std::vector<Line>& lines) {
    std::vector<CALIBRATE_RAWREC> records = {constants(edmConstant, reflectorConstant),
                                             atmosphere(0, 1, 1.000283, 0.86, 0.0)};
    for (const Line& l : lines)
        records.push_back(observation(l));
    return records;
}

// The regression solved a second way: centred sums, the fitted line's own
// residuals for the variance, the textbook standard errors of a straight-line
// fit, sigma_b^2 = s0^2 / Sxx and sigma_a^2 = s0^2 sum x^2 / (n Sxx).
struct HandFit {
    double slope, intercept, variance, slopeSe, interceptSe;
};

HandFit handFit(const std::vector<Line>& lines) {
    std::vector<double> x, y;
    for (const Line& l : lines) {
        const double k = edmConstant + reflectorConstant;
        const double dh = (instrumentHeight + l.fromElev) - (reflectorHeight + l.toElev);
        x.push_back(l.published);
        y.push_back(l.published - std::sqrt((l.slope + k) * (l.slope + k) - dh * dh));
    }
    const double n = static_cast<double>(x.size());
    double mx = 0, my = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        mx += x[i] / n;
        my += y[i] / n;
    }
    double sxx = 0, sxy = 0, sumX2 = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        sxx += (x[i] - mx) * (x[i] - mx);
        sxy += (x[i] - mx) * (y[i] - my);
        sumX2 += x[i] * x[i];
    }
    HandFit f{};
    f.slope = sxy / sxx;
    f.intercept = my - f.slope * mx;
    double sse = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double e = y[i] - f.intercept - f.slope * x[i];
        sse += e * e;
    }
    f.variance = sse / (n - 2);
    f.slopeSe = std::sqrt(f.variance / sxx);
    f.interceptSe = std::sqrt(f.variance * sumX2 / (n * sxx));
    return f;
}

} // namespace

TEST(EdmCalibration, BaselineAgreesWithAHandFit) {
    EdmCalibration c;
    std::string error;
    ASSERT_EQ(computeEdmCalibration(baselineRecords(baseline), c, error), edmCalibrated) << error;
    const HandFit hand = handFit(baseline);
    const EdmCalibrationResults& r = c.results;
    EXPECT_NEAR(r.scaleError, hand.slope, 1e-12);
    EXPECT_NEAR(r.constantError, hand.intercept, 1e-9);
    EXPECT_NEAR(r.referenceVariance, hand.variance, 1e-12);
    EXPECT_NEAR(r.scaleStdError, hand.slopeSe, 1e-12);
    EXPECT_NEAR(r.constantStdError, hand.interceptSe, 1e-9);
    EXPECT_NEAR(r.scaleT, hand.slope / hand.slopeSe, 1e-6);
    EXPECT_NEAR(r.constantT, hand.intercept / hand.interceptSe, 1e-6);
    EXPECT_EQ(r.degreesOfFreedom, 5);
    EXPECT_DOUBLE_EQ(r.criticalT, 4.032);
    // The data were made with 4 mm and 6 ppm: the fit finds them within its noise.
    EXPECT_NEAR(r.constantError, 0.004, 3 * r.constantStdError);
    EXPECT_NEAR(r.scaleError, 6e-6, 3 * r.scaleStdError);
    ASSERT_EQ(c.lines.size(), baseline.size());
    // Line A-D by hand: dh = 101.512 - 103.030 = -1.518, D + K = 999.9915,
    // H = sqrt(999.9915^2 - 1.518^2) = 999.990347828...
    EXPECT_EQ(c.lines[2].fromStation, "A");
    EXPECT_EQ(c.lines[2].toStation, "D");
    EXPECT_NEAR(c.lines[2].horizontal, 999.9903478, 1e-6);
    EXPECT_NEAR(c.lines[2].residual, 1000.0 - 999.9903478, 1e-6);
    EXPECT_DOUBLE_EQ(c.lines[2].publishedSquared, 1e6);
}

// With the correction off, the weather and the refraction settings do not
// enter the result.
TEST(EdmCalibration, CorrectionOffIgnoresWeather) {
    auto records = baselineRecords(baseline);
    EdmCalibration plain, other;
    std::string error;
    ASSERT_EQ(computeEdmCalibration(records, plain, error), edmCalibrated);
    records[1] = atmosphere(0, 0, 1.5, 0.5, 30.0);
    for (CALIBRATE_RAWREC& r : records) {
        r.dryTemp_C = -20.0;
        r.wetTemp_C = -25.0;
        r.pressure_mmHg = 600.0;
    }
    ASSERT_EQ(computeEdmCalibration(records, other, error), edmCalibrated);
    EXPECT_EQ(plain.results.scaleError, other.results.scaleError);
    EXPECT_EQ(plain.results.constantError, other.results.constantError);
    EXPECT_EQ(plain.results.referenceVariance, other.results.referenceVariance);
}

// First-velocity correction of line A-D (D' = 1000.0235, no constants, level)
// at 25 C dry, 18 C wet, 740 mm of mercury, 0.86 um, n_ref = 1.000283, worked
// by hand (python3, double precision):
//   Ng = 1 + 1e-7 (2876.04 + 48.864/0.86^2 + 0.68/0.86^4) = 1.00029433512708
//   wet bulb: E' = 4.58 10^(7.5*18/255.3) = 15.4758722918 mm,
//             e = E' - 0.00066 (1 + 0.00115*18) 740 (25 - 18) = 11.9863031318 mm
//   g = 1.091525; n_a = 1 + (Ng-1)/g 740/760 - 5.5e-8 e/g = 1.00026195480559
//   D = D' + (n_ref - n_a) D' = 1000.04454568897
//   vapour pressure e = 12.5 mm: n_a = 1.00026192892132, D = 1000.04457157385
TEST(EdmCalibration, FirstVelocityCorrectionByMethod) {
    struct Case {
        int wetBulb;
        double expected;
    };
    for (const Case c : {Case{1, 1000.04454568897}, Case{0, 1000.04457157385}}) {
        SCOPED_TRACE(c.wetBulb);
        std::vector<CALIBRATE_RAWREC> records = {atmosphere(1, c.wetBulb, 1.000283, 0.86, 12.5)};
        for (double p : {1000.0, 500.0, 100.0}) {
            CALIBRATE_RAWREC ob = observation({"A", 0.0, "D", 0.0, 1000.0235, p});
            ob.instrumentHeight = ob.reflectorHeight = 0.0;
            records.push_back(ob);
        }
        EdmCalibration result;
        std::string error;
        records.back().slopeDistance = 100.0; // keep the fit from being exact
        ASSERT_EQ(computeEdmCalibration(records, result, error), edmCalibrated) << error;
        EXPECT_NEAR(result.lines[0].horizontal, c.expected, 1e-8);
    }
}

// Later header records replace earlier ones.
TEST(EdmCalibration, LaterConstantsReplaceEarlier) {
    auto records = baselineRecords(baseline);
    EdmCalibration first, shifted;
    std::string error;
    ASSERT_EQ(computeEdmCalibration(records, first, error), edmCalibrated);
    records.push_back(constants(edmConstant + 0.010, reflectorConstant));
    ASSERT_EQ(computeEdmCalibration(records, shifted, error), edmCalibrated);
    // 10 mm more on every slope distance is close to 10 mm less residual.
    EXPECT_NEAR(shifted.results.constantError, first.results.constantError - 0.010, 2e-5);
}

TEST(EdmCalibration, CriticalTTableAndBeyond) {
    // The table: two-sided 1 percent values for 1 to 30 degrees of freedom.
    EXPECT_EQ(edmCriticalT(0), 0.0);
    EXPECT_EQ(edmCriticalT(-3), 0.0);
    EXPECT_DOUBLE_EQ(edmCriticalT(1), 63.657);
    EXPECT_DOUBLE_EQ(edmCriticalT(30), 2.750);
    // Beyond the table: published 0.995 quantiles (e.g. NIST/SEMATECH
    // e-Handbook of Statistical Methods, table 1.3.6.7.2): 40 2.704, 60 2.660,
    // 100 2.626, 120 2.617; large samples approach z(0.995) = 2.5758.
    struct Row {
        int dof;
        double t;
        double tolerance;
    };
    for (const Row row :
         {Row{31, 2.744, 5e-4}, Row{40, 2.704, 5e-4}, Row{60, 2.660, 5e-4}, Row{100, 2.626, 5e-4},
          Row{120, 2.617, 5e-4}, Row{100000, 2.5758, 1e-4}}) {
        SCOPED_TRACE(row.dof);
        EXPECT_NEAR(edmCriticalT(row.dof), row.t, row.tolerance);
    }
    // More degrees of freedom, a smaller critical value.
    EXPECT_LT(edmCriticalT(31), edmCriticalT(30));
}

// More observations than the table covers: the critical value is computed.
TEST(EdmCalibration, ManyLinesUseTheComputedQuantile) {
    std::vector<Line> lines;
    const double k = edmConstant + reflectorConstant;
    for (int i = 0; i < 40; ++i) {
        const double p = 100.0 + 25.0 * i;
        // A residual pattern that no straight line fits exactly.
        const double h = p - (0.003 + 5e-6 * p + ((i % 3) - 1) * 0.001);
        // Both pillars at 100 m: dh = 1.512 - 1.600.
        lines.push_back({"A", 100.0, "B", 100.0, std::sqrt(h * h + 0.088 * 0.088) - k, p});
    }
    EdmCalibration c;
    std::string error;
    ASSERT_EQ(computeEdmCalibration(baselineRecords(lines), c, error), edmCalibrated) << error;
    EXPECT_EQ(c.results.degreesOfFreedom, 38);
    EXPECT_EQ(c.results.criticalT, edmCriticalT(38));
    EXPECT_NEAR(c.results.criticalT, 2.712, 1e-3);
}

// Data the computation refuses, each with its cause named; the previous
// result stays as it was.
TEST(EdmCalibration, RefusalsNameTheirCause) {
    const auto headerOnly = std::vector<CALIBRATE_RAWREC>{constants(0, 0)};
    auto two = baselineRecords({baseline[0], baseline[1]});
    std::vector<Line> samePublished = {baseline[0], baseline[0], baseline[0]};
    samePublished[1].slope += 0.002;
    std::vector<Line> tooSteep = baseline;
    tooSteep[3].toElev = 2000.0;
    std::vector<Line> exact;
    for (double p : {100.0, 200.0, 300.0, 400.0})
        exact.push_back({"A", 0.088, "B", 0.0, p - 0.005 + 0.032, p}); // dh = 0, r = 0.005
    struct Case {
        const char* name;
        std::vector<CALIBRATE_RAWREC> records;
        const char* cause;
    };
    const std::vector<Case> cases = {
        {"no observation", headerOnly, "no observed distances"},
        {"two observations", two, "At least 3 observed distances are needed"},
        {"equal published", baselineRecords(samePublished), "published distances are all the same"},
        {"height above slope", baselineRecords(tooSteep), "Observation 4 (A to E)"},
        {"exact fit", baselineRecords(exact), "fit a straight line exactly"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EdmCalibration kept;
        std::string error;
        ASSERT_EQ(computeEdmCalibration(baselineRecords(baseline), kept, error), edmCalibrated);
        const double scale = kept.results.scaleError;
        EXPECT_EQ(computeEdmCalibration(c.records, kept, error), edmNotCalibrated);
        EXPECT_NE(error.find(c.cause), std::string::npos) << error;
        EXPECT_EQ(kept.results.scaleError, scale);
        EXPECT_EQ(kept.lines.size(), baseline.size());
    }
}
