#include "plain_text.hpp"

#include <algorithm>
#include <charconv>

namespace geodetic_detail {

std::filesystem::path pathFromText(std::string_view text) {
    std::string copy(text);
    std::replace(copy.begin(), copy.end(), '\\', '/');
    return std::filesystem::path(copy);
}

std::string paddedNumber(int value, int width, char fill) {
    std::string text = std::to_string(value);
    if (text.size() < static_cast<std::size_t>(width))
        text.insert(0, static_cast<std::size_t>(width) - text.size(), fill);
    return text;
}

std::string fixedDecimals(double value, int decimals) {
    char buffer[400];
    const std::to_chars_result written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, written.ptr);
}

} // namespace geodetic_detail
