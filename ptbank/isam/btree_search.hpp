#pragma once
// Searching a linked B-tree: within one node, and from the root down to the
// leaf where a key is or belongs, moving right along siblings when a node
// no longer covers the key.

#include "isam/btree_node.hpp"
#include "isam/engine_state.hpp"

#include <array>
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

// The inner nodes a descent passed, root first.
class InnerPath {
public:
    bool empty() const { return size_ == 0; }
    bool full() const { return size_ == maxInnerLevels; }
    void clear() { size_ = 0; }
    void push(std::uint32_t position) { nodes_[static_cast<std::size_t>(size_++)] = position; }
    std::uint32_t pop() { return nodes_[static_cast<std::size_t>(--size_)]; }

private:
    std::array<std::uint32_t, maxInnerLevels> nodes_{};
    int size_ = 0;
};

// The leaf reached from the root for `target`, the answer of its last search
// and the inner nodes passed. The tree must not be empty.
struct Descent {
    Node leaf;
    NodeSearch result;
    InnerPath path;
};

// Descends into `descent`, whose node storage is reused: a descent kept for
// the next operation lets a look-up run without allocating.
int descend(int fileNo, const std::uint8_t* target, SearchMode leafMode, Descent& descent);

// The descent the engine's key operations share (the engine is used by one
// thread at a time), so that they reuse its node storage.
Descent& sharedDescent();

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
