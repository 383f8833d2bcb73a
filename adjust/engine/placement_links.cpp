#include "engine/placement_links.hpp"

void placementLinks::placedFrom(std::string_view point, std::string_view station) {
    stationOf_[pointKeyOf(point)] = placement{pointKeyOf(station), !station.empty()};
}

void placementLinks::placedByFigure(std::string_view point) {
    stationOf_.emplace(pointKeyOf(point), placement{});
}

const placementLinks::placement* placementLinks::placementOf(const pointKey& point) const {
    return stationOf_.find(point);
}

bool placementLinks::linked(std::string_view a, std::string_view b) const {
    const pointKey keyA = pointKeyOf(a);
    const pointKey keyB = pointKeyOf(b);
    const placement* fromA = placementOf(keyA);
    const placement* fromB = placementOf(keyB);
    if (fromA == nullptr && fromB == nullptr)
        return true;
    const bool aFromStation = fromA != nullptr && fromA->fromStation;
    const bool bFromStation = fromB != nullptr && fromB->fromStation;
    return (aFromStation && fromA->station == keyB) || (bFromStation && fromB->station == keyA) ||
           (aFromStation && bFromStation && fromA->station == fromB->station);
}
