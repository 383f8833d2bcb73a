#include "model/settings/std_err_record.hpp"

#include "model/settings/key_value_file.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/record_fields.hpp"

#include <array>

namespace {

struct SefField {
    const char* key;
    double stdErrRec::*member;
    double defaultValue;
};

// The fields in file order; a field's index is its key index.
const std::array<SefField, stdErrRec::keyCount>& sefFields() {
    using R = stdErrRec;
    static const std::array<SefField, stdErrRec::keyCount> fields = {{
        {"SEDistCnstn", &R::SEDistCnstn, 0.005},
        {"SEDistPPM", &R::SEDistPPM, 5.0},
        {"SEHAngPoint", &R::SEHAngPoint, 5.0},
        {"SEHAngRead", &R::SEHAngRead, 5.0},
        {"SEVAngPoint", &R::SEVAngPoint, 7.0},
        {"SEVAngRead", &R::SEVAngRead, 7.0},
        {"SETSTrgtCntr", &R::SETSTrgtCntr, 0.005},
        {"SETSInstCntr", &R::SETSInstCntr, 0.005},
        {"SETrgtHght", &R::SETrgtHght, 0.005},
        {"SEInstHght", &R::SEInstHght, 0.005},
        {"SEAz", &R::SEAz, 5.0},
        {"SENorth", &R::SENorth, 0.01},
        {"SEEast", &R::SEEast, 0.01},
        {"SEElev", &R::SEElev, 0.02},
        {"AvgDistToBS", &R::AvgDistToBS, 150.0},
        {"SELevelRodRead", &R::SELevelRodRead, 0.0001},
        {"SECollimation", &R::SECollimation, 3.0},
        {"GPSInstCntr", &R::GPSInstCntr, 0.005},
        {"VectorSEFactor", &R::VectorSEFactor, 0.0},
    }};
    return fields;
}

// Two blanks before "file" when reading, as users have always seen it.
const SettingsFileMessages sefFileMessages = {
    "Invalid standard error file.\n",
    "Error opening standard error  file: ", "Error opening standard error file: "};

} // namespace

void stdErrRec::setDefaults() {
    for (const SefField& field : sefFields())
        this->*field.member = field.defaultValue;
}

int stdErrRec::writeFile() {
    std::vector<std::pair<std::string, std::string>> entries;
    for (const SefField& field : sefFields())
        entries.emplace_back(field.key, platform::formatC("%f", this->*field.member));
    return writeSettingsFile(path, entries, sefFileMessages) ? ok : failed;
}

int stdErrRec::readFile() {
    return readSettingsFile(path, sefFileMessages,
                            [this](const std::string& line, std::string& refusal) {
                                const int index = keyIndexOf(line, refusal);
                                return index == unknownKey     ? SettingLine::notASetting
                                       : index == refusedValue ? SettingLine::refused
                                                               : SettingLine::taken;
                            })
               ? ok
               : failed;
}

int stdErrRec::load(const std::string& filePath) {
    path = filePath;
    return readFile();
}

int stdErrRec::readKeyLine(const std::string& text) {
    std::string refusal;
    return keyIndexOf(text, refusal);
}

int stdErrRec::keyIndexOf(const std::string& text, std::string& refusal) {
    const KeyValueLine line = parseKeyValueLine(text);
    if (!line.hasEquals)
        return unknownKey;
    const auto& fields = sefFields();
    for (int index = 0; index < keyCount; ++index) {
        const SefField& field = fields[static_cast<std::size_t>(index)];
        if (line.key != field.key)
            continue;
        const platform::FieldValue<double> value = platform::readNumber(line.value, field.key);
        if (!value) {
            refusal = value.error().sentence();
            return refusedValue;
        }
        this->*field.member = *value;
        return index;
    }
    return unknownKey;
}
