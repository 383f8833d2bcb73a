#include "engine/placement_links.hpp"

#include "model/point_name.hpp"

void placementLinks::placedFrom(std::string_view point, std::string_view station) {
    stationOf_[pointNameKey(point)] = pointNameKey(station);
}

void placementLinks::placedByFigure(std::string_view point) {
    stationOf_.try_emplace(pointNameKey(point));
}

const std::string* placementLinks::stationOf(const std::string& key) const {
    const auto found = stationOf_.find(key);
    return found == stationOf_.end() ? nullptr : &found->second;
}

bool placementLinks::linked(std::string_view a, std::string_view b) const {
    const std::string keyA = pointNameKey(a);
    const std::string keyB = pointNameKey(b);
    const std::string* fromA = stationOf(keyA);
    const std::string* fromB = stationOf(keyB);
    if (fromA == nullptr && fromB == nullptr)
        return true;
    const bool aFromStation = fromA != nullptr && !fromA->empty();
    const bool bFromStation = fromB != nullptr && !fromB->empty();
    return (aFromStation && *fromA == keyB) || (bFromStation && *fromB == keyA) ||
           (aFromStation && bFromStation && *fromA == *fromB);
}
