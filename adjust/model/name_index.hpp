#pragma once
// Where the records of each point name stand in a list: the name index of
// the indexed lists (list_containers.hpp). A job of many sightings looks a
// point up in every step, so the index keeps each name as a packed key in
// an open-addressed table (one probe of a flat array, no text built or
// hashed per search) and the records of all names in one array, each record
// linked to the next of its name.

#include "model/point_name.hpp"

#include <cstddef>
#include <cstdint>
#include <vector>

template <class Node> class nameIndex {
    struct link {
        Node* at;
        int position;
        int next; // the next record of the same name, or -1
    };

public:
    struct entry {
        Node* at;
        int position;
    };

    // The records of one name, in list order; empty when no record names it.
    class naming {
    public:
        class iterator {
        public:
            iterator(const std::vector<link>* links, int at) : links_(links), at_(at) {}
            entry operator*() const { return {(*links_)[at_].at, (*links_)[at_].position}; }
            iterator& operator++() {
                at_ = (*links_)[at_].next;
                return *this;
            }
            bool operator!=(const iterator& other) const { return at_ != other.at_; }

        private:
            const std::vector<link>* links_;
            int at_;
        };

        naming() = default;
        naming(const std::vector<link>* links, int first, int size)
            : links_(links), first_(first), size_(size) {}
        bool empty() const { return size_ == 0; }
        int size() const { return size_; }
        entry front() const { return *begin(); }
        iterator begin() const { return {links_, size_ > 0 ? first_ : -1}; }
        iterator end() const { return {links_, -1}; }

    private:
        const std::vector<link>* links_ = nullptr;
        int first_ = -1;
        int size_ = 0;
    };

    // Notes a record under a name; records of one name must come in list order.
    void add(const pointKey& key, Node* at, int position) {
        if (2 * (used_ + 1) > slots_.size())
            grow();
        slot& s = slots_[probe(key)];
        const int added = static_cast<int>(links_.size());
        links_.push_back(link{at, position, -1});
        if (s.count == 0) {
            s.key = key;
            s.first = added;
            ++used_;
        } else {
            links_[static_cast<std::size_t>(s.last)].next = added;
        }
        s.last = added;
        ++s.count;
    }

    naming find(const pointKey& key) const {
        if (slots_.empty())
            return {};
        const slot& s = slots_[probe(key)];
        return {&links_, s.first, s.count};
    }

    void clear() {
        slots_.clear();
        slots_.shrink_to_fit();
        links_.clear();
        links_.shrink_to_fit();
        used_ = 0;
    }

private:
    struct slot {
        pointKey key;
        int first = -1;
        int last = -1;
        int count = 0; // 0: a free slot
    };

    // The slot of the key, or the free slot where it would go.
    std::size_t probe(const pointKey& key) const {
        const std::size_t mask = slots_.size() - 1;
        std::size_t at = static_cast<std::size_t>(hashOf(key)) & mask;
        while (slots_[at].count != 0 && !(slots_[at].key == key))
            at = (at + 1) & mask;
        return at;
    }

    void grow() {
        std::vector<slot> old = std::move(slots_);
        slots_.assign(old.empty() ? 16 : 2 * old.size(), slot{});
        for (const slot& s : old)
            if (s.count != 0)
                slots_[probe(s.key)] = s;
    }

    std::vector<slot> slots_; // a power of two of them, at most half in use
    std::vector<link> links_;
    std::size_t used_ = 0;
};
