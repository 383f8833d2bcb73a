#include "input/edm_file.hpp"

#include "input/number_fields.hpp"
#include "model/settings/text_fields.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/file_replace.hpp"
#include "platform/line_reader.hpp"

#include <array>
#include <optional>
#include <string_view>

namespace {

// In kind order.
constexpr std::array<const char*, 8> recordCodes = {"IN", "DT", "RF", "WE", "CO", "AT", "CN", "OB"};

std::vector<std::string> commaFields(const std::string& text) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const auto comma = text.find(',', start);
        fields.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos)
            return fields;
        start = comma + 1;
    }
}

std::string field(const std::string& text, int n) {
    std::string value;
    getDelimitedField(text, value, ',', n);
    return value;
}

// The number fields of one line: an empty field reads as 0; the first field
// that holds anything other than a number is kept, named, in `damaged`.
class LineNumbers {
public:
    double operator()(const std::string& text, const char* name) {
        const std::string_view trimmed = trimmedField(text);
        if (trimmed.empty())
            return 0.0;
        if (const std::optional<double> value = platform::parseDataNumber(trimmed))
            return *value;
        if (damaged.empty())
            damaged = quotedField(name, trimmed);
        return 0.0;
    }
    std::string damaged;

private:
    static std::string_view trimmedField(std::string_view text) {
        const auto first = text.find_first_not_of(" \t\r\n");
        if (first == std::string_view::npos)
            return {};
        return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
    }
};

bool readDateTime(const std::string& text, CALIBRATE_RAWREC& record) {
    std::string trimmed = text;
    trimLineEnd(trimmed);
    const auto fields = commaFields(trimmed);
    if (fields.size() > 2)
        return false;
    record.text = fields[0];
    record.time = fields.size() > 1 ? fields[1] : std::string();
    return true;
}

bool readAtmosphere(const std::string& text, CALIBRATE_RAWREC& record, LineNumbers& number) {
    const auto fields = commaFields(text);
    if (fields.size() > 5)
        return false;
    const auto at = [&fields](std::size_t i) { return i < fields.size() ? fields[i] : ""; };
    record.applyCorrection = at(0) == "ON" ? 1 : 0;
    record.wetBulb = at(1) == "WET" ? 1 : 0;
    record.refractionIndex = number(at(2), "index of refraction");
    record.wavelength_um = number(at(3), "wavelength");
    record.vapourPressure_mmHg = number(at(4), "vapour pressure");
    return true;
}

bool readConstants(const std::string& text, CALIBRATE_RAWREC& record, LineNumbers& number) {
    std::string trimmed = text;
    trimLineEnd(trimmed);
    const auto fields = commaFields(trimmed);
    if (fields.size() > 2)
        return false;
    record.edmConstant = number(fields[0], "EDM constant");
    record.reflectorConstant = fields.size() > 1 ? number(fields[1], "reflector constant") : 0.0;
    return true;
}

void readObservation(const std::string& text, CALIBRATE_RAWREC& record, LineNumbers& number) {
    record.fromStation = field(text, 0);
    record.instrumentHeight = number(field(text, 1), "instrument height");
    record.fromElevation = number(field(text, 2), "from elevation");
    record.toStation = field(text, 3);
    record.reflectorHeight = number(field(text, 4), "reflector height");
    record.toElevation = number(field(text, 5), "to elevation");
    record.dryTemp_C = number(field(text, 6), "dry-bulb temperature");
    record.pressure_mmHg = number(field(text, 7), "pressure");
    record.wetTemp_C = number(field(text, 8), "wet-bulb temperature");
    record.slopeDistance = number(field(text, 9), "slope distance");
    record.publishedDistance = number(field(text, 10), "published distance");
}

void cut(std::string& text, std::size_t capacity) {
    if (text.size() > capacity)
        text.resize(capacity);
}

} // namespace

int lookupRecordCode(const std::string& line) {
    std::string stripped = line;
    stripBlanks(stripped);
    for (std::size_t kind = 0; kind < recordCodes.size(); ++kind)
        if (stripped.compare(0, 2, recordCodes[kind]) == 0)
            return static_cast<int>(kind);
    return edmNoKind;
}

bool edmRecordOf(const std::string& line, CALIBRATE_RAWREC& record, std::string& damaged) {
    const int kind = lookupRecordCode(line);
    if (kind == edmNoKind)
        return false;
    std::string stripped = line;
    stripBlanks(stripped);
    const std::string text = stripped.size() > 3 ? stripped.substr(3) : std::string();
    record = CALIBRATE_RAWREC{};
    record.kind = kind;
    LineNumbers number;
    bool kept = true;
    switch (kind) {
    case edmDateTime:
        kept = readDateTime(text, record);
        break;
    case edmAtmosphere:
        kept = readAtmosphere(text, record, number);
        break;
    case edmConstants:
        kept = readConstants(text, record, number);
        break;
    case edmObservation:
        readObservation(text, record, number);
        break;
    default:
        record.text = text;
        trimLineEnd(record.text);
        break;
    }
    fitEdmRecordTexts(record);
    damaged = number.damaged;
    return kept;
}

void fitEdmRecordTexts(CALIBRATE_RAWREC& record) {
    cut(record.text, record.kind == edmDateTime ? edmDateCapacity : edmTextCapacity);
    cut(record.time, edmTimeCapacity);
    cut(record.fromStation, edmFromCapacity);
    cut(record.toStation, edmToCapacity);
}

std::string edmRecordLine(const CALIBRATE_RAWREC& r) {
    using platform::formatC;
    switch (r.kind) {
    case edmDateTime:
        return formatC("DT,%s,%s\r\n", r.text.c_str(), r.time.c_str());
    case edmAtmosphere:
        return formatC("AT,%s,%s,%.7f,%.4f,%.7f\r\n", r.applyCorrection != 0 ? "ON" : "OFF",
                       r.wetBulb != 0 ? "WET" : "VP", r.refractionIndex, r.wavelength_um,
                       r.vapourPressure_mmHg);
    case edmConstants:
        return formatC("CN,%f,%f\r\n", r.edmConstant, r.reflectorConstant);
    case edmObservation:
        return formatC("OB,%s,%.4f,%.4f,%s,%.4f,%.4f,%.2f,%.2f,%.2f,%.4f,%.4f\r\n",
                       r.fromStation.c_str(), r.instrumentHeight, r.fromElevation,
                       r.toStation.c_str(), r.reflectorHeight, r.toElevation, r.dryTemp_C,
                       r.pressure_mmHg, r.wetTemp_C, r.slopeDistance, r.publishedDistance);
    default:
        if (r.kind < 0 || r.kind >= edmAtmosphere)
            return {};
        return formatC("%s,%s\r\n", recordCodes[static_cast<std::size_t>(r.kind)], r.text.c_str());
    }
}

int readEdmRecords(const std::filesystem::path& path, std::vector<CALIBRATE_RAWREC>& records,
                   std::string& refusal) {
    platform::TextFileReader file(path);
    if (!file.isOpen())
        return edmFileUnopened;
    std::vector<CALIBRATE_RAWREC> read;
    std::string line;
    CALIBRATE_RAWREC record;
    std::string damaged;
    while (file.next(line)) {
        const bool kept = edmRecordOf(line, record, damaged);
        if (!damaged.empty()) {
            refusal = platform::formatC("%s, line %d: ", path.string().c_str(), file.lineNumber()) +
                      notANumberLine(damaged);
            return edmFileDamaged;
        }
        if (kept)
            read.push_back(record);
    }
    records.insert(records.end(), read.begin(), read.end());
    return edmFileRead;
}

int writeEdmRecords(const std::filesystem::path& path,
                    const std::vector<CALIBRATE_RAWREC>& records) {
    std::string text;
    for (const CALIBRATE_RAWREC& record : records)
        text += edmRecordLine(record);
    std::string error;
    return platform::replaceFile(path, text, error) ? 0 : 1;
}
