#pragma once
// Physical access to the engine's files: opening with an exclusive advisory
// lock, positioned transfers, header writes, growth, and the temporary
// closing of least recently used files when too many are open.

#include "isam/engine_state.hpp"

#include <cstdint>
#include <span>

namespace ptbank::isam {

// Non-permanent files open at once before the least recently used is closed for now.
inline constexpr int maxOpenNonPermanent = 255;

// Opens the block's existing file for update and locks it. Then the first 64
// bytes are read and written back with bytes 60 to 63 zeroed. Returns 0, -1
// when the file could not be opened or locked, or the transfer's code.
int physicalOpen(FileBlock& block);

// Creates the block's file, refusing to touch an existing one: 0, 1 when a
// file exists at the path, -1 when it cannot be created.
int physicalCreate(FileBlock& block);

// Closes the block's stream: 0 or `closeFailed`.
int physicalClose(FileBlock& block);

// Reopens a file that was closed for now: 0 or `reopenFailed`.
int reopenClosedForNow(FileBlock& block);

// One transfer of exactly `bytes.size()` bytes at `offset`: 0, `seekFailed`,
// `readFailed` (also short) or `writeFailed`.
int readAt(FileBlock& block, std::uint32_t offset, std::span<std::uint8_t> bytes);
int writeAt(FileBlock& block, std::uint32_t offset, std::span<const std::uint8_t> bytes);

// Writes the block's 60-byte header at offset 0.
int writeHeader(FileBlock& block);

// Extends the file's logical end by `bytes` and gives the first new position.
// Space beyond the physical end is added a step of the extension size at a
// time, pre-filled with 0xFF, and the file closed and reopened to commit its
// length. Returns 0, `offsetOverflow` or `commitFailed`.
int grow(FileBlock& block, std::uint32_t bytes, std::uint32_t& position);

} // namespace ptbank::isam
