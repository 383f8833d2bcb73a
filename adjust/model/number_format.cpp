#include "model/number_format.hpp"

#include "model/angle_text.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/setting_ranges.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/sentinels.hpp"

#include <cmath>

using platform::formatFixed;

std::string formatCoordinate(double value) {
    return formatFixed(value, 12, projectVars.coordPrec);
}

namespace {

std::string elevationText(double value, int decimals) {
    if (!isSet(value))
        return {};
    if (projectVars.distPrec < 0)
        return formatFixed(value, 12, 3);
    return formatFixed(value, 12, decimals);
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
    return formatFixed(value, 12, projectVars.neOutPrec);
}

std::string formatElevationOut(double value) {
    return formatFixed(value, 12, projectVars.zOutPrec);
}

std::string formatStdErrorPrecCString(double value, int decimals) {
    if (value < fixedMark)
        return {};
    return formatFixed(value < 0.0 ? 0.0 : value, 7, decimals);
}

std::string formatStdError(double value) {
    return formatStdErrorPrecCString(value, projectVars.coordPrec);
}

std::string formatDistanceShort(double value) {
    return formatFixed(value, 7, projectVars.distPrec);
}

std::string formatAngleSeconds(double seconds) {
    if (projectVars.angleType == 1)
        return formatFixed(seconds * gradsPerSecond, 9, decimalsOf(projectVars.directionPrec) + 4);
    return (seconds < 0 ? "-" : " ") + formatAngleValue9(std::fabs(seconds));
}

std::string formatDistance(double value) {
    return formatFixed(value, 9, projectVars.distPrec);
}
