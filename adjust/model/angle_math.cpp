#include "model/angle_math.hpp"

#include "platform/c_locale_text.hpp"

#include <cmath>

namespace angle {

Dms splitDegrees(double value, int decimals) {
    Dms dms{};
    dms.degrees = std::floor(value);
    const double minutes = (value - dms.degrees) * 60.0;
    dms.minutes = std::floor(minutes);
    dms.seconds =
        platform::atofC(platform::formatFixed((minutes - dms.minutes) * 60.0, 0, decimals));
    if (dms.seconds >= 60.0) {
        dms.minutes += 1.0;
        dms.seconds -= 60.0;
    }
    if (dms.minutes >= 60.0) {
        dms.degrees += 1.0;
        dms.minutes -= 60.0;
    }
    return dms;
}

} // namespace angle
