#pragma once
// Walks over the program-wide lists for the passes that visit every record
// and may change it in place. An obsList walk takes a cursor of its own for
// its length; a seqList walk uses the list's one cursor, so it must not run
// inside another walk of the same list.

#include "model/list_containers.hpp"

// Calls `visit(record)` in list order while it returns true.
template <class Record, class Visit> void visitRecords(obsList<Record>& list, Visit visit) {
    const int cursor = list.openCursor(0);
    Record record;
    while (list.getAtCursor(cursor, record) == 0 && visit(record))
        list.advanceCursor(cursor);
    list.closeCursor(cursor);
}

template <class Record, class Visit> void visitRecords(seqList<Record>& list, Visit visit) {
    Record record;
    for (int end = list.seekCursor(0); end == 0; end = list.advanceCursor())
        if (list.getAtCursor(record) != 0 || !visit(record))
            break;
}

// Calls `change(record)` for every record in list order and writes the
// record back where it returns true.
template <class Record, class Change> void changeRecords(obsList<Record>& list, Change change) {
    const int cursor = list.openCursor(0);
    Record record;
    for (; list.getAtCursor(cursor, record) == 0; list.advanceCursor(cursor))
        if (change(record))
            list.replaceAtCursor(cursor, record);
    list.closeCursor(cursor);
}

template <class Record, class Change> void changeRecords(seqList<Record>& list, Change change) {
    Record record;
    for (int end = list.seekCursor(0); end == 0; end = list.advanceCursor()) {
        if (list.getAtCursor(record) != 0)
            break;
        if (change(record))
            list.replaceAtCursor(record);
    }
}
