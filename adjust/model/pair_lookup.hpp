#pragma once
// Lines between two points: whether two name pairs are the same line, and
// whether a list of line observations holds one.

#include "model/point_name.hpp"

#include <string_view>

// True when the line a1-a2 joins the same two points as the line b1-b2, in
// either direction.
inline bool sameLine(std::string_view a1, std::string_view a2, std::string_view b1,
                     std::string_view b2) {
    return (sameName(a1, b1) && sameName(a2, b2)) || (sameName(a1, b2) && sameName(a2, b1));
}

// 1 when a record of `list` is found by (a, b) or by (b, a), else 0. Lists
// whose records are found in one order only are thereby searched both ways.
template <class Record, class List>
int joinsPair(const List& list, std::string_view a, std::string_view b) {
    Record found;
    return list.find(a, b, found) >= 0 || list.find(b, a, found) >= 0 ? 1 : 0;
}
