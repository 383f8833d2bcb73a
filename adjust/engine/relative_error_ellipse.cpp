#include "engine/relative_error_ellipse.hpp"

#include "engine/adjustment_results.hpp"
#include "engine/horizontal_network.hpp"
#include "engine/network_solver.hpp"
#include "engine/point_error_ellipses.hpp"
#include "model/list_snapshot.hpp"
#include "model/program_lists.hpp"
#include "platform/shell_services.hpp"

#include <optional>
#include <string>

namespace {

// Where a point's unknowns stand: the column of its easting, or none for a
// point held fixed.
struct PointUnknowns {
    bool found = false;
    std::optional<int> column;
};

// No run context reaches the relative error ellipse computations: their interface has none, so the
// shell is the active one (the run installs its own for its length).
PointUnknowns locate(coordRec& point, int fillRecords, int showMessages) {
    const std::string name(fixedText(point.name));
    int column = 0;
    for (const coordRec& p : recordsOf(pointList2D)) {
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
            column += 2;
    }
    coordRec fixed;
    if (fixedPointList2D.find(name, fixed) >= 0) {
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

} // namespace

int relErrEllipse2D(coordRec* point1, coordRec* point2, double* semiMajor, double* semiMinor,
                    double* orientation, int fillRecords, int showMessages) {
    const PointUnknowns a = locate(*point1, fillRecords, showMessages);
    if (!a.found)
        return relativeEllipseFailed;
    const PointUnknowns b = locate(*point2, fillRecords, showMessages);
    if (!b.found || varCovMatrix == nullptr)
        return relativeEllipseFailed;
    // Q of the differences (E2 - E1, N2 - N1): Q11 - Q12 - Q21 + Q22.
    const auto relative = [&](int first, int second) {
        return q(a.column, first, a.column, second) - q(a.column, first, b.column, second) -
               q(b.column, first, a.column, second) + q(b.column, first, b.column, second);
    };
    const errEllipseRec e =
        pointErrorEllipse(relative(0, 0), relative(1, 1), relative(0, 1), referenceStdDev,
                          ellipseConfidenceFactor(obsCount - unknownCount));
    *semiMajor = e.semiMajor;
    *semiMinor = e.semiMinor;
    *orientation = e.orientation;
    return relativeEllipseComputed;
}
