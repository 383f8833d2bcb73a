#pragma once
// The point database behind the indexed coordinate formats: a data file of
// fixed-length point records and a unique B-tree index on the point name,
// both kept by the ISAM engine (isam.hpp).
//
// Sub-types (record layouts), with D the description length of the file:
//
//   sub-type  files        code  name  count  record
//   0         .crd + .idx  2     5     u16    31 + D   numeric names 1..65535
//   1         .crd + .idx  2+2   5     u16    33 + D   numeric names 1..65535
//   2         .vkc + .vki  3     10    u32    37 + D   alphanumeric names
//   3         .vkc + .vki  4     10    u32    38 + D   alphanumeric names
//
// A point record (little-endian), c leading code bytes, w name width: code
// at 0 (space-padded), name at c right-justified with spaces (the index
// key), northing at c + w, easting at c + w + 8, elevation at c + w + 16
// (-99999999.0 = none), description at c + w + 24 (D bytes, space-padded, no
// terminator); sub-type 1 keeps characters 3 and 4 of its code in the last
// two bytes.
//
// The header record has the same length, is filled with spaces and sits
// under the key of w zero bytes, which sorts before every name: c 'X' bytes
// at 0, w zero bytes at c, D as u16 at c + w; then for sub-types 0 and 1 the
// count (u16 at 9), the highest name's value (u16 at 11) and the code width
// (u16 at 13: 2 or 4); for sub-types 2 and 3 the count (u32), the highest
// name (10 characters), the feet flag byte and "VER 2" or "VER 3", at 15,
// 19, 29, 30 (sub-type 2) or 16, 20, 30, 31 (sub-type 3).
//
// Results: 0 success, -1 an engine failure (its code stays in isamError),
// -2 a name the file cannot hold; the other values each operation states.
// Names passed by reference are right-justified in place to the name width.
//
// File names keep the spelling they are given; the index file of an
// existing data file is looked up by its exact name first, then without
// regard to case in the same folder.

#include "ptbank/cf_info.hpp"

#include <cstdint>
#include <string>
#include <string_view>

namespace ptbank {

namespace point_db {
inline constexpr int ok = 0;
inline constexpr int absent = 1;       // pointDbRead: nothing stored under the name
inline constexpr int present = 1;      // pointDbPut: kept, nothing written
inline constexpr int alreadyOpen = 1;  // pointDbOpen
inline constexpr int found = 1;        // pointDbNext, pointDbPrev
inline constexpr int none = 0;         // pointDbNext, pointDbPrev
inline constexpr int engineError = -1; // also any failure of pointDbOpen
inline constexpr int invalidName = -2;

// Engine configuration: node buffers, file numbers and 128-byte sectors per
// node. The file numbers give ten data and index pairs.
inline constexpr int engineBuffers = 6;
inline constexpr int engineSectors = 8;
inline constexpr int filePairs = 10;
inline constexpr int engineFiles = 2 * filePairs;

inline constexpr int numericNameWidth = 5;
inline constexpr int alphanumericNameWidth = 10;
inline constexpr long highestNumericName = 65535;
inline constexpr double noElevation = -99999999.0;
} // namespace point_db

struct PointDbLayout {
    int fixedPart = 0;  // record length without the description
    int codeBytes = 0;  // leading code bytes (c)
    int codeWidth = 0;  // characters of the code (sub-type 1: 4)
    int nameWidth = 0;  // w
    int countBytes = 0; // 2 or 4 in the header record
    int nameOffset = 0; // c
    int northingOffset = 0;
    int eastingOffset = 0;
    int elevationOffset = 0;
    int descriptionOffset = 0;
};

class PointDb {
public:
    // Paths are directory + base name + extension (extension with its dot).
    std::string baseName;
    std::string directory;
    std::string dataExtension;
    std::string indexExtension;
    std::string versionText; // "VER 2", "VER 3"; empty for sub-types 0 and 1
    int open = 0;
    int descLength = 0; // D
    std::uint32_t pointCount = 0;
    std::string highestName; // right-justified to the name width
    std::string nextName;    // the next free name after the last write
    std::uint8_t feetFlag = 0;
    // Engine file numbers while open, -1 while closed: a free pair is
    // claimed at open and given back at close.
    int dataFileNo = -1;
    int indexFileNo = -1;
    std::uint32_t currentPosition = 0; // record last found or written
    std::uint32_t headerPosition = 0;
    PointDbLayout layout;
    int subType = 0;

    std::string dataPath() const { return directory + baseName + dataExtension; }
    std::string indexPath() const { return directory + baseName + indexExtension; }
    bool numericNames() const { return subType < 2; }
};

// Starts the engine once per process; 0, or -1 when the engine refuses.
// A second call only reports success.
int pointDbInit();
// Closes every engine file and releases the engine.
void pointDbShutdown();
// Number of data and index pairs not held by an open point database.
int pointDbFreeFilePairs();

// The layout fields of the sub-type (0 to 3).
void pointDbSetLayout(int subType, PointDb& db);

// Opens (create 0) or creates (create 1) the file pair named by the
// database's directory, base name and extensions: 0, 1 already open, -1
// failure (both files closed; a failed create leaves neither file behind).
// The data extension decides the sub-type: ".crd" gives 1 with ".idx",
// ".vkc" 3 with ".vki", another one 3 with the given index extension; no
// data extension takes the requested sub-type. Creating stores the caller's
// feet flag and descLength (which must be set); opening takes the sub-type,
// D, count, highest name and (sub-types 2, 3) feet flag and version from the
// header record, and refuses a file whose record or key length disagrees
// with its header record.
int pointDbOpen(int create, PointDb& db, int requestedSubType, int feetFlag);
// Closes both files if open and gives their numbers back: 0.
int pointDbClose(PointDb& db);

// The smallest key (the header record's zero key) into name: 0, or -1 when
// the index is empty or fails.
int pointDbFirst(std::string& name, PointDb& db);
// 0 found, 1 absent (record blanked), -1 engine error, -2 invalid name.
int pointDbRead(std::string& name, crdShortPointRec& out, PointDb& db);
// The first point whose name is greater (pointDbNext) or the last one whose
// name is smaller (pointDbPrev; the header record counts as none): 1 found
// (the name replaced by the point's), 0 none, -1 read error.
int pointDbNext(std::string& name, crdShortPointRec& out, PointDb& db);
int pointDbPrev(std::string& name, crdShortPointRec& out, PointDb& db);
// Adds the record (isNew 1) or rewrites the record last read (0), after
// right-justifying its name and fitting code and description to the file's
// widths in place: 0, -1, -2. A rewrite is refused (-1) unless the last
// record read carries the same name: it would overwrite another point.
int pointDbWrite(int isNew, crdShortPointRec& record, PointDb& db);
// Reads the name first: 1 when present and overwrite is 0 (nothing
// written); else the result of pointDbWrite.
int pointDbPut(int overwrite, crdShortPointRec& record, PointDb& db);
// 0 deleted or absent, -1 engine error, -2 invalid name.
int pointDbDelete(std::string& name, PointDb& db);
// Rewrites the header record and writes out what the engine holds of both
// files, so each write and delete ends with the pair on disk: 0 or -1.
int pointDbWriteHeader(PointDb& db);

// Sub-types 2 and 3: both names right-justified in place, then compared
// without regard to case; sub-types 0 and 1: by decimal value. -1, 0, 1.
int pointDbCompareNames(std::string& a, std::string& b, const PointDb& db);
// Trims the name (leading spaces; trailing blanks, CR, LF) and upper-cases
// it in place: 0 valid, 1 a character below 33 or above 126, '/', '*', '-'
// or '+', 2 longer than 10 characters.
int pointDbCheckName(std::string& name);
// The name `step` places further (A12B -> A13B, 99 -> 100, ABC -> ABC1),
// right-justified to the sub-type's name width; width x 'X' when it does
// not fit; on sub-types 0 and 1 a result outside 1..65535 gives 11111.
void pointDbNextName(std::string_view name, std::string& out, int subType, long step);
// Name and code as width blanks, description as D blanks, northing and
// easting 0.0, elevation -99999999.0.
void pointDbBlankPoint(crdShortPointRec& out, const PointDb& db);

} // namespace ptbank
