#include "input/converters/lettered_level_converter.hpp"

#include "input/converters/converter_files.hpp"
#include "input/converters/level_input_lines.hpp"
#include "model/point_name.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/record_fields.hpp"

#include <optional>
#include <string_view>
#include <vector>

using platform::formatC;

namespace {

struct ModeScales {
    char mode;
    double readings;
    double elevations;
};

constexpr ModeScales modeScales[] = {
    {'2', 10000, 1000}, {'3', 100000, 10000}, {'4', 100, 100},       {'5', 1000, 100},
    {'6', 10000, 1000}, {'7', 10000, 10000},  {'8', 100000, 100000}, {'A', 10000, 10000},
};
constexpr ModeScales otherModes{' ', 1000, 1000};

ModeScales scalesOf(char mode) {
    for (const ModeScales& scales : modeScales) {
        if (scales.mode == mode)
            return scales;
    }
    return otherModes;
}

// The comma-separated fields of one record line.
class Record {
public:
    explicit Record(const levelInputLine& line) : number_(line.number) {
        fields_ = platform::splitOn(line.text, ',');
        letter_ = line.text.front();
        const std::string mode = field(1);
        scales_ = scalesOf(mode.size() >= 2 ? mode[1] : ' ');
    }

    char letter() const { return letter_; }
    int lineNumber() const { return number_; }
    std::string field(std::size_t n) const {
        return n < fields_.size() ? std::string(fields_[n]) : std::string();
    }
    const ModeScales& scales() const { return scales_; }

private:
    std::vector<std::string_view> fields_;
    char letter_;
    int number_;
    ModeScales scales_;
};

// A scaled integer field; none when missing or not wholly an integer.
std::optional<double> scaledField(const Record& record, std::size_t n, double divisor) {
    const platform::FieldValue<long> value = platform::readWholeNumber(record.field(n), "reading");
    if (!value)
        return std::nullopt;
    return static_cast<double>(*value) / divisor;
}

struct Sight {
    std::string pointId;
    double reading = 0.0;
    std::string code;
};

// Turns the records of a file into .LEV lines.
class LevelRun {
public:
    explicit LevelRun(const std::vector<levelInputLine>& lines) : lines_(lines) {}

    // The .LEV text, or the fault (with `failed` set).
    std::string convert(const std::string& path, bool& failed) {
        failed = false;
        for (next_ = 0; next_ < lines_.size();) {
            const Record record(lines_[next_++]);
            const std::string fault = add(record);
            if (!fault.empty()) {
                failed = true;
                return faultAtLine(path, record.lineNumber(), fault);
            }
        }
        return text_;
    }

private:
    std::string add(const Record& record) {
        switch (record.letter()) {
        case 'b':
            return start(record);
        case 'g':
            return backsight(record);
        case 'i':
            return sight(record, held_);
        case 'k':
            return intermediate(record);
        case 'w':
            return end();
        default:
            return {};
        }
    }

    std::string start(const Record& record) {
        const auto elevation = scaledField(record, 4, record.scales().elevations);
        if (!elevation)
            return "start point without an elevation";
        startId_ = record.field(3);
        startElevation_ = *elevation;
        firstBacksight_ = true;
        held_.reset();
        return {};
    }

    std::string backsight(const Record& record) {
        const auto reading = scaledField(record, 2, record.scales().readings);
        if (!reading)
            return "backsight without a reading";
        if (firstBacksight_) {
            text_ += formatC("SR,PN%s,BS%f,FS,FE%f,--%s\n", startId_.c_str(), *reading,
                             startElevation_, record.field(7).c_str());
            firstBacksight_ = false;
            return {};
        }
        if (!held_)
            return "backsight with neither a start point nor a foresight before it";
        text_ += formatC("TP,PN%s,BS%f,FS%f,--%s\n", held_->pointId.c_str(), *reading,
                         held_->reading, held_->code.c_str());
        held_.reset();
        return {};
    }

    // A foresight or intermediate sight with the code of a y line after it.
    std::string sight(const Record& record, std::optional<Sight>& out) {
        const auto reading = scaledField(record, 2, record.scales().readings);
        if (!reading)
            return "sight without a reading";
        Sight s{record.field(7), *reading, {}};
        if (next_ < lines_.size() && lines_[next_].text.front() == 'y')
            s.code = Record(lines_[next_++]).field(1);
        out = s;
        return {};
    }

    std::string intermediate(const Record& record) {
        std::optional<Sight> side;
        if (std::string fault = sight(record, side); !fault.empty())
            return fault;
        text_ += formatC("LV,PN%s,BS,FS%f,--%s\n", side->pointId.c_str(), side->reading,
                         side->code.c_str());
        return {};
    }

    std::string end() {
        if (!held_)
            return "end of line without a foresight before it";
        const std::string elevation = sameName(held_->pointId, startId_)
                                          ? formatC("FE%f", startElevation_)
                                          : std::string("EL");
        text_ += formatC("ER,PN%s,BS,FS%f,%s,--%s\n", held_->pointId.c_str(), held_->reading,
                         elevation.c_str(), held_->code.c_str());
        held_.reset();
        return {};
    }

    const std::vector<levelInputLine>& lines_;
    std::size_t next_ = 0;
    std::string text_;
    std::string startId_;
    double startElevation_ = 0.0;
    bool firstBacksight_ = false;
    std::optional<Sight> held_;
};

} // namespace

int convertLetteredLevelFile(const std::string& inputPath, const std::string& outputPath,
                             std::string& message) {
    message.clear();
    std::vector<levelInputLine> lines;
    if (!readLevelInputLines(inputPath, lines)) {
        message = fileFailure("Error opening ", inputPath);
        return conversionFailed;
    }
    bool failed = false;
    const std::string text = LevelRun(lines).convert(inputPath, failed);
    if (failed) {
        message = text;
        return conversionFailed;
    }
    if (text.empty()) {
        message = nothingFoundIn(inputPath, "level records");
        return conversionFailed;
    }
    if (!writeConvertedFile(outputPath, text)) {
        message = fileFailure("Error opening ", outputPath);
        return conversionFailed;
    }
    return conversionDone;
}
