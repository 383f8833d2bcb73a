// The key walk (first, next, previous) and the finds that position it.

#include "isam/btree_search.hpp"

#include <algorithm>

namespace ptbank {

using namespace isam;

namespace {

struct WalkResult {
    int code = 0;
    bool found = false;
    std::uint32_t position = 0;
};

WalkResult faultResult(int code) {
    return {code, false, 0};
}

WalkResult give(FileBlock& block, const Node& leaf, int i, std::span<std::uint8_t> outKey) {
    std::copy(leaf.key(i), leaf.key(i) + leaf.shape.keyLength, outKey.begin());
    block.walk = {leaf.position, i, false};
    return {0, true, leaf.pointer(i)};
}

// Hands the result to the caller: an error is left in `isamError`; when
// nothing was found the walk is cleared and the out key starts with 0.
std::uint32_t finish(FileBlock& block, const WalkResult& result, std::span<std::uint8_t> outKey) {
    if (!result.found) {
        block.walk = {};
        if (!outKey.empty())
            outKey[0] = 0;
    }
    if (result.code != 0)
        fail(result.code);
    return result.found ? result.position : 0;
}

int loadLeaf(int fileNo, std::uint32_t position, Node& node) {
    if (const int code = loadNode(fileNo, position, node); code != 0)
        return code;
    return node.leaf ? 0 : isamErr::nodeKindMismatch;
}

WalkResult firstKey(int fileNo, FileBlock& block, std::span<std::uint8_t> outKey) {
    if (block.header.rootNode == 0)
        return {};
    Node node;
    if (const int code = loadNode(fileNo, block.header.rootNode, node); code != 0)
        return faultResult(code);
    std::uint32_t steps = 1;
    for (int levels = 0; !node.leaf; ++levels) {
        if (node.count() == 0)
            return faultResult(isamErr::brokenChildLink);
        if (levels == maxInnerLevels)
            return faultResult(isamErr::treeTooDeep);
        if (++steps > nodeCount(block.header))
            return faultResult(isamErr::siblingLoop);
        if (const int code = loadNode(fileNo, node.pointer(1), node); code != 0)
            return faultResult(code);
    }
    while (node.count() == 0) {
        if (node.right == 0)
            return {};
        if (const int code = moveRight(fileNo, node, steps); code != 0)
            return faultResult(code);
    }
    return give(block, node, 1, outKey);
}

WalkResult nextKey(int fileNo, FileBlock& block, std::span<std::uint8_t> outKey) {
    const WalkPosition walk = block.walk;
    if (walk.node == 0)
        return {};
    Node node;
    if (const int code = loadLeaf(fileNo, walk.node, node); code != 0)
        return faultResult(code);
    // After a missed exact find the walk stands before its entry, not on it.
    int i = walk.between ? std::max(walk.index, 1) - 1 : walk.index;
    std::uint32_t steps = 0;
    while (i >= node.count()) {
        if (node.right == 0)
            return {};
        if (const int code = moveRight(fileNo, node, steps); code != 0)
            return faultResult(code);
        i = 0;
    }
    return give(block, node, i + 1, outKey);
}

WalkResult prevKey(int fileNo, FileBlock& block, std::span<std::uint8_t> outKey) {
    const WalkPosition walk = block.walk;
    if (walk.node == 0)
        return {};
    Node node;
    if (const int code = loadLeaf(fileNo, walk.node, node); code != 0)
        return faultResult(code);
    // Deletions since the walk was placed may have shortened the leaf.
    const int back = std::min(walk.index - 1, node.count());
    if (back >= 1)
        return give(block, node, back, outKey);
    std::uint32_t steps = 0;
    do {
        if (node.left == 0)
            return {};
        if (++steps > nodeCount(block.header))
            return faultResult(isamErr::siblingLoop);
        const std::uint32_t from = node.position;
        if (const int code = loadLeaf(fileNo, node.left, node); code != 0)
            return faultResult(code);
        if (node.right != from)
            return faultResult(isamErr::siblingLinks);
    } while (node.count() == 0);
    return give(block, node, node.count(), outKey);
}

WalkResult findEqual(int fileNo, FileBlock& block, const std::uint8_t* key) {
    if (block.header.rootNode == 0) {
        block.walk = {};
        return {};
    }
    Descent& descent = sharedDescent();
    if (const int code = descend(fileNo, key, SearchMode::exact, descent); code != 0)
        return faultResult(code);
    const bool found = descent.result.answer == Answer::found;
    block.walk = {descent.leaf.position, descent.result.index, !found};
    return {0, found, found ? descent.leaf.pointer(descent.result.index) : 0};
}

WalkResult findAtLeast(int fileNo, FileBlock& block, const std::uint8_t* key,
                       std::span<std::uint8_t> outKey) {
    if (block.header.rootNode == 0)
        return {};
    Descent& descent = sharedDescent();
    if (const int code = descend(fileNo, key, SearchMode::atLeast, descent); code != 0)
        return faultResult(code);
    if (descent.result.answer != Answer::found)
        return {};
    return give(block, descent.leaf, descent.result.index, outKey);
}

bool keyTooShort(std::span<const std::uint8_t> key, const FileHeader& header) {
    return key.data() == nullptr || key.size() < static_cast<std::size_t>(header.keyLength);
}

// Runs one walk operation after the checks they share.
template <typename Operation>
std::uint32_t walkOperation(int fileNo, std::span<const std::uint8_t> key,
                            std::span<std::uint8_t> outKey, bool needsKey, Operation operation) {
    isamError = 0;
    FileUse use(fileNo);
    if (const int code = indexCheck(use); code != 0) {
        fail(code);
        return 0;
    }
    FileBlock& block = use.block();
    if ((needsKey && keyTooShort(key, block.header)) || keyTooShort(outKey, block.header)) {
        fail(isamErr::nullBuffer);
        return 0;
    }
    return finish(block, operation(block), outKey);
}

bool sameKey(const FileHeader& header, std::span<const std::uint8_t> a,
             std::span<const std::uint8_t> b) {
    bool known = true;
    return compareKeys(header.keyType, a.data(), b.data(), header.keyLength, known) == 0;
}

// The key a walk gives after (direction 1) or before (-1) `from`, checked
// to lie that way: in a tree whose keys are out of order it may not, and a
// walk that goes on from it comes back to it for ever.
WalkResult beyond(const FileHeader& header, std::span<const std::uint8_t> from,
                  std::span<const std::uint8_t> found, const WalkResult& result, int direction) {
    if (!result.found)
        return result;
    bool known = true;
    const int order =
        compareKeys(header.keyType, found.data(), from.data(), header.keyLength, known);
    return order * direction > 0 ? result : faultResult(isamErr::keysOutOfOrder);
}

} // namespace

std::uint32_t isamFindEqual(int fileNo, std::span<const std::uint8_t> key) {
    isamError = 0;
    FileUse use(fileNo);
    if (const int code = indexCheck(use); code != 0) {
        fail(code);
        return 0;
    }
    FileBlock& block = use.block();
    if (keyTooShort(key, block.header)) {
        fail(isamErr::nullBuffer);
        return 0;
    }
    const WalkResult result = findEqual(fileNo, block, key.data());
    if (result.code != 0) {
        block.walk = {};
        fail(result.code);
    }
    return result.found ? result.position : 0;
}

std::uint32_t isamFindAtLeast(int fileNo, std::span<const std::uint8_t> key,
                              std::span<std::uint8_t> outKey) {
    return walkOperation(fileNo, key, outKey, true, [&](FileBlock& block) {
        return findAtLeast(fileNo, block, key.data(), outKey);
    });
}

std::uint32_t isamFindGreater(int fileNo, std::span<const std::uint8_t> key,
                              std::span<std::uint8_t> outKey) {
    return walkOperation(fileNo, key, outKey, true, [&](FileBlock& block) {
        const WalkResult atLeast = findAtLeast(fileNo, block, key.data(), outKey);
        if (atLeast.found && sameKey(block.header, key, outKey))
            return beyond(block.header, key, outKey, nextKey(fileNo, block, outKey), 1);
        return beyond(block.header, key, outKey, atLeast, 1);
    });
}

std::uint32_t isamFindLess(int fileNo, std::span<const std::uint8_t> key,
                           std::span<std::uint8_t> outKey) {
    return walkOperation(fileNo, key, outKey, true, [&](FileBlock& block) {
        const WalkResult equal = findEqual(fileNo, block, key.data());
        if (equal.code != 0)
            return equal;
        return beyond(block.header, key, outKey, prevKey(fileNo, block, outKey), -1);
    });
}

std::uint32_t isamFirstKey(int fileNo, std::span<std::uint8_t> outKey) {
    return walkOperation(fileNo, {}, outKey, false,
                         [&](FileBlock& block) { return firstKey(fileNo, block, outKey); });
}

std::uint32_t isamNextKey(int fileNo, std::span<std::uint8_t> outKey) {
    return walkOperation(fileNo, {}, outKey, false,
                         [&](FileBlock& block) { return nextKey(fileNo, block, outKey); });
}

std::uint32_t isamPrevKey(int fileNo, std::span<std::uint8_t> outKey) {
    return walkOperation(fileNo, {}, outKey, false,
                         [&](FileBlock& block) { return prevKey(fileNo, block, outKey); });
}

} // namespace ptbank
