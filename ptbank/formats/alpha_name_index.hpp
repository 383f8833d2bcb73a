#pragma once
// The names of an alphanumeric .crd file's records, held in memory in file
// order from the open on and kept current by every write, so that a name is
// found without reading the file.

#include "formats/draftline_layout.hpp"
#include "ptbank/crd_text.hpp"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace ptbank::draftline {

// Each name in a fixed slot with its comparison key (ptbank/crd_text.hpp),
// and a hash table from the name, letters folded to one case, to its record:
// two names the point-name order calls equal differ at most in the case of
// their letters, so a name held by one record is found in one probe.
class AlphaNameIndex {
public:
    static constexpr int noRecord = -1;
    static constexpr int severalRecords = -2;

    int size() const { return static_cast<int>(entries_.size()); }
    bool empty() const { return entries_.empty(); }
    std::string_view operator[](int i) const {
        const Entry& entry = entries_[static_cast<std::size_t>(i)];
        return {entry.name.data(), entry.length};
    }
    const PointNameKey& key(int i) const { return entries_[static_cast<std::size_t>(i)].key; }
    void clear();
    void reserve(int count) { entries_.reserve(static_cast<std::size_t>(count)); }
    // Record i and every later one move one place on; the new name is i.
    void insert(int i, std::string_view name);
    void set(int i, std::string_view name);
    void append(std::string_view name) { insert(size(), name); }

    // The record whose name the point-name order calls equal to `name`: its
    // index, noRecord when none has it, severalRecords when more than one
    // has (files sorted from an older unsorted layout may repeat a name).
    // Record `likely` is looked at first: names read in the file's order
    // are found there without a probe of the table.
    int find(std::string_view name, int likely = noRecord) const;

private:
    struct Entry {
        std::array<char, nameField> name{};
        std::uint8_t length = 0;
        bool shared = false; // another record holds the same name
        PointNameKey key;
    };
    // A name with its letters folded to one case, packed for comparing in
    // two loads.
    struct FoldedName {
        std::uint64_t head = 0; // bytes 0 to 7
        std::uint16_t tail = 0; // bytes 8 and 9
        std::uint8_t length = 0;
        bool operator==(const FoldedName&) const = default;
    };
    // One name of the table, held in the slot itself so that a look-up
    // touches one cache line; `record` is the first record that holds it.
    struct Slot {
        std::uint64_t head = 0;
        std::uint16_t tail = 0;
        std::uint8_t length = 0;
        bool several = false;
        std::int32_t record = noRecord;

        bool holds(const FoldedName& name) const {
            return head == name.head && tail == name.tail && length == name.length;
        }
    };
    static_assert(sizeof(Slot) == 16);

    static Entry entryFor(std::string_view name);
    static FoldedName foldedName(std::string_view name);
    std::size_t slotOf(const FoldedName& name) const;
    void addToTable(int record);
    void rebuildTable(std::size_t capacity);

    std::vector<Entry> entries_;
    std::vector<Slot> slots_; // a power of two long, at most half full
};

// A name looked for among the records: compared with a record's name as
// comparePointNames would, through the two keys when both are usable.
class WantedName {
public:
    explicit WantedName(std::string_view name) : name_(name), key_(pointNameKey(name)) {}
    // comparePointNames(wanted, name of record i).
    int against(const AlphaNameIndex& names, int i) const;
    // comparePointNames(name of record i, wanted).
    int from(const AlphaNameIndex& names, int i) const;

private:
    std::string_view name_;
    PointNameKey key_;
};

} // namespace ptbank::draftline
