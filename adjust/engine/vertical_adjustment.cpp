#include "engine/vertical_adjustment.hpp"

#include "output/report_lines.hpp"

#include "geodetic/matrix.hpp"
#include "model/program_lists.hpp"
#include "model/progress.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/shell_services.hpp"

#include <algorithm>
#include <cmath>
#include <numeric>

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

bool namedByDifference(const std::vector<heightDifference>& diffs, std::string_view name) {
    for (const heightDifference& d : diffs)
        if (sameName(d.from, name) || sameName(d.to, name))
            return true;
    return false;
}

bool takesPart(const coordRec& p, const std::vector<heightDifference>& diffs) {
    switch (p.vertType) {
    case vtFreeElevation:
        return namedByDifference(diffs, fixedText(p.name));
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

// A, L, W of the network; false when a height difference names a point
// without a place in it.
bool fillVerticalEquations(const verticalNetwork& network, Matrix& A, Matrix& L, Matrix& W) {
    A.init();
    L.init();
    const int n = static_cast<int>(network.diffs.size());
    for (int i = 0; i < n; ++i) {
        const heightDifference& d = network.diffs[i];
        differenceRow row;
        if (!rowOf(network, d, row))
            return false;
        W.element(i, i) = 1.0 / (d.stdErr * d.stdErr);
        // H_to - H_from = dh, the fixed elevations moved to the right.
        if (row.fromColumn >= 0)
            A.element(i, row.fromColumn) = -1.0;
        if (row.toColumn >= 0)
            A.element(i, row.toColumn) = 1.0;
        L.element(i, 0) = d.diff + row.fromFixed - row.toFixed;
    }
    int r = n;
    for (const verticalPoint& p : network.points) {
        if (p.vertType != vtWeightedElevation)
            continue;
        A.element(r, p.column) = 1.0;
        L.element(r, 0) = p.elevation;
        W.element(r, r) = 1.0 / (p.stdErr * p.stdErr);
        ++r;
    }
    return true;
}

// The non-zero coefficients of each row of A: at most two per row, so the
// products below cost a few operations per row instead of a dense pass.
struct rowTerm {
    int column;
    double coefficient;
};
std::vector<std::vector<rowTerm>> rowTermsOf(Matrix& A, int r, int u) {
    std::vector<std::vector<rowTerm>> terms(static_cast<std::size_t>(r));
    for (int i = 0; i < r; ++i)
        for (int j = 0; j < u; ++j)
            if (A.element(i, j) != 0.0)
                terms[i].push_back({j, A.element(i, j)});
    return terms;
}

// a_i Q a_i^T for a row of A.
double rowQuadraticForm(const std::vector<rowTerm>& row, Matrix& Q) {
    double sum = 0.0;
    for (const rowTerm& a : row)
        for (const rowTerm& b : row)
            sum += a.coefficient * Q.element(a.column, b.column) * b.coefficient;
    return sum;
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
    for (const heightDifference& d : net.diffs)
        if (!(d.stdErr > 0.0))
            return formatC("Height difference %s to %s has no standard error.", d.from.c_str(),
                           d.to.c_str()) +
                   notPerformed;
    for (const verticalPoint& p : net.points) {
        if (p.vertType == vtFreeElevation)
            continue;
        const bool used = p.vertType == vtWeightedElevation || namedByDifference(net.diffs, p.name);
        if (used && !isSet(p.elevation))
            return formatC("Benchmark %s has no elevation.", p.name.c_str()) + notPerformed;
        if (p.vertType == vtWeightedElevation && !(p.stdErr > 0.0))
            return formatC("Benchmark %s has no elevation standard error.", p.name.c_str()) +
                   notPerformed;
    }
    return {};
}

// Elevations to adjust that no chain of height differences ties to a
// benchmark make the normal equations singular: name them.
std::string tieProblem(const verticalNetwork& net) {
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
    std::string names;
    for (std::size_t i = 0; i < count; ++i)
        if (!tied[root(i)])
            names += (names.empty() ? "" : " ") + net.points[i].name;
    if (names.empty())
        return {};
    return "No vertical benchmark is tied by height differences to:\n" + names + notPerformed;
}

bool allFinite(const std::vector<double>& values) {
    return std::ranges::all_of(values, [](double v) { return std::isfinite(v); });
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
    for (const verticalPoint& p : points)
        if (sameName(p.name, name))
            return &p;
    return nullptr;
}

verticalNetwork verticalNetworkFromLists() {
    const std::vector<coordRec> points = pointsOf(pointList2D);
    const std::vector<coordRec> fixedPoints = pointsOf(fixedPointList2D);
    startProgress(static_cast<int>(points.size() + fixedPoints.size()) + distanceList2D.count());
    verticalNetwork net;
    net.diffs = usedHeightDifferences();
    for (const auto* list : {&points, &fixedPoints}) {
        for (const coordRec& p : *list) {
            advanceProgress();
            const std::string name(fixedText(p.name));
            if (!takesPart(p, net.diffs) || net.find(name) != nullptr)
                continue;
            net.points.push_back({name, p.vertType, p.elevation, p.stdErrZ, list == &fixedPoints});
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
    const int n = static_cast<int>(net.diffs.size());
    const int u = net.freeCount + net.weightedCount;
    const int r = n + net.weightedCount;
    Matrix A(r, u);
    Matrix L(r, 1);
    Matrix W(r, r, matrixDiagonal);
    if (!fillVerticalEquations(net, A, L, W))
        return verticalPointMissing;

    // N = A^T W A and A^T W L, row by row; Q = N^-1 in place; x = Q A^T W L.
    const std::vector<std::vector<rowTerm>> rows = rowTermsOf(A, r, u);
    Matrix Q(u, u);
    Matrix AtWL(u, 1);
    for (int i = 0; i < r; ++i) {
        const double w = W.element(i, i);
        for (const rowTerm& a : rows[i]) {
            AtWL.element(a.column, 0) += a.coefficient * w * L.element(i, 0);
            for (const rowTerm& b : rows[i])
                Q.element(a.column, b.column) += a.coefficient * w * b.coefficient;
        }
    }
    if (matrixInverse(&Q) != matrixOk)
        return verticalSingular;
    Matrix x(u, 1);
    matrixMultiply(&Q, &AtWL, &x);

    // v = A x - L and v^T W v.
    solution.weightedSquares = 0.0;
    for (int i = 0; i < r; ++i) {
        double v = -L.element(i, 0);
        for (const rowTerm& a : rows[i])
            v += a.coefficient * x.element(a.column, 0);
        solution.weightedSquares += v * W.element(i, i) * v;
    }
    solution.degreesOfFreedom = n - net.freeCount;
    solution.s0 = solution.degreesOfFreedom > 0
                      ? std::sqrt(solution.weightedSquares / solution.degreesOfFreedom)
                      : 0.0;

    solution.elevation.assign(u, 0.0);
    solution.stdDev.assign(u, 0.0);
    for (int j = 0; j < u; ++j) {
        solution.elevation[j] = x.element(j, 0);
        solution.stdDev[j] = std::sqrt(std::fabs(Q.element(j, j))) * solution.s0;
    }
    solution.adjustedDiff.assign(n, 0.0);
    solution.residual.assign(n, 0.0);
    solution.diffStdDev.assign(n, 0.0);
    for (int i = 0; i < n; ++i) {
        differenceRow row;
        rowOf(net, net.diffs[i], row);
        const double from = row.fromColumn >= 0 ? x.element(row.fromColumn, 0) : row.fromFixed;
        const double to = row.toColumn >= 0 ? x.element(row.toColumn, 0) : row.toFixed;
        solution.adjustedDiff[i] = to - from;
        solution.residual[i] = solution.adjustedDiff[i] - net.diffs[i].diff;
        solution.diffStdDev[i] = std::sqrt(std::fabs(rowQuadraticForm(rows[i], Q))) * solution.s0;
    }
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
        if (!problem.empty()) {
            reportVerticalProblem(context, problem);
            if (failed)
                *failed = check == weightProblem || check == tieProblem;
            return std::nullopt;
        }
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
