#pragma once
// Point aliases met in the raw data: a second name the field crew gave a
// point. Before the observation lists are built every alias in the raw
// records is replaced by the point's own name.

// Lists the aliases of `pointAliasList` in the error report ("Point Aliases:",
// one "  Pt. alias = Pt. point" line each, an empty line), then replaces every
// alias in `rawDataList` (setup station and backsight, foresight, coordinate
// point, azimuth ends), advancing the progress count per record.
// 0, or 1 when there are no aliases (nothing is written or changed).
int replaceRawAliases();
