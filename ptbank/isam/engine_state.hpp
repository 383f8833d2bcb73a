#pragma once
// The engine's process-wide tables: one block per file number, the node
// buffers, and the usage clocks that pick the least recently used of each.

#include "isam/file_header.hpp"
#include "ptbank/isam/isam.hpp"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
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

struct FileBlock {
    FileHeader header;
    std::filesystem::path path;
    WalkPosition walk;
    std::uint16_t usageStamp = 0;
    bool inUse = false; // an operation is working on it: never closed for now
    FileState state = FileState::free;
    int fd = -1;

    bool permanent() const { return (header.fileMode & isamMode::permanent) != 0; }
    bool readOnly() const { return (header.fileMode & isamMode::readOnly) != 0; }
};

struct NodeBuffer {
    std::uint32_t position = 0;
    int fileNumber = -1;
    std::uint16_t usageStamp = 0;
    bool dirty = false;
    std::span<std::uint8_t> image;
};

struct Engine {
    bool ready = false;
    std::uint16_t nodeSize = 0;
    std::vector<FileBlock> files;
    std::vector<NodeBuffer> buffers;
    std::unique_ptr<std::uint8_t[]> pool;
    std::uint32_t fileClock = 0;
    std::uint32_t bufferClock = 0;
    int openNonPermanent = 0;
};

Engine& engine();

// Stores the error code in `isamError` and returns it.
int fail(int code);

// Advances the clock and stamps `stamp` with it. Past 65535 the stamps of the
// table are renumbered by rank, which keeps their order and frees the clock.
void touchFile(FileBlock& block);
void touchBuffer(NodeBuffer& buffer);

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
