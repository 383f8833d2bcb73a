#include "engine/relative_error_ellipse.hpp"

#include "engine/adjustment_results.hpp"
#include "engine/horizontal_network.hpp"
#include "engine/network_solver.hpp"
#include "engine/point_error_ellipses.hpp"
#include "model/list_snapshot.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/length_units.hpp"
#include "platform/shell_services.hpp"

#include <optional>
#include <string>

namespace {

// Where a point's unknowns stand: the column of its first unknown, or none
// for a point held fixed.
struct PointUnknowns {
    bool found = false;
    std::optional<int> column;
};

// The two chains: their lists and the order of a point's unknowns.
struct Chain2D {
    using Point = coordRec;
    static constexpr int unknownsPerPoint = 2;
    static constexpr int eastingOffset = 0;
    static constexpr int northingOffset = 1;
    static obsList<coordRec>& points() { return pointList2D; }
    static obsList<coordRec>& fixed() { return fixedPointList2D; }
    static double toProjectUnit() { return 1.0; }
};

struct Chain3D {
    using Point = stationRec;
    static constexpr int unknownsPerPoint = 3;
    static constexpr int eastingOffset = 1;
    static constexpr int northingOffset = 0;
    static obsList<stationRec>& points() { return stationList; }
    static obsList<stationRec>& fixed() { return fixedStationList; }
    static double toProjectUnit() { return units::unitsPerMetre(projectVars.HorizUnits); }
};

// No run context reaches the relative error ellipse computations: their interface has none, so the
// shell is the active one (the run installs its own for its length).
template <class Chain>
PointUnknowns locate(typename Chain::Point& point, int fillRecords, int showMessages) {
    const std::string name(fixedText(point.name));
    int column = 0;
    for (const typename Chain::Point& p : recordsOf(Chain::points())) {
        if (sameName(fixedText(p.name), name)) {
            if (p.pointType == ptSideshot || p.pointType == ptCarried) {
                if (showMessages == 1)
                    activeShell().message(
                        "Pt. " + name + " is a sideshot and was not included in the adjustment.",
                        MessageKind::ok);
                return {};
            }
            if (fillRecords == 1)
                point = p;
            if (isAdjustablePoint(p.pointType))
                return {true, column};
            return {true, std::nullopt};
        }
        if (isAdjustablePoint(p.pointType))
            column += Chain::unknownsPerPoint;
    }
    typename Chain::Point fixed;
    if (Chain::fixed().find(name, fixed) >= 0) {
        if (fillRecords == 1)
            point = fixed;
        return {true, std::nullopt};
    }
    if (showMessages == 1)
        activeShell().message("Pt. " + name + " does not exist.", MessageKind::ok);
    return {};
}

double q(const std::optional<int>& row, int rowOffset, const std::optional<int>& col,
         int colOffset) {
    if (!row || !col)
        return 0.0;
    return varCovMatrix->at(*row + rowOffset, *col + colOffset);
}

template <class Chain>
int relativeEllipse(typename Chain::Point* point1, typename Chain::Point* point2, double* semiMajor,
                    double* semiMinor, double* orientation, int fillRecords, int showMessages) {
    const PointUnknowns a = locate<Chain>(*point1, fillRecords, showMessages);
    if (!a.found)
        return relativeEllipseFailed;
    const PointUnknowns b = locate<Chain>(*point2, fillRecords, showMessages);
    if (!b.found || varCovMatrix == nullptr)
        return relativeEllipseFailed;
    // Q of the differences: Q11 - Q12 - Q21 + Q22.
    const auto relative = [&](int first, int second) {
        return q(a.column, first, a.column, second) - q(a.column, first, b.column, second) -
               q(b.column, first, a.column, second) + q(b.column, first, b.column, second);
    };
    constexpr int e = Chain::eastingOffset;
    constexpr int n = Chain::northingOffset;
    const errEllipseRec ellipse =
        pointErrorEllipse(relative(e, e), relative(n, n), relative(e, n), referenceStdDev,
                          ellipseConfidenceFactor(obsCount - unknownCount));
    *semiMajor = ellipse.semiMajor * Chain::toProjectUnit();
    *semiMinor = ellipse.semiMinor * Chain::toProjectUnit();
    *orientation = ellipse.orientation;
    return relativeEllipseComputed;
}

} // namespace

int relErrEllipse2D(coordRec* point1, coordRec* point2, double* semiMajor, double* semiMinor,
                    double* orientation, int fillRecords, int showMessages) {
    return relativeEllipse<Chain2D>(point1, point2, semiMajor, semiMinor, orientation, fillRecords,
                                    showMessages);
}

int relErrEllipse3D(stationRec* point1, stationRec* point2, double* semiMajor, double* semiMinor,
                    double* orientation, int fillRecords, int showMessages) {
    return relativeEllipse<Chain3D>(point1, point2, semiMajor, semiMinor, orientation, fillRecords,
                                    showMessages);
}
