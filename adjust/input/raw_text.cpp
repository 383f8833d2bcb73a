#include "input/raw_text.hpp"

void trimLeadingBlanks(std::string& text) {
    text.erase(0, text.find_first_not_of(' '));
}

int trimRawLine(std::string& text) {
    std::size_t keep = text.size();
    while (keep > 1 && (text[keep - 1] == '\n' || text[keep - 1] == '\r' || text[keep - 1] == ' '))
        --keep;
    text.resize(keep);
    return static_cast<int>(keep) - 1;
}

void trimBlanks(std::string& text) {
    trimLeadingBlanks(text);
    text.erase(text.find_last_not_of(' ') + 1);
}

std::string_view trimmedBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}
