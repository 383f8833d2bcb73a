#pragma once
// The point-number ranges of a coordinate file, as the point-overwrite
// question offers them for choosing another point name. Point names are
// read as integers (a name that is no number counts as 0), in the file's
// order.

#include "ptbank/vk_crd_api.h"

#include <string>
#include <vector>

// Appends to `lines` (nothing when it is null), after matching the library's
// user type to the file and rewinding it:
// used ranges (`usedFlag` non-zero): "%ld -> %ld" per run of consecutive
//   numbers (none for an empty file);
// available ranges: "%ld -> %ld" per gap before a point, then "%ld ->" after
//   the last one (an empty file gives "1 ->").
// Points 1, 2, 3, 7, 8 give "1 -> 3", "7 -> 8" used and "4 -> 6", "9 ->" available.
void listCrdPointIds(VkCrdHandle handle, int usedFlag, std::vector<std::string>* lines);
