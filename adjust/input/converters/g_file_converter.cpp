#include "input/converters/converter_files.hpp"
#include "input/converters/gps_vector_converters.hpp"
#include "input/converters/gps_vector_output.hpp"
#include "input/gps_vector_file.hpp"
#include "platform/c_locale_text.hpp"

#include <cmath>
#include <optional>

namespace {

constexpr double componentUnit = 1.0e-4;
constexpr double correlationUnit = 1.0e-7;

bool isGFileLine(std::string_view line) {
    return !line.empty() && std::string_view("ABCDI").find(line[0]) != std::string_view::npos;
}

// The G-file sections of a report, each line with its line number in the
// report.
std::vector<std::pair<int, std::string>> reportSections(const std::vector<std::string>& lines) {
    std::vector<std::pair<int, std::string>> kept;
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = trimmedText(lines[i]);
        if (line == "G-FILES")
            inSection = true;
        else if (inSection && isGFileLine(line))
            kept.emplace_back(static_cast<int>(i) + 1, std::string(line));
        else
            inSection = false;
    }
    return kept;
}

std::vector<std::pair<int, std::string>> allLines(const std::vector<std::string>& lines) {
    std::vector<std::pair<int, std::string>> kept;
    for (std::size_t i = 0; i < lines.size(); ++i)
        kept.emplace_back(static_cast<int>(i) + 1, std::string(trimmedText(lines[i])));
    return kept;
}

class GFileReading {
public:
    explicit GFileReading(std::string path) : path_(std::move(path)) {}

    bool read(const std::vector<std::pair<int, std::string>>& lines, std::string& message) {
        for (const auto& [number, line] : lines) {
            line_ = number;
            const std::string fault = readLine(line);
            if (!fault.empty()) {
                message = faultAtLine(path_, line_, fault);
                return false;
            }
        }
        if (vectorLine_ != 0) {
            message = faultAtLine(path_, vectorLine_, noCorrelations);
            return false;
        }
        return true;
    }

    const std::string& text() const { return text_; }

private:
    static constexpr const char* noCorrelations = "this vector has no D record";

    std::string readLine(std::string_view line) {
        if (line.empty())
            return {};
        switch (line[0]) {
        case 'A':
            text_ += platform::formatC("G0 Date: %s %s %s , Project Title:%s\r\n",
                                       std::string(columnText(line, 8, 2)).c_str(),
                                       std::string(columnText(line, 10, 2)).c_str(),
                                       std::string(columnText(line, 4, 4)).c_str(),
                                       std::string(columnText(line, 20, line.size())).c_str());
            return {};
        case 'C':
            return readVector(line);
        case 'D':
            return readCorrelations(line);
        default:
            return {};
        }
    }

    // Columns of dX, dY, dZ; each standard error follows its component.
    std::string readVector(std::string_view line) {
        if (vectorLine_ != 0)
            return std::string(noCorrelations) + " (C record at line " +
                   std::to_string(vectorLine_) + ")";
        constexpr std::size_t componentColumns[3] = {10, 26, 42};
        constexpr const char* components[3] = {"dX", "dY", "dZ"};
        constexpr const char* stdErrs[3] = {"dX standard error", "dY standard error",
                                            "dZ standard error"};
        double d[3];
        double s[3];
        for (int i = 0; i < 3; ++i) {
            const platform::FieldValue<double> component =
                platform::readNumber(columnText(line, componentColumns[i], 11), components[i]);
            if (!component)
                return component.error().sentence();
            const platform::FieldValue<double> stdErr =
                platform::readNumber(columnText(line, componentColumns[i] + 11, 5), stdErrs[i]);
            if (!stdErr)
                return stdErr.error().sentence();
            d[i] = *component * componentUnit;
            s[i] = *stdErr * componentUnit;
        }
        clearGpsVectorRec(vector_);
        std::string fault =
            setVectorNames(vector_, columnText(line, 59, 10), columnText(line, 69, 10));
        if (!fault.empty())
            return fault;
        vector_.dX = d[0], vector_.dY = d[1], vector_.dZ = d[2];
        vector_.varX = s[0], vector_.varY = s[1], vector_.varZ = s[2];
        vectorLine_ = line_;
        return {};
    }

    std::string readCorrelations(std::string_view line) {
        if (vectorLine_ == 0)
            return "a D record without its C record";
        double* byPair[2][3] = {{nullptr, &vector_.covXY, &vector_.covXZ},
                                {nullptr, nullptr, &vector_.covYZ}};
        for (std::size_t group = 0; group < 3; ++group) {
            const std::size_t at = 2 + group * 15;
            const platform::FieldValue<long> i =
                platform::readWholeNumber(columnText(line, at, 3), "first index");
            const platform::FieldValue<long> j =
                platform::readWholeNumber(columnText(line, at + 3, 3), "second index");
            const platform::FieldValue<double> value =
                platform::readNumber(columnText(line, at + 6, 9), "correlation");
            for (const std::optional<platform::FieldError>& fault :
                 {i.fault(), j.fault(), value.fault()})
                if (fault)
                    return fault->sentence();
            const bool known = (*i == 1 && (*j == 2 || *j == 3)) || (*i == 2 && *j == 3);
            if (!known)
                return "the index pairs of a D record are 1 2, 1 3 and 2 3";
            *byPair[static_cast<int>(*i) - 1][static_cast<int>(*j) - 1] = *value * correlationUnit;
        }
        seqList<gpsVectorRec> one;
        one.append(vector_);
        writeGpsVectorRecords(text_, one);
        text_ += "\r\n";
        vectorLine_ = 0;
        return {};
    }

    std::string path_;
    int line_ = 0;
    int vectorLine_ = 0;
    gpsVectorRec vector_;
    std::string text_;
};

} // namespace

int convertGFileToGps(const std::string& inputPath, const std::string& outputPath, int fromReport,
                      std::string& message) {
    std::vector<std::string> lines;
    if (!readVectorInputLines(inputPath, lines, message))
        return conversionFailed;
    GFileReading reading(inputPath);
    if (!reading.read(fromReport ? reportSections(lines) : allLines(lines), message))
        return conversionFailed;
    return writeGpsTextFile(outputPath, ".GPS WEIGHT STDERRCORRELATION\r\n" + reading.text(),
                            message);
}
