#include "formats/alpha_name_index.hpp"

#include <algorithm>
#include <bit>

namespace ptbank::draftline {
namespace {

constexpr std::size_t smallestTable = 64;

std::uint64_t folded(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 'a' && byte <= 'z') ? byte - 'a' + 'A' : byte;
}

} // namespace

void AlphaNameIndex::clear() {
    entries_.clear();
    slots_.clear();
}

AlphaNameIndex::Entry AlphaNameIndex::entryFor(std::string_view name) {
    Entry entry;
    entry.length = static_cast<std::uint8_t>(std::min(name.size(), nameField));
    std::copy_n(name.data(), entry.length, entry.name.begin());
    entry.key = pointNameKey({entry.name.data(), entry.length});
    return entry;
}

void AlphaNameIndex::insert(int i, std::string_view name) {
    entries_.insert(entries_.begin() + i, entryFor(name));
    if (entries_.size() * 2 > slots_.size()) {
        rebuildTable(std::max(smallestTable, std::bit_ceil(entries_.size() * 2)));
        return;
    }
    if (i + 1 < size()) {
        for (Slot& slot : slots_) {
            if (slot.record >= i)
                ++slot.record;
        }
    }
    addToTable(i);
}

// A record's name may change its letters' case in place; any other change
// moves it to another slot of the table.
void AlphaNameIndex::set(int i, std::string_view name) {
    Entry entry = entryFor(name);
    entry.shared = entries_[static_cast<std::size_t>(i)].shared;
    const FoldedName old = foldedName((*this)[i]);
    entries_[static_cast<std::size_t>(i)] = entry;
    const FoldedName now = foldedName((*this)[i]);
    if (!(old == now))
        rebuildTable(slots_.size());
}

int AlphaNameIndex::find(std::string_view name, int likely) const {
    if (slots_.empty() || name.size() > nameField)
        return noRecord;
    const FoldedName wanted = foldedName(name);
    if (likely >= 0 && likely < size() && !entries_[static_cast<std::size_t>(likely)].shared &&
        foldedName((*this)[likely]) == wanted)
        return likely;
    const Slot& slot = slots_[slotOf(wanted)];
    if (slot.record == noRecord)
        return noRecord;
    return slot.several ? severalRecords : slot.record;
}

AlphaNameIndex::FoldedName AlphaNameIndex::foldedName(std::string_view name) {
    FoldedName packed;
    packed.length = static_cast<std::uint8_t>(name.size());
    for (std::size_t i = 0; i < name.size() && i < 8; ++i)
        packed.head |= folded(name[i]) << (8 * i);
    for (std::size_t i = 8; i < name.size(); ++i)
        packed.tail = static_cast<std::uint16_t>(packed.tail | folded(name[i]) << (8 * (i - 8)));
    return packed;
}

// The slot holding the name, or the empty slot where it would go.
std::size_t AlphaNameIndex::slotOf(const FoldedName& name) const {
    std::uint64_t h = (name.head ^ (static_cast<std::uint64_t>(name.tail) << 8 | name.length) *
                                       0x9e3779b97f4a7c15ULL) *
                      0xbf58476d1ce4e5b9ULL;
    h ^= h >> 31;
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = static_cast<std::size_t>(h >> 32) & mask;
    while (slots_[at].record != noRecord && !slots_[at].holds(name))
        at = (at + 1) & mask;
    return at;
}

void AlphaNameIndex::addToTable(int record) {
    const FoldedName name = foldedName((*this)[record]);
    Slot& slot = slots_[slotOf(name)];
    if (slot.record != noRecord) {
        slot.several = true;
        entries_[static_cast<std::size_t>(slot.record)].shared = true;
        entries_[static_cast<std::size_t>(record)].shared = true;
        slot.record = std::min(slot.record, record);
        return;
    }
    slot.head = name.head;
    slot.tail = name.tail;
    slot.length = name.length;
    slot.record = record;
}

void AlphaNameIndex::rebuildTable(std::size_t capacity) {
    slots_.assign(capacity, Slot{});
    for (Entry& entry : entries_)
        entry.shared = false;
    for (int i = 0; i < size(); ++i)
        addToTable(i);
}

int WantedName::against(const AlphaNameIndex& names, int i) const {
    const PointNameKey& key = names.key(i);
    return key_.usable && key.usable ? comparePointNameKeys(key_, key)
                                     : comparePointNames(name_, names[i]);
}

int WantedName::from(const AlphaNameIndex& names, int i) const {
    const PointNameKey& key = names.key(i);
    return key_.usable && key.usable ? comparePointNameKeys(key, key_)
                                     : comparePointNames(names[i], name_);
}

} // namespace ptbank::draftline
