#pragma once
// The singly linked lists that hold every collection of survey data: points,
// observations, descriptions, aliases and GPS vectors. Records are stored by
// value; every read copies a record out and a change is written back with an
// explicit replace. Walks go through cursors kept in the list object, so a
// walk can be paused and resumed by index.
//
// Three shapes:
// - obsList: five independent cursors, opened and closed by number;
// - seqList: one built-in cursor shared by every walk of the list;
// - simpleList: no cursor, access by index or by name.
//
// Results: operations that step, read or append return 0 for success and 1
// for the end or a failure; searches return the 0-based index of the record,
// or -1 when there is none. Searches are linear from the head, except in
// the lists of the record types marked `indexedByName` (points) and
// `indexedByNames` (observations): those lists keep, once searched, where
// the records of each point name stand, so a search or replace by names and
// a visit of the records naming a point (visitNaming) only look at those
// (a search by names, at those of the name that the fewest records name).
//
// Searches are defined per record type by two overload sets found next to
// each record: findMatch(record, names...) for find and indexOf, and
// replaceMatch(stored, given) for replace; each answers keyMatch::none,
// sameOrder or reversed. A reversed match may adjust the copy handed out
// (orientFound) and the values stored (storeReplacement); by default it does
// neither.

#include "model/linked_nodes.hpp"
#include "model/name_index.hpp"
#include "model/point_name.hpp"

#include <array>
#include <cassert>
#include <string>
#include <string_view>
#include <utility>

enum class keyMatch { none, sameOrder, reversed };

// True for a record type whose find, indexOf and replace by name compare
// its `name` field by sameName and nothing else; its lists index the names.
template <class Record> inline constexpr bool indexedByName = false;
// True for a record type whose point names recordNames(record) lists, and
// whose finds by names match only records naming the first name given.
template <class Record> inline constexpr bool indexedByNames = false;

template <class Record> void orientFound(Record&, keyMatch) {}
template <class Record> void storeReplacement(Record& stored, const Record& given, keyMatch) {
    stored = given;
}

namespace listdetail {

// The chain every shape is built on: head, the link where the next node goes
// (so an append costs no walk) and the count.
template <class Record> class chain {
public:
    struct node {
        Record record;
        node* next = nullptr;
    };

    chain() = default;
    chain(const chain&) = delete;
    chain& operator=(const chain&) = delete;
    ~chain() { freeChain(head_); }

    // Appends a copy at the tail; 1 when no node can be allocated (list unchanged).
    int append(const Record& record) {
        node* added = allocateNode<node>(record);
        if (added == nullptr)
            return 1;
        *tailLink_ = added;
        tailLink_ = &added->next;
        ++count_;
        if constexpr (indexed)
            if (indexBuilt_)
                indexRecord(added, count_ - 1);
        return 0;
    }

    int count() const { return count_; }

    // Copies the index-th record; 1 when the index is outside the list.
    int getAt(int index, Record& out) const {
        const node* found = nodeAt(index);
        if (found == nullptr)
            return 1;
        out = found->record;
        return 0;
    }

    // Index of the first record found by the given names, copied into `out`
    // (turned to the direction asked for on a reversed match); -1 when none.
    int find(std::string_view name, Record& out) const {
        if constexpr (indexedByName<Record>) {
            const naming found = recordsNaming(name);
            if (found.empty())
                return -1;
            out = found.front().at->record;
            return found.front().position;
        }
        return findBy(out, name);
    }
    int find(std::string_view a, std::string_view b, Record& out) const {
        if constexpr (indexedByNames<Record>)
            return findAmongNaming(out, a, b);
        return findBy(out, a, b);
    }
    int find(std::string_view a, std::string_view b, std::string_view c, Record& out) const {
        if constexpr (indexedByNames<Record>)
            return findAmongNaming(out, a, b, c);
        return findBy(out, a, b, c);
    }

    // Calls visit(record) for each record in list order: one walk, where
    // getAt from 0 up walks the chain again for every record. The visit must
    // not change the list.
    template <class Visit> void visitAll(Visit visit) const {
        for (const node* n = head_; n != nullptr; n = n->next)
            visit(std::as_const(n->record));
    }

    // Calls visit(record) for each record that names the point, in list
    // order, while it returns true. The visit must not change the list.
    template <class Visit> void visitNaming(std::string_view name, Visit visit) const {
        static_assert(indexed, "only the indexed lists know which records name a point");
        for (const entry e : recordsNaming(name))
            if (!visit(std::as_const(e.at->record)))
                return;
    }

    // Calls visit(record, position), in list order while it returns true, for
    // each record that names the one of `names` the fewest records name: a
    // walk that sees every record naming all the names, and few others.
    template <class Names, class Visit>
    void visitNamingFewest(const Names& names, Visit visit) const {
        static_assert(indexed, "only the indexed lists know which records name a point");
        for (const entry e : fewestNaming(names))
            if (!visit(std::as_const(e.at->record), e.position))
                return;
    }

    // Calls change(record) on a copy of each record that names the point, in
    // list order, and stores the copy back where it returns true. The change
    // must keep the record's names, which the walk is indexed by.
    template <class Change> void changeNaming(std::string_view name, Change change) {
        static_assert(indexed, "only the indexed lists know which records name a point");
        for (const entry e : recordsNaming(name)) {
            Record copy = e.at->record;
            if (!change(copy))
                continue;
            assert(keysOf(copy) == keysOf(e.at->record));
            e.at->record = copy;
        }
    }

    // Index of the first record whose name matches, or -1.
    int indexOf(std::string_view name) const {
        if constexpr (indexedByName<Record>) {
            const naming found = recordsNaming(name);
            return found.empty() ? -1 : found.front().position;
        }
        int index = 0;
        for (const node* n = head_; n != nullptr; n = n->next, ++index)
            if (findMatch(n->record, name) != keyMatch::none)
                return index;
        return -1;
    }

    // Overwrites the first record whose key matches the given record's own
    // key; its index, or -1 (list unchanged) when none matches. It finds its
    // target by the key, so it cannot change the key.
    int replace(const Record& record) {
        if constexpr (indexedByName<Record>) {
            const naming found = recordsNaming(fixedText(record.name));
            if (found.empty())
                return -1;
            storeReplacement(found.front().at->record, record, keyMatch::sameOrder);
            return found.front().position;
        }
        if constexpr (indexedByNames<Record>)
            return replaceAmongNaming(record);
        int index = 0;
        for (node* n = head_; n != nullptr; n = n->next, ++index) {
            const keyMatch match = replaceMatch(n->record, record);
            if (match != keyMatch::none) {
                storeReplacement(n->record, record, match);
                return index;
            }
        }
        return -1;
    }

    // Number of records of point type 1 (weighted control).
    int countControl() const {
        int control = 0;
        for (const node* n = head_; n != nullptr; n = n->next)
            if (n->record.pointType == 1)
                ++control;
        return control;
    }

    // Appends each record of `other` whose name is not yet in this list,
    // tested against this list as it grows: of several records of one name
    // only the first is taken. Records already present stay as they are.
    void mergeFrom(const chain& other) {
        if (&other == this)
            return;
        for (const node* n = other.head_; n != nullptr; n = n->next)
            if (indexOf(fixedText(n->record.name)) < 0)
                append(n->record);
    }

protected:
    // Frees every node; the list is empty and its tail link points at head.
    void clearChain() {
        freeChain(head_);
        head_ = nullptr;
        tailLink_ = &head_;
        count_ = 0;
        lastFound_ = nullptr;
        lastFoundIndex_ = 0;
        index_.clear();
        indexBuilt_ = false;
    }

    // Overwrites a stored record; new names make the name index stale.
    void overwrite(node* at, const Record& record) {
        if constexpr (indexed)
            if (keysOf(at->record) != keysOf(record)) {
                index_.clear();
                indexBuilt_ = false;
            }
        at->record = record;
    }

    // Appends every record of `other` in order.
    void appendAllOf(const chain& other) {
        for (const node* n = other.head_; n != nullptr; n = n->next)
            append(n->record);
    }

    // The index-th node, or null outside the list. Walks on from the node
    // found last when that stands at or before the index, so reading a list
    // by rising index costs a step per record rather than a walk from the head.
    node* nodeAt(int index) const {
        if (index < 0 || index >= count_)
            return nullptr;
        node* n = head_;
        int at = 0;
        if (lastFound_ != nullptr && lastFoundIndex_ <= index) {
            n = lastFound_;
            at = lastFoundIndex_;
        }
        for (; at < index; ++at)
            n = n->next;
        lastFound_ = n;
        lastFoundIndex_ = index;
        return n;
    }

private:
    static constexpr bool indexed = indexedByName<Record> || indexedByNames<Record>;

    using entry = typename nameIndex<node>::entry;
    using naming = typename nameIndex<node>::naming;

    // The keys of the point names of a record, each once.
    static distinctPointKeys keysOf(const Record& record) {
        distinctPointKeys keys;
        if constexpr (indexedByName<Record>)
            keys.add(fixedText(record.name));
        else if constexpr (indexedByNames<Record>)
            for (const std::string_view name : recordNames(record))
                keys.add(name);
        return keys;
    }

    void indexRecord(node* n, int position) const {
        for (const pointKey& key : keysOf(n->record))
            index_.add(key, n, position);
    }

    // The records naming the point, in list order.
    naming recordsNaming(std::string_view name) const {
        if (!indexBuilt_) {
            int position = 0;
            for (node* n = head_; n != nullptr; n = n->next, ++position)
                indexRecord(n, position);
            indexBuilt_ = true;
        }
        return index_.find(pointKeyOf(name));
    }

    // Of the records naming each of the names, the fewest; none when a name
    // is named by none. A key matches only a record that names every name of
    // it, so those are the only records worth trying, in list order.
    template <class Names> naming fewestNaming(const Names& names) const {
        naming fewest;
        bool first = true;
        for (const std::string_view name : names) {
            const naming found = recordsNaming(name);
            if (found.empty())
                return {};
            if (first || found.size() < fewest.size())
                fewest = found;
            first = false;
        }
        return fewest;
    }

    template <class... Names>
    int findAmongNaming(Record& out, std::string_view first, const Names&... rest) const {
        for (const entry e :
             fewestNaming(std::array<std::string_view, 1 + sizeof...(rest)>{first, rest...})) {
            const keyMatch match = findMatch(e.at->record, first, rest...);
            if (match != keyMatch::none) {
                out = e.at->record;
                orientFound(out, match);
                return e.position;
            }
        }
        return -1;
    }

    // The names stay those the index holds.
    int replaceAmongNaming(const Record& record) {
        for (const entry e : fewestNaming(recordNames(record))) {
            const keyMatch match = replaceMatch(e.at->record, record);
            if (match != keyMatch::none) {
                storeReplacement(e.at->record, record, match);
                return e.position;
            }
        }
        return -1;
    }

    template <class... Names> int findBy(Record& out, const Names&... names) const {
        int index = 0;
        for (const node* n = head_; n != nullptr; n = n->next, ++index) {
            const keyMatch match = findMatch(n->record, names...);
            if (match != keyMatch::none) {
                out = n->record;
                orientFound(out, match);
                return index;
            }
        }
        return -1;
    }

    node* head_ = nullptr;
    node** tailLink_ = &head_;
    int count_ = 0;
    mutable node* lastFound_ = nullptr;
    mutable int lastFoundIndex_ = 0;
    mutable nameIndex<node> index_;
    mutable bool indexBuilt_ = false;
};

} // namespace listdetail

// A list with five independent cursors, numbered 0 to 4. A cursor is taken by
// openCursor and given back by closeCursor; a cursor at the end stands on no
// record. The walk every caller uses:
//     int c = list.openCursor(0);
//     while (list.getAtCursor(c, rec) == 0) { ...; list.advanceCursor(c); }
//     list.closeCursor(c);
// An empty list and a list with no free cursor both give -1, which every
// cursor operation treats as a cursor at the end, so the walk sees no records.
template <class Record> class obsList : public listdetail::chain<Record> {
    using base = listdetail::chain<Record>;
    using node = typename base::node;

public:
    static constexpr int cursorCount = 5;

    // Frees every node; all cursors are given back and stand at the end.
    int clear() {
        this->clearChain();
        for (int c = 0; c < cursorCount; ++c)
            cursors_[c] = cursor{};
        return 0;
    }
    // The teardown of a list that is no longer used; the list stays usable.
    int freeNodes() { return clear(); }

    // Takes the lowest free cursor and puts it on the record at `start`; its
    // number, or -1 (nothing taken) when all five are in use or `start` is not
    // the index of a record.
    int openCursor(int start) {
        for (int c = 0; c < cursorCount; ++c) {
            if (cursors_[c].inUse)
                continue;
            if (seekCursor(c, start) != 0)
                return -1;
            cursors_[c].inUse = true;
            return c;
        }
        return -1;
    }

    // Puts the cursor on the index-th record; 1 (cursor unchanged) when the
    // index or the cursor number is out of range.
    int seekCursor(int c, int index) {
        node* found = this->nodeAt(index);
        if (!validCursor(c) || found == nullptr)
            return 1;
        cursors_[c].at = found;
        cursors_[c].position = index;
        return 0;
    }

    // Puts the cursor after the index-th record (at the end after the last);
    // 1 (cursor unchanged) as for seekCursor.
    int seekCursorAfter(int c, int index) {
        if (seekCursor(c, index) != 0)
            return 1;
        return advanceCursor(c);
    }

    // Copies the record under the cursor; 1 at the end or for a bad number.
    int getAtCursor(int c, Record& out) const {
        if (!validCursor(c) || cursors_[c].at == nullptr)
            return 1;
        out = cursors_[c].at->record;
        return 0;
    }

    // Moves the cursor to the next record (to the end after the last); 1
    // (nothing changed) when it already stands at the end or for a bad number.
    int advanceCursor(int c) {
        if (!validCursor(c) || cursors_[c].at == nullptr)
            return 1;
        cursors_[c].at = cursors_[c].at->next;
        ++cursors_[c].position;
        return 0;
    }

    // The cursor's 0-based position (the count when it has walked off the
    // end); -1 for a bad number.
    int cursorIndex(int c) const { return validCursor(c) ? cursors_[c].position : -1; }

    // Gives the cursor back; a bad number is ignored.
    int closeCursor(int c) {
        if (validCursor(c))
            cursors_[c].inUse = false;
        return 0;
    }

    // Overwrites the record under the cursor; 1 at the end or for a bad number.
    int replaceAtCursor(int c, const Record& record) {
        if (!validCursor(c) || cursors_[c].at == nullptr)
            return 1;
        this->overwrite(cursors_[c].at, record);
        return 0;
    }

    // Clears this list and appends every record of `other` in order; copying
    // a list onto itself leaves it as it is.
    int copyFrom(const obsList& other) {
        if (&other == this)
            return 0;
        clear();
        this->appendAllOf(other);
        return 0;
    }

private:
    struct cursor {
        node* at = nullptr;
        int position = 0;
        bool inUse = false;
    };

    static bool validCursor(int c) { return c >= 0 && c < cursorCount; }

    cursor cursors_[cursorCount];
};

// A list with one built-in cursor shared by every walk: a walk over a seqList
// must not run inside another walk over the same list.
template <class Record> class seqList : public listdetail::chain<Record> {
    using base = listdetail::chain<Record>;
    using node = typename base::node;

public:
    // Frees every node; the cursor stands at the end.
    int clear() {
        this->clearChain();
        cursorAt_ = nullptr;
        return 0;
    }
    int freeNodes() { return clear(); }

    // As the obsList cursor operations, on the one cursor.
    int seekCursor(int index) {
        node* found = this->nodeAt(index);
        if (found == nullptr)
            return 1;
        cursorAt_ = found;
        cursorPosition_ = index;
        return 0;
    }
    int seekCursorAfter(int index) {
        if (seekCursor(index) != 0)
            return 1;
        return advanceCursor();
    }
    int getAtCursor(Record& out) const {
        if (cursorAt_ == nullptr)
            return 1;
        out = cursorAt_->record;
        return 0;
    }
    int advanceCursor() {
        if (cursorAt_ == nullptr)
            return 1;
        cursorAt_ = cursorAt_->next;
        ++cursorPosition_;
        return 0;
    }
    int cursorIndex() const { return cursorPosition_; }
    int replaceAtCursor(const Record& record) {
        if (cursorAt_ == nullptr)
            return 1;
        this->overwrite(cursorAt_, record);
        return 0;
    }

    // Clears this list and appends every record of `other`; the walk leaves
    // other's cursor at its end, as a walk with that cursor would.
    int copyFrom(seqList& other) {
        if (&other == this)
            return 0;
        clear();
        this->appendAllOf(other);
        if (other.count() > 0) {
            other.cursorAt_ = nullptr;
            other.cursorPosition_ = other.count();
        }
        return 0;
    }

private:
    node* cursorAt_ = nullptr;
    int cursorPosition_ = 0;
};

// A list with no cursor: access by index (getAt) or by name (find).
template <class Record> class simpleList : public listdetail::chain<Record> {
public:
    int clear() {
        this->clearChain();
        return 0;
    }
    int freeNodes() { return clear(); }
};
