#include "model/number_format.hpp"

#include "model/angle_text.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/setting_ranges.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/sentinels.hpp"

#include <cmath>

using platform::formatC;

std::string formatCoordinate(double value) {
    return formatC("%12.*f", projectVars.coordPrec, value);
}

namespace {

std::string elevationText(double value, int decimals) {
    if (!isSet(value))
        return {};
    if (projectVars.distPrec < 0)
        return formatC("%12.3f", value);
    return formatC("%12.*f", decimals, value);
}

constexpr double fixedMark = -2.0;
constexpr double gradsPerSecond = 200.0 / 648000.0;

} // namespace

std::string formatElevation(double value) {
    return elevationText(value, projectVars.elevDispPrec);
}

std::string formatElevationCString(double value) {
    return elevationText(value, projectVars.distPrec);
}

std::string formatNorthEastOut(double value) {
    return formatC("%12.*f", projectVars.neOutPrec, value);
}

std::string formatElevationOut(double value) {
    return formatC("%12.*f", projectVars.zOutPrec, value);
}

std::string formatStdErrorPrecCString(double value, int decimals) {
    if (value < fixedMark)
        return {};
    return formatC("%7.*f", decimals, value < 0.0 ? 0.0 : value);
}

std::string formatStdError(double value) {
    return formatStdErrorPrecCString(value, projectVars.coordPrec);
}

std::string formatDistanceShort(double value) {
    return formatC("%7.*f", projectVars.distPrec, value);
}

std::string formatAngleSeconds(double seconds) {
    if (projectVars.angleType == 1)
        return formatC("%9.*f", decimalsOf(projectVars.directionPrec) + 4,
                       seconds * gradsPerSecond);
    return (seconds < 0 ? "-" : " ") + formatAngleValue9(std::fabs(seconds));
}

std::string formatDistance(double value) {
    return formatC("%9.*f", projectVars.distPrec, value);
}
