#include "isam/btree_search.hpp"

namespace ptbank::isam {

namespace {

// Above this many entries the binary search halves; the rest is scanned.
constexpr int linearScanEntries = 3;

struct Comparer {
    std::uint8_t keyType;
    int length;
    bool known = true;

    int operator()(const std::uint8_t* target, const std::uint8_t* nodeKey) {
        return compareKeys(keyType, target, nodeKey, length, known);
    }
};

// The first entry whose key is not less than the target; count + 1 when none.
int firstNotLess(const Node& node, const std::uint8_t* target, Comparer& compare, bool& equal) {
    int lo = 1;
    int hi = node.count();
    equal = false;
    while (hi - lo + 1 > linearScanEntries) {
        const int mid = lo + (hi - lo + 1) / 2;
        const int c = compare(target, node.key(mid));
        if (c == 0) {
            equal = true;
            return mid;
        }
        if (c < 0)
            hi = mid;
        else
            lo = mid + 1;
    }
    for (int i = lo; i <= hi; ++i) {
        const int c = compare(target, node.key(i));
        if (c <= 0) {
            equal = c == 0;
            return i;
        }
    }
    return node.count() + 1;
}

} // namespace

int searchNode(const Node& node, std::uint8_t keyType, const std::uint8_t* target, SearchMode mode,
               NodeSearch& result) {
    Comparer compare{keyType, node.shape.keyLength};
    const int count = node.count();
    bool beyond = false;
    if (node.leaf)
        beyond = compare(target, node.highKey.data()) > 0 ||
                 (mode == SearchMode::atLeast && count == 0 && node.right != 0);
    else if (count > 0)
        beyond = compare(target, node.key(count)) > 0;
    if (!compare.known)
        return isamErr::unknownKeyType;
    if (beyond) {
        result = {Answer::moveRight, 0};
        return 0;
    }
    if (count == 0) {
        result = {Answer::notFound, 0};
        return 0;
    }
    bool equal = false;
    const int index = firstNotLess(node, target, compare, equal);
    if (!compare.known)
        return isamErr::unknownKeyType;
    if (index > count)
        result = {mode == SearchMode::atLeast && node.right != 0 ? Answer::moveRight
                                                                 : Answer::notFound,
                  index};
    else if (mode == SearchMode::exact && !equal)
        result = {Answer::notFound, index};
    else
        result = {Answer::found, index};
    return 0;
}

std::uint32_t nodeCount(const FileHeader& header) {
    return (header.logicalEnd + 1 - indexHeaderArea(header.nodeSize)) / header.nodeSize;
}

int moveRight(int fileNo, Node& node, std::uint32_t& steps) {
    const FileHeader& header = engine().files[static_cast<std::size_t>(fileNo)].header;
    if (node.right == 0)
        return isamErr::brokenChildLink;
    if (++steps > nodeCount(header))
        return isamErr::siblingLoop;
    const bool leaf = node.leaf;
    if (const int code = loadNode(fileNo, node.right, node); code != 0)
        return code;
    return node.leaf == leaf ? 0 : isamErr::nodeKindMismatch;
}

Descent& sharedDescent() {
    static Descent descent;
    return descent;
}

int descend(int fileNo, const std::uint8_t* target, SearchMode leafMode, Descent& descent) {
    const FileHeader& header = engine().files[static_cast<std::size_t>(fileNo)].header;
    descent.path.clear();
    Node& node = descent.leaf;
    if (const int code = loadNode(fileNo, header.rootNode, node); code != 0)
        return code;
    std::uint32_t steps = 1;
    for (;;) {
        NodeSearch found;
        const SearchMode mode = node.leaf ? leafMode : SearchMode::locate;
        if (const int code = searchNode(node, header.keyType, target, mode, found); code != 0)
            return code;
        if (found.answer == Answer::moveRight) {
            if (const int code = moveRight(fileNo, node, steps); code != 0)
                return code;
            continue;
        }
        if (node.leaf) {
            descent.result = found;
            return 0;
        }
        if (found.answer != Answer::found)
            return isamErr::brokenChildLink;
        if (descent.path.full())
            return isamErr::treeTooDeep;
        descent.path.push(node.position);
        if (++steps > nodeCount(header))
            return isamErr::siblingLoop;
        if (const int code = loadNode(fileNo, node.pointer(found.index), node); code != 0)
            return code;
    }
}

int indexCheck(FileUse& use) {
    if (use.code() != 0)
        return use.code();
    return use.block().header.isIndex() ? 0 : isamErr::wrongFileKind;
}

int keyChangeCheck(FileUse& use, std::span<const std::uint8_t> key) {
    if (const int code = indexCheck(use); code != 0)
        return code;
    const FileBlock& block = use.block();
    if (block.readOnly())
        return isamErr::readOnly;
    if (key.data() == nullptr || key.size() < static_cast<std::size_t>(block.header.keyLength))
        return isamErr::nullBuffer;
    return 0;
}

} // namespace ptbank::isam
