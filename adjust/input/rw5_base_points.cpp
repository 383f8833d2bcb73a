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
    Rw5BasePoint point;
    point.name = values[0].substr(0, pointNameMax);
    point.latitude_rad = dmsTextToRadians(values[1]);
    point.longitude_rad = dmsTextToRadians(values[2]);
    point.height = platform::atofC(values[3]);
    point.antennaHeight = platform::atofC(values[4]);
    point.phaseCentre = platform::atofC(values[5]);
    return point;
}
