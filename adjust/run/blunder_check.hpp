#pragma once
// The preprocessing run of blunder detection. It checks the raw data as it
// reads it, computes preliminary coordinates, compares each horizontal
// observation with the value they give (the "K-Matrix Analysis") and lists
// the points lying closer than `proximity` to each other. Everything goes to
// the error report (.ERR), headed by the title block of the preprocessing
// mode; no report, adjustment or coordinate file is written. The
// supplemental control file goes straight into the control lists.
//
// Called inside the driver's guard (checkNetworkForBlunders), which opens the
// geoid grid and turns a stage this build lacks, an unknown zone or a cancel
// into the end of the run.

#include "model/run_context.hpp"
#include "run/processing_driver.hpp"

RunResult runBlunderCheck(const RunContext& context, double proximity);
