#include "input/edm_file.hpp"

#include "input/refused_records.hpp"
#include "model/settings/text_fields.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/file_replace.hpp"
#include "platform/line_reader.hpp"
#include "platform/record_fields.hpp"

#include <array>
#include <optional>
#include <string_view>

namespace {

// In kind order.
constexpr std::array<const char*, 8> recordCodes = {"IN", "DT", "RF", "WE", "CO", "AT", "CN", "OB"};

// The fields of a record's text, split at commas, blanks and tabs around
// each removed.
std::vector<std::string_view> commaFields(std::string_view text) {
    return platform::splitOn(text, ',');
}

std::string_view fieldOr(const std::vector<std::string_view>& fields, std::size_t i) {
    return i < fields.size() ? fields[i] : std::string_view();
}

// The reading of one line: an empty number field reads as 0; the first
// refusal (a field that is not wholly a number, more fields than the
// record holds) is kept as its sentence in `damaged`.
class LineFields {
public:
    explicit LineFields(std::string_view text) : fields(commaFields(text)) {}

    double number(std::size_t i, const char* name) {
        const std::string_view text = fieldOr(fields, i);
        if (text.empty())
            return 0.0;
        const platform::FieldValue<double> value = platform::readNumber(text, name);
        if (value)
            return *value;
        refuse(value.error().sentence());
        return 0.0;
    }
    std::string text(std::size_t i) const { return std::string(fieldOr(fields, i)); }

    // A field beyond the record's last is a slip (a decimal comma splits a
    // number in two, so every field after it would shift), never one to drop
    // or pass over.
    void most(std::size_t count) {
        if (const auto error = platform::checkFieldCount(fields.size(), 1, count))
            refuse(error->sentence());
    }

    void refuse(std::string sentence) {
        if (damaged.empty())
            damaged = std::move(sentence);
    }

    std::vector<std::string_view> fields;
    std::string damaged;
};

void readDateTime(LineFields& line, CALIBRATE_RAWREC& record) {
    line.most(2);
    record.text = line.text(0);
    record.time = line.text(1);
}

void readAtmosphere(LineFields& line, CALIBRATE_RAWREC& record) {
    line.most(5);
    record.applyCorrection = line.text(0) == "ON" ? 1 : 0;
    record.wetBulb = line.text(1) == "WET" ? 1 : 0;
    record.refractionIndex = line.number(2, "index of refraction");
    record.wavelength_um = line.number(3, "wavelength");
    record.vapourPressure_mmHg = line.number(4, "vapour pressure");
}

void readConstants(LineFields& line, CALIBRATE_RAWREC& record) {
    line.most(2);
    record.edmConstant = line.number(0, "EDM constant");
    record.reflectorConstant = line.number(1, "reflector constant");
}

void readObservation(LineFields& line, CALIBRATE_RAWREC& record) {
    line.most(11);
    record.fromStation = line.text(0);
    record.instrumentHeight = line.number(1, "instrument height");
    record.fromElevation = line.number(2, "from elevation");
    record.toStation = line.text(3);
    record.reflectorHeight = line.number(4, "reflector height");
    record.toElevation = line.number(5, "to elevation");
    record.dryTemp_C = line.number(6, "dry-bulb temperature");
    record.pressure_mmHg = line.number(7, "pressure");
    record.wetTemp_C = line.number(8, "wet-bulb temperature");
    record.slopeDistance = line.number(9, "slope distance");
    record.publishedDistance = line.number(10, "published distance");
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
    std::string text = stripped.size() > 3 ? stripped.substr(3) : std::string();
    trimLineEnd(text);
    record = CALIBRATE_RAWREC{};
    record.kind = kind;
    LineFields fields(text);
    switch (kind) {
    case edmDateTime:
        readDateTime(fields, record);
        break;
    case edmAtmosphere:
        readAtmosphere(fields, record);
        break;
    case edmConstants:
        readConstants(fields, record);
        break;
    case edmObservation:
        readObservation(fields, record);
        break;
    default:
        record.text = text;
        break;
    }
    fitEdmRecordTexts(record);
    damaged = fields.damaged;
    return damaged.empty();
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
            refusal = refusedRecordLine(path.string(), file.lineNumber(), damaged, line);
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
