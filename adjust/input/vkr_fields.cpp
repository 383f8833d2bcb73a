#include "input/vkr_fields.hpp"

#include "input/raw_text.hpp"
#include "platform/c_locale_text.hpp"

namespace {

std::string fieldText(const std::string& line, vkrColumn column) {
    if (column.first >= line.size())
        return {};
    return line.substr(column.first, column.width);
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
    return platform::parseDataNumber(vkrNameField(line, column));
}

std::vector<std::string> vkrTokens(const std::string& text, const char* separators) {
    std::vector<std::string> tokens;
    std::size_t start = text.find_first_not_of(separators);
    while (start != std::string::npos) {
        const std::size_t end = text.find_first_of(separators, start);
        tokens.push_back(
            text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        start = end == std::string::npos ? end : text.find_first_not_of(separators, end);
    }
    return tokens;
}
