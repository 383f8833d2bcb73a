#include "model/settings/setting_ranges.hpp"

#include "model/reader_std_errs.hpp"
#include "platform/c_locale_text.hpp"

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

} // namespace

std::string settingRefusal(const projectKeys::Key& key, double value) {
    if (key.kind == ValueKind::text)
        return {};
    if (!platform::isDataNumber(value))
        return "not a usable number";
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
