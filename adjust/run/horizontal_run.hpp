#pragma once
// Steps that the entry points of the horizontal adjustment share: reading
// the network and the listings of a converged solution.

#include "engine/horizontal_network.hpp"
#include "engine/network_solver.hpp"
#include "model/run_context.hpp"
#include "run/adjustment_steps.hpp"

#include <string>

// Reads the network from the lists and makes `obsCount` and `unknownCount`
// count its rows and unknowns. False when an observation names a point
// without coordinates (said in the error report and a message box) or when
// there is nothing to adjust.
bool readNetworkForRun(const RunContext& context, HorizontalNetwork& network);

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
