#pragma once
// The final coordinates of a run, written after the report files are closed:
// the ASCII coordinate file (<project>.NEZ, one record per point in the
// layout `asciiNEZType` chooses, see nez_record.hpp), the printable listing
// (<project>.OUT, headed by writeOutHeader) and, when `wrtToCrd` is set, the
// project's coordinate file (coordinate_file_output.hpp). The .OUT is then
// shown in its report window.
//
// Points: first the fixed list, then the main list (azimuth dummy points
// never). Each point gives a .NEZ record (northing and easting "%12.*f"
// with `neOutPrec`, elevation with `zOutPrec` or the `nullElev` text cut to
// 10 characters when it has none, standard errors "%7.*f": empty below -2,
// zero from -2 up to 0) and an .OUT line ("%-10.10s %-4.4s %s %s %s   %s"
// for fixed points, the code right-aligned "%4.4s" for the others: name,
// code, the two coordinates "%12.*f" with `coordPrec` in the order of
// `NEDisplayType`, elevation with `distPrec` or 12 blanks, description).
// A failed write ends that pass (the failure has been shown).
//
// `adjusted`: 1 after an adjustment, 0 after preprocessing; it only picks
// the .OUT title. The .NEZ and the .OUT are written under temporary names
// and replace the previous ones only when both are whole: after any failure
// the previous pair stays. Failures are shown as messages: "error opening
// %s" when an output file cannot be created (nothing is written then).
// Messages, progress and the questions of the coordinate file go through
// the context. Both return whether the .NEZ and .OUT are new and what the
// project's coordinate file did not take.

#include "model/run_context.hpp"
#include "reports/coordinate_file_output.hpp"

struct FinalCoordsOutcome {
    // The .NEZ and the .OUT of this run are in place.
    bool written = false;
    CrdShortfall coordinateFile;
};

// The 2D chain (`fixedPointList2D`, `pointList2D`), values as they stand;
// standard errors with `coordPrec` decimals. A geocentric layout in a local
// coordinate system is refused with a message and set back to layout 0.
FinalCoordsOutcome writeFinalCoords(const RunContext& context, int adjusted);

// The 3D chain (`fixedStationList`, `stationList`): metres times the factor
// of `HorizUnits` (a negative standard error keeps its "none" or "fixed"
// meaning and is not scaled), elevations above the geoid (ellipsoidal height
// less the geoid separation), standard errors with `neOutPrec` decimals. The
// geocentric layout (17) writes each station's earth-centred X, Y and Z in
// metres ("%12.*f" with `neOutPrec`) in the places of northing, easting and
// elevation of layout 0; the .OUT and the coordinate file keep the grid.
FinalCoordsOutcome writeFinalCoords3D(const RunContext& context, int adjusted);
