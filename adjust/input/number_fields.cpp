#include "input/number_fields.hpp"

std::string quotedField(std::string_view field, std::string_view text) {
    std::string out(field);
    out += " \"";
    out += text;
    out += '"';
    return out;
}

std::string notANumberLine(std::string_view quoted) {
    return "The " + std::string(quoted) + " is not a number.";
}
