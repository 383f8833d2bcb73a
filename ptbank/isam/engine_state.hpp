#pragma once
// The engine's process-wide tables: one block per file number, the node
// buffers with their lookup and recency order, and the usage clock that
// picks the least recently used file.

#include "isam/file_header.hpp"
#include "ptbank/isam/isam.hpp"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

namespace ptbank::isam {

// Where the key walk stands: entry `index` (from 1) of the leaf at `node`.
// `between` marks a missed exact find: the walk then stands just before
// entry `index`, the first greater key.
struct WalkPosition {
    std::uint32_t node = 0;
    int index = 0;
    bool between = false;
};

enum class FileState : char { free = 'n', open = 'y', closedForNow = 'v' };

// A data file's records held in memory, read or written: slot k holds the
// record at `positions[k]` in bytes k x record length onwards, and
// `changed[k]` tells whether it still has to be written.
struct HeldRecords {
    std::unordered_map<std::uint32_t, std::size_t> slotAt; // position -> slot
    std::vector<std::uint32_t> positions;
    std::vector<std::uint8_t> bytes;
    std::vector<bool> changed;
};

// What of a file is held in memory: data records, the buffers of changed
// nodes (an index may repeat or name a buffer written since; the buffer's
// own flag tells), growth not yet written, and whether the header in memory
// differs from the one on disk. While a file has unwritten changes its
// header on disk carries the update flag, so a file left so by a process
// that died is refused at open instead of being read half-written.
struct PendingWrites {
    HeldRecords records;
    std::vector<int> changedNodes;
    // Space added by growth and not yet filled with 0xFF on disk: byte ranges
    // (first, last), in file order.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> fills;
    bool lengthToCommit = false; // fills written, the close and reopen still to come
    bool headerChanged = false;
    bool flaggedOnDisk = false;
};

struct FileBlock {
    FileHeader header;
    PendingWrites pending;
    std::filesystem::path path;
    WalkPosition walk;
    std::uint16_t usageStamp = 0;
    bool inUse = false; // an operation is working on it: never closed for now
    FileState state = FileState::free;
    int fd = -1;

    bool permanent() const { return (header.fileMode & isamMode::permanent) != 0; }
    bool readOnly() const { return (header.fileMode & isamMode::readOnly) != 0; }
};

// One cached node. Buffers are chained from the most to the least recently
// used by `newer` and `older` (indexes into the buffer table, -1 = none).
struct NodeBuffer {
    std::uint32_t position = 0;
    int fileNumber = -1;
    bool dirty = false;
    std::span<std::uint8_t> image;
    int newer = -1;
    int older = -1;
};

struct Engine {
    bool ready = false;
    std::uint16_t nodeSize = 0;
    std::vector<FileBlock> files;
    std::vector<NodeBuffer> buffers;
    std::vector<std::unique_ptr<std::uint8_t[]>> pools;
    std::size_t bufferLimit = 0;                     // the table grows on demand up to this many
    std::unordered_map<std::uint64_t, int> bufferOf; // (file number, position) -> buffer
    int newest = -1;
    int oldest = -1;
    std::uint32_t fileClock = 0;
    int openNonPermanent = 0;
};

Engine& engine();

// Stores the error code in `isamError` and returns it.
int fail(int code);

// Advances the clock and stamps the file with it. Past 65535 the stamps are
// renumbered by rank, which keeps their order and frees the clock.
void touchFile(FileBlock& block);

// Checks the engine and the file number, reopens a file closed for now, and
// marks the file in use until the guard ends. `code` is 0 or the failure.
class FileUse {
public:
    explicit FileUse(int fileNo);
    ~FileUse();
    FileUse(const FileUse&) = delete;
    FileUse& operator=(const FileUse&) = delete;

    int code() const { return code_; }
    FileBlock& block() { return *block_; }

private:
    FileBlock* block_ = nullptr;
    int code_ = 0;
};

} // namespace ptbank::isam
