// Adding keys: insertion into the leaf, and the splits that an overflowing
// node passes up towards the root.

#include "isam/btree_search.hpp"
#include "isam/file_stream.hpp"
#include "isam/write_back.hpp"

#include <algorithm>

namespace ptbank {

using namespace isam;

namespace {

// Where an overflowing node of n entries is cut: the left node keeps 1 ... k.
int splitIndex(const Node& node, int splitMode) {
    const int n = node.count();
    int k = splitMode == isamSplit::half        ? n / 2
            : splitMode == isamSplit::ascending ? 6 * n / 7
                                                : n / 7 + 1;
    if (node.bytesThrough(k) > node.shape.maxBytes)
        k = n / 2;
    return k;
}

int allocateNode(FileBlock& block, bool leaf, Node& node) {
    std::uint32_t position = 0;
    if (const int code = grow(block, block.header.nodeSize, position); code != 0)
        return code;
    node = emptyNode(block.header, position, leaf);
    return 0;
}

int setRoot(FileBlock& block, std::uint32_t position) {
    block.header.rootNode = position;
    return noteHeaderChange(block);
}

// A new inner root over the two halves of the old root.
int makeInnerRoot(int fileNo, FileBlock& block, const std::vector<std::uint8_t>& separator,
                  const Node& left, const Node& right) {
    Node root;
    if (const int code = allocateNode(block, false, root); code != 0)
        return code;
    const std::vector<std::uint8_t> highest(separator.size(), 0xFF);
    root.insert(1, left.position, separator.data());
    root.insert(2, right.position, highest.data());
    if (const int code = storeNode(fileNo, root); code != 0)
        return code;
    return setRoot(block, root.position);
}

// Makes the parent's entry for `left` point to `right` and puts
// (separator -> left) before it. The parent is searched again for the
// separator, moving right if it was split meanwhile.
int insertIntoParent(int fileNo, FileBlock& block, std::uint32_t parentPosition,
                     const std::vector<std::uint8_t>& separator, const Node& left,
                     const Node& right, Node& parent) {
    if (const int code = loadNode(fileNo, parentPosition, parent); code != 0)
        return code;
    std::uint32_t steps = 0;
    for (;;) {
        NodeSearch found;
        if (const int code = searchNode(parent, block.header.keyType, separator.data(),
                                        SearchMode::locate, found);
            code != 0)
            return code;
        if (found.answer != Answer::moveRight) {
            if (found.answer != Answer::found || parent.pointer(found.index) != left.position)
                return isamErr::brokenChildLink;
            parent.setPointer(found.index, right.position);
            parent.insert(found.index, left.position, separator.data());
            return 0;
        }
        if (const int code = moveRight(fileNo, parent, steps); code != 0)
            return code;
    }
}

// Gives the right neighbour of a split leaf its new left sibling.
int relinkRightNeighbour(int fileNo, const Node& newNode) {
    if (newNode.right == 0)
        return 0;
    Node neighbour;
    if (const int code = loadNode(fileNo, newNode.right, neighbour); code != 0)
        return code;
    neighbour.left = newNode.position;
    return storeNode(fileNo, neighbour);
}

// Splits the overflowing `node` and its ancestors as far as needed. Nothing
// of a level is written before its new node has been allocated.
int splitUpwards(int fileNo, FileBlock& block, Node node, InnerPath path, int splitMode) {
    for (;;) {
        const int k = splitIndex(node, splitMode);
        std::vector<std::uint8_t> separator(node.key(k), node.key(k) + node.shape.keyLength);
        Node right;
        if (const int code = allocateNode(block, node.leaf, right); code != 0)
            return code;
        const auto cut =
            node.entries.begin() + static_cast<std::ptrdiff_t>(k) * node.shape.entrySize;
        right.entries.assign(cut, node.entries.end());
        node.entries.erase(cut, node.entries.end());
        right.right = node.right;
        node.right = right.position;
        if (node.leaf) {
            right.left = node.position;
            right.highKey = node.highKey;
            node.highKey = separator;
            if (const int code = relinkRightNeighbour(fileNo, right); code != 0)
                return code;
        }
        if (const int code = storeNode(fileNo, right); code != 0)
            return code;
        if (const int code = storeNode(fileNo, node); code != 0)
            return code;
        if (path.empty())
            return makeInnerRoot(fileNo, block, separator, node, right);
        Node parent;
        const std::uint32_t parentPosition = path.pop();
        if (const int code =
                insertIntoParent(fileNo, block, parentPosition, separator, node, right, parent);
            code != 0)
            return code;
        if (!parent.overflows())
            return storeNode(fileNo, parent);
        node = std::move(parent);
    }
}

int addToTree(int fileNo, FileBlock& block, const KeyBytes& key, std::uint32_t position,
              int splitMode) {
    if (block.header.rootNode == 0) {
        Node leaf;
        if (const int code = allocateNode(block, true, leaf); code != 0)
            return code;
        leaf.insert(1, position, key.data());
        if (const int code = storeNode(fileNo, leaf); code != 0)
            return code;
        block.header.rootNode = leaf.position;
        return 0;
    }
    Descent& descent = sharedDescent();
    if (const int code = descend(fileNo, key.data(), SearchMode::exact, descent); code != 0)
        return code;
    if (descent.result.answer == Answer::found)
        return isamErr::keyExists;
    Node& leaf = descent.leaf;
    leaf.insert(std::max(descent.result.index, 1), position, key.data());
    if (!leaf.overflows())
        return storeNode(fileNo, leaf);
    return splitUpwards(fileNo, block, leaf, descent.path, splitMode);
}

} // namespace

int isamAddKey(int fileNo, std::span<const std::uint8_t> key, std::uint32_t position,
               int splitMode) {
    isamError = 0;
    FileUse use(fileNo);
    if (const int code = keyChangeCheck(use, key); code != 0)
        return fail(code);
    FileBlock& block = use.block();
    if (position == 0)
        return fail(isamErr::keyPositionZero);
    const std::uint32_t oldRoot = block.header.rootNode;
    if (const int code =
            addToTree(fileNo, block, storedKey(block.header, key, position), position, splitMode);
        code != 0) {
        block.header.rootNode = oldRoot;
        return fail(code);
    }
    ++block.header.activeEntries;
    if (const int code = noteHeaderChange(block); code != 0)
        return fail(code);
    return 0;
}

} // namespace ptbank
