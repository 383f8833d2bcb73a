// The 1927 Lambert zones projected on their defining parameters with the
// rigorous Lambert conformal conic of two standard parallels, on Clarke 1866
// in US survey feet.

#include "state_plane_27_lambert.hpp"

#include "lambert_conic.hpp"
#include "state_plane_27_formulas.hpp"

#include "geodetic/projection_engine.hpp"

#include <algorithm>
#include <numbers>

namespace geodetic_detail {

double SexagesimalAngle::radians() const {
    return (degrees + minutes / 60.0 + seconds / 3600.0) * std::numbers::pi / 180.0;
}

namespace {

// Clarke 1866 in US survey feet, enlarged by `scale`: Michigan's zones are
// defined on the ellipsoid enlarged by 1.0000382, which lifts the grid by
// that ratio above the plain ellipsoid.
ellipsoid clarke1866InFeet(double scale) {
    ellipsoid ell{};
    initEllipsoid(&ell, clarke1866SemiMajor_m / usSurveyFoot_m * scale,
                  (clarke1866SemiMajor_m - clarke1866SemiMinor_m) / clarke1866SemiMajor_m);
    return ell;
}

LambertZone coneOfDefinition(const Lambert27Definition& definition, const ellipsoid& ell) {
    return {&ell,
            definition.northParallel.radians(),
            definition.southParallel.radians(),
            definition.originLat.radians(),
            definition.centralMeridian.radians(),
            definition.falseNorthing,
            definition.falseEasting};
}

} // namespace

const Lambert27Definition* lambert27DefinitionOf(const zoneconstant27& zone) {
    const auto found =
        std::find_if(lambert27Definitions.begin(), lambert27Definitions.end(),
                     [&](const Lambert27Definition& d) { return d.zoneCode == zone.zoneCode; });
    if (found == lambert27Definitions.end())
        return nullptr;
    zoneconstant27 row{};
    if (initSPC27Zone(zone.zoneCode, &row) != projectionOk || row.zoneType != spc27Lambert)
        return nullptr;
    // T9 to T11 belong to the tables' own radius series, which the rigorous
    // projection does not use.
    constexpr int definingConstants = 8;
    if (!std::equal(zone.tab, zone.tab + definingConstants, row.tab))
        return nullptr;
    return &*found;
}

// The point's scale is taken against the plain ellipsoid, as the zone's
// distances are reduced to it: the enlargement multiplies it.
void definedLambertToGrid(const Lambert27Definition& definition, geodCoord* point) {
    const ellipsoid ell = clarke1866InFeet(definition.ellipsoidScale);
    // Every definition has two distinct standard parallels: the cone exists.
    lambertForward(coneOfDefinition(definition, ell), point);
    point->scale *= definition.ellipsoidScale;
}

void definedLambertToGeodetic(const Lambert27Definition& definition, geodCoord* point) {
    const ellipsoid ell = clarke1866InFeet(definition.ellipsoidScale);
    lambertInverse(coneOfDefinition(definition, ell), point);
    point->scale *= definition.ellipsoidScale;
}

} // namespace geodetic_detail
