#pragma once
// The supplemental control file of the project read into the raw data as
// coordinate records, so that its points serve as control in every run
// (input/supplemental_files.hpp reads the file in any of its formats).
// Only points the raw data or the GPS vectors use are taken; of a text file
// only lines that carry an elevation, of a coordinate file every point.
// One record is appended per line: a point given twice is given twice.

#include "input/supplemental_lines.hpp"

#include <string>
#include <string_view>

// 1 when the name is a setup's station or backsight, a foresight, a
// coordinate record's point or an end of an azimuth record in `rawDataList`,
// or an end of a vector of `gpsVectorList`; names compared without case.
int isPointInRawData(std::string_view name);

// Appends the file's points to `rawDataList`: a coordinate record (kind 2)
// with the name, northing, easting, elevation, description and code; in
// format 7 a standard-error record (kind 5) with the line's standard errors
// goes before it. 0, or 1 with the reason in `error` when the file cannot be
// read (see readSupplementalControl).
int addSupplementalToRawList(std::string& error);
