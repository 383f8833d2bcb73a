#pragma once
// Which known station each point of the preliminary coordinates was placed
// from by a distance and a direction.
//
// A point placed that way lies, seen from its station, turned by the error
// of the orientation it was placed with; so does every other point placed
// from the same station with that orientation, and the station seen from
// them. A setup oriented through such a linked point takes over that one
// error, and the points placed from it carry the same frame on: the
// orientation travels through the angles as in a traverse. A setup oriented
// through a point that reached its position along another path takes the
// difference of the two paths' errors instead, turned by the sight length,
// and passes it on, grown, to everything placed from it.

#include "model/key_table.hpp"
#include "model/point_name.hpp"

#include <cstddef>
#include <string_view>

class placementLinks {
public:
    void clear() { stationOf_.clear(); }

    // `point` was placed from `station` by a distance and a direction.
    void placedFrom(std::string_view point, std::string_view station);
    // `point` was placed by observations with no one station to carry its
    // orientation (distances, directions crossed, a resection).
    void placedByFigure(std::string_view point);

    // True when one of the two points was placed from the other, or both from
    // one station, or neither was placed by these passes (control, given
    // points and points located by GPS vectors, whose relative positions owe
    // nothing to an orientation carried here).
    bool linked(std::string_view a, std::string_view b) const;

private:
    struct placement {
        pointKey station;
        bool fromStation = false; // false: placed by a figure
    };

    const placement* placementOf(const pointKey& point) const;

    keyTable<pointKey, placement> stationOf_;
};
