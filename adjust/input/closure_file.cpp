#include "input/closure_file.hpp"

#include "model/settings/text_fields.hpp"
#include "platform/file_replace.hpp"
#include "platform/line_reader.hpp"

#include <array>
#include <cctype>

namespace {

// In keyword index order: the first one found in a line decides.
constexpr std::array<const char*, 5> keywords = {"TRAV_LIST", "ANG_CLOSURE", "VERT_CLOSURE",
                                                 "TRAV_END", "TRAV_TYPE"};
constexpr std::array<const char*, 4> typeNames = {"LOOP_INTERIOR_REF", "LOOP_EXTERIOR_REF",
                                                  "PT_TO_PT", "GPS_LOOP"};

} // namespace

std::string keptRecordText(const std::string& line) {
    std::string kept;
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\t' || (byte >= 0x20 && byte <= 0x7F))
            kept += static_cast<char>(std::toupper(byte));
    }
    squeezeBlanks(kept);
    return kept;
}

std::string recordValueOf(const std::string& text) {
    if (countFields(text) < 2)
        return {};
    return text.substr(text.find_first_of(" ,\t") + 1);
}

namespace {

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

std::string errorRecordText(const ClosureRecord& record, const std::filesystem::path& path) {
    return "Error parsing record: " + record.text + "\nFile: " + path.string();
}

} // namespace

ClosureRecord closureRecordOf(const std::string& line, int lineNumber) {
    ClosureRecord record;
    record.text = keptRecordText(line);
    record.keyword = keywordOf(record.text);
    record.value = recordValueOf(record.text);
    record.lineNumber = lineNumber;
    return record;
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
            errors.push_back(errorRecordText(record, path));
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
