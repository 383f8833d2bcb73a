#pragma once
// The check of a .VKR record line before it is read: each field the record
// gives must be wholly what it is. Read as far as they went, a distance
// "30#.816" was 30 m, a control line "1245 800" an easting of 1245 and an
// elevation of 800, a foresight "LONGNAME001" the point LONGNAME00, and
// minutes of 75 an angle 1 degree 15 minutes larger.
//
// - '1' and '2' records: the blank columns between the fixed fields are
//   blank; the names (station, a setup's backsight, a foresight record's
//   foresight) are names of at most 10 characters, a setup's backsight and a
//   foresight record's foresight are given; the HI, target height and
//   distance, and the vertical difference of a '2' record, are numbers; the
//   reading and a '1' record's zenith are angles in the project's unit
//   (dd.mmss with minutes and seconds below 60, or grads).
// - '3' and "6DR": two fields, "FROM-TO" names and the azimuth (an angle in
//   the project's unit, or a coded quadrant bearing).
// - "6C ": three or four fields before the description (name, northing,
//   easting, elevation); "6E ": two (name, elevation). A description starts
//   at an apostrophe. "6C", "6E" and "6DR" of their code alone lack their
//   point name (from point for "6DR").
// - "6SE": each value after a key's colon is a number or the marker its key
//   takes, up to the next key.
// Other records are not checked: the reader does not read them.

#include "platform/record_fields.hpp"

#include <optional>
#include <string>

// The first field of `line` that is not what it must be; none when every
// field is. Reads the angle and direction units of `projectVars`.
std::optional<platform::FieldError> vkrRecordFault(const std::string& line);

// The refusal of a record whose code is none of the format's: a type other
// than '1', '2', '3', '5' and '6', or after '6' letters other than "C",
// "E", "S" (each then a blank or the line's end), "DR" (the same), "SE" and
// "DO". Such a code is a damaged one: read as no record, it dropped a
// control point or hung a setup's sights on the setup before. None for a
// blank line, which is no record.
std::optional<platform::FieldError> vkrCodeFault(const std::string& line);
