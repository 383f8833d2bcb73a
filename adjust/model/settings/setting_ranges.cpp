#include "model/settings/setting_ranges.hpp"

#include "model/reader_std_errs.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/record_fields.hpp"

#include <limits>
#include <string_view>

namespace {

using projectKeys::ValueKind;

bool isPrecision(const projectKeys::Key& key) {
    return key.kind == ValueKind::integer && std::string_view(key.name).ends_with("Prec");
}

bool isStdErr(const projectKeys::Key& key) {
    const std::string_view name(key.name);
    return key.kind != ValueKind::text &&
           (name.find("StErr") != std::string_view::npos || name.starts_with("stErr"));
}

// A setting that holds one of a list of codes, numbered first to last.
struct CodeRange {
    int globalVars::*member;
    int first;
    int last;
};

// The code settings whose every code has a meaning of its own; a code
// beyond them would be taken as one of them by some computations and as
// another by the rest (a third geodetic model is 2D for the readers and 3D
// for the outputs). Switches whose any value but 0 means on are not here.
constexpr CodeRange codeRanges[] = {
    {&globalVars::gridSystem, 0, 5},      {&globalVars::HorizUnits, 0, 2},
    {&globalVars::geodeticModel, 0, 1},   {&globalVars::ellipsoid, 0, 16},
    {&globalVars::geoidModelType, 0, 7},  {&globalVars::nezFileFmtType, 0, 7},
    {&globalVars::gpsFileFmtType, 0, 11}, {&globalVars::GPSUnits, 0, 3},
    {&globalVars::Rw5GPSUnits, 0, 2},     {&globalVars::levelUnits, 0, 2},
    {&globalVars::ttlStaUnits, 0, 2},     {&globalVars::levelFileFmtType, 0, 1},
    {&globalVars::asciiNEZType, 0, 17},   {&globalVars::crdFileType, 1, 6},
    {&globalVars::NEDisplayType, 0, 3},   {&globalVars::angleType, 0, 1},
};

const CodeRange* codeRangeOf(const projectKeys::Key& key) {
    for (const CodeRange& range : codeRanges) {
        if (key.integer == range.member)
            return &range;
    }
    return nullptr;
}

} // namespace

std::string settingRefusal(const projectKeys::Key& key, double value) {
    if (key.kind == ValueKind::text)
        return {};
    if (!platform::isDataNumber(value))
        return "not a usable number";
    if (const CodeRange* codes = codeRangeOf(key);
        codes && (value < codes->first || value > codes->last))
        return platform::formatC("the codes of %s are %d to %d", key.name, codes->first,
                                 codes->last);
    if (isPrecision(key) && (value < smallestPrecision || value > largestPrecision))
        return platform::formatC("a precision is %d to %d decimals", smallestPrecision,
                                 largestPrecision);
    if (key.real == &globalVars::confidenceInterval &&
        (value < smallestConfidenceInterval || value > largestConfidenceInterval))
        return platform::formatC("the confidence interval is %g to %g %%",
                                 smallestConfidenceInterval, largestConfidenceInterval);
    if (isStdErr(key) && value < 0.0 && value != stdErrNotGiven && value != stdErrFixed)
        return "a standard error is not negative";
    if (isStdErr(key) && value > 0.0 && value < smallestStdErr)
        return platform::formatC("a standard error is 0 or from %g to %g", smallestStdErr,
                                 platform::largestDataNumber);
    return {};
}

std::vector<std::string> restoreSettingsOutOfRange(globalVars& loaded, const globalVars& held) {
    std::vector<std::string> refused;
    for (const projectKeys::Key& key : projectKeys::table()) {
        if (key.kind == ValueKind::text || (!key.integer && !key.real))
            continue;
        const double value = key.integer ? loaded.*key.integer : loaded.*key.real;
        const std::string reason = settingRefusal(key, value);
        if (reason.empty())
            continue;
        refused.push_back(
            platform::formatC("%s=%.17g refused (%s)", key.name, value, reason.c_str()));
        if (key.integer)
            loaded.*key.integer = held.*key.integer;
        else
            loaded.*key.real = held.*key.real;
    }
    return refused;
}

namespace {

// The number a setting's text holds when the text is wholly one: an int
// setting's a whole number within an int, a real setting's a decimal number
// (no hexadecimal, no comma, nothing after it). Why not, otherwise.
platform::FieldValue<double> settingNumber(const projectKeys::Key& key, const std::string& value) {
    if (key.kind != ValueKind::integer)
        return platform::readNumber(value, key.name);
    const platform::FieldValue<long> whole = platform::readWholeNumber(value, key.name);
    if (!whole)
        return whole.error();
    if (*whole < std::numeric_limits<int>::min() || *whole > std::numeric_limits<int>::max())
        return platform::FieldError{platform::FieldFault::notAWholeNumber, key.name, value};
    return static_cast<double>(*whole);
}

} // namespace

std::string settingTextRefusal(const projectKeys::Key& key, const std::string& value,
                               double& number) {
    const platform::FieldValue<double> read = settingNumber(key, value);
    if (!read)
        return read.error().fault == platform::FieldFault::notAWholeNumber ? "not a whole number"
                                                                           : "not a number";
    number = *read;
    return settingRefusal(key, number);
}
