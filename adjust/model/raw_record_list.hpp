#pragma once
// The list of raw records: a singly linked list with back links and three
// fixed cursors, filled by the readers in file order and then read and, record
// by record, replaced; records are never removed singly.
//
// - Cursor 0: random access, stepping forward and back, replacement
//   (seek, get, advance, back, replaceAtCursor, cursorIndex).
// - Cursors 1 and 2: independent forward scans, each advanced by its own get
//   (seek1/getNext1/cursorIndex1, seek2/getNext2).
// A cursor stands on a record or is empty; positions count from 0. Every
// operation returns 0 for success and 1 for a failure or the end, and an
// operation on an empty cursor changes nothing.
//
// The container holds raw records (`rawRecList`) and the level readings of a
// level file alike.

#include "model/linked_nodes.hpp"

#include <cstdlib>

template <class Record> class rawRecListOf {
public:
    rawRecListOf() = default;
    rawRecListOf(const rawRecListOf&) = delete;
    rawRecListOf& operator=(const rawRecListOf&) = delete;
    ~rawRecListOf() { freeNodes(); }

    // Appends a copy at the tail; 1 when no node can be allocated (list unchanged).
    int append(const Record& record) {
        node* added = allocateNode<node>(record, nullptr, last_);
        if (added == nullptr)
            return 1;
        *tailLink_ = added;
        tailLink_ = &added->next;
        last_ = added;
        ++count_;
        return 0;
    }

    // Frees every node; the list is empty and the three cursors are empty.
    int clear() {
        freeNodes();
        for (cursor& c : cursors_)
            c = cursor{};
        return 0;
    }

    int count() const { return count_; }

    // Cursor 0. get copies the record under it without moving it.
    int get(Record& out) const { return copyAt(cursors_[0], out); }
    // Moves to the next record, position + 1; at the last record the cursor
    // becomes empty (the position still grows) and 1 is returned.
    int advance() {
        cursor& c = cursors_[0];
        if (c.at == nullptr)
            return 1;
        c.at = c.at->next;
        ++c.position;
        return c.at == nullptr ? 1 : 0;
    }
    // Moves to the record before, position - 1; at the first record the
    // cursor becomes empty and the result is still 0.
    int back() {
        cursor& c = cursors_[0];
        if (c.at == nullptr)
            return 1;
        c.at = c.at->back;
        --c.position;
        return 0;
    }
    int seek(int index) { return seekCursor(cursors_[0], index); }
    int cursorIndex() const { return cursors_[0].position; }
    // Overwrites the record under cursor 0; links, order and count are kept.
    int replaceAtCursor(const Record& record) {
        if (cursors_[0].at == nullptr)
            return 1;
        cursors_[0].at->record = record;
        return 0;
    }

    // Cursors 1 and 2: seek to an index (1 past the end, cursor unchanged);
    // getNext copies the record under the cursor and moves it on (empty after
    // the last); 1 when the cursor was empty (nothing copied).
    int seek1(int index) { return seekCursor(cursors_[1], index); }
    int getNext1(Record& out) { return copyAndStep(cursors_[1], out); }
    int cursorIndex1() const { return cursors_[1].position; }
    int seek2(int index) { return seekCursor(cursors_[2], index); }
    int getNext2(Record& out) { return copyAndStep(cursors_[2], out); }

    // Calls visit(record) for each record in list order, without a cursor
    // and without a copy: a record stays where it is, and a reference to it
    // stays good, until the list is cleared.
    template <class Visit> void visitAll(Visit visit) const {
        for (const node* n = head_; n != nullptr; n = n->next)
            visit(n->record);
    }

private:
    struct node {
        Record record;
        node* next;
        node* back;
    };
    struct cursor {
        node* at = nullptr;
        int position = 0;
    };

    // Steps from the nearest known node (the head, the last record or a
    // cursor, forward or back along the back links), so scans that seek near
    // where a cursor stands stay linear whichever way they go.
    int seekCursor(cursor& c, int index) {
        if (index < 0 || index >= count_)
            return 1;
        node* n = head_;
        int at = 0;
        const auto consider = [&](node* from, int position) {
            if (from != nullptr && std::abs(position - index) < std::abs(at - index)) {
                n = from;
                at = position;
            }
        };
        consider(last_, count_ - 1);
        for (const cursor& other : cursors_)
            consider(other.at, other.position);
        for (; at < index; ++at)
            n = n->next;
        for (; at > index; --at)
            n = n->back;
        c.at = n;
        c.position = index;
        return 0;
    }

    static int copyAt(const cursor& c, Record& out) {
        if (c.at == nullptr)
            return 1;
        out = c.at->record;
        return 0;
    }

    static int copyAndStep(cursor& c, Record& out) {
        if (copyAt(c, out) != 0)
            return 1;
        c.at = c.at->next;
        ++c.position;
        return 0;
    }

    void freeNodes() {
        freeChain(head_);
        tailLink_ = &head_;
        last_ = nullptr;
        count_ = 0;
    }

    node* head_ = nullptr;
    node** tailLink_ = &head_;
    node* last_ = nullptr;
    cursor cursors_[3];
    int count_ = 0;
};
