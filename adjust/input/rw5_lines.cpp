#include "input/rw5_lines.hpp"

#include "input/raw_text.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/line_reader.hpp"
#include "platform/record_fields.hpp"

#include <array>

bool loadRw5File(const std::string& path, Rw5File& file, std::string& error) {
    platform::TextFileReader reader(path, platform::LineEnds::crToo);
    if (!reader.isOpen()) {
        error = "Error opening " + path + ": " + reader.problem();
        return false;
    }
    file.path = path;
    file.lines.clear();
    for (std::string line; reader.next(line);)
        file.lines.push_back(line);
    if (reader.readFailed()) {
        error = platform::formatC("Error opening %s: read error after line %d", path.c_str(),
                                  reader.lineNumber());
        return false;
    }
    return true;
}

Rw5Record splitRw5Record(std::string_view line) {
    Rw5Record record;
    const std::vector<std::string_view> fields = platform::splitOn(line, ',');
    record.code = std::string(fields[0]);
    for (std::size_t i = 1; i < fields.size(); ++i) {
        if (fields[i].substr(0, 2) == "--") {
            const std::size_t dashes = static_cast<std::size_t>(fields[i].data() - line.data());
            record.description = std::string(trimmedBlanks(line.substr(dashes + 2)));
            record.hasDescription = true;
            break;
        }
        record.tokens.emplace_back(fields[i]);
    }
    return record;
}

std::string_view rw5Token(const Rw5Record& record, std::size_t index) {
    return index < record.tokens.size() ? std::string_view(record.tokens[index])
                                        : std::string_view();
}

std::string rw5ValueText(std::string_view token, std::size_t prefixLength) {
    const std::string_view value = trimmedBlanks(token);
    return prefixLength >= value.size() ? std::string()
                                        : std::string(trimmedBlanks(value.substr(prefixLength)));
}

std::optional<double> rw5Number(std::string_view token, std::size_t prefixLength) {
    return platform::parseDataNumber(rw5ValueText(token, prefixLength));
}

// Point-name prefixes: a point may be called "INF" or "1E999".
bool isNamePrefix(std::string_view token) {
    static constexpr std::array<std::string_view, 6> names = {"OP", "FP", "BP", "BS", "PN", "OC"};
    for (std::string_view name : names)
        if (startsWithIgnoringCase(token, name))
            return true;
    return false;
}

std::string nonDataNumberToken(const Rw5Record& record) {
    for (const std::string& token : record.tokens) {
        const std::string_view value = trimmedBlanks(token);
        if (value.size() > 2 && !isNamePrefix(value) &&
            (platform::startsWithNonDataNumber(value.substr(2)) ||
             platform::startsWithNonDataNumber(value.substr(1))))
            return std::string(value);
    }
    return {};
}

std::string upperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

bool startsWithIgnoringCase(std::string_view line, std::string_view prefix) {
    return line.size() >= prefix.size() &&
           upperAscii(line.substr(0, prefix.size())) == upperAscii(prefix);
}

bool isHeightsOnNote(std::string_view line) {
    return startsWithIgnoringCase(line, "--Elevation: 3D");
}

bool isHeightsOffNote(std::string_view line) {
    return startsWithIgnoringCase(line, "--Elevation: 2D");
}
