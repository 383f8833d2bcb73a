#include "engine/prelim_coords_3d.hpp"

#include "engine/assumed_azimuth_frame.hpp"
#include "engine/prelim_chain_3d.hpp"

int assumedAzimuthPass3D() {
    return assumedframe::solveInAssumedFrame<prelim3d::chain>();
}
