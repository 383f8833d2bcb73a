#pragma once
// The per-file record behind each handle of the exported interface (and the
// library's own default record), and the point operations on it. They hide
// the two ways a file is held: disk mode, where the record's CrdFile reads
// and writes a coordinate file, and memory mode, where the points live in
// the record's own memory file. They convert records between the interface
// layout crdPointRec and the CrdFile layout crdIoPointRec, justify names,
// codes and descriptions to the widths of the file's format, and map the
// failures of the lower layers onto the few results the exports return.
//
// Name buffers hold VKCRD_NAME_SIZE (256) bytes: several operations write a
// name right-justified in 255 characters back into them.

#include "ptbank/crd_memory_file.hpp"
#include "ptbank/vk_crd_api.h"

#include <cstddef>
#include <string>

namespace ptbank {
class CrdFile;
struct crdIoPointRec;
} // namespace ptbank

struct CfInfoStruct {
    // Made and destroyed by the record's owner.
    ptbank::CrdFile* crdFile = nullptr;
    // File name without folder and extension, spelt as on disk.
    std::string name;
    // Folder, ending in a separator when not empty.
    std::string directory;
    // Extension with its dot; ".crd" when it is empty at open.
    std::string extension;
    int open = 0;
    // 1 after a successful open (and in memory mode), 0 after a reset.
    int ready = 0;
    // Set at open; in memory mode kept up by writes and deletions.
    int pointCount = 0;
    std::string highestName;
    // 1 feet, 0 not; from the format at open, set by the caller for memory files.
    signed char feetFlag = 0;
    // The points of a memory-mode record; each record owns its own list.
    ptbank::MemoryCrdFile memory;
    int memoryMode = 0;
    int memoryOpen = 0;
};

// The short record of the text exchange: at most 10, 4 and 100 characters
// of name, code and description.
struct crdShortPointRec {
    char name[11];
    char code[5];
    double northing;
    double easting;
    double elevation;
    char description[104];
};
static_assert(offsetof(crdShortPointRec, name) == 0);
static_assert(offsetof(crdShortPointRec, code) == 11);
static_assert(offsetof(crdShortPointRec, northing) == 16);
static_assert(offsetof(crdShortPointRec, easting) == 24);
static_assert(offsetof(crdShortPointRec, elevation) == 32);
static_assert(offsetof(crdShortPointRec, description) == 40);
static_assert(sizeof(crdShortPointRec) == 144);

namespace ptbank {

// Results of the point operations.
namespace cf_result {
inline constexpr int ok = 0;
inline constexpr int alreadyOpen = 1; // cfOpen
inline constexpr int noPoint = 1;     // cfReadPoint, cfFirstPoint: nothing stored
inline constexpr int present = 1;     // cfWriteUnlessPresent: kept
inline constexpr int failure = -1;
inline constexpr int invalidName = -2; // or a format error, or a rejected record
} // namespace cf_result

// Opens directory + name + extension (created when `create` is set or no
// file exists there; memory mode makes an empty list): 0 opened, 1 already
// open, -1 failure.
int cfOpen(int create, CfInfoStruct& info);
// Closes a disk file: 0.
int cfClose(CfInfoStruct& info);
// Closes, frees a memory list and forgets the file: 0.
int cfReset(CfInfoStruct& info);

// Restarts the walk and empties the name buffer: 0; -1 when the disk file
// is not open (or the memory file has no list).
int cfRewind(char* nameBuffer, CfInfoStruct& info);
// The first point into the whole record (name first): 0, or 1 when there is
// none (record emptied).
int cfFirstPoint(CfInfoStruct& info, crdPointRec& buffer);
// The walk's next point: 1, 0 none, -1 no name buffer. In memory mode the
// point after the name in the buffer; pass the record itself as the buffer.
int cfNextPoint(char* nameBuffer, crdPointRec& point, CfInfoStruct& info);
// The point before the one named in the buffer: 1 or 0.
int cfPrevPoint(char* nameBuffer, crdPointRec& point, CfInfoStruct& info);
// 0 found; 1 no coordinate stored (record cleared, its name set); -2
// invalid name or format error; -1 other failure.
int cfReadPoint(const char* name, crdPointRec& point, CfInfoStruct& info);
// 0 written; -2 invalid name or rejected record; -1 failure. A disk write
// justifies the caller's record in place to the format's widths.
int cfWritePoint(int isNew, crdPointRec& point, CfInfoStruct& info);
// Writes unless a point of the name is stored and overwrite is 0 (then 1).
int cfWriteUnlessPresent(int overwrite, crdPointRec& point, CfInfoStruct& info);
// 0 deleted (or nothing stored under the name on disk); -2 invalid or too
// long name; -1 failure.
int cfDeletePoint(const char* name, CfInfoStruct& info);
// 0 valid, -2 not storable in the open file (every name is valid in memory).
int cfValidateName(CfInfoStruct& info, const char* name);
// Order of two names under the file's type: numeric and memory files by
// their leading integers, type 3 right-justified without regard to case,
// others by comparePointNames. Negative, 0, positive.
int cfCompareNames(const char* a, const char* b, CfInfoStruct& info);
// Steps the name in place (256-byte buffer): memory mode by the text rule
// (1); a disk file by the file rule (its result); 0 when no file is open.
int cfIncrementName(char* name, CfInfoStruct& info, int step);

int cfPointCount(CfInfoStruct& info);
int cfFeetFlag(CfInfoStruct& info);
// The highest name into out; left alone when no disk file is open.
void cfHighestName(std::string& out, CfInfoStruct& info);
// The open format's widths; 255, 255 and 4 when none is open.
int cfNameSize(CfInfoStruct& info);
int cfDescSize(CfInfoStruct& info);
int cfCodeSize(CfInfoStruct& info);
// 4 in memory mode, else the file's type (-1 when none is open).
int cfFileType(CfInfoStruct& info);

void toCrdPointRec(const crdIoPointRec& io, crdPointRec& point, CfInfoStruct& info);
void fromCrdPointRec(const crdPointRec& point, crdIoPointRec& io);
void toShortPointRec(const crdPointRec& point, crdShortPointRec& shortPoint);

// Copies text into a VKCRD_NAME_SIZE buffer, right-justified in width
// characters (cut when longer).
void rightJustifyName(char* buffer, std::string_view text, int width);

} // namespace ptbank
