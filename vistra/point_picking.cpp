#include "vistra/point_picking.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

groundPoint backsightPosition(const graphSetup& setup) {
    if (!isSet(setup.instrumentN) || !isSet(setup.instrumentE) || !isSet(setup.direction))
        return {notComputed, notComputed};
    return {setup.instrumentE + setup.backsightDist * std::sin(setup.direction),
            setup.instrumentN + setup.backsightDist * std::cos(setup.direction)};
}

namespace {

class candidateList {
public:
    candidateList(groundPoint click, double radius) : click_(click), radius_(radius) {}

    void offer(std::string_view name, double east, double north, bool radiusIncluded) {
        if (name.empty() || !isSet(east) || !isSet(north))
            return;
        const double distance = std::hypot(east - click_.east, north - click_.north);
        const bool taken = radiusIncluded ? distance <= radius_ : distance < radius_;
        if (!taken || known(name))
            return;
        list_.push_back({std::string(name), distance});
    }

    std::vector<pickCandidate> nearestFirst() && {
        std::stable_sort(
            list_.begin(), list_.end(),
            [](const pickCandidate& a, const pickCandidate& b) { return a.distance < b.distance; });
        return std::move(list_);
    }

private:
    bool known(std::string_view name) const {
        return std::any_of(list_.begin(), list_.end(),
                           [&](const pickCandidate& c) { return sameName(c.name, name); });
    }

    groundPoint click_;
    double radius_;
    std::vector<pickCandidate> list_;
};

void offerSetup(candidateList& list, const graphSetup& setup) {
    list.offer(fixedText(setup.instrument), setup.instrumentE, setup.instrumentN, true);
    const groundPoint back = backsightPosition(setup);
    list.offer(fixedText(setup.backsight), back.east, back.north, false);
    for (const graphForesight& f : setup.foresights)
        list.offer(fixedText(f.foresight), f.easting, f.northing, false);
}

} // namespace

std::vector<pickCandidate> pickPoints(const rawDataGraph& model, groundPoint click, double radius) {
    candidateList list(click, radius);
    graphSetup setup;
    for (int i = 0; model.getSetupAt(i, setup) == 0; ++i)
        offerSetup(list, setup);
    graphPoint point;
    for (int i = 0; model.getPointAt(i, point) == 0; ++i)
        list.offer(fixedText(point.name), point.easting, point.northing, false);
    return std::move(list).nearestFirst();
}
