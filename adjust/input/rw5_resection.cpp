#include "input/rw5_reading.hpp"

#include "input/rw5_numbers.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/record_fields.hpp"
#include "platform/shell_services.hpp"

namespace {

// "--Reading" note lines carry their data from this character on.
constexpr std::size_t readingDataColumn = 15;
constexpr std::size_t foresightDescriptionMax = 100;

bool isNoteLine(const std::string& line) {
    return line.compare(0, 2, "--") == 0;
}

// The value after a marker such as ",HR" or "--Resection:HI": blanks, a
// colon or an equals sign before the number are passed over; none when no
// whole number follows.
std::optional<double> valueAfter(std::string_view text) {
    const auto start = text.find_first_not_of(" :=");
    return start == std::string_view::npos ? std::nullopt
                                           : platform::parseDataNumber(text.substr(start));
}

struct ResectionReading {
    Rw5Observation sight;
    std::optional<double> targetHeight;
    std::optional<platform::FieldError> damaged; // a number of the reading that is none
};

// A note's number that is none: the note's text from `text` on is quoted.
platform::FieldError noNumber(std::string_view field, std::string_view text) {
    platform::FieldError error;
    error.fault = platform::FieldFault::notANumber;
    error.field = std::string(field);
    error.text = platform::recordExcerpt(text);
    return error;
}

// "<point>,<angle>,<vertical>,<distance>[,--<description>][,HR<height>]"
ResectionReading parseResectionReading(std::string_view data) {
    ResectionReading reading;
    const auto height = data.find(",HR");
    if (height != std::string_view::npos) {
        reading.targetHeight = valueAfter(data.substr(height + 3));
        if (!reading.targetHeight)
            reading.damaged = noNumber("target height", data.substr(height + 1));
        data = data.substr(0, height);
    }
    const Rw5Record record = splitRw5Record(data);
    if (!reading.damaged)
        reading.damaged = rw5SightFault(record, 0);
    reading.sight.foresight = record.code;
    reading.sight.sight = rw5Sight(rw5Token(record, 0), rw5Token(record, 1), rw5Token(record, 2));
    reading.sight.description = record.description;
    return reading;
}

} // namespace

std::string rw5ReadingNotePoint(std::string_view line) {
    if (!startsWithIgnoringCase(line, "--Reading") || line.size() <= readingDataColumn)
        return {};
    return splitRw5Record(line.substr(readingDataColumn)).code;
}

bool Rw5Reading::isResectionNext() const {
    for (std::size_t i = line_ + 1; i < file_->lines.size() && isNoteLine(file_->lines[i]); ++i)
        if (startsWithIgnoringCase(file_->lines[i], "--Resection"))
            return true;
    return false;
}

// The notes after a resected point: its HI, then one "--Reading" per point
// sighted. The first reading makes the setup, the others its foresights.
bool Rw5Reading::readResection(const std::string& point) {
    double instrumentHeight = instrumentHeight_;
    double rodHeight = rodHeight_;
    bool first = true;
    for (std::size_t i = line_ + 1; i < file_->lines.size() && isNoteLine(file_->lines[i]); ++i) {
        const std::string& note = file_->lines[i];
        if (startsWithIgnoringCase(note, "--Resection:HI")) {
            const std::optional<double> height = valueAfter(std::string_view(note).substr(14));
            if (!height)
                return refuseNote(i, noNumber("HI", note));
            instrumentHeight = *height;
            continue;
        }
        if (!startsWithIgnoringCase(note, "--Reading") || note.size() <= readingDataColumn)
            continue;
        const ResectionReading reading =
            parseResectionReading(std::string_view(note).substr(readingDataColumn));
        if (reading.damaged)
            return refuseNote(i, *reading.damaged);
        if (!takeName(reading.sight.foresight))
            return false;
        rodHeight = reading.targetHeight.value_or(rodHeight);
        const Rw5Sight& sight = reading.sight.sight;
        if (first) {
            rawRec setup = newSetup(point, reading.sight.foresight);
            setup.instrumentHeight = instrumentHeight;
            setup.bsTargetHeight = rodHeight;
            setup.bsHorizontalReading = sight.reading;
            applyRw5Sight(setup, sight, instrumentHeight, rodHeight, note);
            store(setup);
            setupBacksight_ = reading.sight.foresight;
            metSetupOrSight_ = true;
            first = false;
            continue;
        }
        rawRec foresight;
        initRawForesight(foresight);
        setPointName(foresight.foresightName, reading.sight.foresight);
        foresight.targetHeight = rodHeight;
        foresight.horizontalReading = sight.reading;
        applyRw5Sight(foresight, sight, instrumentHeight, rodHeight, note);
        setFixedText(
            foresight.description,
            std::string_view(reading.sight.description).substr(0, foresightDescriptionMax));
        store(foresight);
    }
    return true;
}

// No run context reaches readRw5File: its interface has none, so the shell is
// the active one (the run installs its own for its length).
bool Rw5Reading::refuseNote(std::size_t noteLine, const platform::FieldError& damaged) const {
    const std::string text = "Error parsing resection note: " + damaged.sentence();
    const std::string where = platform::formatC("  File: %s, line %d", file_->path.c_str(),
                                                static_cast<int>(noteLine) + 1);
    writeLine(errFile, text);
    writeLine(errFile, where);
    const std::string note = platform::recordExcerpt(file_->lines[noteLine]);
    writeLine(errFile, "  " + note);
    writeLine(errFile, "");
    activeShell().message(text + "\n" + where + "\n" + note, MessageKind::ok);
    return false;
}
