#pragma once
// The number tokens of the .RW5 records the reader reads: each holds one
// whole number after its prefix (or a marker its record takes), or the
// record is refused. Tokens read as far as they go turned a distance
// "SD30#.816" into 30.

#include "input/rw5_lines.hpp"

#include <string>

// The first number token of `record` whose value is not empty and is neither
// a number nor a marker of its place ("*" for a standard error, "#" and "!"
// for the control ones), as `<field> "<token>"`; empty when there is none or
// the record is of a code whose tokens the reader does not read as numbers.
std::string damagedRw5Number(const Rw5Record& record);

// The same for the angle, vertical and distance tokens of a sight, the angle
// at token `angleToken` of the record.
std::string damagedRw5Sight(const Rw5Record& record, std::size_t angleToken);
