#include "engine/edm_calibration.hpp"

#include "engine/statistical_distributions.hpp"
#include "platform/c_locale_text.hpp"

#include <array>
#include <cmath>

namespace {

// Two-sided 1 percent critical values of t for 0 to 30 degrees of freedom.
constexpr std::array<double, 31> criticalTTable = {
    0.0,   63.657, 9.925, 5.841, 4.604, 4.032, 3.707, 3.499, 3.355, 3.250, 3.169,
    3.106, 3.055,  3.012, 2.977, 2.947, 2.921, 2.898, 2.878, 2.861, 2.845, 2.831,
    2.819, 2.807,  2.797, 2.787, 2.779, 2.771, 2.763, 2.756, 2.750};

constexpr double twoSidedLevel = 0.01;

// P(|T| > t) = I_x(dof / 2, 1 / 2) with x = dof / (dof + t^2).
double twoSidedTail(int dof, double t) {
    double tail = 1.0;
    incompleteBeta(dof / 2.0, 0.5, dof / (dof + t * t), &tail);
    return tail;
}

// The settings the header records give the observations.
struct Atmosphere {
    double edmConstant = 0.0;
    double reflectorConstant = 0.0;
    int apply = 0;
    int wetBulb = 1;
    double referenceIndex = 0.0;
    double vapourPressure = 0.0;
    double groupIndex = 0.0;
};

double groupIndexOf(double wavelength_um) {
    const double l2 = wavelength_um * wavelength_um;
    return 1.0 + 1e-7 * (2876.04 + 48.864 / l2 + 0.68 / (l2 * l2));
}

Atmosphere headerOf(const std::vector<CALIBRATE_RAWREC>& records, int& observations) {
    Atmosphere a;
    observations = 0;
    for (const CALIBRATE_RAWREC& r : records) {
        if (r.kind == edmConstants) {
            a.edmConstant = r.edmConstant;
            a.reflectorConstant = r.reflectorConstant;
        } else if (r.kind == edmAtmosphere) {
            a.apply = r.applyCorrection;
            a.wetBulb = r.wetBulb;
            a.referenceIndex = r.refractionIndex;
            a.vapourPressure = r.vapourPressure_mmHg;
            if (r.applyCorrection != 0)
                a.groupIndex = groupIndexOf(r.wavelength_um);
        } else if (r.kind == edmObservation) {
            ++observations;
        }
    }
    return a;
}

double vapourPressureOf(const Atmosphere& a, const CALIBRATE_RAWREC& ob) {
    if (a.wetBulb == 0)
        return a.vapourPressure;
    const double wet = ob.wetTemp_C;
    const double saturated = 4.58 * std::pow(10.0, 7.5 * wet / (wet + 237.3));
    return saturated - 0.00066 * (1.0 + 0.00115 * wet) * ob.pressure_mmHg * (ob.dryTemp_C - wet);
}

double correctedDistance(const Atmosphere& a, const CALIBRATE_RAWREC& ob) {
    if (a.apply == 0)
        return ob.slopeDistance;
    const double e = vapourPressureOf(a, ob);
    const double g = 1.0 + 0.003661 * ob.dryTemp_C;
    const double ambient =
        1.0 + (a.groupIndex - 1.0) / g * ob.pressure_mmHg / 760.0 - 5.5e-8 * e / g;
    return ob.slopeDistance + (a.referenceIndex - ambient) * ob.slopeDistance;
}

bool reduceLines(const std::vector<CALIBRATE_RAWREC>& records, const Atmosphere& a,
                 std::vector<compCalibRec>& lines, std::string& error) {
    const double k = a.edmConstant + a.reflectorConstant;
    for (const CALIBRATE_RAWREC& ob : records) {
        if (ob.kind != edmObservation)
            continue;
        const double slope = correctedDistance(a, ob) + k;
        const double dh =
            (ob.instrumentHeight + ob.fromElevation) - (ob.reflectorHeight + ob.toElevation);
        if (std::fabs(dh) > std::fabs(slope)) {
            error = platform::formatC("Observation %zu (%s to %s): the height difference %.4f "
                                      "exceeds the corrected slope distance %.4f.",
                                      lines.size() + 1, ob.fromStation.c_str(),
                                      ob.toStation.c_str(), dh, slope);
            return false;
        }
        compCalibRec line;
        line.fromStation = ob.fromStation;
        line.toStation = ob.toStation;
        line.published = ob.publishedDistance;
        line.horizontal = std::sqrt(slope * slope - dh * dh);
        line.residual = line.published - line.horizontal;
        line.publishedTimesResidual = line.published * line.residual;
        line.publishedSquared = line.published * line.published;
        lines.push_back(line);
    }
    return true;
}

// The published distances spread so little that n sum P^2 - (sum P)^2 is
// rounding noise.
bool publishedAllEqual(const std::vector<compCalibRec>& lines, double sumP) {
    const double mean = sumP / static_cast<double>(lines.size());
    double spread = 0.0;
    double size = 0.0;
    for (const compCalibRec& line : lines) {
        spread += (line.published - mean) * (line.published - mean);
        size += line.publishedSquared;
    }
    return spread <= 1e-12 * size;
}

bool fitLine(std::vector<compCalibRec>& lines, EdmCalibrationResults& out, std::string& error) {
    const double n = static_cast<double>(lines.size());
    for (const compCalibRec& line : lines) {
        out.sumPublished += line.published;
        out.sumResidual += line.residual;
        out.sumPublishedResidual += line.publishedTimesResidual;
        out.sumPublishedSquared += line.publishedSquared;
    }
    if (publishedAllEqual(lines, out.sumPublished)) {
        error = "The published distances are all the same: the scale error cannot be told from "
                "the constant error.";
        return false;
    }
    out.sumPublishedThenSquared = out.sumPublished * out.sumPublished;
    out.meanResidual = out.sumResidual / n;
    const double den = n * out.sumPublishedSquared - out.sumPublishedThenSquared;
    const double sxy = n * out.sumPublishedResidual - out.sumPublished * out.sumResidual;
    out.scaleError = sxy / den;
    out.constantError =
        (out.sumPublishedSquared * out.sumResidual - out.sumPublishedResidual * out.sumPublished) /
        den;
    for (compCalibRec& line : lines) {
        const double d = line.residual - out.meanResidual;
        line.centredResidualSquared = d * d;
        out.sumCentredResidualSquared += line.centredResidualSquared;
    }
    out.degreesOfFreedom = static_cast<int>(lines.size()) - 2;
    out.referenceVariance =
        (out.sumCentredResidualSquared - sxy * out.scaleError / n) / out.degreesOfFreedom;
    // A standard deviation at the level of the distances' rounding is an exact fit.
    const double roundingLevel = 1e-10 * std::sqrt(out.sumPublishedSquared / n);
    if (!(out.referenceVariance > roundingLevel * roundingLevel)) {
        error = "The residuals fit a straight line exactly: there is no variance to test the "
                "errors against.";
        return false;
    }
    out.scaleStdError = std::sqrt(n * out.referenceVariance / den);
    out.constantStdError = std::sqrt(out.referenceVariance * out.sumPublishedSquared / den);
    out.scaleT = out.scaleError / out.scaleStdError;
    out.constantT = out.constantError / out.constantStdError;
    out.criticalT = edmCriticalT(out.degreesOfFreedom);
    return true;
}

} // namespace

double edmCriticalT(int degreesOfFreedom) {
    if (degreesOfFreedom < 1)
        return 0.0;
    if (degreesOfFreedom < static_cast<int>(criticalTTable.size()))
        return criticalTTable[static_cast<std::size_t>(degreesOfFreedom)];
    // The tail falls as t grows; the value for 30 bounds the quantile above.
    double lo = 0.0;
    double hi = criticalTTable.back();
    while (hi - lo > 1e-10) {
        const double mid = (lo + hi) / 2.0;
        (twoSidedTail(degreesOfFreedom, mid) > twoSidedLevel ? lo : hi) = mid;
    }
    return (lo + hi) / 2.0;
}

int computeEdmCalibration(const std::vector<CALIBRATE_RAWREC>& records, EdmCalibration& calibration,
                          std::string& error) {
    int n = 0;
    const Atmosphere atmosphere = headerOf(records, n);
    if (n < 1) {
        error = "There are no observed distances to calibrate with.";
        return edmNotCalibrated;
    }
    if (n < 3) {
        error = platform::formatC("At least 3 observed distances are needed to calibrate; "
                                  "there are %d.",
                                  n);
        return edmNotCalibrated;
    }
    EdmCalibration computed;
    computed.lines.reserve(static_cast<std::size_t>(n));
    if (!reduceLines(records, atmosphere, computed.lines, error) ||
        !fitLine(computed.lines, computed.results, error))
        return edmNotCalibrated;
    calibration = std::move(computed);
    return edmCalibrated;
}
