#pragma once
// Aliases written into raw-record descriptions: behind the project's alias
// marker (`PtSubstituteS`) the field crew names the real point of a point
// they measured under another name. Each pair is kept in `pointAliasList`,
// which replaces the aliases before the observation lists are built.

#include <string>

struct rawRec;

// Registers `alias` as a second name of the point named at the start of
// `afterMarker` (leading blanks skipped, up to the next blank). Returns 0;
// 1 after writing to the error report when no point name follows the marker
// ("Found the alias: %s but no point name") or when the alias already stands
// for another point ("Invalid Point alias: %s cannot be alias for two points:
// %s & %s").
int registerRawAlias(const std::string& afterMarker, const std::string& marker,
                     const std::string& alias);

// The description part of a coordinate record: a comma with at most four
// characters before it gives the `code` and the text after it; a text holding
// `marker` (when not empty) registers `pointName` as an alias and leaves the
// description empty (whether the alias is taken or refused); any other text
// is the `description` (at most 170 characters).
void parseRawAlias(const std::string& text, rawRec& record, const std::string& marker,
                   const std::string& pointName);
