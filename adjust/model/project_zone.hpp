#pragma once
// The zone records of the project's coordinate system. A zone code that the
// system does not have stops the run (UnknownZone, "Unknown zone %d"):
// converting on an empty zone record would give coordinates that look real.

#include "geodetic/geodesy_records.hpp"
#include "geodetic/state_plane_27.hpp"

// The State Plane 1983 zone of `zone` (NGS code, 101 for Alabama East).
zoneCnstnt statePlane83Zone(int zone);
// The State Plane 1927 zone of `zone`.
zoneconstant27 statePlane27Zone(int zone);
// Stops the run unless `zone` is a UTM zone (1-120).
void requireUtmZone(int zone);
