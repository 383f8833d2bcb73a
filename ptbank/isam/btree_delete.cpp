// Deleting keys. Nodes are never merged or freed: a leaf may become empty
// and stays in the sibling chain, where searches pass over it.

#include "isam/btree_search.hpp"
#include "isam/write_back.hpp"

namespace ptbank {

using namespace isam;

namespace {

int removeFromTree(int fileNo, FileBlock& block, std::span<const std::uint8_t> key,
                   std::uint32_t position) {
    if (block.header.rootNode == 0)
        return isamErr::keyNotFound;
    const KeyBytes stored = storedKey(block.header, key, position);
    Descent& descent = sharedDescent();
    if (const int code = descend(fileNo, stored.data(), SearchMode::exact, descent); code != 0)
        return code;
    if (descent.result.answer != Answer::found)
        return isamErr::keyNotFound;
    Node& leaf = descent.leaf;
    if (leaf.pointer(descent.result.index) != position)
        return isamErr::keyPositionDiffers;
    leaf.erase(descent.result.index);
    return storeNode(fileNo, leaf);
}

} // namespace

int isamDeleteKey(int fileNo, std::span<const std::uint8_t> key, std::uint32_t position) {
    isamError = 0;
    FileUse use(fileNo);
    if (const int code = keyChangeCheck(use, key); code != 0)
        return fail(code);
    FileBlock& block = use.block();
    if (const int code = removeFromTree(fileNo, block, key, position); code != 0)
        return fail(code);
    --block.header.activeEntries;
    if (const int code = noteHeaderChange(block); code != 0)
        return fail(code);
    return 0;
}

} // namespace ptbank
