#include "model/project_ellipsoid.hpp"

#include "model/settings/global_vars.hpp"

#include "geodetic/projection_engine.hpp"

#include <array>

namespace {

struct ellipsoidAxes {
    double a;
    double f;
};

constexpr double inverse(double invFlattening) {
    return 1.0 / invFlattening;
}

// Settings codes 0-15 in the order of the settings' ellipsoid list.
constexpr std::array<ellipsoidAxes, 16> ellipsoidTable{{
    {6377563.396, 0.0033408506414970775}, // 0 Airy 1830
    {6377340.189, 0.0033408506414970775}, // 1 Modified Airy
    {6378160.0, 0.003352891869237217},    // 2 Australian National
    {6377397.155, inverse(299.1528128)},  // 3 Bessel 1841
    {6378206.4, 0.0033900753040885176},   // 4 Clarke 1866
    {6378249.145, inverse(293.465)},      // 5 Clarke 1880
    {6377276.345, inverse(300.8017)},     // 6 Everest (EA, India 1830)
    {6377298.556, inverse(300.8017)},     // 7 Everest (EB, Brunei and E. Malaysia)
    {6377301.243, inverse(300.8017)},     // 8 Everest (EC, India 1956)
    {6378137.0, 0.0033528106811836675},   // 9 GRS 1980
    {6378200.0, 0.003352329869259135},    // 10 Helmert 1906
    {6378270.0, 0.003367003367003367},    // 11 Hough 1960
    {6378388.0, 0.003367003367003367},    // 12 International 1924
    {6378160.0, 0.003352891869237217},    // 13 South American 1969
    {6378135.0, 0.003352779454167505},    // 14 WGS 1972
    {6378137.0, 0.0033528106647474805},   // 15 WGS 1984
}};

constexpr ellipsoidAxes wgs84 = ellipsoidTable[15];

} // namespace

ellipsoid grs80Ellipsoid() {
    ellipsoid ell{};
    initEllipsoid(&ell, grs80SemiMajor_m, grs80Flattening);
    return ell;
}

ellipsoid clarke1866Ellipsoid() {
    ellipsoid ell{};
    initEllipsoid(&ell, clarke1866SemiMajor_m, clarke1866Flattening);
    return ell;
}

int initEllipsoidByType(ellipsoid& ell, int code) {
    if (code == userDefinedEllipsoid)
        return 0;
    const bool inTable = code >= 0 && code < static_cast<int>(ellipsoidTable.size());
    const ellipsoidAxes axes = inTable ? ellipsoidTable[static_cast<std::size_t>(code)] : wgs84;
    initEllipsoid(&ell, axes.a, axes.f);
    return 0;
}

void initUdpEllipsoid(ellipsoid& ell, const udpRec& udp) {
    if (udp.EllipsInt == userDefinedEllipsoid)
        initEllipsoid(&ell, udp.EllipseA, udp.EllipseF);
    else
        initEllipsoidByType(ell, udp.EllipsInt);
}

void initProjectEllipsoid(ellipsoid& ell) {
    if (projectVars.ellipsoid == userDefinedEllipsoid)
        initEllipsoid(&ell, projectVars.udp.EllipseA, projectVars.udp.EllipseF);
    else
        initEllipsoidByType(ell, projectVars.ellipsoid);
}

int initGridSystemEllipsoid(ellipsoid& ell) {
    switch (projectVars.gridSystem) {
    case gridStatePlane83:
    case gridNewBrunswickStereographic:
        ell = grs80Ellipsoid();
        return 0;
    case gridStatePlane27:
        ell = clarke1866Ellipsoid();
        return 0;
    case gridUtm:
        initProjectEllipsoid(ell);
        return 0;
    case gridUserDefined:
        initUdpEllipsoid(ell, projectVars.udp);
        return 0;
    default:
        return 1;
    }
}

std::string spatialModelRefusal() {
    ellipsoid ell{};
    if (projectVars.gridSystem != gridStatePlane27 && initGridSystemEllipsoid(ell) == 0)
        return {};
    return "The 3D model needs a coordinate system with geodetic positions: State Plane 1983, "
           "UTM, New Brunswick or a user-defined projection.";
}

void projectEllipsoidAxes(double& semiMajor_m, double& flattening) {
    ellipsoid ell{};
    initProjectEllipsoid(ell);
    semiMajor_m = ell.semiMajor;
    flattening = ell.flattening;
}
