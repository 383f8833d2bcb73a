#pragma once
// Control for .RW5 data that brings none: the occupied points with
// coordinates ("OC" records) or, failing those, an assumed starting point
// at the first setup. Both go to the 2D control lists (`controlPointList2D`,
// `azimuthList2D`) before the observation lists are built.

#include "input/rw5_lines.hpp"

#include <vector>

// Every "OC" record adds its point to `controlPointList2D` with the
// project's standard errors `stErrX`, `stErrY`, `stErrZ` times `unitFactor`
// (no elevation: its error -1, not given). The pass ends with 0 after an
// "OC" point when `azimuthList2D` already holds an azimuth, or after adding
// the azimuth of the first "BK" that occupies the last "OC" point and names
// its backsight (BS azimuth, `stErrAz` of the reader in force). 1 when the
// files run out first.
int readRw5OcControl(const std::vector<Rw5File>& files, double unitFactor);

// Takes the first "BK" that names its occupied point as control at northing
// 10000, easting 10000 and a fixed elevation of 100, with `stErrX` and
// `stErrY` times `unitFactor`, oriented towards its backsight (when it names
// one other than "BACK1") by its BS azimuth (0 when it has none).
// 0, or 1 when the files hold no such "BK".
int assumeRw5StartControl(const std::vector<Rw5File>& files, double unitFactor);
