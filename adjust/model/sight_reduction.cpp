#include "model/sight_reduction.hpp"

#include "model/angle_math.hpp"
#include "model/plane_geometry.hpp"
#include "model/settings/global_vars.hpp"

#include <cmath>

int curvRefrAngles(double length, double zenith, int feet, double& curvature, double& refraction) {
    const double radius = feet ? earthRadiusFeet : earthRadiusMetres;
    const double k = feet ? refractionPerFoot : refractionPerMetre;
    curvature = std::asin(std::sin(zenith) * length / (2 * radius));
    refraction = angle::pi * (length * k * std::sin(zenith)) / 180.0;
    return 0;
}

void slopeToHzVertCurvRefr(double slope, double zenith, double& horizontal, double& heightDiff) {
    if (zenith == 0.0) {
        horizontal = 0.0;
        heightDiff = slope;
        return;
    }
    double c = 0.0;
    double r = 0.0;
    curvRefrAngles(slope, zenith, projectVars.HorizUnits != 0, c, r);
    const double slopeOverArc = slope / std::cos(c);
    const double zenithAtTarget = zenith - c + r;
    horizontal = std::fabs(std::sin(zenithAtTarget - c) * slopeOverArc);
    heightDiff = std::cos(zenithAtTarget) * slopeOverArc;
}

int slopeToHzVert(int reduced, double distance, double second, double instrumentHeight,
                  double targetHeight, double& horizontal, double& heightDiff) {
    if (reduced) {
        horizontal = distance;
        heightDiff = second;
    } else if (!projectVars.curvRefract) {
        horizontal = std::fabs(std::sin(second)) * distance;
        heightDiff = distance * std::cos(second);
    } else {
        slopeToHzVertCurvRefr(distance, second, horizontal, heightDiff);
    }
    heightDiff += instrumentHeight - targetHeight;
    if (projectVars.gridSystem == gridLocal)
        horizontal *= projectVars.SF;
    return std::fabs(second) < geometryZero && distance > geometryZero ? 1 : 0;
}

int slopeObsStdErrs(double& distErr, double& heightDiffErr, double& zenithErr_sec, double slope,
                    double zenith, double vertPointing_sec, double vertReading_sec,
                    double distConstant, double ppm) {
    distErr = distConstant + ppm * slope / 1e6;
    zenithErr_sec =
        std::sqrt(vertPointing_sec * vertPointing_sec + vertReading_sec * vertReading_sec);
    const double zenithErr = zenithErr_sec / angle::secondsPerRadian;
    const double alongSight = std::cos(zenith) * distErr;
    const double acrossSight = slope * std::sin(zenith) * zenithErr;
    heightDiffErr = std::sqrt(alongSight * alongSight + acrossSight * acrossSight);
    return 0;
}
