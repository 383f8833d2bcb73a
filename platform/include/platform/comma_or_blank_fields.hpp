#pragma once
// The split rule of the text formats whose fields are "separated by blanks
// or commas": a record that holds a comma is split at commas alone, blanks
// and tabs around each field removed; one without is split at runs of
// blanks and tabs. Runs of separators count as one (no empty field).
//
// Splitting a comma-separated record at its blanks as well made a blank
// inside a number ("1245 800") two numbers, and the fields after it moved
// up one place without a word; at commas alone the field "1245 800" stays
// one field, which a number read refuses.

#include <string_view>
#include <vector>

namespace platform {

std::vector<std::string_view> splitOnCommasOrBlanks(std::string_view record);

} // namespace platform
