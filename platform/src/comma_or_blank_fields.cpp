#include "platform/comma_or_blank_fields.hpp"

#include "platform/record_fields.hpp"

namespace platform {

std::vector<std::string_view> splitOnCommasOrBlanks(std::string_view record) {
    if (record.find(',') == std::string_view::npos)
        return splitOnBlanks(record);
    std::vector<std::string_view> fields = splitOn(record, ',');
    std::erase_if(fields, [](std::string_view field) { return field.empty(); });
    return fields;
}

} // namespace platform
