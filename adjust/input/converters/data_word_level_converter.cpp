#include "input/converters/data_word_level_converter.hpp"

#include "input/converters/converter_files.hpp"
#include "input/converters/level_input_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/record_fields.hpp"
#include "platform/sentinels.hpp"

#include <string_view>

using platform::formatC;

namespace {

// Kinds of a line, by the words it holds.
enum wordLineKind {
    startLine,
    backsightLine,
    foresightLine,
    intermediateLine,
    codeLine,
    otherLine,
};

struct WordLine {
    wordLineKind kind = otherLine;
    std::string pointName;
    double reading = notComputed;
};

struct WordLayout {
    std::size_t wordLength;
    std::size_t dataLength;
};

constexpr WordLayout shortWords{16, 8};
constexpr WordLayout longWords{24, 16};

double unitDivisor(char unitDigit) {
    switch (unitDigit) {
    case '1':
        return 1000.0;
    case '6':
        return 100000.0;
    case '7':
        return 10000.0;
    case '8':
        return 100.0;
    default:
        return 1.0;
    }
}

std::string withoutLeadingZeros(std::string_view name) {
    const auto first = name.find_first_not_of('0');
    return std::string(first == std::string_view::npos ? std::string_view() : name.substr(first));
}

wordLineKind readingKind(int index) {
    switch (index) {
    case 331:
        return backsightLine;
    case 332:
        return foresightLine;
    default:
        return intermediateLine;
    }
}

// A word's index: its first three characters, or two followed by a dot
// ("83."). Read as far as it went, a damaged "8x." was the index 8 and its
// word was passed over without a word.
platform::FieldValue<long> wordIndex(std::string_view word) {
    const std::string_view head = word.substr(0, 3);
    return platform::readWholeNumber(head.substr(0, head.find('.')), "word index");
}

// One word's effect on its line and on the running elevation; an empty text
// or the fault.
std::string applyWord(std::string_view word, std::size_t position, WordLayout layout,
                      WordLine& line, double& elevation) {
    const platform::FieldValue<long> read = wordIndex(word);
    if (!read)
        return read.error().sentence();
    const int index = static_cast<int>(*read);
    const std::string_view data = word.substr(7, layout.dataLength);
    if (index == 110) {
        line.pointName = withoutLeadingZeros(data);
        return {};
    }
    if (index == 410) {
        line.kind = codeLine;
        return {};
    }
    if (index != 83 && (index < 330 || index > 334))
        return {};
    const platform::FieldValue<double> value =
        platform::readNumber(data, formatC("word %d", index));
    if (!value)
        return value.error().sentence();
    const double scaled = (word[6] == '-' ? -*value : *value) / unitDivisor(word[5]);
    if (index == 83) {
        elevation = scaled;
        if (position == 1)
            line.kind = startLine;
        return {};
    }
    line.reading = scaled;
    line.kind = readingKind(index);
    return {};
}

// Reads the words of one line into `line` and the running elevation; an
// empty text or the fault.
std::string readWordLine(std::string_view text, WordLine& line, double& elevation) {
    const bool asterisk = !text.empty() && text.front() == '*';
    if (asterisk)
        text.remove_prefix(1);
    const WordLayout layout = asterisk ? longWords : shortWords;
    const std::size_t count = text.size() / layout.wordLength;
    for (std::size_t w = 0; w < count; ++w) {
        const std::string_view word = text.substr(w * layout.wordLength, layout.wordLength);
        const std::string fault = applyWord(word, w, layout, line, elevation);
        if (!fault.empty())
            return fault;
    }
    return {};
}

// Turns the lines of a file into .LEV lines.
class LevelRun {
public:
    // An empty text, or the fault of a line that cannot be converted.
    std::string add(const WordLine& line, double elevation) {
        switch (line.kind) {
        case startLine:
            started_ = true;
            return {};
        case backsightLine:
            return backsight(line, elevation);
        case foresightLine:
            pending_ = true;
            pendingName_ = line.pointName;
            pendingReading_ = line.reading;
            return {};
        case intermediateLine:
            text_ += formatC("LV,PN%s,BS,FS%.4f,--\r\n", line.pointName.c_str(), line.reading);
            return {};
        default:
            return {};
        }
    }

    std::string finish() {
        if (pending_)
            text_ += formatC("ER,PN%s,BS,FS%.4f,EL,--\r\n", pendingName_.c_str(), pendingReading_);
        return text_;
    }

private:
    std::string backsight(const WordLine& line, double elevation) {
        if (started_) {
            text_ += formatC("SR,PN%s,BS%.4f,FS,FE%.4f,--\r\n", line.pointName.c_str(),
                             line.reading, elevation);
            started_ = false;
            return {};
        }
        if (!pending_)
            return "backsight reading with neither a start point nor a foresight before it";
        text_ += formatC("TP,PN%s,BS%.4f,FS%.4f,--\r\n", line.pointName.c_str(), line.reading,
                         pendingReading_);
        pending_ = false;
        return {};
    }

    std::string text_;
    bool started_ = false;
    bool pending_ = false;
    std::string pendingName_;
    double pendingReading_ = notComputed;
};

} // namespace

int convertDataWordLevelFile(const std::string& inputPath, const std::string& outputPath,
                             std::string& message) {
    message.clear();
    std::vector<levelInputLine> lines;
    if (!readLevelInputLines(inputPath, lines)) {
        message = fileFailure("Open error: ", inputPath);
        return conversionFailed;
    }
    LevelRun run;
    double elevation = notComputed;
    for (const levelInputLine& input : lines) {
        WordLine line;
        std::string fault = readWordLine(input.text, line, elevation);
        if (fault.empty())
            fault = run.add(line, elevation);
        if (!fault.empty()) {
            message = faultAtLine(inputPath, input.number, fault);
            return conversionFailed;
        }
    }
    const std::string text = run.finish();
    if (text.empty()) {
        message = nothingFoundIn(inputPath, "level records");
        return conversionFailed;
    }
    if (!writeConvertedFile(outputPath, text)) {
        message = fileFailure("Open error: ", outputPath);
        return conversionFailed;
    }
    return conversionDone;
}
