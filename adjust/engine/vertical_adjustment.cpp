#include "engine/vertical_adjustment.hpp"

#include "engine/linearised_network.hpp"
#include "engine/normal_equations.hpp"
#include "engine/sideshot_elevations.hpp"
#include "engine/sparse_cholesky.hpp"
#include "geodetic/matrix.hpp"
#include "model/program_lists.hpp"
#include "model/progress.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/shell_services.hpp"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>
#include <unordered_set>

using platform::formatC;

namespace {

constexpr const char* notPerformed = "\nNo vertical least squares adjustment performed.";

std::vector<coordRec> pointsOf(obsList<coordRec>& list) {
    std::vector<coordRec> points;
    const int cursor = list.openCursor(0);
    coordRec point;
    while (list.getAtCursor(cursor, point) == 0) {
        points.push_back(point);
        list.advanceCursor(cursor);
    }
    list.closeCursor(cursor);
    return points;
}

std::vector<heightDifference> usedHeightDifferences() {
    std::vector<heightDifference> diffs;
    distanceObs2D line;
    for (int ok = distanceList2D.seekCursor(0); ok == 0 && distanceList2D.getAtCursor(line) == 0;
         ok = distanceList2D.advanceCursor()) {
        advanceProgress();
        if (line.vertType == 0 && isSet(line.vertDiff))
            diffs.push_back({std::string(fixedText(line.from)), std::string(fixedText(line.to)),
                             line.vertDiff, line.stdErrVert});
    }
    return diffs;
}

// The names (pointNameKey) at either end of a height difference.
using nameSet = std::unordered_set<std::string>;
nameSet namesInDifferences(const std::vector<heightDifference>& diffs) {
    nameSet names;
    for (const heightDifference& d : diffs) {
        names.insert(pointNameKey(d.from));
        names.insert(pointNameKey(d.to));
    }
    return names;
}

bool namedByDifference(const nameSet& named, std::string_view name) {
    return named.contains(pointNameKey(name));
}

bool takesPart(const coordRec& p, const nameSet& named) {
    switch (p.vertType) {
    case vtFreeElevation:
        return namedByDifference(named, fixedText(p.name));
    case vtWeightedElevation:
    case vtFixedElevation:
        return true;
    default:
        return false;
    }
}

void numberColumns(verticalNetwork& network) {
    int column = 0;
    for (const int type : {vtFreeElevation, vtWeightedElevation})
        for (verticalPoint& p : network.points)
            if (p.vertType == type)
                p.column = column++;
}

// The coefficients of height difference i: the columns of its ends (-1 for
// a fixed benchmark) and the right-hand side. False when an end has no place.
struct differenceRow {
    int fromColumn = -1, toColumn = -1;
    double fromFixed = 0.0, toFixed = 0.0;
};
bool rowOf(const verticalNetwork& network, const heightDifference& d, differenceRow& row) {
    const verticalPoint* from = network.find(d.from);
    const verticalPoint* to = network.find(d.to);
    if (from == nullptr || to == nullptr)
        return false;
    row.fromColumn = from->column;
    row.toColumn = to->column;
    row.fromFixed = from->column < 0 ? from->elevation : 0.0;
    row.toFixed = to->column < 0 ? to->elevation : 0.0;
    return true;
}

// The rows of A (each height difference, then each weighted benchmark) with
// at most two coefficients each, their right-hand sides L and weights.
struct verticalEquations {
    std::vector<DesignRow> design;
    std::vector<double> observed;
    RowWeights weights;
};

// The equations of the network; false when a height difference names a
// point without a place in it.
bool equationsOf(const verticalNetwork& network, verticalEquations& eq) {
    const std::size_t n = network.diffs.size();
    const std::size_t r = n + static_cast<std::size_t>(network.weightedCount);
    eq.design.assign(r, DesignRow{});
    eq.observed.assign(r, 0.0);
    eq.weights.assign(r);
    for (std::size_t i = 0; i < n; ++i) {
        const heightDifference& d = network.diffs[i];
        differenceRow row;
        if (!rowOf(network, d, row))
            return false;
        eq.weights.diagonal[i] = 1.0 / (d.stdErr * d.stdErr);
        // H_to - H_from = dh, the fixed elevations moved to the right.
        if (row.fromColumn >= 0)
            eq.design[i].add(row.fromColumn, -1.0);
        if (row.toColumn >= 0)
            eq.design[i].add(row.toColumn, 1.0);
        eq.observed[i] = d.diff + row.fromFixed - row.toFixed;
    }
    std::size_t i = n;
    for (const verticalPoint& p : network.points) {
        if (p.vertType != vtWeightedElevation)
            continue;
        eq.design[i].add(p.column, 1.0);
        eq.observed[i] = p.elevation;
        eq.weights.diagonal[i] = 1.0 / (p.stdErr * p.stdErr);
        ++i;
    }
    return true;
}

// A, L, W of the network as full matrices; false when a height difference
// names a point without a place in it.
bool fillVerticalEquations(const verticalNetwork& network, Matrix& A, Matrix& L, Matrix& W) {
    verticalEquations eq;
    if (!equationsOf(network, eq))
        return false;
    A.init();
    L.init();
    for (std::size_t i = 0; i < eq.design.size(); ++i) {
        const int row = static_cast<int>(i);
        for (int p = 0; p < eq.design[i].count; ++p)
            A.element(row, eq.design[i].column[p]) = eq.design[i].value[p];
        L.element(row, 0) = eq.observed[i];
        W.element(row, row) = eq.weights.diagonal[i];
    }
    return true;
}

// The message of the first check that fails, or "".
std::string countProblem(const verticalNetwork& net) {
    const int n = static_cast<int>(net.diffs.size());
    if (n == 0 || net.freeCount == 0)
        return "No vertical redundancy.\nNo vertical least squares adjustment performed.";
    if (n + net.weightedCount < net.freeCount)
        return "There are too many unknowns (Not enough degrees of freedom),\nwhile attempting "
               "vertical adjustment";
    if (net.weightedCount + net.fixedCount < 1)
        return "No vertical benchmarks found.";
    return {};
}

bool inPointLists(const std::string& name) {
    return pointList2D.indexOf(name) >= 0 || fixedPointList2D.indexOf(name) >= 0;
}

std::string differenceProblem(const verticalNetwork& net) {
    for (const heightDifference& d : net.diffs) {
        if (sameName(d.from, d.to))
            return formatC("%s cannot be both to and from station", d.to.c_str());
        if (!inPointLists(d.from) || !inPointLists(d.to))
            return formatC("either %s or %s does'nt exist", d.to.c_str(), d.from.c_str());
    }
    for (const heightDifference& d : net.diffs) {
        differenceRow row;
        if (!rowOf(net, d, row))
            return "Error in elevation adjustment, creating A matrix";
    }
    return {};
}

// Weights 1/sigma^2 need a positive sigma; benchmarks need an elevation.
std::string weightProblem(const verticalNetwork& net) {
    const nameSet named = namesInDifferences(net.diffs);
    for (const heightDifference& d : net.diffs)
        if (!(d.stdErr > 0.0))
            return formatC("Height difference %s to %s has no standard error.", d.from.c_str(),
                           d.to.c_str()) +
                   notPerformed;
    for (const verticalPoint& p : net.points) {
        if (p.vertType == vtFreeElevation)
            continue;
        const bool used = p.vertType == vtWeightedElevation || namedByDifference(named, p.name);
        if (used && !isSet(p.elevation))
            return formatC("Benchmark %s has no elevation.", p.name.c_str()) + notPerformed;
        if (p.vertType == vtWeightedElevation && !(p.stdErr > 0.0))
            return formatC("Benchmark %s has no elevation standard error.", p.name.c_str()) +
                   notPerformed;
    }
    return {};
}

// The points of the network to adjust that no chain of height differences
// ties to a benchmark: they would make the normal equations singular.
nameSet untiedPoints(const verticalNetwork& net) {
    const std::size_t count = net.points.size();
    std::vector<std::size_t> parent(count);
    std::iota(parent.begin(), parent.end(), 0);
    const auto root = [&parent](std::size_t i) {
        while (parent[i] != i)
            i = parent[i] = parent[parent[i]];
        return i;
    };
    const auto indexOf = [&net](const std::string& name) {
        return static_cast<std::size_t>(net.find(name) - net.points.data());
    };
    for (const heightDifference& d : net.diffs)
        parent[root(indexOf(d.from))] = root(indexOf(d.to));
    std::vector<bool> tied(count, false);
    for (std::size_t i = 0; i < count; ++i)
        if (net.points[i].vertType != vtFreeElevation)
            tied[root(i)] = true;
    nameSet untied;
    for (std::size_t i = 0; i < count; ++i)
        if (!tied[root(i)])
            untied.insert(pointNameKey(net.points[i].name));
    return untied;
}

// Names the points to adjust that `hasElevation` finds without one, then the
// vertical sideshots that no chain of height differences reaches from a
// point with one: the points that would be written without an elevation.
std::string leftWithoutElevation(const verticalNetwork& net,
                                 const std::function<bool(const coordRec&)>& hasElevation) {
    std::string names;
    const auto name = [&names](const std::string& point) {
        names += (names.empty() ? "" : " ") + point;
    };
    for (const verticalPoint& p : net.points) {
        coordRec point;
        const bool found =
            (p.inFixedList ? fixedPointList2D : pointList2D).find(p.name, point) >= 0;
        if (p.vertType == vtFreeElevation && !(found && hasElevation(point)))
            name(p.name);
    }
    for (const std::string& sideshot : verticalSideshotsOutOfReach(hasElevation))
        name(sideshot);
    if (names.empty())
        return {};
    return "No vertical benchmark is tied by height differences to:\n" + names + notPerformed;
}

// After the adjustment a point of the network to adjust has an elevation
// when it is tied to a benchmark; any other point keeps the one it has.
std::string tieProblem(const verticalNetwork& net) {
    const nameSet untied = untiedPoints(net);
    return leftWithoutElevation(net, [&net, &untied](const coordRec& p) {
        const verticalPoint* adjusted = net.find(std::string(fixedText(p.name)));
        if (adjusted != nullptr && adjusted->vertType == vtFreeElevation)
            return !untied.contains(pointNameKey(adjusted->name));
        return isSet(p.elevation);
    });
}

// When a check stops the adjustment every point keeps the elevation it has,
// and the points that have none would be written without one.
std::string unadjustedProblem(const verticalNetwork& net) {
    return leftWithoutElevation(net, [](const coordRec& p) { return isSet(p.elevation); });
}

// Height differences that cannot be adjusted (one from a point to itself,
// one naming a point of no list) leave every point to adjust with the
// elevation the preliminary computation gave it, which none of the
// network's differences (a level file's among them) entered: written, they
// looked adjusted.
std::string unadjustedDifferencesProblem(const verticalNetwork& net) {
    std::string names;
    for (const verticalPoint& p : net.points)
        if (p.vertType == vtFreeElevation)
            names += (names.empty() ? "" : " ") + p.name;
    if (names.empty())
        return {};
    return "No height difference adjusted the elevations of:\n" + names + notPerformed;
}

// Points tied to no benchmark are named before the solution (tieProblem).
// What remains is sound even when a benchmark is weighted loosely on
// purpose (a standard error of 100 m against differences of millimetres,
// its pivot 1e-11 of its diagonal): only a pivot that is zero, negative or
// not a number makes an unknown dependent.
constexpr double verticalDependentShare = 0.0;

bool allFinite(const std::vector<double>& values) {
    return std::ranges::all_of(values, [](double v) { return std::isfinite(v); });
}

// The statistics of the solution x: residuals, v^T W v, s0 and the standard
// deviations from the cofactors Q.
void fillSolution(const verticalNetwork& net, const verticalEquations& eq,
                  const std::vector<double>& x, const Cofactors& Q, verticalSolution& solution) {
    const std::size_t n = net.diffs.size();
    solution.weightedSquares = 0.0;
    for (std::size_t i = 0; i < eq.design.size(); ++i) {
        const double v = rowTimes(eq.design[i], x) - eq.observed[i];
        solution.weightedSquares += v * eq.weights.diagonal[i] * v;
    }
    solution.degreesOfFreedom = static_cast<int>(n) - net.freeCount;
    solution.s0 = solution.degreesOfFreedom > 0
                      ? std::sqrt(solution.weightedSquares / solution.degreesOfFreedom)
                      : 0.0;
    solution.elevation = x;
    solution.stdDev.assign(x.size(), 0.0);
    for (std::size_t j = 0; j < x.size(); ++j) {
        const int column = static_cast<int>(j);
        solution.stdDev[j] = std::sqrt(std::fabs(Q.at(column, column))) * solution.s0;
    }
    solution.adjustedDiff.assign(n, 0.0);
    solution.residual.assign(n, 0.0);
    solution.diffStdDev.assign(n, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        differenceRow row;
        rowOf(net, net.diffs[i], row);
        const double from = row.fromColumn >= 0 ? x[row.fromColumn] : row.fromFixed;
        const double to = row.toColumn >= 0 ? x[row.toColumn] : row.toFixed;
        solution.adjustedDiff[i] = to - from;
        solution.residual[i] = solution.adjustedDiff[i] - net.diffs[i].diff;
        solution.diffStdDev[i] = std::sqrt(std::fabs(quadraticForm(eq.design[i], Q))) * solution.s0;
    }
}

// Weights far outside the range of doubles leave infinities or NaN behind
// instead of a solution.
bool isFinite(const verticalSolution& s) {
    return std::isfinite(s.weightedSquares) && std::isfinite(s.s0) && allFinite(s.elevation) &&
           allFinite(s.stdDev) && allFinite(s.adjustedDiff) && allFinite(s.residual) &&
           allFinite(s.diffStdDev);
}

void storeAdjustedPoints(const verticalNetwork& net, const verticalSolution& solution) {
    for (const verticalPoint& p : net.points) {
        if (p.column < 0)
            continue;
        obsList<coordRec>& list = p.inFixedList ? fixedPointList2D : pointList2D;
        coordRec point;
        if (list.find(p.name, point) < 0)
            continue;
        point.elevation = solution.elevation[p.column];
        point.stdErrZ = solution.stdDev[p.column];
        list.replace(point);
    }
}

} // namespace

const verticalPoint* verticalNetwork::find(const std::string& name) const {
    const int* found = indexByName_.find(pointKeyOf(name));
    return found == nullptr ? nullptr : &points[static_cast<std::size_t>(*found)];
}

bool verticalNetwork::add(const verticalPoint& point) {
    if (!indexByName_.emplace(pointKeyOf(point.name), static_cast<int>(points.size())).second)
        return false;
    points.push_back(point);
    return true;
}

verticalNetwork verticalNetworkFromLists() {
    const std::vector<coordRec> points = pointsOf(pointList2D);
    const std::vector<coordRec> fixedPoints = pointsOf(fixedPointList2D);
    startProgress(static_cast<int>(points.size() + fixedPoints.size()) + distanceList2D.count());
    verticalNetwork net;
    net.diffs = usedHeightDifferences();
    const nameSet named = namesInDifferences(net.diffs);
    for (const auto* list : {&points, &fixedPoints}) {
        for (const coordRec& p : *list) {
            advanceProgress();
            if (!takesPart(p, named) || !net.add({std::string(fixedText(p.name)), p.vertType,
                                                  p.elevation, p.stdErrZ, list == &fixedPoints}))
                continue;
            int& counter = p.vertType == vtFreeElevation       ? net.freeCount
                           : p.vertType == vtWeightedElevation ? net.weightedCount
                                                               : net.fixedCount;
            ++counter;
        }
    }
    numberColumns(net);
    return net;
}

int countVerticalUnknowns(int& n, int& m0, int& m1, int& m4) {
    const verticalNetwork net = verticalNetworkFromLists();
    n = static_cast<int>(net.diffs.size());
    m0 = net.freeCount;
    m1 = net.weightedCount;
    m4 = net.fixedCount;
    return 0;
}

int buildVerticalEquations(Matrix& A, Matrix& L, Matrix& W, int, int) {
    if (fillVerticalEquations(verticalNetworkFromLists(), A, L, W))
        return 0;
    // Its interface carries no context: the message goes to the active shell.
    activeShell().message("Error in elevation adjustment, creating A matrix", MessageKind::ok);
    return 1;
}

int solveVerticalNetwork(const verticalNetwork& net, verticalSolution& solution) {
    verticalEquations eq;
    if (!equationsOf(net, eq))
        return verticalPointMissing;
    // N = A^T W A and A^T W L, sparse: each row joins at most two elevations.
    const int u = net.freeCount + net.weightedCount;
    NormalEquations normal(u, eq.design, eq.weights);
    normal.form(eq.design, eq.weights, eq.observed);
    // A weight that overflowed has no finite solution; the factor would take
    // it for a dependent unknown.
    if (!allFinite(normal.values()) || !allFinite(normal.rightHandSide()))
        return verticalNotFinite;
    SparseCholesky factor(normal.pattern(), verticalDependentShare);
    if (!factor.factor(normal.values()))
        return verticalSingular;
    const std::vector<double> x = factor.solve(normal.rightHandSide());
    const std::unique_ptr<Cofactors> Q = factor.cofactors({});
    fillSolution(net, eq, x, *Q, solution);
    return isFinite(solution) ? verticalSolved : verticalNotFinite;
}

// Shown and kept in the error report, where the run's problems are read.
void reportVerticalProblem(const RunContext& context, const std::string& problem) {
    writeLine(errFile, problem);
    context.message(problem);
}

std::optional<verticalAdjustment> adjustVertical(const RunContext& context, bool* failed) {
    if (failed)
        *failed = false;
    verticalNetwork net = verticalNetworkFromLists();
    // In this order: each check relies on the ones before it. Past the
    // first two the network is there to adjust, and what stops it is a
    // failed adjustment.
    for (const auto check : {countProblem, differenceProblem, weightProblem, tieProblem}) {
        const std::string problem = check(net);
        if (problem.empty())
            continue;
        reportVerticalProblem(context, problem);
        bool stopsRun = check == weightProblem || check == tieProblem;
        if (!stopsRun) {
            const std::string unadjusted = check == differenceProblem
                                               ? unadjustedDifferencesProblem(net)
                                               : unadjustedProblem(net);
            stopsRun = !unadjusted.empty();
            if (stopsRun)
                reportVerticalProblem(context, unadjusted);
        }
        if (failed)
            *failed = stopsRun;
        return std::nullopt;
    }
    verticalSolution solution;
    if (const int status = solveVerticalNetwork(net, solution); status != verticalSolved) {
        reportVerticalProblem(context, (status == verticalNotFinite
                                            ? std::string("The vertical adjustment has no finite "
                                                          "solution.")
                                            : std::string("The vertical normal equations are "
                                                          "singular.")) +
                                           notPerformed);
        if (failed)
            *failed = true;
        return std::nullopt;
    }
    storeAdjustedPoints(net, solution);
    return verticalAdjustment{std::move(net), std::move(solution)};
}
