#include "input/closure_file.hpp"

#include "model/point_name.hpp"
#include "model/settings/text_fields.hpp"
#include "platform/file_replace.hpp"
#include "platform/line_reader.hpp"

#include <array>
#include <cctype>
#include <limits>

namespace {

// In keyword index order: the first one found in a line decides.
constexpr std::array<const char*, 5> keywords = {"TRAV_LIST", "ANG_CLOSURE", "VERT_CLOSURE",
                                                 "TRAV_END", "TRAV_TYPE"};
constexpr std::array<const char*, 4> typeNames = {"LOOP_INTERIOR_REF", "LOOP_EXTERIOR_REF",
                                                  "PT_TO_PT", "GPS_LOOP"};

} // namespace

std::string keptRecordText(const std::string& line) {
    std::string kept;
    for (const char c : line)
        kept += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    squeezeBlanks(kept);
    return kept;
}

std::optional<platform::FieldError> controlByteFault(std::string_view text,
                                                     std::string_view field) {
    if (text.empty())
        return std::nullopt;
    return platform::readName(text, field, std::numeric_limits<std::size_t>::max()).fault();
}

std::optional<platform::FieldError> keywordFault(const std::string& text,
                                                 const std::string& value) {
    const std::size_t keywordLength = value.empty() ? text.size() : text.size() - value.size() - 1;
    return controlByteFault(std::string_view(text).substr(0, keywordLength), "keyword");
}

std::optional<platform::FieldError> pointNameFault(std::string_view name) {
    if (name.empty())
        return std::nullopt;
    return platform::readName(name, "point name", pointNameMax).fault();
}

std::optional<platform::FieldError> rangeFault(std::string_view range) {
    const auto dash = range.find('-');
    if (const auto fault = pointNameFault(range.substr(0, dash)))
        return fault;
    return dash == std::string_view::npos ? std::nullopt : pointNameFault(range.substr(dash + 1));
}

std::string keywordRecordRefusal(std::string_view path, int line, std::string_view record,
                                 std::string_view sentence) {
    return "Error parsing record: " + platform::recordExcerpt(record) +
           "\r\nFile: " + std::string(path) + ", line " + std::to_string(line) + ": " +
           std::string(sentence);
}

std::string recordValueOf(const std::string& text) {
    if (countFields(text) < 2)
        return {};
    return text.substr(text.find_first_of(" ,\t") + 1);
}

namespace {

// How a refusal names the value of each keyword, in keyword index order.
constexpr std::array<const char*, 5> valueFields = {
    "point list", "ANG_CLOSURE value", "VERT_CLOSURE value", "TRAV_END value", "TRAV_TYPE value"};

int keywordOf(const std::string& text) {
    for (std::size_t i = 0; i < keywords.size(); ++i)
        if (text.find(keywords[i]) != std::string::npos)
            return static_cast<int>(i);
    return kwNone;
}

// 1 for "ON", 0 for "OFF", -1 for anything else.
int switchValue(const std::string& value) {
    if (value == "ON")
        return 1;
    return value == "OFF" ? 0 : -1;
}

void setSwitch(int& setting, const std::string& value) {
    const int on = switchValue(value);
    if (on >= 0)
        setting = on;
}

const char* onOff(int setting) {
    return setting != 0 ? "ON" : "OFF";
}

} // namespace

namespace {

// The names of a point list (blanks, commas and tabs between them), each
// end of a range read as a point name. Two commas with nothing but blanks
// between them are a name lost, not a separator: the traverse read without
// it is another traverse.
std::optional<platform::FieldError> pointListFault(const std::string& value) {
    const bool commaSeparated = value.find(',') != std::string::npos;
    for (const std::string_view range :
         commaSeparated ? platform::splitOn(value, ',') : platform::splitOnBlanks(value)) {
        if (range.empty())
            return platform::readName(range, "point name", pointNameMax).fault();
        for (const std::string_view name : platform::splitOnBlanks(range))
            if (auto fault = rangeFault(name))
                return fault;
    }
    return std::nullopt;
}

constexpr std::array<const char*, 2> switchWords = {"ON", "OFF"};

// A setting's word outside its list left the setting as the definition
// before had it: a slip in "PT_TO_PT" closed a traverse as a loop, one in
// "ON" kept a closure off that the user asked for.
std::optional<platform::FieldError> settingWordFault(const ClosureRecord& record) {
    const char* field = valueFields[record.keyword];
    if (record.keyword == kwTravType)
        return platform::readWord(record.value, field, typeNames).fault();
    if (record.keyword == kwAngClosure || record.keyword == kwVertClosure)
        return platform::readWord(record.value, field, switchWords).fault();
    return std::nullopt;
}

std::optional<platform::FieldError> recordFault(const ClosureRecord& record) {
    if (record.keyword == kwNone)
        return record.text.empty() ? std::nullopt
                                   : std::optional(platform::missingField("keyword"));
    if (auto fault = keywordFault(record.text, record.value))
        return fault;
    if (record.keyword == kwTravList)
        return pointListFault(record.value);
    if (auto fault = controlByteFault(record.value, valueFields[record.keyword]))
        return fault;
    return settingWordFault(record);
}

} // namespace

ClosureRecord closureRecordOf(const std::string& line, int lineNumber) {
    ClosureRecord record;
    record.text = keptRecordText(line);
    record.keyword = keywordOf(record.text);
    record.value = recordValueOf(record.text);
    record.lineNumber = lineNumber;
    if (const auto fault = recordFault(record))
        record.refusal = fault->sentence();
    return record;
}

std::string closureRecordRefusal(const std::filesystem::path& path, const ClosureRecord& record) {
    return keywordRecordRefusal(path.string(), record.lineNumber, record.text, record.refusal);
}

bool readClosureRecords(const std::filesystem::path& path, std::vector<ClosureRecord>& records) {
    platform::TextFileReader reader(path);
    if (!reader.isOpen())
        return false;
    std::string line;
    while (reader.next(line))
        records.push_back(closureRecordOf(line, reader.lineNumber()));
    return !reader.readFailed();
}

void applyClosureSetting(ClosureSettings& settings, const ClosureRecord& record) {
    switch (record.keyword) {
    case kwAngClosure:
        setSwitch(settings.angClosure, record.value);
        break;
    case kwVertClosure:
        setSwitch(settings.vertClosure, record.value);
        break;
    case kwTravType:
        for (std::size_t i = 0; i < typeNames.size(); ++i)
            if (record.value == typeNames[i])
                settings.travType = static_cast<int>(i);
        break;
    default:
        break;
    }
}

const char* closureTypeName(int type) {
    return type >= 0 && type < static_cast<int>(typeNames.size()) ? typeNames[type] : "";
}

bool readClosureDefinitions(const std::filesystem::path& path,
                            std::vector<ClosureDefinition>& definitions,
                            std::vector<std::string>& errors) {
    std::vector<ClosureRecord> records;
    if (!readClosureRecords(path, records))
        return false;
    ClosureSettings settings;
    simpleList<ptNameRec> names;
    for (const ClosureRecord& record : records) {
        std::string error;
        if (!record.refusal.empty()) {
            errors.push_back(closureRecordRefusal(path, record));
            continue;
        }
        switch (record.keyword) {
        case kwTravList:
            if (parseTrvPtList(record.value, names, RangeNames{}, error) != sequenceParsed)
                errors.push_back(error);
            break;
        case kwTravEnd:
            definitions.push_back({trvPtListToText(names), settings});
            names.clear();
            break;
        case kwNone:
            break;
        default:
            applyClosureSetting(settings, record);
            break;
        }
    }
    return true;
}

std::string closureFileText(const std::vector<ClosureDefinition>& definitions) {
    std::string text;
    for (const ClosureDefinition& definition : definitions) {
        if (definition.pointList.empty())
            continue;
        const ClosureSettings& s = definition.settings;
        text += std::string("VERT_CLOSURE ") + onOff(s.vertClosure) + "\r\n";
        text += std::string("ANG_CLOSURE ") + onOff(s.angClosure) + "\r\n";
        text += std::string("TRAV_TYPE ") + closureTypeName(s.travType) + "\r\n";
        text += "TRAV_LIST " + definition.pointList + "\r\n";
        text += "TRAV_END\r\n";
    }
    return text;
}

bool writeClosureFile(const std::filesystem::path& path,
                      const std::vector<ClosureDefinition>& definitions, std::string& error) {
    return platform::replaceFile(path, closureFileText(definitions), error);
}
