#pragma once
// Copies of the records of a program-wide list, in list order, for the
// computations that walk a list many times or index it.

#include "model/list_containers.hpp"

#include <vector>

template <class Record> std::vector<Record> recordsOf(obsList<Record>& list) {
    std::vector<Record> records;
    records.reserve(static_cast<std::size_t>(list.count()));
    Record record;
    const int c = list.openCursor(0);
    while (list.getAtCursor(c, record) == 0) {
        records.push_back(record);
        list.advanceCursor(c);
    }
    list.closeCursor(c);
    return records;
}

template <class Record> std::vector<Record> recordsOf(seqList<Record>& list) {
    std::vector<Record> records;
    records.reserve(static_cast<std::size_t>(list.count()));
    Record record;
    list.seekCursor(0);
    while (list.getAtCursor(record) == 0) {
        records.push_back(record);
        list.advanceCursor();
    }
    return records;
}
