#pragma once
// The vertical adjustment of the 2D model: the height differences carried on
// the records of `distanceList2D` (vertical status 0, difference set) are
// adjusted by weighted least squares against the benchmarks in one linear
// solution; the adjusted elevations and their standard deviations go back to
// the points, and the report gets its vertical sections.
//
// Points are those of `pointList2D`, then `fixedPointList2D`, by vertical
// type: 0 elevation to adjust, 1 weighted benchmark, 4 fixed benchmark; other
// types take no part. A type-0 point that no used height difference names has
// nothing to be adjusted by and keeps its elevation.
//
// Unknowns: the elevations (not corrections), first the type-0 points in
// list order, then the type-1 points. Rows: each height difference,
// H_to - H_from = dh with weight 1/sigma^2, then each weighted benchmark,
// H = its elevation with weight 1/sigma^2. Solution x = (A^T W A)^-1 A^T W L;
// residuals v = A x - L; s0 = sqrt(v^T W v / (n - m0)), 0 when n = m0; the
// standard deviation of an unknown is sqrt(Q_jj) s0 and of an adjusted
// difference sqrt((A Q A^T)_ii) s0 (Mikhail, Observations and Least Squares,
// ch. 4; Ghilani, Adjustment Computations, ch. 12).
// N = A^T W A is kept sparse (each row joins at most two elevations) and
// factored by a sparse Cholesky; Q comes from its selected inverse, which
// holds every Q_jj and the Q of the two ends of every difference, so a
// network of n benchmarks costs about what its factor does, never n^2.
// Lengths are in the project's unit.

#include "model/key_table.hpp"
#include "model/run_context.hpp"

#include <optional>
#include <string>
#include <vector>

class Matrix;

struct verticalPoint {
    std::string name;
    int vertType = 0;
    double elevation = 0.0;
    double stdErr = 0.0; // of a weighted benchmark's elevation
    bool inFixedList = false;
    int column = -1; // of an unknown elevation, -1 for a fixed benchmark
};

struct heightDifference {
    std::string from, to;
    double diff = 0.0; // from -> to
    double stdErr = 0.0;
};

// The points that take part (types 0 with a used height difference, 1 and 4)
// in list order, and the used height differences in list order. Points
// enter by `add`, which keeps them found by name.
struct verticalNetwork {
    std::vector<verticalPoint> points;
    std::vector<heightDifference> diffs;
    int freeCount = 0;     // m0
    int weightedCount = 0; // m1
    int fixedCount = 0;    // m4

    // The point of that name (names compare without regard to case), or null.
    const verticalPoint* find(const std::string& name) const;
    // Appends the point; false, leaving the network as it was, when a point
    // of that name is in it already.
    bool add(const verticalPoint& point);

private:
    keyTable<pointKey, int> indexByName_; // place in points
};

struct verticalSolution {
    std::vector<double> elevation;                          // by column
    std::vector<double> stdDev;                             // by column
    std::vector<double> adjustedDiff, residual, diffStdDev; // by height difference
    double weightedSquares = 0.0;                           // v^T W v
    int degreesOfFreedom = 0;                               // n - m0
    double s0 = 0.0;                                        // standard error of unit weight
};

// Status of solveVerticalNetwork.
inline constexpr int verticalSolved = 0;
inline constexpr int verticalSingular = 1;
inline constexpr int verticalPointMissing = 2; // a height difference names a point not taking part
inline constexpr int verticalNotFinite = 3;    // a value of the solution is infinite or NaN

// The network as the lists hold it.
verticalNetwork verticalNetworkFromLists();

// Counts of the lists' network: n used height differences, m0 elevations to
// adjust, m1 weighted and m4 fixed benchmarks; advances the progress bar by
// record. Returns 0.
int countVerticalUnknowns(int& n, int& m0, int& m1, int& m4);

// Fills A (r x u, zeroed here), L (r x 1, zeroed here) and W (r x r,
// diagonal) for the lists' network, r = n + m1, u = m0 + m1. 1, after the
// message "Error in elevation adjustment, creating A matrix", when a height
// difference names a point without a column or a benchmark; else 0.
int buildVerticalEquations(Matrix& A, Matrix& L, Matrix& W, int m0, int n);

// Solves a checked network (see adjustVertical): verticalSolved,
// verticalPointMissing, verticalSingular when the normal matrix cannot be
// inverted, or verticalNotFinite when a value of the solution is not finite.
int solveVerticalNetwork(const verticalNetwork& network, verticalSolution& solution);

// The whole vertical adjustment of the driver. Each check that fails shows
// its message and leaves every point as it was:
// - "No vertical redundancy.\nNo vertical least squares adjustment performed."
//   (no height difference or nothing to adjust);
// - "There are too many unknowns (Not enough degrees of freedom),\nwhile
//   attempting vertical adjustment" (n + m1 < m0);
// - "No vertical benchmarks found.";
// - "%s cannot be both to and from station", "either %s or %s does'nt exist";
// - a height difference or weighted benchmark without a positive standard
//   error, a benchmark without an elevation, points not tied to any
//   benchmark by height differences, vertical sideshots that no chain of
//   height differences reaches from a point with an elevation after the
//   adjustment (each named, the sideshots last);
// - singular normal equations, "The vertical normal equations are
//   singular.", or a solution that is not finite, "The vertical adjustment
//   has no finite solution." (each with the line above).
// When one of the first three checks stops the adjustment, points to adjust
// without an elevation of their own and vertical sideshots that no chain
// reaches from a point with one are named as tied to no benchmark as well:
// they would be written without an elevation. When the check of the
// differences' points stops it, every point to adjust is named after "No
// height difference adjusted the elevations of:": each would be written with
// the preliminary elevation the differences never entered.
// Otherwise the adjusted elevations and standard deviations replace the
// points' elevations and elevation standard errors, and the network with its
// solution is returned for the report's vertical sections.
struct verticalAdjustment {
    verticalNetwork network;
    verticalSolution solution;
};
// Each message also goes into the error report. `failed` (when given) is set
// when there was a network to adjust but no adjustment came of it: a height
// difference or benchmark without its standard error or elevation, points
// (sideshots too) tied to no benchmark, singular normal equations or a
// solution that is not finite, points left without an elevation after a
// check that stops the adjustment, or differences that cannot be adjusted.
std::optional<verticalAdjustment> adjustVertical(const RunContext& context, bool* failed = nullptr);
