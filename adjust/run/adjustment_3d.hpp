#pragma once
// The three-dimensional least-squares adjustment and its blunder modes. The
// network comes from the program-wide 3D lists (see engine/spatial_network.hpp
// for the rows and unknowns); the adjusted positions go back into
// `stationList`, which holds the iterated positions after a run, also after
// a failure. A converged run leaves `varCovMatrix` (the cofactors Q of the
// unknowns: north, east, up of each adjustable station in list order),
// `errEllipses` and `referenceStdDev` (adjustment_results.hpp) and writes its
// listings; failures go to the error report and a message box.
//
// Residuals and standard deviations of the adjusted observations handed to
// the listings follow the rows: metres, seconds of arc for angles, azimuths
// and zenith angles (a zenith row is that of the elevation angle), a GPS
// vector's three rows north, east, up in the local frame of its from
// station. Unknown standard deviations: three per adjustable station, north,
// east, up, in metres.
//
// Settings read: `maxIterations` (at least one iteration runs),
// `convergeLimit` (largest correction, metres), `confidenceInterval`,
// `gridSystem`, `relativeErrFileOn`.

#include "engine/linearised_network.hpp"
#include "model/run_context.hpp"

// Results of adjust3D.
inline constexpr int adjustment3DConverged = 0;
inline constexpr int adjustment3DNoObservations = -1;
inline constexpr int adjustment3DNoUnknowns = -2;
inline constexpr int adjustment3DFailed =
    -3; // bad input, singular, overflow, no convergence, cancel
// Results of adjust3DBlunderPasses and adjust3DRepeated.
inline constexpr int blunderPasses3DDone = 1;
inline constexpr int blunderPasses3DFailed =
    0; // nothing to adjust, a pass did not converge, cancel
inline constexpr int blunderPasses3DOverflow = -3;

// Mode 0: iterate, then list into the report the geographic, grid and
// earth-centred coordinates, the error ellipses and the .EEL file, the ALTA
// report (when `relativeErrFileOn`), the adjusted observations and the
// statistics.
int adjust3D(const RunContext& context);

// Mode 10: floats each observation row but the weighted control rows in turn
// and keeps the `best` passes (at most 10; 0 works as 1) with the smallest
// reference variance, which are then run again with their report in the
// error report. A row of a GPS vector floats with its couplings to the
// vector's other rows scaled with it, so the vector's weight block stays
// positive definite. blunderPasses3DDone after the passes (also after a
// cancel); blunderPasses3DFailed without observations or unknowns.
int adjust3DBlunderPasses(const RunContext& context, int best);

// Mode 11: `passes` adjustments, each reweighting every row by
// sigma = (|v| + sigma of the adjusted observation) / 2 from the last (a GPS
// row with its couplings scaled alike); the pass after which one pass
// remains is listed in the error report. blunderPasses3DDone after all
// passes (also after a cancel); blunderPasses3DFailed when a pass did not
// converge; blunderPasses3DOverflow when a correction is not finite or the
// normal equations are singular.
int adjust3DRepeated(const RunContext& context, int passes);

// The weights of the blunder passes, built and changed by the callers of
// adjust3DPass.
extern RowWeights lsqWeights3D;

// One adjustment with `lsqWeights3D`, from the current positions, without
// progress messages or cancel tests: the pass results of
// run/adjustment_steps.hpp, `refVar` = s0^2 when converged. With `report` 1
// the adjusted observations (marking the row `index`) and the statistics go
// to the error report, and a failure to converge through writeRptMessage.
int adjust3DPass(const RunContext& context, int report, double* refVar, int index);
