// The Danish grids: WGS84 to UTM zone 32 on ED50 and back, joined to the
// polynomial step of each region.

#include "geodetic/danish_grids.hpp"

#include "geodetic/earth_centred.hpp"
#include "geodetic/explicit_projections.hpp"
#include "geodetic/projection_engine.hpp"

#include "earth_centred_newton.hpp"
#include "transverse_mercator.hpp"

#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr double arcSecond = std::numbers::pi / 648000.0;
constexpr std::array<double, 3> ed50Shift{81.0703, 89.3603, 115.7526};
constexpr std::array<double, 3> ed50Rotation_arcsec{0.48488, 0.02436, 0.41321};
constexpr double toEd50Scale = 1.0000005406452923;
constexpr double toWgs84Scale = 0.999999459355;
constexpr int utmZone = 32;

using Vector = std::array<double, 3>;

// The ellipsoids, the zone and the datum change's matrices are the same for
// every point: made once.
const ellipsoid& wgs84() {
    static const ellipsoid ell = [] {
        ellipsoid e{};
        initEllipsoid(&e, 6378137.0, 1.0 / 298.257223563);
        return e;
    }();
    return ell;
}

const ellipsoid& international1924() {
    static const ellipsoid ell = [] {
        ellipsoid e{};
        initEllipsoid(&e, 6378388.0, 1.0 / 297.0);
        return e;
    }();
    return ell;
}

using Rotation = std::array<Vector, 3>;

// M = R3(ez) R2(ey) R1(ex), each R the rotation of the axes by e, and e =
// sign times the datum's rotations.
Rotation rotationOf(double sign) {
    const double ex = sign * ed50Rotation_arcsec[0] * arcSecond;
    const double ey = sign * ed50Rotation_arcsec[1] * arcSecond;
    const double ez = sign * ed50Rotation_arcsec[2] * arcSecond;
    const double cx = std::cos(ex), sx = std::sin(ex);
    const double cy = std::cos(ey), sy = std::sin(ey);
    const double cz = std::cos(ez), sz = std::sin(ez);
    return {{
        {cz * cy, sz * cx + cz * sy * sx, sz * sx - cz * sy * cx},
        {-sz * cy, cz * cx - sz * sy * sx, cz * sx + sz * sy * cx},
        {sy, -cy * sx, cy * cx},
    }};
}

// scale * M^-1 * v (M^-1 = M^T).
Vector rotateAndScale(const Rotation& m, double scale, const Vector& v) {
    Vector out{};
    for (int c = 0; c < 3; ++c)
        out[c] = scale * (m[0][c] * v[0] + m[1][c] * v[1] + m[2][c] * v[2]);
    return out;
}

Vector helmertWgs84ToEd50(const Vector& p) {
    static const Rotation m = rotationOf(-1.0);
    return rotateAndScale(m, toEd50Scale,
                          {p[0] + ed50Shift[0], p[1] + ed50Shift[1], p[2] + ed50Shift[2]});
}

Vector helmertEd50ToWgs84(const Vector& p) {
    static const Rotation m = rotationOf(1.0);
    return rotateAndScale(m, toWgs84Scale,
                          {p[0] - ed50Shift[0], p[1] - ed50Shift[1], p[2] - ed50Shift[2]});
}

const zoneCnstntTM& utm32OnEd50() {
    static const zoneCnstntTM zone = [] {
        zoneCnstntTM z{};
        initUTMZone(utmZone, 0, international1924(), &z);
        return z;
    }();
    return zone;
}

// UTM 32 on ED50 as the projection engine takes it, with the sine and
// cosine of its central meridian (east-positive), by which earth-centred X
// and Y turn into the longitude from it.
struct Utm32Grid {
    geodetic_detail::TransverseMercatorZone zone;
    double sinCm, cosCm;
};

const Utm32Grid& utm32Grid() {
    static const Utm32Grid grid = [] {
        const zoneCnstntTM& z = utm32OnEd50();
        const double cmEast = -z.centralMeridian;
        return Utm32Grid{{&z.ellipsoid, z.scaleFactor, z.falseNorthing, z.falseEasting, z.originLat,
                          z.centralMeridian},
                         std::sin(cmEast),
                         std::cos(cmEast)};
    }();
    return grid;
}

// Latitude, longitude, height on WGS84 to UTM 32 northing, easting and the
// height on International 1924. The latitude stays a sine and a cosine and
// the longitude X and Y over p from the earth-centred step to the
// projection, which needs no arctangent, sine or cosine of either, nor the
// point scale and convergence.
geodCoord wgs84ToUtm32Ed50(double lat, double lon, double h) {
    geodCoord p{};
    p.lat = lat;
    p.lon = lon;
    p.elev = h;
    latLongElev2XYZ_EC(wgs84(), &p);
    const Vector ed50 = helmertWgs84ToEd50({p.easting, p.northing, p.elev});
    const geodetic_detail::GeodeticTerms g =
        geodetic_detail::geodeticTermsByNewton(international1924(), ed50[0], ed50[1], ed50[2]);
    const Utm32Grid& utm = utm32Grid();
    // On the polar axis, the central meridian.
    const double invP = g.p == 0.0 ? 0.0 : 1.0 / g.p;
    const double sinLon = (ed50[1] * utm.cosCm - ed50[0] * utm.sinCm) * invP;
    const double cosLon = g.p == 0.0 ? 1.0 : (ed50[0] * utm.cosCm + ed50[1] * utm.sinCm) * invP;
    geodCoord out{};
    geodetic_detail::transverseMercatorGrid(utm.zone, g.sinLat, g.cosLat, sinLon, cosLon, &out);
    out.elev = g.h;
    return out;
}

// UTM 32 northing, easting and height on ED50 to WGS84 latitude, longitude
// and height.
int utm32Ed50ToWgs84(double northing, double easting, double h, geodCoord* out) {
    geodCoord p{};
    p.northing = northing;
    p.easting = easting;
    const int status = XY_TransverseMercator2latLong(utm32OnEd50(), &p);
    if (status != 0)
        return status;
    p.elev = h;
    latLongElev2XYZ_EC(international1924(), &p);
    const Vector wgs = helmertEd50ToWgs84({p.easting, p.northing, p.elev});
    const geodetic_detail::GeodeticPosition g =
        geodetic_detail::geodeticByNewton(wgs84(), wgs[0], wgs[1], wgs[2]);
    out->lat = g.lat;
    out->lon = g.lon;
    out->elev = g.h;
    return 0;
}

int wgs84ToGrid(int region, double lat, double lon, double h, double* X, double* Y, double* hEd50) {
    const geodCoord utm = wgs84ToUtm32Ed50(lat, lon, h);
    double first, second;
    const int status = tcts_u(utm.northing, utm.easting, &first, &second, region, 1);
    if (status != 0)
        return status;
    *X = second;
    *Y = first;
    *hEd50 = utm.elev;
    return 0;
}

int gridToWgs84(int region, double X, double Y, double hEd50, double* lat, double* lon, double* h) {
    double northing, easting;
    int status = tcts_u(Y, X, &northing, &easting, region, -1);
    if (status != 0)
        return status;
    geodCoord p{};
    status = utm32Ed50ToWgs84(northing, easting, hEd50, &p);
    if (status != 0)
        return status;
    *lat = p.lat;
    *lon = p.lon;
    *h = p.elev;
    return 0;
}

} // namespace

int latlongWGS84ToXYSys34Jylland(double lat, double lon, double h, double* X, double* Y,
                                 double* hEd50) {
    return wgs84ToGrid(danishJylland, lat, lon, h, X, Y, hEd50);
}

int latlongWGS84ToXYSys34Sjlland(double lat, double lon, double h, double* X, double* Y,
                                 double* hEd50) {
    return wgs84ToGrid(danishSjaelland, lat, lon, h, X, Y, hEd50);
}

int latlongWGS84ToXYSys45Bornholm(double lat, double lon, double h, double* X, double* Y,
                                  double* hEd50) {
    return wgs84ToGrid(danishBornholm, lat, lon, h, X, Y, hEd50);
}

int latlongWGS84ToXYSys34UTM32ED50(double lat, double lon, double h, double* X, double* Y,
                                   double* hEd50) {
    return wgs84ToGrid(danishUtm32Ed50, lat, lon, h, X, Y, hEd50);
}

int XYSys34Jylland2latlongWGS84(double X, double Y, double hEd50, double* lat, double* lon,
                                double* h) {
    return gridToWgs84(danishJylland, X, Y, hEd50, lat, lon, h);
}

int XYSys34Sjlland2latlongWGS84(double X, double Y, double hEd50, double* lat, double* lon,
                                double* h) {
    return gridToWgs84(danishSjaelland, X, Y, hEd50, lat, lon, h);
}

int XYSys34Bornholm2latlongWGS84(double X, double Y, double hEd50, double* lat, double* lon,
                                 double* h) {
    return gridToWgs84(danishBornholm, X, Y, hEd50, lat, lon, h);
}

int XYSys34UTM32ED502latlongWGS84(double X, double Y, double hEd50, double* lat, double* lon,
                                  double* h) {
    return gridToWgs84(danishUtm32Ed50, X, Y, hEd50, lat, lon, h);
}
