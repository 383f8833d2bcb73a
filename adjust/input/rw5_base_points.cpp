#include "input/rw5_base_points.hpp"

#include "input/raw_text.hpp"
#include "model/packed_degrees.hpp"
#include "model/point_name.hpp"

#include <array>
#include <optional>
#include <string_view>

namespace {

struct BaseField {
    std::string_view prefix;
    const char* field;
    bool angle;
};

constexpr std::array<BaseField, 6> baseFields = {{
    {"PN", "point name", false},
    {"LA", "latitude", true},
    {"LN", "longitude", true},
    {"EL", "height", false},
    {"AG", "antenna height", false},
    {"PA", "phase centre offset", false},
}};

// The value of field `i` (after its prefix), or why there is none.
platform::FieldValue<std::string> valueOf(const Rw5Record& record, std::size_t i) {
    const BaseField& base = baseFields[i];
    const std::string_view token = trimmedBlanks(rw5Token(record, i));
    const std::string value = rw5ValueText(token, base.prefix.size());
    if (!startsWithIgnoringCase(token, base.prefix) || value.empty())
        return platform::missingField(base.field, token);
    return value;
}

// Why the number of field `i` is none, quoting its token.
platform::FieldError numberFault(const Rw5Record& record, std::size_t i,
                                 const platform::FieldError& refusal) {
    platform::FieldError error = refusal;
    error.text = platform::recordExcerpt(trimmedBlanks(rw5Token(record, i)));
    return error;
}

} // namespace

platform::FieldValue<Rw5BasePoint> parseRw5BaseRecord(const Rw5Record& record) {
    std::array<double, baseFields.size()> numbers{};
    Rw5BasePoint point;
    for (std::size_t i = 0; i < baseFields.size(); ++i) {
        const platform::FieldValue<std::string> value = valueOf(record, i);
        if (!value)
            return value.error();
        if (i == 0) {
            const auto name = platform::readName(*value, baseFields[i].field, pointNameMax);
            if (!name)
                return name.error();
            point.name = *name;
            continue;
        }
        const auto number = baseFields[i].angle
                                ? platform::readPackedAngle(*value, baseFields[i].field)
                                : platform::readNumber(*value, baseFields[i].field);
        if (!number)
            return numberFault(record, i, number.error());
        numbers[i] = *number;
    }
    point.latitude_rad = dmsToRadians(numbers[1]);
    point.longitude_rad = dmsToRadians(numbers[2]);
    point.height = numbers[3];
    point.antennaHeight = numbers[4];
    point.phaseCentre = numbers[5];
    return point;
}
