#include "model/point_errors.hpp"

#include "model/angle_math.hpp"
#include "model/plane_geometry.hpp"

#include <cmath>

namespace {

double spread(double stdErr) {
    return stdErr > 0 ? stdErr : 0.0;
}

template <class Point>
int inverseStdErrsOf(const Point& a, const Point& b, double& directionErr, double& distanceErr) {
    const double sE = std::hypot(spread(a.stdErrE), spread(b.stdErrE));
    const double sN = std::hypot(spread(a.stdErrN), spread(b.stdErrN));
    double d = 0.0;
    const double az = inverseDirDist(a.northing, a.easting, b.northing, b.easting, d);
    distanceErr = std::hypot(std::cos(az) * sN, std::sin(az) * sE);
    if (d <= 0) {
        directionErr = notComputed;
        return errorsCoincidentPoints;
    }
    directionErr =
        std::hypot((b.northing - a.northing) * sE, (b.easting - a.easting) * sN) / (d * d);
    return errorsComputed;
}

template <class Point>
int intersectDirectionsOf(const Point& a, double dirA, double errA_sec, const Point& b, double dirB,
                          double errB_sec, Point& p) {
    double n = 0.0;
    double e = 0.0;
    if (intersectDirDir(a.northing, a.easting, dirA, b.northing, b.easting, dirB, n, e) != 0)
        return geometryNoSolution;
    double base = 0.0;
    const double azAB = inverseDirDist(a.northing, a.easting, b.northing, b.easting, base);
    if (base <= 0)
        return geometryNoSolution;
    const double azBA = normalizedAngle(azAB + angle::pi);
    double angleAtA = 0.0;
    double beta = 0.0;
    angleFromDirections(dirA, azAB, angleAtA);
    angleFromDirections(azBA, dirB, beta);
    const double gamma = angle::pi - (angleAtA + beta);

    const double sA = errA_sec / angle::secondsPerRadian;
    const double sB = errB_sec / angle::secondsPerRadian;
    const double sGamma = std::hypot(sA, sB);
    double baseDirErr = 0.0;
    double sD = 0.0;
    inverseStdErrsOf(a, b, baseDirErr, sD);

    // Length A-P = D sin(beta) / sin(gamma), differentiated by D, beta and gamma.
    const double byBase = std::sin(beta) / std::sin(gamma) * sD;
    const double byBeta = std::cos(beta) * base / std::sin(gamma) * sB;
    const double byGamma = std::sin(beta) * base / (std::tan(gamma) * std::sin(gamma)) * sGamma;
    const double sL = std::sqrt(byBase * byBase + byBeta * byBeta + byGamma * byGamma);

    const double eastingTerm = std::hypot(std::sin(dirA) * sL, (a.northing - n) * sA);
    const double northingTerm = std::hypot(std::cos(dirA) * sL, (a.easting - e) * sA);
    p.easting = e;
    p.northing = n;
    p.stdErrE = std::hypot(spread(a.stdErrE), eastingTerm);
    p.stdErrN = std::hypot(spread(a.stdErrN), northingTerm);
    return geometrySolved;
}

} // namespace

int inverseStdErrs2D(coordRec a, coordRec b, double& directionErr, double& distanceErr) {
    return inverseStdErrsOf(a, b, directionErr, distanceErr);
}

int inverseStdErrs3D(stationRec a, stationRec b, double& directionErr, double& distanceErr) {
    return inverseStdErrsOf(a, b, directionErr, distanceErr);
}

double stationDistXYZ(stationRec a, stationRec b) {
    const double dX = b.ecefX - a.ecefX;
    const double dY = b.ecefY - a.ecefY;
    const double dZ = b.ecefZ - a.ecefZ;
    return std::sqrt(dX * dX + dY * dY + dZ * dZ);
}

int intersectDirections2D(const coordRec& a, double dirA, double errA_sec, const coordRec& b,
                          double dirB, double errB_sec, coordRec& p) {
    return intersectDirectionsOf(a, dirA, errA_sec, b, dirB, errB_sec, p);
}

int intersectDirections3D(const stationRec& a, double dirA, double errA_sec, const stationRec& b,
                          double dirB, double errB_sec, stationRec& p) {
    return intersectDirectionsOf(a, dirA, errA_sec, b, dirB, errB_sec, p);
}
