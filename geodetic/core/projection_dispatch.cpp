// The zone-constant engine's entry points: each picks the projection that
// the zone record names.

#include "geodetic/projection_engine.hpp"
#include "lambert_conic.hpp"
#include "oblique_mercator.hpp"
#include "transverse_mercator.hpp"

int geod2Grid(const ellipsoid* ell, const zoneCnstnt* zone, geodCoord* point) {
    switch (zone->projType) {
    case projTransverseMercator:
        return geod2TM(ell, zone, point);
    case projLambertTwoParallels:
        return geod2Lambert(ell, zone, point);
    case projObliqueMercatorAzimuth:
        return geod2OM(ell, zone, point);
    default:
        return projectionRefused;
    }
}

int grid2Geod(const ellipsoid* ell, const zoneCnstnt* zone, geodCoord* point) {
    switch (zone->projType) {
    case projTransverseMercator:
        return TM2Geod(ell, zone, point);
    case projLambertTwoParallels:
        return Lambert2Geod(ell, zone, point);
    case projObliqueMercatorAzimuth:
        return OM2Geod(ell, zone, point);
    default:
        return projectionRefused;
    }
}

namespace {

// delta(from, to) of the zone's projection; false when it cannot be computed.
bool arcToChord(const ellipsoid* ell, const zoneCnstnt* zone, const geodCoord& from,
                const geodCoord& to, double* delta) {
    using namespace geodetic_detail;
    switch (zone->projType) {
    case projTransverseMercator:
        *delta = transverseMercatorArcToChord(tmZoneOf(ell, zone), from, to);
        return true;
    case projLambertTwoParallels:
        return lambertArcToChord(lambertZoneOf(ell, zone), from, to, delta);
    case projObliqueMercatorAzimuth:
        *delta = obliqueMercatorArcToChord(*ell, *zone, from, to);
        return true;
    default:
        return false;
    }
}

} // namespace

int getTMT(const ellipsoid* ell, const zoneCnstnt* zone, const geodCoord* at,
           const geodCoord* first, const geodCoord* second, double* tmt) {
    double toSecond = 0.0, toFirst = 0.0;
    if (!arcToChord(ell, zone, *at, *second, &toSecond) ||
        !arcToChord(ell, zone, *at, *first, &toFirst))
        return projectionRefused;
    *tmt = toSecond - toFirst;
    return projectionOk;
}
