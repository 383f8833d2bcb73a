#pragma once
// Converted raw records written as a .VKR file: the header line, then one
// line per record, each ended by CR LF.
// - header: 498 characters, blank but for "100" ("%3d") in columns 190-192,
//   "VER 1.0   " in 198-207 and the record count ("%010d") in 209-218;
// - setup: 187 characters; '1' in column 0, station from 1, HI "%8.3f" in
//   12-19, backsight from 21, backsight target height "%8.3f" in 32-39,
//   reading (packed dd.mmss, "%-8.4f") from 41, distance "%9.3f" in 52-60,
//   zenith (packed) from 62;
// - foresight: as a setup with the station, HI and backsight blank, the
//   target height in 32-39, the point from 72, the code from 83 and the
//   description from 87;
// - coordinate: "6C name northing easting [elevation] ['code,description]"
//   ("%.3f"), so that reading the file back keeps the description.
// A value that is not set leaves its columns blank; a value too wide for its
// columns is refused, since it would shift every field after it.

#include "model/raw_record.hpp"

#include <string>

std::string writeVkrHeader(int recordCount);

// Each fills `line` (with its CR LF) and returns an empty text, or the
// reason the record cannot be written.
std::string writeVkrSetupLine(const rawRec& setup, std::string& line);
std::string writeVkrForesightLine(const rawRec& foresight, std::string& line);
std::string writeVkrCoordLine(const rawRec& coordinate, std::string& line);

// The header and every record of `tsConvertRawList` in order into `text`;
// an empty text, or the reason of the first record that cannot be written.
std::string writeVkrFromConvertList(std::string& text);
