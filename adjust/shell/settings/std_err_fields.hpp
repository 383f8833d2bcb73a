#pragma once
// The nineteen default standard errors as the Standard Errors page and the
// standard-error file dialog show them: one row per field with its control,
// its label, the project setting and the .sef field it exchanges with.
// Angular errors are stored in seconds of arc and may be shown in grads.

#include "model/settings/global_vars.hpp"
#include "model/settings/std_err_record.hpp"

#include <array>

struct StdErrField {
    int control;
    const char* label;
    double globalVars::*setting;
    double stdErrRec::*sefValue;
    bool angular;
};

inline constexpr std::size_t stdErrFieldCount = 19;

const std::array<StdErrField, stdErrFieldCount>& stdErrFields();

// The .sef record's errors (seconds) into the shown values of `shown`, in
// grads when `angleType` is 1; and back.
void stdErrsFromRecord(const stdErrRec& record, int angleType, globalVars& shown);
void stdErrsToRecord(const globalVars& shown, int angleType, stdErrRec& record);
