#pragma once
// The small 3D terrestrial project of fixtures/run/terrestrial_3d: the
// example traverse (two fixed stations, two to compute, angles, slope
// distances and zenith angles from every setup) moved onto the grid of UTM
// zone 18 on GRS 80, where the grid scale is close to 1. Its preliminary
// coordinates can be computed; the run then goes on to the 3D adjustment.

#include "model/settings/global_vars.hpp"
#include "support/temp_folder.hpp"

#include <string>

namespace testsupport {

inline std::string terrestrial3DFixture(const std::string& file) {
    return std::string(TARNWELL_FIXTURES) + "/run/terrestrial_3d/" + file;
}

// The project's raw data file.
inline std::string terrestrial3DRaw() {
    return readBytes(terrestrial3DFixture("site3d.vkr"));
}

// The settings that make a project 3D on the fixture's grid.
inline void useTerrestrial3DSystem(globalVars& settings) {
    settings.geodeticModel = 1;
    settings.gridSystem = gridUtm;
    settings.gridZone = 18;
    settings.ellipsoid = 9;
}

} // namespace testsupport
