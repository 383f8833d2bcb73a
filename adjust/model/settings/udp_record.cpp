#include "model/settings/udp_record.hpp"

#include "model/packed_degrees.hpp"
#include "model/settings/key_value_file.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/paths.hpp"
#include "platform/record_fields.hpp"

#include <array>

using platform::formatC;

namespace {

// How a field is written to and read from the file.
enum class FieldForm { integer, number, text, angle };

struct UdpField {
    const char* key;
    FieldForm form;
    int udpRec::*integer = nullptr;
    double udpRec::*number = nullptr;
    std::string udpRec::*text = nullptr;
    const char* numberFormat = "%f";
};

UdpField intField(const char* key, int udpRec::*member) {
    return {key, FieldForm::integer, member, nullptr, nullptr};
}
UdpField numberField(const char* key, double udpRec::*member, const char* format = "%f") {
    return {key, FieldForm::number, nullptr, member, nullptr, format};
}
UdpField textField(const char* key, std::string udpRec::*member) {
    return {key, FieldForm::text, nullptr, nullptr, member};
}
UdpField angleField(const char* key, double udpRec::*member) {
    return {key, FieldForm::angle, nullptr, member, nullptr};
}

// The fields in file order; a field's index is its key index.
const std::array<UdpField, udpRec::keyCount>& udpFields() {
    static const std::array<UdpField, udpRec::keyCount> fields = {
        intField("EllipsInt", &udpRec::EllipsInt),
        numberField("EllipseA", &udpRec::EllipseA),
        numberField("EllipseF", &udpRec::EllipseF, "%.14f"),
        numberField("K", &udpRec::K),
        numberField("DX", &udpRec::DX),
        numberField("DY", &udpRec::DY),
        numberField("DZ", &udpRec::DZ),
        numberField("RX", &udpRec::RX),
        numberField("RY", &udpRec::RY),
        numberField("RZ", &udpRec::RZ),
        intField("ProjInt", &udpRec::ProjInt),
        textField("ProjName", &udpRec::ProjName),
        textField("DatumName", &udpRec::DatumName),
        numberField("FalseEastings", &udpRec::FalseEastings),
        numberField("FalseNorthings", &udpRec::FalseNorthings),
        angleField("CentralMeridian", &udpRec::CentralMeridian),
        angleField("CentralOrNorthLatitude", &udpRec::CentralOrNorthLatitude),
        angleField("ScaleOrRefLatitude", &udpRec::ScaleOrRefLatitude),
        angleField("SkewOrSouthLatitude", &udpRec::SkewOrSouthLatitude),
        numberField("zone_width", &udpRec::zone_width),
        numberField("projection_scale", &udpRec::projection_scale, "%.11f"),
        angleField("latOrigin", &udpRec::latOrigin),
        angleField("lonOrigin", &udpRec::lonOrigin),
    };
    return fields;
}

// Angles travel as signed packed dd.mmss with six decimals of the second.
constexpr int angleSecondDecimals = 6;

std::string valueText(const udpRec& rec, const UdpField& field) {
    switch (field.form) {
    case FieldForm::integer:
        return formatC("%d", rec.*field.integer);
    case FieldForm::number:
        return formatC(field.numberFormat, rec.*field.number);
    case FieldForm::text:
        return rec.*field.text;
    case FieldForm::angle:
        return angleToDmsPackedPrec(rec.*field.number, angleSecondDecimals);
    }
    return {};
}

// The codes each int field may hold: the ellipsoids (16 the record's own
// axis and flattening) and the projection types.
constexpr int lastEllipsoidCode = 16;
constexpr int lastProjectionType = udpObliqueMercatorCentre;

int lastCodeOf(const UdpField& field) {
    return field.integer == &udpRec::EllipsInt ? lastEllipsoidCode : lastProjectionType;
}

// A number field's value, read whole: an angle as packed dd.mmss (minutes
// and seconds below 60) in radians.
platform::FieldValue<double> numberValue(const UdpField& field, const std::string& value) {
    switch (field.form) {
    case FieldForm::integer: {
        const platform::FieldValue<long> whole = platform::readWholeNumber(value, field.key);
        if (!whole)
            return whole.error();
        return static_cast<double>(*whole);
    }
    case FieldForm::angle: {
        const platform::FieldValue<double> packed = platform::readPackedAngle(value, field.key);
        if (!packed)
            return packed;
        return dmsToRadians(*packed);
    }
    case FieldForm::number:
    case FieldForm::text:
        break;
    }
    return platform::readNumber(value, field.key);
}

// Sets the field from its text; why the text is refused, or empty.
std::string setValue(udpRec& rec, const UdpField& field, const std::string& value) {
    if (field.form == FieldForm::text) {
        rec.*field.text = value;
        return {};
    }
    const platform::FieldValue<double> number = numberValue(field, value);
    if (!number)
        return number.error().sentence();
    if (field.form != FieldForm::integer) {
        rec.*field.number = *number;
        return {};
    }
    if (*number < 0 || *number > lastCodeOf(field))
        return formatC("The %s \"%s\" is not a code from 0 to %d.", field.key,
                       platform::recordExcerpt(value).c_str(), lastCodeOf(field));
    rec.*field.integer = static_cast<int>(*number);
    return {};
}

const SettingsFileMessages udpFileMessages = {
    "Invalid UDP file.\n", "Error opening UDP file: ", "Error opening UDP file: "};

} // namespace

void udpRec::reset() {
    EllipsInt = 0;
    EllipseA = EllipseF = K = DX = DY = DZ = RX = RY = RZ = 0.0;
    ProjInt = 0;
    ProjName.clear();
    DatumName.clear();
    FalseEastings = FalseNorthings = 0.0;
    CentralMeridian = CentralOrNorthLatitude = ScaleOrRefLatitude = SkewOrSouthLatitude = 0.0;
    zone_width = projection_scale = latOrigin = lonOrigin = 0.0;
}

std::vector<std::pair<std::string, std::string>> udpRec::fileEntries() const {
    std::vector<std::pair<std::string, std::string>> entries;
    for (const UdpField& field : udpFields())
        entries.emplace_back(field.key, valueText(*this, field));
    return entries;
}

int udpRec::writeFile() {
    return writeSettingsFile(path, fileEntries(), udpFileMessages) ? ok : failed;
}

int udpRec::readFile() {
    return readSettingsFile(path, udpFileMessages,
                            [this](const std::string& line, std::string& refusal) {
                                return applyLine(line, refusal);
                            })
               ? ok
               : failed;
}

int udpRec::load(const std::string& filePath) {
    path = filePath;
    return readFile();
}

int udpRec::readKeyLine(const std::string& text) {
    std::string refusal;
    return keyIndexOf(text, refusal);
}

int udpRec::keyIndexOf(const std::string& text, std::string& refusal) {
    const KeyValueLine line = parseKeyValueLine(text);
    if (!line.hasEquals)
        return unknownKey;
    const auto& fields = udpFields();
    for (int index = 0; index < keyCount; ++index) {
        if (line.key == fields[static_cast<std::size_t>(index)].key) {
            refusal = setValue(*this, fields[static_cast<std::size_t>(index)], line.value);
            return refusal.empty() ? index : refusedValue;
        }
    }
    return unknownKey;
}

SettingLine udpRec::applyLine(const std::string& text, std::string& refusal) {
    const int index = keyIndexOf(text, refusal);
    return index == unknownKey     ? SettingLine::notASetting
           : index == refusedValue ? SettingLine::refused
                                   : SettingLine::taken;
}
