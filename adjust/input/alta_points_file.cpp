#include "input/alta_points_file.hpp"

#include "input/closure_file.hpp"
#include "model/point_name.hpp"
#include "model/settings/project_paths.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/file_replace.hpp"
#include "platform/line_reader.hpp"

#include <array>
#include <system_error>

namespace {

enum altaKeyword : int { kwPairs = 0, kwMaxPoints = 1, kwAll = 2, kwNoKeyword = 3 };

// In keyword index order: the first one found in a line decides.
constexpr std::array<const char*, 3> keywords = {"REL_ERR_PAIRS", "RPT_ALL_MAX_PTS", "REL_ERR_ALL"};

int keywordOf(const std::string& text) {
    for (std::size_t i = 0; i < keywords.size(); ++i)
        if (text.find(keywords[i]) != std::string::npos)
            return static_cast<int>(i);
    return kwNoKeyword;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The maximum of a value (an empty one is 0), or why it is refused.
platform::FieldValue<int> maxPointsOf(const std::string& value) {
    if (value.empty())
        return 0;
    const platform::FieldValue<long> max = platform::readWholeNumber(value, "maximum");
    if (!max)
        return max.error();
    return *max < 0 || *max > 1000 ? altaFallbackMaxPoints : static_cast<int>(*max);
}

std::optional<platform::FieldError> entriesFault(const std::vector<AltaEntry>& entries) {
    for (const AltaEntry& entry : entries) {
        auto fault = entry.kind == AltaEntry::name ? rangeFault(entry.text)
                                                   : controlByteFault(entry.text, "description");
        if (fault)
            return fault;
    }
    return std::nullopt;
}

std::optional<platform::FieldError> pairsFault(const std::vector<AltaPair>& pairs) {
    for (const AltaPair& pair : pairs)
        for (const std::string& name : {pair.from, pair.to})
            if (auto fault = platform::readName(name, "point name", pointNameMax).fault())
                return fault;
    return std::nullopt;
}

// Appends what a record gives, or leaves it out with its refusal.
template <typename T>
std::optional<platform::FieldError>
appendChecked(const std::vector<T>& read, std::vector<T>& list,
              std::optional<platform::FieldError> (*fault)(const std::vector<T>&)) {
    auto refusal = fault(read);
    if (!refusal)
        list.insert(list.end(), read.begin(), read.end());
    return refusal;
}

template <typename T, typename Text> std::string joined(const std::vector<T>& items, Text text) {
    std::string out;
    for (const T& item : items)
        out += (out.empty() ? "" : ",") + text(item);
    return out;
}

} // namespace

void parseAltaPairs(const std::string& value, std::vector<AltaPair>& pairs) {
    for (const std::string_view piece : platform::splitOn(value, ',')) {
        const auto dash = piece.find('-');
        if (dash != std::string::npos)
            pairs.push_back({trimmed(std::string(piece.substr(0, dash))),
                             trimmed(std::string(piece.substr(dash + 1)))});
        else if (!piece.empty())
            pairs.push_back({std::string(piece), {}});
    }
}

void parseAltaEntries(const std::string& value, std::vector<AltaEntry>& entries) {
    for (const std::string_view field : platform::splitOn(value, ',')) {
        const std::string piece(field);
        const auto desc = piece.find("DESC:");
        if (desc != std::string::npos)
            entries.push_back({AltaEntry::description, trimmed(piece.substr(desc + 5))});
        else if (!piece.empty())
            entries.push_back({AltaEntry::name, piece});
    }
}

namespace {

// The refusal of a record's fields, after its values are taken into `points`
// when it is whole.
std::optional<platform::FieldError> takeRecord(int keyword, const std::string& value,
                                               AltaPoints& points) {
    switch (keyword) {
    case kwPairs: {
        std::vector<AltaPair> read;
        parseAltaPairs(value, read);
        return appendChecked(read, points.pairs, pairsFault);
    }
    case kwMaxPoints: {
        const platform::FieldValue<int> max = maxPointsOf(value);
        if (!max)
            return max.error();
        points.maxPoints = *max;
        return std::nullopt;
    }
    case kwAll: {
        std::vector<AltaEntry> read;
        parseAltaEntries(value, read);
        return appendChecked(read, points.entries, entriesFault);
    }
    default:
        return platform::missingField("keyword");
    }
}

} // namespace

bool readAltaPointsFile(const std::filesystem::path& path, AltaPoints& points,
                        std::vector<std::string>& errors, std::vector<std::string>& refused) {
    if (path.empty()) {
        errors.push_back("ALTA reporting option chosen.\nBut no alta points file has been chosen");
        return false;
    }
    points.pairs.clear();
    points.entries.clear();
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored))
        return true;
    platform::TextFileReader reader(path);
    if (!reader.isOpen()) {
        errors.push_back("Error opening ALTA Points file: " + path.string());
        return false;
    }
    std::string line;
    while (reader.next(line)) {
        const std::string text = keptRecordText(line);
        if (text.empty())
            continue;
        const std::string value = recordValueOf(text);
        auto fault = keywordFault(text, value);
        if (!fault)
            fault = takeRecord(keywordOf(text), value, points);
        if (fault)
            refused.push_back(
                keywordRecordRefusal(path.string(), reader.lineNumber(), text, fault->sentence()));
    }
    return true;
}

bool readAltaPointsFile(const std::filesystem::path& path, AltaPoints& points,
                        std::vector<std::string>& errors) {
    std::vector<std::string> refused;
    const bool read = readAltaPointsFile(path, points, errors, refused);
    errors.insert(errors.end(), refused.begin(), refused.end());
    return read;
}

std::string altaPointsFileText(const AltaPoints& points) {
    const std::string entries = joined(points.entries, [](const AltaEntry& e) {
        return e.kind == AltaEntry::description ? "DESC:" + e.text : e.text;
    });
    const std::string pairs =
        joined(points.pairs, [](const AltaPair& p) { return p.from + "-" + p.to; });
    return "RPT_ALL_MAX_PTS " + std::to_string(points.maxPoints) + "\r\nREL_ERR_ALL " + entries +
           "\r\nREL_ERR_PAIRS " + pairs + "\r\n";
}

bool writeAltaPointsFile(const std::filesystem::path& path, const AltaPoints& points,
                         std::string& error) {
    if (path.empty()) {
        error = "ALTA reporting option chosen.\nBut no alta points file has been chosen";
        return false;
    }
    return platform::replaceFile(path, altaPointsFileText(points), error);
}

std::string altaPointsFilePath(const std::string& name) {
    return name.empty() ? name : projectRelativePath(name);
}

void readRelErrPointNames(const std::string& path, std::vector<std::string>& names) {
    AltaPoints points;
    std::vector<std::string> errors;
    readAltaPointsFile(altaPointsFilePath(path), points, errors);
    for (const std::string& error : errors)
        writeLine(errFile, error);
    for (const AltaPair& pair : points.pairs) {
        names.push_back(pair.from);
        names.push_back(pair.to);
    }
    for (const AltaEntry& entry : points.entries)
        names.push_back(entry.text);
}
