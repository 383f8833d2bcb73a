#include "input/refused_records.hpp"

#include "model/point_name.hpp"

std::string refusedRecordLine(std::string_view path, int line, std::string_view sentence,
                              std::string_view record) {
    std::string text(path);
    text += ", line " + std::to_string(line) + ": ";
    text += sentence;
    text += " Record: " + platform::recordExcerpt(record);
    return text;
}

std::string longPointNameFault(std::string_view name) {
    if (name.size() <= pointNameMax)
        return {};
    const auto read = platform::readName(name, "point name", pointNameMax);
    return read ? std::string() : read.error().sentence();
}
