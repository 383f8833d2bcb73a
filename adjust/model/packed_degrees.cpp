#include "model/packed_degrees.hpp"

#include "model/angle_math.hpp"
#include "platform/c_locale_text.hpp"

#include <cmath>
#include <cstdlib>
#include <string_view>

using platform::atofC;
using platform::formatC;
using platform::formatFixed;

namespace {

// Degrees, minutes and seconds of a non-negative packed value printed with
// `decimals` decimals: the digits are read back from the text, as a typed
// value would be, so 12.3045 means exactly 12°30'45".
double unpackPrinted(double magnitude, int decimals) {
    const std::string text = formatFixed(magnitude, 0, decimals);
    const auto point = text.find('.');
    const std::string_view whole = std::string_view(text).substr(0, point);
    std::string digits = point == std::string::npos ? std::string() : text.substr(point + 1);
    if (digits.size() < 4)
        digits.append(4 - digits.size(), '0');
    const double degrees = atofC(whole);
    const double minutes = atofC(digits.substr(0, 2));
    const double seconds = atofC(digits.substr(2, 2));
    const double fraction = atofC("0." + digits.substr(4));
    return degrees + minutes / 60.0 + (seconds + fraction) / 3600.0;
}

} // namespace

double dmsToDegreesPrec(double packed, int decimals) {
    const double sign = packed < 0 ? -1.0 : 1.0;
    return sign * unpackPrinted(std::fabs(packed), decimals);
}

double dmsToDegrees(double packed) {
    return dmsToDegreesPrec(packed, 10);
}

double dmsToRadians(double packed) {
    return dmsToDegrees(packed) * angle::pi / 180.0;
}

double dmsTextToRadians(const std::string& text) {
    return dmsToRadians(atofC(text));
}

double dmsCStringToRadiansPrec(const std::string& text, int decimals) {
    return dmsToDegreesPrec(atofC(text), decimals) * angle::pi / 180.0;
}

std::string angleToDmsPackedText(double angle_rad) {
    // Seconds are rounded to the printed precision and carried: printing the
    // truncated value could show 60 seconds, which cannot be typed back in.
    const angle::Dms dms = angle::splitDegrees(std::fabs(angle_rad) * 180.0 / angle::pi, 0);
    return formatC("%-8.4f", dms.degrees + dms.minutes / 100.0 + dms.seconds / 10000.0);
}

std::string angleToDmsPackedPrec(double angle_rad, int decimals) {
    const angle::Dms dms = angle::splitDegrees(std::fabs(angle_rad) * 180.0 / angle::pi, decimals);
    const double sign = angle_rad < 0 ? -1.0 : 1.0;
    const double packed = dms.degrees + dms.minutes / 100.0 + dms.seconds / 10000.0;
    return formatC("%-8.*f", decimals + 4, sign * packed);
}

std::string fmtDouble8(double value) {
    return formatC("%.8f", value);
}

std::string fmtDouble4CString(double value) {
    return formatC("%-8.4f", value);
}

int checkDmsText(const std::string& text) {
    const double value = std::fabs(atofC(text));
    if (value > 360.0)
        return 1;
    const std::string printed = formatC("%.6f", value);
    const std::string digits = printed.substr(printed.find('.') + 1);
    const double minutes = atofC(digits.substr(0, 2));
    const double seconds = atofC(digits.substr(2, 4)) / 100.0;
    return (seconds >= 60.0 || minutes >= 60.0) ? 1 : 0;
}

int hasNonNumericChar(const std::string& text) {
    for (const char c : text) {
        const bool allowed =
            c == ' ' || c == '-' || c == '.' || (c >= '0' && c <= '9') || c == 'E' || c == 'e';
        if (!allowed)
            return 1;
    }
    return 0;
}

int isNumericText(const std::string& text) {
    for (const char c : text) {
        const bool allowed = (c >= '0' && c <= '9') || c == ' ' || c == '+' || c == '-' || c == '.';
        if (!allowed)
            return 0;
    }
    return 1;
}
