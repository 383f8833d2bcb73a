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
