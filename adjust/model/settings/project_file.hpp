#pragma once
// The text project file (.prj) beside the older binary project archive.

#include <string>

// The format version every written project carries.
inline constexpr int projectFileVersion = 7;

// True when the file starts with "TARNWELL_PROJECT_VERSION"; anything else (a
// shorter file, one that cannot be opened) counts as a legacy archive.
bool isTextProjectFile(const std::string& path);

// The supplemental-control format code of projects up to version 6 in the
// current numbering: 0->1, 1->2, 4->3, 5->4, 6->5, 7->6, anything else 0.
int renumberedControlFormat(int olderCode);
