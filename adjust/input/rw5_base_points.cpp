#include "input/rw5_base_points.hpp"

#include "input/raw_text.hpp"
#include "model/packed_degrees.hpp"
#include "model/point_name.hpp"
#include "platform/c_locale_text.hpp"

#include <array>
#include <string_view>

std::optional<Rw5BasePoint> parseRw5BaseRecord(const Rw5Record& record) {
    constexpr std::array<std::string_view, 6> prefixes = {"PN", "LA", "LN", "EL", "AG", "PA"};
    std::array<std::string, 6> values;
    for (std::size_t i = 0; i < prefixes.size(); ++i) {
        const std::string_view token = trimmedBlanks(rw5Token(record, i));
        if (!startsWithIgnoringCase(token, prefixes[i]))
            return std::nullopt;
        values[i] = rw5ValueText(token, 2);
        if (values[i].empty())
            return std::nullopt;
    }
    std::array<double, 6> numbers{};
    for (std::size_t i = 1; i < values.size(); ++i) {
        const std::optional<double> number = platform::parseDataNumber(values[i]);
        if (!number)
            return std::nullopt;
        numbers[i] = *number;
    }
    Rw5BasePoint point;
    point.name = values[0].substr(0, pointNameMax);
    point.latitude_rad = dmsToRadians(numbers[1]);
    point.longitude_rad = dmsToRadians(numbers[2]);
    point.height = numbers[3];
    point.antennaHeight = numbers[4];
    point.phaseCentre = numbers[5];
    return point;
}
