#pragma once
// The node buffer cache of index files. Nodes are looked up by file number
// and position; a miss takes the least recently used buffer. Every store is
// written through to the file at once, so the file on disk always matches
// the cache; a buffer stays dirty only when that write failed.

#include "isam/engine_state.hpp"

#include <cstdint>
#include <span>

namespace ptbank::isam {

// 0, or `nodePositionZero` / `nodeOutsideFile` when `position` is not the
// start of a node within the file's logical end.
int checkNodePosition(const FileHeader& header, std::uint32_t position);

// The image (node size bytes) of the node at `position`, read through the
// cache; valid until the next cache operation. Returns 0 or the error.
int fetchNodeImage(int fileNo, std::uint32_t position, std::span<const std::uint8_t>& image);

// Puts `image` in the cache and writes it to the file. Returns 0 or the error.
int storeNodeImage(int fileNo, std::uint32_t position, std::span<const std::uint8_t> image);

// Forgets every cached node of the file, writing a dirty one first when the
// file is open. Returns 0 or the first write error.
int dropCachedNodes(int fileNo);

} // namespace ptbank::isam
