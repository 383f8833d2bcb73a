#pragma once
// The "KEY:value" tokens of a standard-error sub-record (6SE).
//
// Keys (upper case; the three-letter keys are tried before the two-letter
// ones and those before the one-letter ones, so "AZ" is not "Z" nor "ROD"
// "D"): AZ, PE, RE, VP, VR (seconds of arc), TE, IE (centering), X, Y, Z
// (control easting, northing, elevation), D (distance constant), PPM, HI, ROD.
// Values: "*" the project's own setting; for X, Y and Z "!" fixed (-2) and
// "#" free (-1), and a number is taken as its absolute value with 0 (up to
// 1e-15) read as 1e-6. Linear values, the project's included, are multiplied
// by the reader's unit factor.

#include "platform/record_fields.hpp"

#include <optional>
#include <string>
#include <string_view>

struct rawRec;

// Sets the field of `record` for every key found in `text`; unknown keys set nothing.
void scanStdErrTokens(const std::string& text, rawRec& record, double unitFactor);

// The first recognised key of `text` whose value is neither a number nor a
// marker its key takes, its field named `standard error <KEY>`; none when
// every value is one. A value runs to the next key, so a blank inside a
// number ("PE:1 .5") refuses it instead of leaving ".5" unread.
std::optional<platform::FieldError> stdErrValueFault(std::string_view text);
