#include "model/angle_text.hpp"

#include "model/angle_math.hpp"
#include "model/packed_degrees.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/setting_ranges.hpp"
#include "platform/c_locale_text.hpp"

#include <cmath>

using platform::formatC;
using platform::formatFixed;

namespace {

constexpr int gradsAngleType = 1;
constexpr double gradsPerRadian = 200.0 / angle::pi;

std::string padRight(std::string text, std::size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

bool usesGrads() {
    return projectVars.angleType == gradsAngleType;
}

// Removes blanks and zeros from the front, keeping the digit just before the
// first character that is not a digit, so values below one read "0-30'..."
// or "0.5000...".
std::string stripLeadingZeros(const std::string& text) {
    std::size_t first = text.find_first_not_of(" 0");
    if (first == std::string::npos)
        return text;
    const bool startsWithDigit = text[first] >= '1' && text[first] <= '9';
    if (!startsWithDigit && first > 0 && text[first - 1] == '0')
        --first;
    return text.substr(first);
}

std::string hemisphereText(double value_rad, char positive, char negative, bool positiveAtZero) {
    const bool isPositive = positiveAtZero ? value_rad >= 0 : value_rad > 0;
    const double magnitude = std::fabs(value_rad);
    constexpr int secondDecimals = 5;
    const std::string text = usesGrads() ? angleToGonText(magnitude, secondDecimals)
                                         : angleToDmsText(magnitude, secondDecimals);
    return stripLeadingZeros(text + (isPositive ? positive : negative));
}

} // namespace

std::string fmtSeconds2(double seconds, int decimals) {
    std::string text = formatFixed(seconds, 2, decimals, '0');
    if (text.size() > 1 && text[1] == '.')
        text.insert(text.begin(), '0');
    return text;
}

std::string angleToDmsText(double angle_rad, int decimals) {
    const bool negative = angle_rad < 0;
    const angle::Dms dms = angle::splitDegrees(std::fabs(angle_rad) * 180.0 / angle::pi, decimals);
    std::string line = formatFixed(dms.degrees, 4, 0) + ' ' + formatFixed(dms.minutes, 2, 0) + ' ' +
                       fmtSeconds2(dms.seconds, decimals);
    line[4] = '-';
    line[7] = '\'';
    line += '"';
    if (negative)
        line[0] = '-';
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (line[i] == ' ')
            line[i] = '0';
    }
    return line;
}

std::string angleToGonText(double angle_rad, int decimals) {
    std::string text =
        formatFixed(std::fabs(angle_rad) * gradsPerRadian, 14, decimalsOf(decimals) + 4);
    const auto point = text.find('.');
    const std::size_t end = point == std::string::npos ? text.size() : point;
    for (std::size_t i = end >= 3 ? end - 3 : 0; i < end; ++i) {
        if (text[i] == ' ')
            text[i] = '0';
    }
    return text;
}

std::string angleToGonPlainCString(double angle_rad) {
    return formatC("%-f", angle_rad * gradsPerRadian);
}

std::string angleToText(double angle_rad) {
    const int decimals = projectVars.directionPrec;
    return padRight(usesGrads() ? angleToGonText(angle_rad, decimals)
                                : angleToDmsText(angle_rad, decimals),
                    14);
}

std::string latToText(double lat_rad) {
    return hemisphereText(lat_rad, 'N', 'S', true);
}

std::string lonToText(double lon_rad) {
    return hemisphereText(lon_rad, 'E', 'W', false);
}

std::string bearingToText(double a) {
    const double pi = angle::pi;
    char ns = 'N';
    char ew = 'W';
    double value = 2 * pi - a;
    if (a <= pi / 2) {
        ns = 'N', ew = 'E', value = a;
    } else if (a <= pi) {
        ns = 'S', ew = 'E', value = pi - a;
    } else if (a <= 1.5 * pi) {
        ns = 'S', ew = 'W', value = a - pi;
    }
    const int decimals = projectVars.directionPrec;
    if (usesGrads()) {
        const std::string text = angleToGonText(value, decimals);
        return formatC("%c %s %c", ns, text.substr(text.find_first_not_of(' ')).c_str(), ew);
    }
    std::string text = angleToDmsText(value, decimals);
    text.erase(1, 1);
    return formatC("%c%s%c", ns, text.c_str(), ew);
}

std::string directionToText(double azimuth_rad) {
    return padRight(
        projectVars.directionType != 0 ? angleToText(azimuth_rad) : bearingToText(azimuth_rad), 15);
}

std::string directionToCString(double azimuth_rad) {
    const std::string text =
        projectVars.directionType != 0 ? angleToText(azimuth_rad) : bearingToText(azimuth_rad);
    return formatC("%15s", text.c_str());
}

std::string fmtArcSeconds(double seconds) {
    return formatFixed(seconds, 4, 1);
}

std::string formatAngleValue9(double value) {
    return padRight(formatFixed(value, 7, projectVars.directionPrec, ' '), 9);
}

std::string formatDistanceSigned(double value) {
    return formatFixed(value, 7, projectVars.distPrec, ' ');
}

double angleToRadians(double value) {
    return usesGrads() ? value * angle::pi / 200.0 : dmsToRadians(value);
}

double quadBearingToRadians(double coded) {
    return usesGrads() ? quadBearingGonToRad(coded) : quadBearingDmsToRad(coded);
}

double quadBearingDmsToRad(double coded) {
    const double q = std::trunc(coded / 100.0);
    const double b = dmsToDegrees(coded - q * 100.0);
    double degrees = b;
    if (q == 2)
        degrees = 180.0 - b;
    else if (q == 3)
        degrees = 180.0 + b;
    else if (q == 4)
        degrees = 360.0 - b;
    return degrees * angle::pi / 180.0;
}

double quadBearingGonToRad(double coded) {
    const double q = std::trunc(coded / 1000.0);
    const double b = coded - q * 1000.0;
    double grads = b;
    if (q == 2)
        grads = 200.0 - b;
    else if (q == 3)
        grads = b + 200.0;
    else if (q == 4)
        grads = 400.0 - b;
    return grads * angle::pi / 200.0;
}
