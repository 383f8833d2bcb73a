#pragma once
// The display settings the sideshot tests render their expected lines with:
// azimuths in degrees-minutes-seconds to 0.1", three decimals of length.

#include "model/settings/global_vars.hpp"

inline void useSideshotListingSettings() {
    projectVars.directionType = 1;
    projectVars.angleType = 0;
    projectVars.directionPrec = 1;
    projectVars.coordPrec = 3;
    projectVars.distPrec = 3;
    projectVars.elevDispPrec = 3;
    projectVars.HorizUnits = 0;
}
