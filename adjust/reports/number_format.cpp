#include "reports/number_format.hpp"

#include "model/settings/global_vars.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/sentinels.hpp"

using platform::formatC;

std::string formatCoordinate(double value) {
    return formatC("%12.*f", projectVars.coordPrec, value);
}

std::string formatElevation(double value) {
    if (!isSet(value))
        return {};
    if (projectVars.distPrec < 0)
        return formatC("%12.3f", value);
    return formatC("%12.*f", projectVars.elevDispPrec, value);
}

std::string formatDistance(double value) {
    return formatC("%9.*f", projectVars.distPrec, value);
}
