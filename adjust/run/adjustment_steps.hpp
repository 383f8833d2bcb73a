#pragma once
// Steps that the entry points of both least-squares adjustments (2D and 3D)
// share: the failure messages, the results of a single pass, and keeping the
// results of a converged solution as the program-wide results of the run.

#include "engine/adjustment_results.hpp"
#include "engine/network_solver.hpp"
#include "engine/point_error_ellipses.hpp"
#include "model/run_context.hpp"

#include <cmath>
#include <string>
#include <utility>

// Results of the single passes of the blunder modes (adjust2DPass,
// adjust3DPass) and of adjust2DRepeated.
inline constexpr int adjustmentPassConverged = 1;
inline constexpr int adjustmentPassFailed = 0;
inline constexpr int adjustmentPassOverflow = -4;

// The weight that floats an observation in a blunder pass: it still joins
// the normal equations, but hardly pulls.
inline constexpr double floatedWeight = 1.1111111111111112e-12;

// "Solution did not converge within %f in %2d iteration" with the project's
// `convergeLimit` and `maxIterations`.
std::string nonConvergenceText();
// The failure of a singular N, naming the unknown where it broke down.
std::string singularNetworkText(const NetworkSolver& solver);
inline constexpr const char* overflowText = "Math overflow error during iterations.";
inline constexpr const char* abortedText = "The user aborted processing.";

// A line in the error report and the same text in a message box.
void reportRunFailure(const RunContext& context, const std::string& text);

// The iterations of a single blunder pass, without progress: the pass
// result; a singular N and overflow said in the error report and a message
// box, no convergence (with `report` 1) through writeRptMessage.
int iteratePass(const RunContext& context, NetworkSolver& solver, int report);

// Keeps a pass's result in the best-solutions table of size `best`, or
// says in the report why the pass `row` gave none; an overflow in the words
// of `overflowFormat` (with the row).
void recordPassResult(int row, int result, double refVar, int best, const char* overflowFormat);
inline constexpr const char* overflowPassText2D = "Math overflow error during pass %d";
inline constexpr const char* overflowPassText3D = "Math overflow error during pass %d.";

// Sets the message and lets the shell run; true when the user cancelled.
bool passCancelled(const RunContext& context, const std::string& message);

// The statistics of the converged solver; Q becomes `varCovMatrix`, s0
// `referenceStdDev`, and the point error ellipses `errEllipses`. With a
// `progress` shell the user may stop it: the results then say `cancelled`
// and nothing is kept.
template <class Network>
NetworkSolver::Statistics keepConvergedResults(const Network& network, NetworkSolver& solver,
                                               ShellServices* progress = nullptr) {
    NetworkSolver::Statistics results = solver.statistics(progress);
    if (results.cancelled || !results.finite)
        return results;
    referenceStdDev = std::sqrt(results.referenceVariance);
    varCovMatrix = std::move(results.cofactors);
    errEllipses = pointErrorEllipses(network, *varCovMatrix, referenceStdDev);
    errEllipseCount = static_cast<int>(errEllipses.size());
    return results;
}
