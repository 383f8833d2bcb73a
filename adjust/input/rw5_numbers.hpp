#pragma once
// The check of an .RW5 record before it is read: each token the reader reads
// holds wholly what it must after its prefix (or a marker its record takes),
// or the reading stops naming it. Tokens read as far as they went turned a
// distance "SD30#.816" into 30, a decimal comma "SD50,123" into 50 and
// minutes of 75 into an angle 1 degree 15 minutes larger.
//
// - numbers: heights, distances, coordinates, vertical differences ("CE"),
//   standard errors;
// - angles, dd.mmss with minutes and seconds below 60: horizontal readings,
//   azimuths and bearings (after their quadrant letters), zenith and
//   vertical angles, the backsight azimuth and circle of "BK";
// - point names: at most 10 characters (a longer one was cut, and two points
//   could become one); the foresight of a sight other than "BD" and "BR"
//   (which sight the setup's backsight) is given.
// - a sight's prefixes: of its angle token "AR", "AZ", "DR", "DL", "GN",
//   "AL" or "BR" followed by the quadrant letters NE, SE, SW or NW; of its
//   vertical token "ZE" (zenith angle), "CE" (vertical difference) or "VA"
//   (vertical angle); of its distance token "SD" or "HD". Any other was read
//   as some other of them: "QL" as an angle right, "QE" as a vertical angle,
//   "QD" as a slope distance, each moving the point by metres.
// - the count: no more fields than the code has (a decimal comma in
//   "SD50,123" makes one more; its second part was never read).
// A refused token is quoted whole, prefix included: `distance "SD30#.816"`.

#include "input/rw5_lines.hpp"
#include "platform/record_fields.hpp"

#include <cstddef>
#include <optional>
#include <string_view>

// The first token of `record` that is not what it must be; none when every
// token is, or the record is of a code whose tokens the reader does not read.
std::optional<platform::FieldError> rw5RecordFault(const Rw5Record& record);

// The same for the angle, vertical and distance tokens of a sight, the angle
// at token `angleToken` of the record.
std::optional<platform::FieldError> rw5SightFault(const Rw5Record& record, std::size_t angleToken);

// The number after the first `prefixLength` bytes of a token, or its refusal
// naming `field` and quoting the whole token.
platform::FieldValue<double> rw5TokenNumber(std::string_view token, std::size_t prefixLength,
                                            std::string_view field);
