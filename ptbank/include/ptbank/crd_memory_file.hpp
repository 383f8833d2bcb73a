#pragma once
// The memory coordinate file: the points of a memory-mode handle, held in a
// sorted singly linked list instead of a file. Each handle owns its own
// list. Nodes come in blocks (1000 at the start, then 100 at a time) and
// removed nodes are kept for reuse, so adding and removing points allocates
// nothing in the common case; only release() returns the memory.
//
// Order: by name length first, then by the names compared without regard to
// case. Names of equal length that compare equal ignoring case are one
// point; for names without leading zeros this puts numbers in numeric order.
// Every operation keys on the first blank-delimited word of the name it is
// given, after any leading blanks (names read from disk files arrive
// right-justified).

#include "ptbank/vk_crd_api.h"

#include <memory>
#include <string_view>
#include <vector>

namespace ptbank {

struct memPointNode {
    int nameLength = 0;
    char name[256] = {};
    char code[12] = {};
    double northing = 0.0;
    double easting = 0.0;
    double elevation = 0.0;
    char description[260] = {};
    memPointNode* next = nullptr;
};

class MemoryCrdFile {
public:
    // Write modes.
    static constexpr int replace = 0;
    static constexpr int add = 1;

    MemoryCrdFile() = default;
    MemoryCrdFile(const MemoryCrdFile&) = delete;
    MemoryCrdFile& operator=(const MemoryCrdFile&) = delete;

    // Makes an empty list: 1, or -1 when memory runs out. A list already
    // held is released first.
    int init();
    // Frees every node and block; the file then holds no list. Always 0.
    int release();
    bool hasList() const { return head_ != nullptr; }

    // 0 found (copied out), 1 not stored.
    int read(std::string_view name, crdPointRec& out);
    // add: 0, or -1 when the name is stored (or empty, or no node could be
    // had); replace: 0, or -1 when the name is not stored. The stored name
    // takes the record's spelling.
    int write(int mode, const crdPointRec& record);
    // The first point after the name in list order (an empty name: the
    // first point): 1 copied out, 0 none.
    int next(std::string_view name, crdPointRec& out);
    // The last point before the name (an empty name gives 0): 1 or 0.
    int previous(std::string_view name, crdPointRec& out);
    // 0 removed, -1 not stored.
    int remove(std::string_view name);
    // Empties the name buffer and restarts the walk: 0, or -1 without a list.
    int findTop(char* nameBuffer);
    // Points stored, counted by a walk from the start.
    int count() const;

private:
    struct Key {
        int length;
        std::string_view text;
    };
    static Key keyOf(std::string_view name);
    static Key keyOf(const memPointNode& node) { return {node.nameLength, node.name}; }
    static int compare(const Key& a, const Key& b);

    // The last node whose key is below the key (the head when none is),
    // searched from the nearest remembered position that lies before it.
    memPointNode* predecessorOf(const Key& key) const;
    memPointNode* takeNode(const crdPointRec& record);
    bool addBlock(std::size_t nodes);
    static void fillNode(memPointNode& node, const crdPointRec& record);
    static void copyOut(const memPointNode& node, crdPointRec& out);

    std::vector<std::unique_ptr<memPointNode[]>> blocks_;
    memPointNode* head_ = nullptr;
    memPointNode* freeList_ = nullptr;
    memPointNode* found_ = nullptr;
    memPointNode* writeHint_ = nullptr;
    memPointNode* walk_ = nullptr;
};

} // namespace ptbank
