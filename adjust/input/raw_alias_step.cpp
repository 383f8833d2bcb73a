#include "input/raw_alias_step.hpp"

#include "input/raw_aliases.hpp"
#include "model/raw_record.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"

#include <string_view>

namespace {

constexpr std::size_t codeMax = 4;
constexpr std::size_t coordDescriptionMax = 170;

void errLines(const std::string& text) {
    writeLine(errFile, text);
    writeLine(errFile, "");
}

} // namespace

int registerRawAlias(const std::string& afterMarker, const std::string& marker,
                     const std::string& alias) {
    const std::string point = aliasPointName(afterMarker);
    if (point.empty()) {
        errLines(platform::formatC("Found the alias: %s but no point name", marker.c_str()));
        return 1;
    }
    const std::string refusal = addPointAlias(alias, point);
    if (refusal.empty())
        return 0;
    errLines(refusal);
    return 1;
}

void parseRawAlias(const std::string& text, rawRec& record, const std::string& marker,
                   const std::string& pointName) {
    std::string description = text;
    const auto comma = text.find(',');
    if (comma != std::string::npos && comma <= codeMax) {
        setFixedText(record.code, std::string_view(text).substr(0, comma));
        description = text.substr(comma + 1);
    }
    const auto found = marker.empty() ? std::string::npos : description.find(marker);
    if (found != std::string::npos) {
        registerRawAlias(description.substr(found + marker.size()), marker, pointName);
        return;
    }
    setFixedText(record.description, std::string_view(description).substr(0, coordDescriptionMax));
}
