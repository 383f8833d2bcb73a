// Rotation of earth-centred difference vectors into the local east-north-up
// frame of a point and back.

#include "geodetic/earth_centred.hpp"
#include "geodetic/matrix.hpp"

#include <cmath>

namespace {

// Rows east, north, up of the rotation from ECEF differences to the local frame.
void fillEcefToLocal(Matrix* r, double lat, double lon) {
    const double sinLat = std::sin(lat), cosLat = std::cos(lat);
    const double sinLon = std::sin(lon), cosLon = std::cos(lon);
    const double values[3][3] = {{-sinLon, cosLon, 0.0},
                                 {-sinLat * cosLon, -sinLat * sinLon, cosLat},
                                 {cosLat * cosLon, cosLat * sinLon, sinLat}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r->element(i, j) = values[i][j];
}

void rotate(Matrix* rotation, const double in[3], double* out0, double* out1, double* out2) {
    Matrix vector(3, 1), result(3, 1);
    for (int i = 0; i < 3; ++i)
        vector.element(i, 0) = in[i];
    matrixMultiply(rotation, &vector, &result);
    *out0 = result.element(0, 0);
    *out1 = result.element(1, 0);
    *out2 = result.element(2, 0);
}

} // namespace

int localToLocalGeodetic(double lat, double lon, double x, double y, double z, double* e, double* n,
                         double* u) {
    Matrix rotation(3, 3);
    fillEcefToLocal(&rotation, lat, lon);
    const double in[3] = {x, y, z};
    rotate(&rotation, in, e, n, u);
    return 0;
}

int localGeodeticToLocal(double lat, double lon, double east, double north, double up, double* x,
                         double* y, double* z) {
    // The rotation is orthonormal: its inverse is its transpose, which a view
    // of its values presents without copying.
    Matrix rotation(3, 3);
    fillEcefToLocal(&rotation, lat, lon);
    Matrix transposed(3, 3, matrixTransposedView, rotation.data);
    const double in[3] = {east, north, up};
    rotate(&transposed, in, x, y, z);
    return 0;
}
