#pragma once
// An open binary file addressed by offset. Every read must deliver all the
// bytes asked for, so a truncated file shows up as a failed read rather than
// as stale buffer contents. Opening with writers denied takes an exclusive
// advisory lock: a second opener in this or another cooperating process is
// refused instead of sharing a file that is rewritten in place.

#include <cstdint>
#include <span>
#include <string>

namespace ptbank {

class BinaryFile {
public:
    enum class Mode {
        readWrite, // an existing file, for reading and writing
        create,    // a new empty file (an existing one is truncated)
    };

    BinaryFile() = default;
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;
    ~BinaryFile() { close(); }

    bool open(const std::string& path, Mode mode, bool denyWriters);
    void close();
    bool isOpen() const { return fd_ >= 0; }

    bool readAt(std::uint64_t offset, std::span<std::uint8_t> out) const;
    bool writeAt(std::uint64_t offset, std::span<const std::uint8_t> data);
    // Bytes in the file, as last measured or extended by our own writes.
    std::uint64_t size() const { return size_; }

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// Copies a whole file onto `to` by a temporary file in the destination's
// folder and a rename, so a failed copy leaves the destination as it was.
bool copyFileReplacing(const std::string& from, const std::string& to);

// Renames `from` to `to` only when nothing exists at `to` yet.
bool renameWithoutReplacing(const std::string& from, const std::string& to);

// Two files that only make sense together (an index and its data file).
struct FilePair {
    std::string first;
    std::string second;
};

// Renames `from` over `to`, first over first and second over second, so
// that afterwards `to` is either the whole old pair (false) or the whole new
// one (true), never the new first with the old second: a copy of the old
// first is kept until the second rename has succeeded and is put back when
// it fails. A pair not moved is removed.
bool replacePair(const FilePair& from, const FilePair& to);

} // namespace ptbank
