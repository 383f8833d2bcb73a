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

// Writes 0xFF into bytes `from` to `to` (inclusive) of the file.
bool fillWithFF(FileBlock& block, std::uint32_t from, std::uint32_t to);

// Closes and reopens the file so that its new length is committed: 0, or
// `commitFailed` with the file left closed for now.
int commitLength(FileBlock& block);

} // namespace ptbank::isam
