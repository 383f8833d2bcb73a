#pragma once
// The coordinate file that a run writes (`crdFileName`, `crdFileType`) is
// chosen in a file dialog whose filter entries name the file types. The
// entries come in one of two orders, the program's own utilities' types
// first or the V&K types first (`useVkTool` 1).
//
// `crdFileType`: 1 V&K numeric, 2 V&K alphanumeric (.vkc), 3 Velmora
// numeric, 4 Velmora alphanumeric, 5 Autodesk Land Desktop (.mdb),
// 6 Plainview (.zak).

#include <string>

// The dialog's filter for the choice of utilities.
std::string coordinateFileFilter(int useVkTool);
// The default extension of a file of `crdFileType`: "vkc", "mdb", "zak", else "crd".
std::string coordinateFileExtension(int crdFileType);
// The filter entry (1-6) that names `crdFileType` in the order of `useVkTool`;
// entry 1 for a type the dialog has no entry of its own for.
int coordinateFilterEntry(int crdFileType, int useVkTool);
// The `crdFileType` of filter entry 1-6 in the order of `useVkTool`; 0 for
// any other entry (the type is then left as it was).
int coordinateFileTypeOfEntry(int filterEntry, int useVkTool);
