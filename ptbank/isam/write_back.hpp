#pragma once
// Changes held back in memory and written out together: data records and
// file headers (index nodes are held by the node cache). A file's changes
// are written when it is closed, when the engine is released, when a caller
// asks with `isamFlushFile`, and, for data records, whenever those held
// exceed a budget. The first change held back marks the file on disk with
// the update flag, and the write that empties the batch clears it.

#include "isam/engine_state.hpp"

#include <cstdint>
#include <span>

namespace ptbank::isam {

// Extends the file's logical end by `bytes` and gives the first new position.
// Space beyond the physical end is added a step of the extension size at a
// time; its 0xFF fill joins the batch, and the file is closed and reopened
// to commit its length when the batch is written. Returns 0, `offsetOverflow`
// or the error of flagging the file.
int grow(FileBlock& block, std::uint32_t bytes, std::uint32_t& position);

// Reads file bytes at `offset`: those of space grown but not yet written
// read as the 0xFF they will hold.
int readFileBytes(FileBlock& block, std::uint32_t offset, std::span<std::uint8_t> bytes);

// Writes the 0xFF fill of space grown since the last batch; done before any
// record or node is written, so that none is overwritten by the fill.
int writeGrowth(FileBlock& block);

// Marks the file as in update on disk, once per batch: 0 or the write error.
int flagUpdate(FileBlock& block);

// Records that the header in memory changed (after `flagUpdate`).
int noteHeaderChange(FileBlock& block);

// Reads `bytes.size()` bytes (at most a record) from the start of the record
// at `position`, from the held-back record when there is one.
int readRecordBytes(FileBlock& block, std::uint32_t position, std::span<std::uint8_t> bytes);

// Holds back a write of `bytes` (at most a record) at the start of the record
// at `position`. Returns 0 or the error of a read or write it needed.
int writeRecordBytes(FileBlock& block, std::uint32_t position, std::span<const std::uint8_t> bytes);

// Writes every held-back change of the file (growth first), commits the
// length of a file that grew, and writes its header without the update flag.
// Returns 0 or the first error; what was not written stays held.
int flushFile(int fileNo);

} // namespace ptbank::isam
