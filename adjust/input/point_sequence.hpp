#pragma once
// Point sequences of the closure file: names separated by blanks, commas or
// tabs, where "A-B" stands for every name from A to B and "A-" for every name
// from A to the highest point name of the project that has A's prefix (so a
// project whose control is named CP1, CP2 still lets "7-" run over its
// numbered points).
//
// A name for a range is a prefix (everything before its first digit) and a
// number (the digits after it). Both ends of a range must have a number and
// nothing after it, and the same prefix (compared without case); a range
// counts down when its end's number is below its start's. Members are the
// prefix followed by the number, written as wide as the start's number when
// that has a leading zero ("0010-0012" gives 0010 0011 0012), else without
// padding. Runs of separators count as one, so "1, 2" is the names 1 and 2.

#include "model/list_containers.hpp"
#include "model/point_records.hpp"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// What the names of a range are taken from.
struct RangeNames {
    // Whether a name of a range is taken; empty: every name is taken.
    std::function<bool(std::string_view)> exists;
    // Where "A-" ends, given A: the highest point name of the project with
    // A's prefix (highestNameFor).
    std::function<std::string(std::string_view)> highest;
    // The names the project holds. With `exists`, a range that spans more
    // numbers than there are names takes its members from these rather than
    // trying every number of its span: the work follows the points, not the
    // numbers a text can name.
    std::function<std::vector<std::string>()> known;
};

// The most names one range may span, and the most a list may hold when
// every name of a range is taken; a longer sequence is not one a surveyor
// means, and would only fill memory.
inline constexpr long maxRangeMembers = 100000;

inline constexpr int sequenceParsed = 0;
inline constexpr int sequenceInvalid = 1;

// Appends the names of `text` to `list`. sequenceParsed, or sequenceInvalid
// with the reason in `error` ("Traverse Point List is Empty" or "Invalid
// Point Sequence: %s" with the range, also for a range that would take the
// list past maxRangeMembers names, or the sentence refusing a name or
// range end longer than a point name: cut, it would name another point);
// the names before the fault stay in the list.
int parseTrvPtList(const std::string& text, simpleList<ptNameRec>& list, const RangeNames& names,
                   std::string& error);

// The name after `name` going by `step` (+1 or -1): its prefix and its
// number plus the step, as wide as the number when that has a leading zero.
std::string nextPointName(std::string_view name, int step);

// Orders two point names: by prefix without case when either has one, then
// by number. -1, 0 or 1.
int comparePointNames(std::string_view a, std::string_view b);

// The greatest of `names` (comparePointNames) among those that can end a
// range begun by `start`: the same prefix without case, a number and nothing
// after it. Empty when there is none.
std::string highestNameFor(std::string_view start, const std::vector<std::string>& names);

// The compact text of a list: names joined by ",", a run of three or more
// consecutive names (up or down) as first "-" last; a run of two as first ","
// last, except that a run reaching the end of the list is always written
// with "-". Parsing the text gives the same names again.
std::string trvPtListToText(const simpleList<ptNameRec>& list);

// The names of the list in order.
std::vector<std::string> pointNamesOf(const simpleList<ptNameRec>& list);
