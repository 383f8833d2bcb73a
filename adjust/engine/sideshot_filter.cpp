#include "engine/sideshot_filter.hpp"

#include "input/alta_points_file.hpp"

#include "model/key_table.hpp"
#include "model/program_lists.hpp"
#include "model/progress.hpp"
#include "model/record_walks.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/shell_services.hpp"

#include <string>

namespace {

struct WeightRules {
    int limit;
    int controlStart; // the weight a weighted control point starts with
    int gpsVector;    // the weight of one GPS vector
};

constexpr WeightRules weights2D{2, 2, 2};
constexpr WeightRules weights3D{3, 3, 3};

// The points made sideshots by one walk.
using NameKeys = keyTable<pointKey, bool>;

NameKeys keysOf(std::string_view name) {
    NameKeys keys;
    keys.emplace(pointKeyOf(name), true);
    return keys;
}

bool holds(const NameKeys& keys, std::string_view name) {
    return keys.contains(pointKeyOf(name));
}

template <class Record> bool namesEnd(const Record& r, const NameKeys& keys) {
    return holds(keys, fixedText(r.from)) || holds(keys, fixedText(r.to));
}

template <class Angle> bool atForesightOrInstrument(const Angle& a, const NameKeys& keys) {
    return holds(keys, fixedText(a.foresight)) || holds(keys, fixedText(a.instrument));
}

// The observation weight of every point name, from one walk of each list:
// a record adds its weight once to each point it names, however often it
// names it. Marking observations does not change the weights, so one table
// serves every walk of a filter.
class NameWeights {
public:
    template <class List> void addEnds(List& list, int each) {
        visitRecords(list, [&](const auto& r) {
            add({fixedText(r.from), fixedText(r.to)}, each);
            return true;
        });
    }
    template <class List> void addAngles(List& list) {
        visitRecords(list, [&](const auto& a) {
            add({fixedText(a.backsight), fixedText(a.foresight), fixedText(a.instrument)}, 1);
            return true;
        });
    }
    // The weight of a point of the given type and name.
    int of(int pointType, std::string_view name, const WeightRules& rules) const {
        const int* found = weight_.find(pointKeyOf(name));
        return (pointType == ptWeightedControl ? rules.controlStart : 0) +
               (found != nullptr ? *found : 0);
    }

private:
    void add(std::initializer_list<std::string_view> names, int each) {
        distinctPointKeys keys;
        for (const std::string_view name : names)
            keys.add(name);
        for (const pointKey& key : keys)
            weight_[key] += each;
    }

    keyTable<pointKey, int> weight_;
};

NameWeights weights2DOfLists() {
    NameWeights w;
    w.addEnds(distanceList2D, 1);
    w.addAngles(angleList2D);
    w.addEnds(azimuthList2D, 1);
    w.addEnds(gpsVectorList, weights2D.gpsVector);
    return w;
}

NameWeights weights3DOfLists() {
    NameWeights w;
    w.addEnds(distanceList, 1);
    w.addAngles(angleList);
    w.addEnds(azimuthList, 1);
    w.addEnds(verticalList, 1);
    w.addEnds(gpsVectorList, weights3D.gpsVector);
    return w;
}

// Status 2 on every record of the list that `names` accepts.
template <class List, class Names> void markObservations(List& list, Names names) {
    changeRecords(list, [&](auto& record) {
        if (!names(record))
            return false;
        record.status = obsNotAdjusted;
        return true;
    });
}

bool passedOver(int pointType) {
    return pointType == ptSideshot || pointType == ptCarried;
}

// One walk over a point list: each point that is no sideshot yet, weighs
// at most the limit, is not weighted control and is not protected becomes
// a sideshot; their observations are marked together after the walk (the
// marks change no weight).
template <class Point, class Weight, class Mark>
int filterPass(obsList<Point>& points, const relErrPoints& protectedPoints, int limit, Weight weigh,
               Mark mark) {
    const int total = points.count();
    NameKeys marked;
    int index = 0;
    changeRecords(points, [&](Point& p) {
        postProgress(index++, total);
        if (passedOver(p.pointType))
            return false;
        const std::string_view name = fixedText(p.name);
        if (weigh(p.pointType, name) > limit || p.pointType == ptWeightedControl ||
            isListedRelErrPoint(name, protectedPoints) != 0)
            return false;
        p.pointType = ptSideshot;
        marked.emplace(pointKeyOf(name), true);
        return true;
    });
    if (!marked.empty())
        mark(marked);
    return static_cast<int>(marked.size());
}

void markSideshotObs2D(const NameKeys& keys) {
    const auto end = [&](const auto& r) { return namesEnd(r, keys); };
    markObservations(distanceList2D, end);
    markObservations(angleList2D, [&](const auto& a) { return atForesightOrInstrument(a, keys); });
    markObservations(azimuthList2D, end);
}

void markSideshotObs3D(const NameKeys& keys) {
    const auto end = [&](const auto& r) { return namesEnd(r, keys); };
    markObservations(distanceList, end);
    markObservations(angleList, [&](const auto& a) { return atForesightOrInstrument(a, keys); });
    markObservations(azimuthList, end);
    markObservations(verticalList, end);
    markObservations(gpsVectorList, end);
}

} // namespace

relErrPoints loadRelErrPoints() {
    relErrPoints points;
    if (projectVars.relativeErrFileOn == 0 && projectVars.ALTARptOn == 0)
        return points;
    points.inUse = true;
    readRelErrPointNames(projectVars.relativeErrFileNm, points.names);
    return points;
}

int isListedRelErrPoint(std::string_view name, const relErrPoints& points) {
    if (!points.inUse)
        return 0;
    for (const std::string& listed : points.names)
        if (sameName(listed, name))
            return 1;
    return 0;
}

int markSideshotObs2D(std::string_view name) {
    markSideshotObs2D(keysOf(name));
    return 0;
}

int markSideshotObs3D(std::string_view name) {
    markSideshotObs3D(keysOf(name));
    return 0;
}

namespace {

int filterPass2D(const relErrPoints& points, const NameWeights& weights) {
    return filterPass(
        pointList2D, points, weights2D.limit,
        [&](int type, std::string_view name) { return weights.of(type, name, weights2D); },
        [](const NameKeys& keys) { markSideshotObs2D(keys); });
}

int filterPass3D(const relErrPoints& points, const NameWeights& weights) {
    return filterPass(
        stationList, points, weights3D.limit,
        [&](int type, std::string_view name) { return weights.of(type, name, weights3D); },
        [](const NameKeys& keys) { markSideshotObs3D(keys); });
}

} // namespace

int filterHorizSideshotsPass(const relErrPoints& points) {
    return filterPass2D(points, weights2DOfLists());
}

int filterSideshots3DPass(const relErrPoints& points) {
    return filterPass3D(points, weights3DOfLists());
}

// No run context reaches filterHorizSideshots and filterSideshots3D: their interface has none, so
// the shell is the active one (the run installs its own for its length).
void filterHorizSideshots() {
    const relErrPoints points = loadRelErrPoints();
    const NameWeights weights = weights2DOfLists();
    while (filterPass2D(points, weights) != 0) {
    }
    activeShell().setPercent(0);
}

void filterSideshots3D() {
    const relErrPoints points = loadRelErrPoints();
    const NameWeights weights = weights3DOfLists();
    while (filterPass3D(points, weights) != 0) {
    }
    activeShell().setPercent(0);
}
