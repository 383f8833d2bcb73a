#pragma once
// The node buffer cache of index files. Nodes are looked up by file number
// and position in a hash table; a miss takes the least recently used buffer,
// after the table has grown to its limit. Stores stay in the cache (written
// back): a changed node reaches the file when its buffer is taken for
// another node, or when the file's changes are written out.

#include "isam/engine_state.hpp"

#include <cstddef>
#include <cstdint>
#include <span>

namespace ptbank::isam {

// Adds `count` free buffers to the table; false when out of memory.
bool addNodeBuffers(std::size_t count);

// 0, or `nodePositionZero` / `nodeOutsideFile` when `position` is not the
// start of a node within the file's logical end.
int checkNodePosition(const FileHeader& header, std::uint32_t position);

// The image (node size bytes) of the node at `position`, read through the
// cache; valid until the next cache operation. Returns 0 or the error.
int fetchNodeImage(int fileNo, std::uint32_t position, std::span<const std::uint8_t>& image);

// The cache's image of the node at `position`, to be overwritten whole by
// the caller and written later; valid until the next cache operation.
// Returns 0 or the error of writing out the node it displaced.
int nodeImageToStore(int fileNo, std::uint32_t position, std::span<std::uint8_t>& image);

// Writes every changed node of the file, adjacent nodes in one transfer.
// Returns 0 or the first write error (those nodes stay changed).
int writeChangedNodes(int fileNo);

// Forgets every cached node of the file, writing the changed ones first when
// the file is open. Returns 0 or the first write error.
int dropCachedNodes(int fileNo);

} // namespace ptbank::isam
