#pragma once
// Reduction of one total-station sight: earth curvature and refraction, slope
// distance and zenith angle to horizontal distance and height difference, and
// the a-priori standard errors of the sight.
//
// Lengths are in the caller's unit (metres, or feet when the feet flag or the
// project's `HorizUnits` says so); angles in radians; zenith angles from the
// zenith. The settings read are those of `projectVars`: `HorizUnits`,
// `curvRefract`, `gridSystem` and `SF`.

// Earth radius and refraction constant (degrees of refraction per unit of
// horizontal distance) of the curvature and refraction correction.
inline constexpr double earthRadiusMetres = 6372148.8;
inline constexpr double earthRadiusFeet = 2.0906e7;
inline constexpr double refractionPerMetre = 6.233595800524934e-7;
inline constexpr double refractionPerFoot = 1.9e-7;

// Curvature angle c = asin(sin z x D / 2R) and refraction angle
// r = pi x (D x k x sin z) / 180 of a sight of horizontal length D; feet
// constants when `feet` is non-zero. Returns 0.
int curvRefrAngles(double length, double zenith, int feet, double& curvature, double& refraction);

// Slope distance and zenith to horizontal distance and height difference
// with curvature and refraction (feet constants when the project's
// `HorizUnits` is not 0). A zenith of exactly 0 gives horizontal 0 and the
// slope distance as the height difference.
void slopeToHzVertCurvRefr(double slope, double zenith, double& horizontal, double& heightDiff);

// One sight to horizontal distance and height difference from mark to mark:
// - `reduced` non-zero: `distance` and `second` are already the horizontal
//   distance and the height difference;
// - else `distance` is the slope distance and `second` the zenith, reduced
//   plainly or, with the project's `curvRefract`, by slopeToHzVertCurvRefr.
// The height difference then gets HI minus target height, and in a local
// system (`gridSystem` 0) the horizontal distance is multiplied by `SF`.
// Returns 1 when `second` is near zero while the distance exceeds 1e-15 (a
// zenith of 0: an invalid vertical angle), else 0.
int slopeToHzVert(int reduced, double distance, double second, double instrumentHeight,
                  double targetHeight, double& horizontal, double& heightDiff);

// A-priori standard errors of one slope measurement:
// distance error = constant + ppm x S / 1e6;
// zenith error (seconds) = sqrt(pointing^2 + reading^2);
// height-difference error = sqrt((cos z x sD)^2 + (S sin z x sz)^2) with sz
// the zenith error in radians. Pointing and reading errors in seconds of arc.
// Returns 0.
int slopeObsStdErrs(double& distErr, double& heightDiffErr, double& zenithErr_sec, double slope,
                    double zenith, double vertPointing_sec, double vertReading_sec,
                    double distConstant, double ppm);
