#include "input/refused_records.hpp"

std::string refusedRecordLine(std::string_view path, int line, std::string_view sentence,
                              std::string_view record) {
    std::string text(path);
    text += ", line " + std::to_string(line) + ": ";
    text += sentence;
    text += " Record: " + platform::recordExcerpt(record);
    return text;
}
