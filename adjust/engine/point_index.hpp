#pragma once
// The points of a network by name, as the adjustments look them up: names
// compared as the point lists compare them (pointNameKey), the first point
// of a name kept. Each point is known by its index in the network's own
// table, and as positioned when it has the coordinates the adjustment needs.

#include "model/key_table.hpp"
#include "model/point_name.hpp"

#include <string>
#include <string_view>

class PointIndex {
public:
    // `noun` names a point in the messages: "Point", "Station".
    explicit PointIndex(std::string noun) : noun_(std::move(noun)) {}

    void add(std::string_view name, int index, bool positioned) {
        const pointKey key = pointKeyOf(name);
        byName_.emplace(key, index);
        if (positioned)
            positioned_.emplace(key, index);
    }
    bool holds(std::string_view name) const { return byName_.contains(pointKeyOf(name)); }

    // The index of the named point with a position, or -1 with the reason in
    // `problem`.
    int positioned(std::string_view name, std::string& problem) const {
        if (const int* found = positioned_.find(pointKeyOf(name)))
            return *found;
        problem = noun_ + " " + std::string(name) + " of an observation has no coordinates.";
        return -1;
    }

private:
    std::string noun_;
    keyTable<pointKey, int> byName_;
    keyTable<pointKey, int> positioned_;
};
