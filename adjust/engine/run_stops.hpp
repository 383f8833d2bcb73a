#pragma once
// Ways a processing run stops before its end that are not a failure of one
// stage's data: a stage this build does not have yet, and the user's cancel.
// The driver catches both, says why in the error report and ends the run.

#include "model/progress.hpp"

#include <stdexcept>
#include <string>

// A stage of the run that is not part of this build yet.
class StageNotBuilt : public std::runtime_error {
public:
    explicit StageNotBuilt(const std::string& stage)
        : std::runtime_error(stage + " is not built yet: the run stops here.") {}
};

// The user pressed Cancel (or Ctrl-C) while the run was under way.
class RunCancelled : public std::runtime_error {
public:
    RunCancelled() : std::runtime_error(userAbortedText) {}
};
