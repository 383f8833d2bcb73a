#pragma once
// The ellipsoids of the project's coordinate systems: the table of ellipsoid
// codes the settings offer, and which ellipsoid each coordinate system
// (`projectVars.gridSystem`) works on.
//
// Axes in metres; the flattening f, not its inverse. Sources: NIMA TR8350.2
// (3rd ed., 2000), Table A1, and the EPSG geodetic parameter dataset. Codes
// 3 (Bessel 1841), 5 (Clarke 1880) and 6-8 (Everest) carry those published
// values: Bessel 1841 a 6377397.155, 1/f 299.1528128 (EPSG 7004); Clarke
// 1880 1/f 293.465 (EPSG 7012); Everest 1/f 300.8017 (TR8350.2 EA, EB, EC).

#include "model/settings/udp_record.hpp"

#include "geodetic/geodesy_records.hpp"

#include <string>

// GRS 80: State Plane 1983, New Brunswick and earth-centred WGS 84 work.
inline constexpr double grs80SemiMajor_m = 6378137.0;
inline constexpr double grs80Flattening = 0.0033528106811836675;
// Clarke 1866 as State Plane 1927's earth-centred conversions use it (1/f
// 294.9787); the mark-to-mark reduction uses 1/f 294.9786982.
inline constexpr double clarke1866SemiMajor_m = 6378206.4;
inline constexpr double clarke1866Flattening = 0.0033900752834018183;
inline constexpr double clarke1866MarkFlattening = 0.0033900753040885176;

ellipsoid grs80Ellipsoid();
ellipsoid clarke1866Ellipsoid();

// Fills `ell` with the ellipsoid of settings code 0-15. Code 16
// (`userDefinedEllipsoid`) leaves the record as the caller filled it; any
// other code gives WGS 84. Returns 0.
int initEllipsoidByType(ellipsoid& ell, int code);

// The project's ellipsoid (`projectVars.ellipsoid`); code 16 takes the axis
// and flattening of the project's user-defined projection record.
void initProjectEllipsoid(ellipsoid& ell);

// The ellipsoid of a user-defined projection record: its `EllipsInt`, and
// for 16 its own `EllipseA` and `EllipseF`.
void initUdpEllipsoid(ellipsoid& ell, const udpRec& udp);

// The ellipsoid of the project's coordinate system: GRS 80 for State Plane
// 1983 and New Brunswick, Clarke 1866 for State Plane 1927, the project
// ellipsoid for UTM, the user projection's for a user-defined system. Returns
// 0, or 1 with the record untouched for a local system.
int initGridSystemEllipsoid(ellipsoid& ell);

// Why the 3D model cannot work in the project's coordinate system, or empty
// when it can: it needs geodetic positions on the system's ellipsoid, which a
// local grid lacks, and State Plane 1927's conversions are not carried into
// its earth-centred frames.
std::string spatialModelRefusal();

// The project ellipsoid's semi-major axis (metres) and flattening, as the
// report header shows them for a UTM project.
void projectEllipsoidAxes(double& semiMajor_m, double& flattening);
