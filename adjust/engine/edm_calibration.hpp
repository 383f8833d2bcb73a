#pragma once
// The calibration of an electronic distance meter on a baseline. Each
// observed slope distance D' is corrected for the atmosphere (first-velocity
// correction), given the instrument and reflector constants and reduced to
// the horizontal through the heights of its two stations; the residuals
// r = P - H against the published distances P are fitted as a straight line
// in P, r = c + s P, by least squares: c is the EDM's constant error, s its
// scale error (dimensionless). Both are tested against zero with Student's t
// at the 1 percent level (two-sided).
//
// Atmosphere (lengths in the unit of the observations, temperatures in
// degrees Celsius, pressures in mm of mercury, wavelength lambda in
// micrometres):
//   group index        Ng = 1 + 1e-7 (2876.04 + 48.864 / lambda^2 + 0.68 / lambda^4)
//   vapour pressure    e  = E' - 0.00066 (1 + 0.00115 t') p (t - t'),
//                      E' = 4.58 * 10^(7.5 t' / (t' + 237.3))   (wet-bulb method)
//   ambient index      n_a = 1 + (Ng - 1) / g * p / 760 - 5.5e-8 e / g, g = 1 + 0.003661 t
//   corrected          D  = D' + (n_ref - n_a) D'
// (the Barrell-Sears form of the group refractive index with the
// psychrometer formula for e).

#include "input/edm_file.hpp"

#include <string>
#include <vector>

// One computed baseline line, in observation order.
struct compCalibRec {
    std::string fromStation;
    std::string toStation;
    double published = 0.0;              // P
    double horizontal = 0.0;             // H
    double residual = 0.0;               // r = P - H
    double publishedTimesResidual = 0.0; // P r
    double publishedSquared = 0.0;       // P^2
    double centredResidualSquared = 0.0; // (r - mean r)^2
};

// What a computation came to.
struct EdmCalibrationResults {
    double scaleError = 0.0;        // s, dimensionless
    double constantError = 0.0;     // c, in the unit of the observations
    double referenceVariance = 0.0; // sigma0^2
    double scaleStdError = 0.0;
    double constantStdError = 0.0;
    double scaleT = 0.0;
    double constantT = 0.0;
    double criticalT = 0.0;
    int degreesOfFreedom = 0;
    // The running sums.
    double sumPublished = 0.0;              // sum P
    double sumResidual = 0.0;               // sum r
    double sumPublishedResidual = 0.0;      // sum P r
    double sumPublishedSquared = 0.0;       // sum P^2
    double sumCentredResidualSquared = 0.0; // sum (r - mean r)^2
    double sumPublishedThenSquared = 0.0;   // (sum P)^2
    double meanResidual = 0.0;
};

struct EdmCalibration {
    std::vector<compCalibRec> lines;
    EdmCalibrationResults results;
};

inline constexpr int edmCalibrated = 0;
inline constexpr int edmNotCalibrated = 1;

// The 0.995 quantile of Student's t with `degreesOfFreedom` degrees of
// freedom (the two-sided 1 percent critical value): the three-decimal table
// value for 1 to 30, computed from the incomplete beta function (to 1e-9)
// above 30, and 0 for fewer than 1.
double edmCriticalT(int degreesOfFreedom);

// Computes the calibration from the records in order (later CN and AT
// records replace earlier ones). edmCalibrated, or edmNotCalibrated with
// `calibration` unchanged and the cause in `error`: no OB record, fewer than
// three (no degrees of freedom left), published distances that are all the
// same (the scale cannot be told from the constant), a line whose height
// difference exceeds its corrected slope distance (named by its number and
// stations), or residuals that fit the line exactly (no variance to test).
int computeEdmCalibration(const std::vector<CALIBRATE_RAWREC>& records, EdmCalibration& calibration,
                          std::string& error);
