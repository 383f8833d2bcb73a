#pragma once
// Searching a linked B-tree: within one node, and from the root down to the
// leaf where a key is or belongs, moving right along siblings when a node
// no longer covers the key.

#include "isam/btree_node.hpp"
#include "isam/engine_state.hpp"

#include <cstdint>
#include <span>
#include <vector>

namespace ptbank::isam {

inline constexpr int maxInnerLevels = 9;

enum class SearchMode {
    locate,  // first key not less than the target
    exact,   // the equal key, else where it would go
    atLeast, // first key not less than the target, moving right past exhausted leaves
};

enum class Answer { found, notFound, moveRight };

struct NodeSearch {
    Answer answer = Answer::notFound;
    int index = 0; // found: the entry; not found: where the target would be inserted
};

// 0, or `unknownKeyType` at the first comparison of an unknown key type.
int searchNode(const Node& node, std::uint8_t keyType, const std::uint8_t* target, SearchMode mode,
               NodeSearch& result);

// The leaf reached from the root for `target`, the answer of its last search
// and the inner nodes passed (root first). The tree must not be empty.
struct Descent {
    Node leaf;
    NodeSearch result;
    std::vector<std::uint32_t> path;
};

int descend(int fileNo, const std::uint8_t* target, SearchMode leafMode, Descent& descent);

// Replaces `node` by its right sibling (of the same kind). `steps` counts the
// nodes visited by the operation; more than the file holds means a loop.
int moveRight(int fileNo, Node& node, std::uint32_t& steps);

// Nodes the index file holds.
std::uint32_t nodeCount(const FileHeader& header);

// Checks shared by the key operations: the file is usable and an index.
int indexCheck(FileUse& use);

// Checks shared by adding and deleting keys: those of `indexCheck`, the file
// not READ-ONLY, and a key of at least the key length.
int keyChangeCheck(FileUse& use, std::span<const std::uint8_t> key);

} // namespace ptbank::isam
