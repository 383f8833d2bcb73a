#pragma once
// Where the records of each point name stand in a list: the name index of
// the indexed lists (list_containers.hpp). A job of many sightings looks a
// point up in every step, so the index keeps each name as a packed key in
// an open-addressed table (one probe of a flat array, no text built or
// hashed per search) and the records of all names in one array, each record
// linked to the next of its name.

#include "model/key_table.hpp"
#include "model/point_name.hpp"

#include <cstddef>
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
        const int added = static_cast<int>(links_.size());
        links_.push_back(link{at, position, -1});
        chain& c = chains_[key];
        if (c.count == 0)
            c.first = added;
        else
            links_[static_cast<std::size_t>(c.last)].next = added;
        c.last = added;
        ++c.count;
    }

    naming find(const pointKey& key) const {
        const chain* c = chains_.find(key);
        return c == nullptr ? naming{} : naming{&links_, c->first, c->count};
    }

    void clear() {
        chains_.clear();
        links_.clear();
        links_.shrink_to_fit();
    }

private:
    // The first and last record of a name, and how many it has.
    struct chain {
        int first = -1;
        int last = -1;
        int count = 0;
    };

    keyTable<pointKey, chain> chains_;
    std::vector<link> links_;
};
