#pragma once
// Steps that the entry points of the horizontal adjustment share: reading
// the network, the failure messages, and keeping the results of a converged
// solution as the program-wide results of the run.

#include "engine/horizontal_network.hpp"
#include "engine/network_solver.hpp"
#include "engine/point_error_ellipses.hpp"
#include "model/run_context.hpp"

#include <string>

// Reads the network from the lists and makes `obsCount` and `unknownCount`
// count its rows and unknowns. False when an observation names a point
// without coordinates (said in the error report and a message box) or when
// there is nothing to adjust.
bool readNetworkForRun(const RunContext& context, HorizontalNetwork& network);

// "Solution did not converge within %f in %2d iteration" with the project's
// `convergeLimit` and `maxIterations`.
std::string nonConvergenceText();
// The failure of a singular N, naming the unknown where it broke down.
std::string singularNetworkText(const NetworkSolver& solver);
inline constexpr const char* overflowText = "Math overflow error during iterations.";

// A line in the error report and the same text in a message box.
void reportRunFailure(const RunContext& context, const std::string& text);

// The statistics of the converged solver; Q becomes `varCovMatrix`, s0
// `referenceStdDev`, and the point error ellipses `errEllipses`. With a
// `progress` shell the user may stop it: the results then say `cancelled`
// and nothing is kept.
NetworkSolver::Statistics keepConvergedResults(const HorizontalNetwork& network,
                                                  NetworkSolver& solver,
                                                  ShellServices* progress = nullptr);

// The listings of a converged solution into the file `handle`: adjusted
// coordinates, geographic coordinates (grid systems), error ellipses, with
// `withEllipseFile` the .EEL file and (when `relativeErrFileOn`) the ALTA
// report, then the adjusted observations and the statistics. With a
// `progress` shell the user may stop the listings between two sections:
// false then, the sections after the stop unwritten.
enum class SolutionFiles { listingsOnly, withEllipseFile };
bool writeSolutionListings(const RunContext& context, int handle,
                           const NetworkSolver::Statistics& results, int iterations,
                           SolutionFiles files, ShellServices* progress = nullptr);
