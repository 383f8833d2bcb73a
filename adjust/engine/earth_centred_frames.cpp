#include "engine/earth_centred_frames.hpp"

#include "model/project_ellipsoid.hpp"

#include "geodetic/earth_centred.hpp"
#include "geodetic/matrix.hpp"

#include <cmath>

namespace {

struct localAxes {
    double north[3];
    double east[3];
    double up[3];
};

localAxes axesAt(double lat, double lon) {
    const double sp = std::sin(lat), cp = std::cos(lat);
    const double sl = std::sin(lon), cl = std::cos(lon);
    return {{-sp * cl, -sp * sl, cp}, {-sl, cl, 0.0}, {cp * cl, cp * sl, sp}};
}

void setRow(Matrix& m, int row, const double (&axis)[3]) {
    for (int column = 0; column < 3; ++column)
        m.element(row, column) = axis[column];
}

} // namespace

void geodToEcefWgs84(stationRec& station) {
    geodCoord point{};
    point.lat = station.latitude;
    point.lon = station.longitude;
    point.elev = station.elevation;
    latLongElev2XYZ_EC(grs80Ellipsoid(), &point);
    station.ecefX = point.easting;
    station.ecefY = point.northing;
    station.ecefZ = point.elev;
}

int localToEcefVector(double lat, double lon, double north, double east, double up, double& dX,
                      double& dY, double& dZ) {
    const localAxes axes = axesAt(lat, lon);
    Matrix rotation(3, 3);
    setRow(rotation, 0, axes.north);
    setRow(rotation, 1, axes.east);
    setRow(rotation, 2, axes.up);
    matrixInverse(&rotation);
    Matrix local(3, 1);
    local.element(0, 0) = north;
    local.element(1, 0) = east;
    local.element(2, 0) = up;
    Matrix ecef(3, 1);
    matrixMultiply(&rotation, &local, &ecef);
    dX = ecef.element(0, 0);
    dY = ecef.element(1, 0);
    dZ = ecef.element(2, 0);
    return 0;
}

std::array<double, 6> localToEcefCovariance(double lat, double lon,
                                            const std::array<double, 6>& eastNorthUp) {
    const localAxes axes = axesAt(lat, lon);
    Matrix rotation(3, 3);
    setRow(rotation, 0, axes.east);
    setRow(rotation, 1, axes.north);
    setRow(rotation, 2, axes.up);
    const auto [ee, nn, uu, en, eu, nu] = eastNorthUp;
    Matrix local(3, 3);
    const double values[3][3] = {{ee, en, eu}, {en, nn, nu}, {eu, nu, uu}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            local.element(i, j) = values[i][j];
    Matrix transposed(3, 3, matrixTransposedView, rotation.getMAry());
    Matrix left(3, 3);
    matrixMultiply(&transposed, &local, &left);
    Matrix ecef(3, 3);
    matrixMultiply(&left, &rotation, &ecef);
    return {ecef.element(0, 0), ecef.element(1, 1), ecef.element(2, 2),
            ecef.element(0, 1), ecef.element(0, 2), ecef.element(1, 2)};
}
