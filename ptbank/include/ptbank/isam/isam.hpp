#pragma once
// The ISAM engine behind the indexed coordinate formats.
//
// Two kinds of file: data files of fixed-length records addressed by their
// byte position, and B-tree index files whose entries map a fixed-length key
// to such a position. There is one engine per process (`isamInit` ...
// `isamRelease`); files are addressed by small numbers that the caller
// chooses, 0 to files - 1.
//
// Results: every operation clears `isamError` on entry. Operations returning
// int give 0 on success, else the error code (one of `isamErr`), which is also
// left in `isamError`. Operations returning a position give 0 when they fail
// or find nothing; `isamError` is then the code, or 0 for "not found".
//
// On disk (all integers little-endian, exact offsets):
// - every file starts with a 60-byte header: stamp 97 at 0, node size at 2,
//   record length at 4, extension size at 6, mode at 8, file type at 10
//   (0 data, 1 index), update flag at 16, key type at 17, duplicate flag at 18,
//   active entries at 20, free-list head at 24, logical end at 28, physical end
//   at 32, serial number at 36, root node at 40, leaf bytes at 50, inner bytes
//   at 52, leaf keys at 54, inner keys at 56, key length at 58;
// - a data file's header area is a whole number of records of at least 128
//   bytes; a released record holds 0xFF and the next free position (u32);
// - an index file's header area is one node; a node is a 14-byte header (right
//   sibling u32, left sibling u32, entry count i16, bytes in use u16, leaf flag
//   u8, member number u8) and its entries, of one size unless the keys are
//   compressed (below); a leaf keeps its high key in its last entry slot.
//
// Files are opened for update and locked with an exclusive advisory lock
// (flock), so a second opener of the same file is refused. Paths are used as
// given; their case is never changed.
//
// Changes are held in memory and written out together: index nodes in a node
// cache that grows with the working set (up to 32 MiB), data records and
// headers per file. They reach the file when it is closed, when the engine
// is released, and when `isamFlushFile` asks; while changes are held, the
// file's header on disk carries the update flag, so a file left so by a
// process that died is refused at open (14) rather than read half-written.
// Growth is held with the rest: its 0xFF fill is written before any record
// or node of the batch, and the file is closed and reopened to commit its
// length once the batch is written.
//
// Compressed keys (key type bits 4 and 8): each entry then carries, after its
// pointer, a byte counting the leading key bytes it shares with the entry
// before (bit 4; those are not stored) and then a byte counting the trailing
// zero bytes removed from it (bit 8); under duplicates the key's 4-byte
// position suffix is stored whole at the entry's end, outside both. The
// limits and a leaf's high key (kept whole) follow the longest entry.

#include <cstdint>
#include <filesystem>
#include <span>

namespace ptbank {

// Error code of the last engine operation; 0 = none.
extern std::int32_t isamError;

namespace isamErr {
inline constexpr int keyExists = 2;          // key already present (unique index)
inline constexpr int keyPositionDiffers = 3; // key found, with another record position
inline constexpr int keyNotFound = 4;        // key to delete not found
inline constexpr int outOfMemory = 10;       // at initialisation
inline constexpr int badInitParameters = 11; // buffers < 3, files < 0, sectors outside 1..511
inline constexpr int cannotOpen = 12;        // file cannot be opened (or is locked)
inline constexpr int unknownFileType = 13;   // file type outside 0..2
inline constexpr int inUpdate = 14;          // update flag set
inline constexpr int markedC = 15;           // update flag 'c'
inline constexpr int cannotCreateIndex = 16; // index file cannot be created
inline constexpr int cannotCreateData = 17;  // data file cannot be created
inline constexpr int indexExists = 18;       // index file already exists
inline constexpr int dataExists = 19;        // data file already exists
inline constexpr int keyTooLongForNode = 20; // fewer than 3 entries per node
inline constexpr int badRecordLength = 21;   // record length below 5 (or above 65535)
inline constexpr int badFileNumber = 22;     // file number out of range
inline constexpr int badMembers = 23;        // index members are not supported
inline constexpr int closeFailed = 24;       // close failed
inline constexpr int notOpen = 26;           // file number not open
inline constexpr int keyPositionZero = 28;   // key added with record position 0
inline constexpr int positionZero = 29;      // record position 0
inline constexpr int beyondEnd = 30;         // record position beyond the logical end
inline constexpr int freeListCorrupt = 31;   // released record without its 0xFF mark
inline constexpr int releasedTwice = 32;     // record released twice in a row
inline constexpr int nullBuffer = 33;        // buffer missing or shorter than needed
inline constexpr int siblingLinks = 34;      // backward walk found inconsistent links
inline constexpr int seekFailed = 35;
inline constexpr int readFailed = 36; // also a short read (truncated file)
inline constexpr int writeFailed = 37;
inline constexpr int reopenFailed = 38;     // reopening a temporarily closed file
inline constexpr int offsetOverflow = 39;   // file would pass 2,147,483,647 bytes
inline constexpr int nodeSizeTooLarge = 40; // node size of the file above the configured one
inline constexpr int badStamp = 43;         // stamp is not 97
inline constexpr int serialOverflow = 44;   // serial number wrapped
inline constexpr int badKeyLength = 45;     // key length outside 1..64 (4..64 with duplicates)
inline constexpr int fileNumberInUse = 46;
inline constexpr int notInitialised = 47;
inline constexpr int wrongFileKind = 48;  // record operation on an index or key operation on data
inline constexpr int commitFailed = 49;   // close and reopen after growth failed
inline constexpr int badKeyType = 52;     // key type 2 or 3
inline constexpr int variableLength = 53; // variable-length data file
inline constexpr int readOnly = 54;       // write to a file opened READ-ONLY
inline constexpr int initialisedTwice = 125;

// Internal consistency faults: the file's nodes or header contradict
// themselves. The operation stops; the process goes on.
inline constexpr int corruptNode = 206; // leaf flag, entry count or bytes in use impossible
inline constexpr int nodePositionZero = 207;
inline constexpr int nodeOutsideFile = 208;  // node position off a node boundary or past the end
inline constexpr int treeTooDeep = 209;      // more than 9 inner levels
inline constexpr int unknownKeyType = 210;   // at the first comparison
inline constexpr int brokenChildLink = 211;  // inner node without the entry a descent needs
inline constexpr int siblingLoop = 212;      // sibling chain longer than the file has nodes
inline constexpr int nodeKindMismatch = 213; // a leaf where an inner node belongs or the reverse
inline constexpr int corruptHeaderLimits =
    214; // index limits disagree with key length and node size
inline constexpr int corruptHeaderPositions = 215; // logical end, root or free-list head impossible
inline constexpr int keysOutOfOrder = 216; // the key after (or before) a key is not greater (less)
} // namespace isamErr

// File mode bits.
namespace isamMode {
inline constexpr int shared = 1;
inline constexpr int permanent = 2; // stays physically open until closed
inline constexpr int variableLength = 4;
inline constexpr int readOnly = 8;
} // namespace isamMode

// Split modes of `isamAddKey`: where an overflowing node of n entries is cut.
namespace isamSplit {
inline constexpr int half = 0;      // left keeps n / 2
inline constexpr int ascending = 1; // left keeps 6n / 7, for keys added in ascending order
inline constexpr int early = 2;     // any other value: left keeps n / 7 + 1
} // namespace isamSplit

// Allocates the tables: `buffers` node buffers (at least 3), `files` file
// numbers (at least 0), node size `sectors` x 128 bytes (sectors 1 to 511).
// Returns 0, 11 for bad parameters, 125 when already initialised, 10 when out
// of memory.
int isamInit(int buffers, int files, int sectors);

// Writes out and closes any file still open, and frees the tables.
int isamRelease();

// Writes every change held for the open file, then its header without the
// update flag. Returns 0 or the error of the first failed write (the rest
// stays held).
int isamFlushFile(int fileNo);

// The record length of an open data file, or the key length of an open
// index file; the negated error code when the number names no open file of
// that kind.
int isamRecordLength(int fileNo);
int isamKeyLength(int fileNo);

// Creates a data file of `recordLength`-byte records (5 to 65535) that grows
// by `extensionSize` bytes (0 to 65535) at a time, and leaves it open. The
// mode's SHARED and READ-ONLY bits are not stored. An existing file is never
// touched: 19.
int isamCreateDataFile(int fileNo, const std::filesystem::path& path, int recordLength,
                       int extensionSize, int mode);

// Creates an index file with an empty tree and leaves it open. `keyType` 0
// compares bytes from the first, 1 from the last, 4, 8 and 12 from the first
// with compressed entries (bit 16 is ignored; 2 and 3 are refused, any other
// value fails at the first comparison);
// `duplicates` 1 lets equal keys coexist (the key's last 4 bytes then hold the
// record position, most significant byte first). `members` must be 0.
int isamCreateIndexFile(int fileNo, const std::filesystem::path& path, int keyLength, int keyType,
                        int duplicates, int members, int extensionSize, int mode);

// Opens an existing data or index file, checking its header; a truncated or
// inconsistent file is refused with its code and left closed.
int isamOpenFile(int fileNo, const std::filesystem::path& path, int mode);

// Writes out the file's held changes, closes it and frees its number.
// `closeMode` is not used.
int isamCloseFile(int fileNo, int closeMode);

// Position of a fresh record (the most recently released one, else a new one
// at the end); 0 on failure.
std::uint32_t isamNewRecord(int fileNo);

// Puts the record at `position` on the free list.
int isamReleaseRecord(int fileNo, std::uint32_t position);

// Reads or writes the record length bytes of the record at `position`.
int isamReadRecord(int fileNo, std::uint32_t position, std::span<std::uint8_t> record);
int isamWriteRecord(int fileNo, std::uint32_t position, std::span<const std::uint8_t> record);

// Adds `key` (key length bytes) for the record at `position`. Returns 0, 2
// when a unique index already holds the key (nothing changes), 28 for
// position 0, or a file or node error. `splitMode` is one of `isamSplit`.
int isamAddKey(int fileNo, std::span<const std::uint8_t> key, std::uint32_t position,
               int splitMode);

// Deletes `key` for the record at `position`: 0, 4 when absent, 3 when the
// key is present with another position. Nodes are never merged or freed.
int isamDeleteKey(int fileNo, std::span<const std::uint8_t> key, std::uint32_t position);

// The finds and the walk. Each returns the record position of the key it
// found and copies that key (key length bytes) into `outKey`; when nothing is
// found the result is 0 and the first byte of `outKey` is 0. The walk
// position is left on the key returned.
//
// `isamFindEqual` positions the walk where the key is, or where it would be
// when absent: `isamNextKey` then gives the first greater key and
// `isamPrevKey` the last smaller one.
std::uint32_t isamFindEqual(int fileNo, std::span<const std::uint8_t> key);
std::uint32_t isamFindAtLeast(int fileNo, std::span<const std::uint8_t> key,
                              std::span<std::uint8_t> outKey);
std::uint32_t isamFindGreater(int fileNo, std::span<const std::uint8_t> key,
                              std::span<std::uint8_t> outKey);
std::uint32_t isamFindLess(int fileNo, std::span<const std::uint8_t> key,
                           std::span<std::uint8_t> outKey);
std::uint32_t isamFirstKey(int fileNo, std::span<std::uint8_t> outKey);
std::uint32_t isamNextKey(int fileNo, std::span<std::uint8_t> outKey);
std::uint32_t isamPrevKey(int fileNo, std::span<std::uint8_t> outKey);

} // namespace ptbank
