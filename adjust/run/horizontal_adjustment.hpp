#pragma once
// The horizontal least-squares adjustment of the 2D model and its blunder
// modes. The network comes from the program-wide 2D lists (see
// horizontal_network.hpp for the rows and unknowns); the adjusted coordinates
// go back into `pointList2D`, which holds the iterated coordinates after a
// run, also after a failure. A converged run leaves `varCovMatrix`,
// `errEllipses` and `referenceStdDev` (adjustment_results.hpp) and writes its
// listings into the report; failures go to the error report and a message
// box (the active shell), never as printed numbers.
//
// Settings read: `maxIterations` (at least one iteration runs),
// `convergeLimit` (largest correction, project unit), `confidenceInterval`,
// `gridSystem`, `relativeErrFileOn`.

#include "engine/horizontal_network.hpp"
#include "run/adjustment_steps.hpp"
#include "model/run_context.hpp"

// Results of adjust2D.
inline constexpr int adjustment2DConverged = 1;
inline constexpr int adjustment2DFailed = 0; // nothing to adjust, no convergence, cancel, bad input
inline constexpr int adjustment2DOverflow = -3; // a correction not finite, or N singular
// adjust2DPass and adjust2DRepeated give the pass results of
// run/adjustment_steps.hpp.

// Mode 0: iterate, then write the adjusted coordinates, the geographic
// coordinates (grid systems), the error ellipses, the .EEL file, the ALTA
// report (when `relativeErrFileOn`), the adjusted observations and the
// statistics into the report. 1 converged; 0 without observations or
// unknowns, without convergence within `maxIterations`, after a cancel, or
// when an observation names a point without coordinates; -3 when a correction
// is not finite or the normal equations are singular (the message names the
// point and coordinate where they broke down).
int adjust2D(const RunContext& context);

// Mode 10: floats each observation row but the weighted control rows in turn
// (weight 1.1111111111111112e-12) and keeps the `best` passes (at most 10; 0
// works as 1) with the smallest reference variance, which are then run again
// with their report in the error report. A GPS vector's component floats with
// its coupling to the other component scaled with it, so the vector's weight
// block stays positive definite. 1 after the passes (also after a cancel); 0
// without observations or unknowns.
int adjust2DBlunderPasses(const RunContext& context, int best);

// Mode 11: `passes` adjustments, each reweighting every observation by
// w = (|v| + sigma) / 2 from the last (a GPS component with its coupling
// scaled alike); the pass after which one pass remains is listed in the error
// report. 1 after all passes (also after a cancel); 0
// when a pass did not converge; -4 when a correction is not finite or the
// normal equations are singular.
int adjust2DRepeated(const RunContext& context, int passes);

// The weights of the blunder passes, built and changed by the caller of
// adjust2DPass.
extern RowWeights lsqWeights2D;

// One adjustment with `lsqWeights2D`, from the current coordinates, without
// progress messages or cancel tests. 1 converged (`refVar` = s0^2), 0 not
// converged or singular, -4 overflow. With `report` 1 the adjusted
// observations (marking the row `index` with " **") and the statistics go to
// the error report, and a failure to converge through writeRptMessage.
int adjust2DPass(const RunContext& context, int report, double* refVar, int index);
