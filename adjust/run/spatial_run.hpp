#pragma once
// Steps that the entry points of the three-dimensional adjustment share:
// reading the network and the listings of a converged solution.

#include "engine/network_solver.hpp"
#include "engine/spatial_network.hpp"
#include "model/run_context.hpp"

// Reads the network from the lists and makes `obsCount` and `unknownCount`
// count its rows and unknowns. False when the network cannot be read (the
// reason in the error report and a message box) or when there is nothing to
// adjust.
bool readSpatialNetworkForRun(const RunContext& context, SpatialNetwork& network);

// The listings of the converged solution just kept (adjustment_steps.hpp)
// into the file `handle`, in this order: geographic, grid and earth-centred
// coordinates, the error ellipses (their elevation column scaled by the
// ellipses' confidence factor), the .EEL file, the ALTA report (when
// `relativeErrFileOn`), the adjusted observations and the statistics.
void writeSpatialListings(const RunContext& context, int handle,
                          const NetworkSolver::Statistics& results, int iterations);
