#include "ptbank/crd_memory_file.hpp"

#include "ptbank/crd_text.hpp"

#include <algorithm>
#include <cstring>
#include <new>

namespace ptbank {
namespace {

constexpr std::size_t firstBlockNodes = 1000;
constexpr std::size_t laterBlockNodes = 100;
constexpr std::size_t maxName = 255;

// The text of a fixed field that a caller may have left unterminated.
template <std::size_t N> std::string_view fieldText(const char (&field)[N]) {
    return {field, strnlen(field, N)};
}

template <std::size_t N> void setField(char (&field)[N], std::string_view text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

// The first blank-delimited word after any leading blanks.
std::string_view firstWord(std::string_view name) {
    const std::size_t start = std::min(name.find_first_not_of(' '), name.size());
    const std::string_view rest = name.substr(start);
    return rest.substr(0, std::min(rest.find(' '), maxName));
}

} // namespace

MemoryCrdFile::Key MemoryCrdFile::keyOf(std::string_view name) {
    const std::string_view word = firstWord(name);
    return {static_cast<int>(word.size()), word};
}

int MemoryCrdFile::compare(const Key& a, const Key& b) {
    if (a.length != b.length)
        return a.length < b.length ? -1 : 1;
    return compareIgnoringCase(a.text, b.text);
}

bool MemoryCrdFile::addBlock(std::size_t nodes) {
    try {
        auto block = std::make_unique<memPointNode[]>(nodes);
        for (std::size_t i = 0; i + 1 < nodes; ++i)
            block[i].next = &block[i + 1];
        block[nodes - 1].next = freeList_;
        blocks_.push_back(std::move(block));
        freeList_ = blocks_.back().get();
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

int MemoryCrdFile::init() {
    release();
    if (!addBlock(firstBlockNodes))
        return -1;
    head_ = freeList_;
    freeList_ = head_->next;
    *head_ = memPointNode{};
    return 1;
}

int MemoryCrdFile::release() {
    head_ = freeList_ = found_ = writeHint_ = walk_ = nullptr;
    blocks_.clear();
    return 0;
}

memPointNode* MemoryCrdFile::predecessorOf(const Key& key) const {
    memPointNode* start = head_;
    for (memPointNode* remembered : {walk_, found_, writeHint_}) {
        if (!remembered || remembered == head_ || compare(keyOf(*remembered), key) >= 0)
            continue;
        if (start == head_ || compare(keyOf(*remembered), keyOf(*start)) > 0)
            start = remembered;
    }
    while (start->next && compare(keyOf(*start->next), key) < 0)
        start = start->next;
    return start;
}

void MemoryCrdFile::fillNode(memPointNode& node, const crdPointRec& record) {
    const std::string_view word = firstWord(fieldText(record.name));
    setField(node.name, word);
    node.nameLength = static_cast<int>(word.size());
    setField(node.code, fieldText(record.code));
    node.northing = record.northing;
    node.easting = record.easting;
    node.elevation = record.elevation;
    setField(node.description, fieldText(record.description));
}

void MemoryCrdFile::copyOut(const memPointNode& node, crdPointRec& out) {
    setField(out.name, node.name);
    setField(out.code, node.code);
    out.northing = node.northing;
    out.easting = node.easting;
    out.elevation = node.elevation;
    setField(out.description, node.description);
}

// The free list never runs empty while nodes are handed out: taking its
// last node first brings in a further block.
memPointNode* MemoryCrdFile::takeNode(const crdPointRec& record) {
    if (!freeList_ || !freeList_->next) {
        if (!addBlock(laterBlockNodes))
            return nullptr;
    }
    memPointNode* node = freeList_;
    freeList_ = node->next;
    fillNode(*node, record);
    node->next = nullptr;
    return node;
}

int MemoryCrdFile::read(std::string_view name, crdPointRec& out) {
    if (!head_)
        return 1;
    const Key key = keyOf(name);
    memPointNode* before = predecessorOf(key);
    memPointNode* candidate = before->next;
    if (candidate && key.length > 0 && compare(keyOf(*candidate), key) == 0) {
        copyOut(*candidate, out);
        found_ = candidate;
        return 0;
    }
    found_ = before;
    return 1;
}

int MemoryCrdFile::write(int mode, const crdPointRec& record) {
    const Key key = keyOf(fieldText(record.name));
    // An empty name could never be walked past.
    if (!head_ || key.length == 0)
        return -1;
    memPointNode* before = predecessorOf(key);
    memPointNode* stored = before->next;
    const bool isStored = stored && compare(keyOf(*stored), key) == 0;
    if (mode == replace) {
        if (!isStored)
            return -1;
        fillNode(*stored, record);
        writeHint_ = stored;
        return 0;
    }
    if (isStored)
        return -1;
    memPointNode* node = takeNode(record);
    if (!node)
        return -1;
    node->next = before->next;
    before->next = node;
    writeHint_ = node;
    return 0;
}

int MemoryCrdFile::next(std::string_view name, crdPointRec& out) {
    if (!head_)
        return 0;
    const Key key = keyOf(name);
    memPointNode* after = head_->next;
    if (key.length > 0) {
        after = predecessorOf(key)->next;
        if (after && compare(keyOf(*after), key) == 0)
            after = after->next;
    }
    if (!after)
        return 0;
    copyOut(*after, out);
    walk_ = after;
    return 1;
}

int MemoryCrdFile::previous(std::string_view name, crdPointRec& out) {
    const Key key = keyOf(name);
    if (!head_ || key.length == 0)
        return 0;
    memPointNode* before = predecessorOf(key);
    if (before == head_)
        return 0;
    copyOut(*before, out);
    walk_ = before;
    return 1;
}

int MemoryCrdFile::remove(std::string_view name) {
    if (!head_)
        return -1;
    const Key key = keyOf(name);
    memPointNode* before = predecessorOf(key);
    memPointNode* node = before->next;
    if (!node || key.length == 0 || compare(keyOf(*node), key) != 0)
        return -1;
    before->next = node->next;
    if (walk_ == node)
        walk_ = node->next;
    if (found_ == node)
        found_ = before;
    if (writeHint_ == node)
        writeHint_ = before;
    node->next = freeList_;
    freeList_ = node;
    return 0;
}

int MemoryCrdFile::findTop(char* nameBuffer) {
    if (!head_)
        return -1;
    if (nameBuffer)
        nameBuffer[0] = '\0';
    walk_ = head_;
    return 0;
}

int MemoryCrdFile::count() const {
    int n = 0;
    for (const memPointNode* node = head_ ? head_->next : nullptr; node; node = node->next)
        ++n;
    return n;
}

} // namespace ptbank
