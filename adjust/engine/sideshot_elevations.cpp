#include "engine/sideshot_elevations.hpp"

#include "model/program_lists.hpp"
#include "model/progress.hpp"
#include "model/record_walks.hpp"
#include "platform/shell_services.hpp"

#include <unordered_set>

namespace {

constexpr int noHeightDifference = -1;

// The point of that name in `pointList2D`, else in `fixedPointList2D`.
bool findPoint2D(std::string_view name, coordRec& point) {
    return pointList2D.find(name, point) >= 0 || fixedPointList2D.find(name, point) >= 0;
}

// The other end of a distance that names `name` at one end.
bool otherEnd(const distanceObs2D& d, std::string_view name, std::string_view& other) {
    if (sameName(fixedText(d.from), name))
        other = fixedText(d.to);
    else if (sameName(fixedText(d.to), name))
        other = fixedText(d.from);
    else
        return false;
    return true;
}

int countHeightDifferences(const coordRec& p) {
    const std::string_view name = fixedText(p.name);
    int counted = p.vertType == vtWeightedElevation ? 1 : 0;
    distanceList2D.visitNaming(name, [&](const distanceObs2D& d) {
        std::string_view other;
        coordRec end;
        if (otherEnd(d, name, other) && d.vertType != noHeightDifference &&
            findPoint2D(other, end) && end.vertType != vtSideshot && end.vertType != vtNoVertical)
            ++counted;
        return counted <= 1;
    });
    return counted;
}

bool passedOverVertically(int vertType) {
    return vertType == vtSideshot || vertType == vtFixedElevation || vertType == vtNoVertical;
}

// Walks the list for vertical sideshots without an elevation; each placed
// is written back and added to `placed`. True when one was placed.
bool placeElevations(obsList<coordRec>& list, std::vector<coordRec>& placed) {
    bool placedOne = false;
    changeRecords(list, [&](coordRec& p) {
        if (p.vertType != vtSideshot || isSet(p.elevation) || sideshotElevation2D(p) == 0)
            return false;
        placed.push_back(p);
        placedOne = true;
        return true;
    });
    return placedOne;
}

// Visits each height difference of P's that reaches it as a vertical
// sideshot (status 2, difference set) with the other end found, as
// (difference, other end).
template <class Visit> void visitSideshotDifferences(std::string_view name, Visit visit) {
    distanceList2D.visitNaming(name, [&](const distanceObs2D& d) {
        std::string_view other;
        coordRec end;
        if (d.vertType == vtSideshot && isSet(d.vertDiff) && otherEnd(d, name, other) &&
            findPoint2D(other, end))
            visit(d, end);
        return true;
    });
}

bool unsetSideshotElevation(coordRec& p) {
    if (p.vertType != vtSideshot)
        return false;
    p.elevation = notComputed;
    return true;
}

} // namespace

int markSideshotDistances2D(std::string_view name) {
    distanceList2D.changeNaming(name, [&](distanceObs2D& d) {
        std::string_view other;
        if (!otherEnd(d, name, other) || d.vertType == noHeightDifference)
            return false;
        d.vertType = vtSideshot;
        return true;
    });
    return 0;
}

int filterVertSideshotsPass() {
    const int total = pointList2D.count();
    int index = 0;
    int marked = 0;
    changeRecords(pointList2D, [&](coordRec& p) {
        postProgress(index++, total);
        if (passedOverVertically(p.vertType) || countHeightDifferences(p) > 1 ||
            p.vertType == vtWeightedElevation)
            return false;
        p.vertType = vtSideshot;
        ++marked;
        markSideshotDistances2D(fixedText(p.name));
        return true;
    });
    return marked;
}

// No run context reaches filterVertSideshots: its interface has none, so the shell is
// the active one (the run installs its own for its length).
int filterVertSideshots() {
    while (filterVertSideshotsPass() != 0) {
    }
    activeShell().setPercent(0);
    return 0;
}

int sideshotElevation2D(coordRec& point) {
    const std::string_view name = fixedText(point.name);
    double sum = 0.0;
    int estimates = 0;
    visitSideshotDifferences(name, [&](const distanceObs2D& d, const coordRec& end) {
        if (!isSet(end.elevation))
            return;
        const bool fromHere = sameName(fixedText(d.from), name);
        sum += fromHere ? end.elevation - d.vertDiff : end.elevation + d.vertDiff;
        ++estimates;
    });
    if (estimates == 0)
        return 0;
    point.elevation = sum / estimates;
    return 1;
}

std::vector<coordRec> computeSideshotElevations(const RunContext& context) {
    changeRecords(pointList2D, unsetSideshotElevation);
    changeRecords(fixedPointList2D, unsetSideshotElevation);
    std::vector<coordRec> placed;
    for (bool placedOne = true; placedOne;) {
        placedOne = placeElevations(pointList2D, placed);
        placedOne = placeElevations(fixedPointList2D, placed) || placedOne;
    }
    context.shell.setPercent(0);
    return placed;
}

std::vector<std::string>
verticalSideshotsOutOfReach(const std::function<bool(const coordRec&)>& hasElevation) {
    std::vector<coordRec> sideshots;
    for (obsList<coordRec>* list : {&pointList2D, &fixedPointList2D})
        visitRecords(*list, [&](const coordRec& p) {
            if (p.vertType == vtSideshot)
                sideshots.push_back(p);
            return true;
        });
    std::unordered_set<std::string> reached;
    const auto carriesElevation = [&](const coordRec& end) {
        return end.vertType == vtSideshot ? reached.contains(pointNameKey(fixedText(end.name)))
                                          : hasElevation(end);
    };
    // Walks as the placement does, until a walk reaches nothing new.
    for (bool reachedOne = true; reachedOne;) {
        reachedOne = false;
        for (const coordRec& p : sideshots) {
            const std::string key = pointNameKey(fixedText(p.name));
            if (reached.contains(key))
                continue;
            bool carried = false;
            visitSideshotDifferences(fixedText(p.name),
                                     [&](const distanceObs2D&, const coordRec& end) {
                                         carried = carried || carriesElevation(end);
                                     });
            if (carried) {
                reached.insert(key);
                reachedOne = true;
            }
        }
    }
    std::vector<std::string> names;
    for (const coordRec& p : sideshots)
        if (!reached.contains(pointNameKey(fixedText(p.name))))
            names.emplace_back(fixedText(p.name));
    return names;
}
