#pragma once
// The closures step of a run: every traverse and GPS loop of the project's
// closure file (`pClosureFileName`, relative to the project's folder) is
// listed with its closure in the report and the error report; each problem
// goes to the error report and to a message box, and reading goes on with
// the next record. A closure file the project names that cannot be read
// (missing, a folder, unreadable) stops the run: false, with the message
// given.
//
// Each run starts with angle closure off; the vertical closure and the
// closure type carry over from the previous run (off and the interior loop
// when the program starts), as they carry over between definitions.

#include "model/run_context.hpp"

bool computeClosures(const RunContext& context);

// Puts the settings carried between runs back to their start.
void resetClosureSettings();
