#pragma once
// A table from packed point keys (a name, or the two names of a line) to
// values, for the look-ups a run makes once or more per sighting: an
// open-addressed array probed by the key's hash, so a search builds no text
// and touches one or two cache lines: the values stand in the slots.
//
// A reference to a value stays good only until the next insertion.

#include "model/point_name.hpp"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

// The two names of a line, the same key in either direction.
struct lineKey {
    pointKey first;
    pointKey second;
    friend bool operator==(const lineKey&, const lineKey&) = default;
};

inline lineKey lineKeyOf(std::string_view a, std::string_view b) {
    pointKey from = pointKeyOf(a);
    pointKey to = pointKeyOf(b);
    const bool ordered = from.low < to.low || (from.low == to.low && from.high <= to.high);
    return ordered ? lineKey{from, to} : lineKey{to, from};
}

inline std::uint64_t hashOf(const lineKey& key) {
    return hashOf(key.first) ^ (hashOf(key.second) * 0x9e3779b97f4a7c15ULL);
}

// The different keys among the names of one record (at most three), in
// the order first met: a record naming a point twice counts for it once.
class distinctPointKeys {
public:
    void add(std::string_view name) {
        const pointKey key = pointKeyOf(name);
        if (std::find(begin(), end(), key) != end())
            return;
        assert(count_ < keys_.size());
        keys_[count_++] = key;
    }
    const pointKey* begin() const { return keys_.data(); }
    const pointKey* end() const { return keys_.data() + count_; }
    friend bool operator==(const distinctPointKeys&, const distinctPointKeys&) = default;

private:
    std::array<pointKey, 3> keys_{};
    std::size_t count_ = 0;
};

template <class Key, class Value> class keyTable {
public:
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    // Room for `count` keys without growing.
    void reserve(std::size_t count) {
        std::size_t wanted = 16;
        while (wanted < 2 * count)
            wanted *= 2;
        if (wanted > slots_.size())
            rehash(wanted);
    }

    // The value of the key, or null.
    Value* find(const Key& key) {
        slot* s = slotOf(key);
        return s == nullptr ? nullptr : &s->value;
    }
    const Value* find(const Key& key) const {
        const slot* s = slotOf(key);
        return s == nullptr ? nullptr : &s->value;
    }
    bool contains(const Key& key) const { return slotOf(key) != nullptr; }

    // The value of the key, added as `value` when the key is new; true when
    // it was added.
    std::pair<Value*, bool> emplace(const Key& key, Value value) {
        if (2 * (size_ + 1) > slots_.size())
            rehash(slots_.empty() ? 16 : 2 * slots_.size());
        slot& s = slots_[probe(key)];
        if (s.used)
            return {&s.value, false};
        s.key = key;
        s.value = std::move(value);
        s.used = true;
        ++size_;
        return {&s.value, true};
    }

    // The value of the key, a default one added when the key is new.
    Value& operator[](const Key& key) { return *emplace(key, Value{}).first; }

    void clear() {
        slots_.clear();
        slots_.shrink_to_fit();
        size_ = 0;
    }

private:
    struct slot {
        Key key{};
        Value value{};
        bool used = false;
    };

    const slot* slotOf(const Key& key) const {
        if (slots_.empty())
            return nullptr;
        const slot& s = slots_[probe(key)];
        return s.used ? &s : nullptr;
    }
    slot* slotOf(const Key& key) { return const_cast<slot*>(std::as_const(*this).slotOf(key)); }

    // The slot of the key, or the free slot where it would go.
    std::size_t probe(const Key& key) const {
        const std::size_t mask = slots_.size() - 1;
        std::size_t at = static_cast<std::size_t>(hashOf(key)) & mask;
        while (slots_[at].used && !(slots_[at].key == key))
            at = (at + 1) & mask;
        return at;
    }

    void rehash(std::size_t slotCount) {
        std::vector<slot> old = std::move(slots_);
        slots_.assign(slotCount, slot{});
        for (slot& s : old)
            if (s.used)
                slots_[probe(s.key)] = std::move(s);
    }

    std::vector<slot> slots_; // a power of two of them, at most half in use
    std::size_t size_ = 0;
};

// Whole numbers grouped by key, each group in the order it was added: one
// array for all of them instead of an array per key, which for a setup with
// a million sightings of a million points was a million small blocks.
// Groups are added to until `seal`, and read after it.
template <class Key> class keyGroups {
public:
    void reserve(std::size_t count) {
        groupOf_.reserve(count);
        added_.reserve(count);
    }

    void add(const Key& key, int value) {
        const auto [group, isNew] = groupOf_.emplace(key, static_cast<int>(groupOf_.size()));
        added_.push_back({*group, value});
    }

    // Lays the groups out one after another: a counting sort by group keeps
    // each group's values in the order they were added.
    void seal() {
        starts_.assign(groupOf_.size() + 1, 0);
        for (const auto& [group, value] : added_)
            ++starts_[static_cast<std::size_t>(group) + 1];
        for (std::size_t g = 1; g < starts_.size(); ++g)
            starts_[g] += starts_[g - 1];
        values_.resize(added_.size());
        std::vector<int> next(starts_.begin(), starts_.end() - 1);
        for (const auto& [group, value] : added_)
            values_[static_cast<std::size_t>(next[static_cast<std::size_t>(group)]++)] = value;
        added_.clear();
        added_.shrink_to_fit();
    }

    // The values added under the key; none when it has none.
    std::span<const int> of(const Key& key) const {
        const int* group = groupOf_.find(key);
        if (group == nullptr)
            return {};
        const auto g = static_cast<std::size_t>(*group);
        return {values_.data() + starts_[g], static_cast<std::size_t>(starts_[g + 1] - starts_[g])};
    }

private:
    struct addedValue {
        int group;
        int value;
    };
    keyTable<Key, int> groupOf_;
    std::vector<addedValue> added_;
    std::vector<int> starts_;
    std::vector<int> values_;
};
