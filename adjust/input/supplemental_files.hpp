#pragma once
// The supplemental control file of the project (`controlNEFileName`, its
// format `nezFileFmtType`, named relative to the project's folder) read into
// one value per point for the three places its points go: the raw data, the
// 3D control stations and the 2D control points.
//
// Formats 0 to 4 are coordinate files, opened through the coordinate file
// library whatever their own type (name, code and description without their
// blanks; a coordinate the file does not give is unset); 5, 6 and 7 are the
// text formats of input/supplemental_lines.hpp.

#include "input/supplemental_lines.hpp"

#include <functional>
#include <string>

// True for the coordinate-file formats (0 to 4).
bool isSupplementalCrdFormat(int format);

// Calls `take` with each point of the file in the order of the file. The
// lines of format 6 come with the grid northing and easting of their
// latitude and longitude in the project's unit (unset in a local system).
// 0, or 1 with the message in `error`:
//   coordinate files: "No supplamental NEZ file has been specified", the
//     path followed by " does not exist.", "Error opening: <path>",
//     "Error reading: <path>"; a point whose coordinate is no data (NaN,
//     1e300) stops the reading with "<path>, point "<name>": <sentence>";
//   text files: "Error opening <path>"; a refused line (see
//     supplemental_lines.hpp) stops the reading with "<path>, line <n>:
//     <sentence> Record: <line>".
int readSupplementalControl(const std::function<void(const SupplementalLine&)>& take,
                            std::string& error);
