#include "engine/sideshot_filter.hpp"

#include "model/pending_stages.hpp"
#include "model/program_lists.hpp"
#include "model/progress.hpp"
#include "model/record_walks.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/shell_services.hpp"

namespace {

struct WeightRules {
    int limit;
    int controlStart; // the weight a weighted control point starts with
    int gpsVector;    // the weight of one GPS vector
};

constexpr WeightRules weights2D{2, 2, 2};
constexpr WeightRules weights3D{3, 3, 3};

template <class Record> bool namesEnd(const Record& r, std::string_view name) {
    return sameName(fixedText(r.from), name) || sameName(fixedText(r.to), name);
}

template <class Angle> bool namesAnyPoint(const Angle& a, std::string_view name) {
    return sameName(fixedText(a.backsight), name) || sameName(fixedText(a.foresight), name) ||
           sameName(fixedText(a.instrument), name);
}

template <class Angle> bool atForesightOrInstrument(const Angle& a, std::string_view name) {
    return sameName(fixedText(a.foresight), name) || sameName(fixedText(a.instrument), name);
}

// Adds `each` to the weight for every record of the list that `names`
// accepts, stopping once the weight passes the limit.
template <class List, class Names>
void addWeight(List& list, int each, int limit, int& weight, Names names) {
    if (weight > limit)
        return;
    visitRecords(list, [&](const auto& record) {
        if (names(record))
            weight += each;
        return weight <= limit;
    });
}

int weight2D(int pointType, std::string_view name) {
    const WeightRules& w = weights2D;
    int weight = pointType == ptWeightedControl ? w.controlStart : 0;
    const auto end = [&](const auto& r) { return namesEnd(r, name); };
    addWeight(distanceList2D, 1, w.limit, weight, end);
    addWeight(angleList2D, 1, w.limit, weight,
              [&](const auto& a) { return namesAnyPoint(a, name); });
    addWeight(azimuthList2D, 1, w.limit, weight, end);
    addWeight(gpsVectorList, w.gpsVector, w.limit, weight, end);
    return weight;
}

int weight3D(int pointType, std::string_view name) {
    const WeightRules& w = weights3D;
    int weight = pointType == ptWeightedControl ? w.controlStart : 0;
    const auto end = [&](const auto& r) { return namesEnd(r, name); };
    addWeight(distanceList, 1, w.limit, weight, end);
    addWeight(angleList, 1, w.limit, weight, [&](const auto& a) { return namesAnyPoint(a, name); });
    addWeight(azimuthList, 1, w.limit, weight, end);
    addWeight(verticalList, 1, w.limit, weight, end);
    addWeight(gpsVectorList, w.gpsVector, w.limit, weight, end);
    return weight;
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
// a sideshot with its observations.
template <class Point, class Weight, class Mark>
int filterPass(obsList<Point>& points, const relErrPoints& protectedPoints, int limit, Weight weigh,
               Mark mark) {
    const int total = points.count();
    int marked = 0;
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
        ++marked;
        mark(name);
        return true;
    });
    return marked;
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
    const auto end = [&](const auto& r) { return namesEnd(r, name); };
    markObservations(distanceList2D, end);
    markObservations(angleList2D, [&](const auto& a) { return atForesightOrInstrument(a, name); });
    markObservations(azimuthList2D, end);
    return 0;
}

int markSideshotObs3D(std::string_view name) {
    const auto end = [&](const auto& r) { return namesEnd(r, name); };
    markObservations(distanceList, end);
    markObservations(angleList, [&](const auto& a) { return atForesightOrInstrument(a, name); });
    markObservations(azimuthList, end);
    markObservations(verticalList, end);
    markObservations(gpsVectorList, end);
    return 0;
}

int filterHorizSideshotsPass(const relErrPoints& points) {
    return filterPass(pointList2D, points, weights2D.limit, weight2D, markSideshotObs2D);
}

int filterSideshots3DPass(const relErrPoints& points) {
    return filterPass(stationList, points, weights3D.limit, weight3D, markSideshotObs3D);
}

// No run context reaches filterHorizSideshots and filterSideshots3D: their interface has none, so
// the shell is the active one (the run installs its own for its length).
void filterHorizSideshots() {
    const relErrPoints points = loadRelErrPoints();
    while (filterHorizSideshotsPass(points) != 0) {
    }
    activeShell().setPercent(0);
}

void filterSideshots3D() {
    const relErrPoints points = loadRelErrPoints();
    while (filterSideshots3DPass(points) != 0) {
    }
    activeShell().setPercent(0);
}
