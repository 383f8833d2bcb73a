#pragma once
// Point aliases met in the raw data: a second name the field crew gave a
// point. Before the observation lists are built every alias in the raw
// records is replaced by the point's own name.

#include <string>
#include <string_view>

// Lists the aliases of `pointAliasList` in the error report ("Point Aliases:",
// one "  Pt. alias = Pt. point" line each, an empty line), then replaces every
// alias in `rawDataList` (setup station and backsight, foresight, coordinate
// point, azimuth ends), advancing the progress count per record.
// 0, or 1 when there are no aliases (nothing is written or changed).
int replaceRawAliases();

// The point name that follows an alias marker: the text after it, leading
// blanks skipped, up to the next blank; empty when there is none.
std::string aliasPointName(std::string_view afterMarker);

// Keeps `alias` as another name of `point` in `pointAliasList` (names
// compared without regard to case). Returns an empty text when the pair is
// kept or already known; when the alias already stands for another point,
// nothing changes and the refusal is returned for the error report:
// "Invalid Point alias: <alias> cannot be alias for two points: <point> & <other>".
std::string addPointAlias(std::string_view alias, std::string_view point);
