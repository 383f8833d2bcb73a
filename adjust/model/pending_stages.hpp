#pragma once
// Stages of a processing run that later work builds. Until then each one
// stops the run with StageNotBuilt, naming itself; it never pretends to have
// done its work. As a stage is built its declaration moves to the header of
// its own file and its entry here is deleted.

#include "geodetic/geodesy_records.hpp"
#include "model/observation_records.hpp"
#include "model/point_records.hpp"

#include <string>
#include <string_view>
#include <vector>

// Blunder detection's listing of the 3D observations against the
// preliminary coordinates, to the report file `handle`.
int writeMeasuredVsComputed3D(int handle);
