#pragma once
// What the readers say of a number field of a user's file that holds no
// number. Every reader parses its number fields with platform::parseDataNumber
// (the whole field or nothing) and names the refused field with its text, so
// the user finds it: `distance "30#.816"`.

#include <string>
#include <string_view>

// `<field> "<text>"`.
std::string quotedField(std::string_view field, std::string_view text);

// `The <field> "<text>" is not a number.` from the quoted field.
std::string notANumberLine(std::string_view quoted);
