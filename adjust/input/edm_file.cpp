#include "input/edm_file.hpp"

#include "model/settings/text_fields.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/file_replace.hpp"
#include "platform/line_reader.hpp"

#include <array>

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

double number(const std::string& text, int n) {
    return platform::atofC(field(text, n));
}

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

bool readAtmosphere(const std::string& text, CALIBRATE_RAWREC& record) {
    const auto fields = commaFields(text);
    if (fields.size() > 5)
        return false;
    const auto at = [&fields](std::size_t i) { return i < fields.size() ? fields[i] : ""; };
    record.applyCorrection = at(0) == "ON" ? 1 : 0;
    record.wetBulb = at(1) == "WET" ? 1 : 0;
    record.refractionIndex = platform::atofC(at(2));
    record.wavelength_um = platform::atofC(at(3));
    record.vapourPressure_mmHg = platform::atofC(at(4));
    return true;
}

bool readConstants(const std::string& text, CALIBRATE_RAWREC& record) {
    std::string trimmed = text;
    trimLineEnd(trimmed);
    const auto fields = commaFields(trimmed);
    if (fields.size() > 2)
        return false;
    record.edmConstant = platform::atofC(fields[0]);
    record.reflectorConstant = fields.size() > 1 ? platform::atofC(fields[1]) : 0.0;
    return true;
}

void readObservation(const std::string& text, CALIBRATE_RAWREC& record) {
    record.fromStation = field(text, 0);
    record.instrumentHeight = number(text, 1);
    record.fromElevation = number(text, 2);
    record.toStation = field(text, 3);
    record.reflectorHeight = number(text, 4);
    record.toElevation = number(text, 5);
    record.dryTemp_C = number(text, 6);
    record.pressure_mmHg = number(text, 7);
    record.wetTemp_C = number(text, 8);
    record.slopeDistance = number(text, 9);
    record.publishedDistance = number(text, 10);
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

bool edmRecordOf(const std::string& line, CALIBRATE_RAWREC& record) {
    const int kind = lookupRecordCode(line);
    if (kind == edmNoKind)
        return false;
    std::string stripped = line;
    stripBlanks(stripped);
    const std::string text = stripped.size() > 3 ? stripped.substr(3) : std::string();
    record = CALIBRATE_RAWREC{};
    record.kind = kind;
    bool kept = true;
    switch (kind) {
    case edmDateTime:
        kept = readDateTime(text, record);
        break;
    case edmAtmosphere:
        kept = readAtmosphere(text, record);
        break;
    case edmConstants:
        kept = readConstants(text, record);
        break;
    case edmObservation:
        readObservation(text, record);
        break;
    default:
        record.text = text;
        trimLineEnd(record.text);
        break;
    }
    fitEdmRecordTexts(record);
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

int readEdmRecords(const std::filesystem::path& path, std::vector<CALIBRATE_RAWREC>& records) {
    platform::TextFileReader file(path);
    if (!file.isOpen())
        return 1;
    std::string line;
    CALIBRATE_RAWREC record;
    while (file.next(line))
        if (edmRecordOf(line, record))
            records.push_back(record);
    return 0;
}

int writeEdmRecords(const std::filesystem::path& path,
                    const std::vector<CALIBRATE_RAWREC>& records) {
    std::string text;
    for (const CALIBRATE_RAWREC& record : records)
        text += edmRecordLine(record);
    std::string error;
    return platform::replaceFile(path, text, error) ? 0 : 1;
}
