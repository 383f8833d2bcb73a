#include "input/converters/converted_values.hpp"

#include "input/raw_text.hpp"
#include "model/packed_degrees.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/sentinels.hpp"

std::string valueText(const char* format, double value) {
    if (!isSet(value))
        return {};
    return platform::formatC(format, value);
}

std::string angleText(double angle_rad) {
    if (!isSet(angle_rad))
        return {};
    return std::string(trimmedBlanks(angleToDmsPackedText(angle_rad)));
}
