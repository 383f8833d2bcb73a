#include "input/vkr_fields.hpp"

#include "input/raw_text.hpp"
#include "platform/record_fields.hpp"

namespace {

std::string fieldText(const std::string& line, vkrColumn column) {
    return std::string(platform::fixedColumn(line, column.first, column.width));
}

} // namespace

std::string vkrNameField(const std::string& line, vkrColumn column) {
    std::string text = fieldText(line, column);
    trimBlanks(text);
    return text;
}

std::string vkrCodeField(const std::string& line, vkrColumn column) {
    std::string text = fieldText(line, column);
    trimLeadingBlanks(text);
    return text;
}

std::string vkrTextFrom(const std::string& line, std::size_t first) {
    std::string text = first < line.size() ? line.substr(first) : std::string();
    trimBlanks(text);
    return text;
}

std::optional<double> vkrNumberField(const std::string& line, vkrColumn column) {
    const platform::FieldValue<double> number =
        platform::readNumber(fieldText(line, column), "field");
    return number ? std::optional<double>(*number) : std::nullopt;
}
