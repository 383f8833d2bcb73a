// The reader of the older binary project archives: any bytes are refused or
// give settings within their ranges, never a crash.

#include "fuzz_input.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/setting_ranges.hpp"

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzzinput::InputFile file(fuzzinput::textOf(data, size), "input.prj");
    globalVars settings;
    std::vector<std::string> refusals;
    if (settings.readLegacyProjectFile(file.path(), refusals) == 0)
        return 0;
    const bool inRange =
        std::isfinite(settings.confidenceInterval) && std::isfinite(settings.stErrZ) &&
        settings.coordPrec >= smallestPrecision && settings.coordPrec <= largestPrecision;
    if (!inRange)
        std::abort();
    return 0;
}
