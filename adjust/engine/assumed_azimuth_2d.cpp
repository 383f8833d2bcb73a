#include "engine/prelim_coords_2d.hpp"

#include "engine/assumed_azimuth_frame.hpp"
#include "engine/prelim_chain_2d.hpp"

int assumedAzimuthPass2D() {
    return assumedframe::solveInAssumedFrame<prelim2d::chain>();
}
