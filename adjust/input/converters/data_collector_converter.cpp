#include "input/converters/converter_files.hpp"
#include "input/converters/gps_vector_converters.hpp"
#include "input/converters/gps_vector_output.hpp"
#include "input/gps_vector_file.hpp"
#include "platform/c_locale_text.hpp"

#include <algorithm>
#include <optional>

namespace {

constexpr std::size_t fieldWidth = 16;

class DataCollectorReading {
public:
    DataCollectorReading(std::string path, std::vector<repairedName>& repaired)
        : path_(std::move(path)), repaired_(repaired) {}

    bool read(const std::vector<std::string>& lines, std::string& message) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            line_ = static_cast<int>(i) + 1;
            const std::string fault = readLine(trimmedText(lines[i]));
            if (!fault.empty()) {
                message = faultAtLine(path_, line_, fault);
                return false;
            }
        }
        if (vectorLine_ != 0) {
            message = faultAtLine(path_, vectorLine_, noCovariance);
            return false;
        }
        return true;
    }

    const seqList<gpsVectorRec>& vectors() const { return vectors_; }

private:
    static constexpr const char* noCovariance = "this vector has no 59 record";

    std::string readLine(std::string_view line) {
        const std::string_view number = line.substr(0, 2);
        if (number == "73")
            return readName(line, from_);
        if (number == "67")
            return readVector(line);
        if (number == "59")
            return readCovariance(line);
        return {};
    }

    std::string readName(std::string_view line, std::string& name) {
        const std::string_view read = columnText(line, 5, fieldWidth);
        if (read.empty())
            return "a point record without a name";
        name = repairedPointName(read);
        if (name != read && std::none_of(repaired_.begin(), repaired_.end(),
                                         [&](const repairedName& r) { return r.read == read; }))
            repaired_.push_back({std::string(read), name});
        return {};
    }

    std::string readVector(std::string_view line) {
        if (vectorLine_ != 0)
            return std::string(noCovariance) + " (67 record at line " +
                   std::to_string(vectorLine_) + ")";
        if (from_.empty())
            return "a vector before any 73 record";
        std::string to;
        std::string fault = readName(line, to);
        if (!fault.empty())
            return fault;
        constexpr const char* components[3] = {"dX", "dY", "dZ"};
        double d[3];
        for (int i = 0; i < 3; ++i) {
            const platform::FieldValue<double> value = platform::readNumber(
                columnText(line, 21 + i * fieldWidth, fieldWidth), components[i]);
            if (!value)
                return value.error().sentence();
            d[i] = *value;
        }
        clearGpsVectorRec(vector_);
        fault = setVectorNames(vector_, from_, to);
        if (!fault.empty())
            return fault;
        vector_.dX = d[0], vector_.dY = d[1], vector_.dZ = d[2];
        vectorLine_ = line_;
        return {};
    }

    std::string readCovariance(std::string_view line) {
        if (vectorLine_ == 0)
            return "a 59 record without its 67 record";
        double* cells[6] = {&vector_.varX, &vector_.covXY, &vector_.covXZ,
                            &vector_.varY, &vector_.covYZ, &vector_.varZ};
        constexpr const char* names[6] = {"varX", "covXY", "covXZ", "varY", "covYZ", "varZ"};
        double values[6];
        for (std::size_t i = 0; i < 6; ++i) {
            const platform::FieldValue<double> value =
                platform::readNumber(columnText(line, 23 + i * fieldWidth, fieldWidth), names[i]);
            if (!value)
                return value.error().sentence();
            values[i] = *value;
        }
        for (std::size_t i = 0; i < 6; ++i)
            *cells[i] = values[i];
        vectors_.append(vector_);
        vectorLine_ = 0;
        return {};
    }

    std::string path_;
    std::vector<repairedName>& repaired_;
    int line_ = 0;
    int vectorLine_ = 0;
    std::string from_;
    gpsVectorRec vector_;
    seqList<gpsVectorRec> vectors_;
};

} // namespace

std::string repairedNamesReport(const std::vector<repairedName>& repaired) {
    std::string text = "The following points were modified because of invalid point names.\n";
    for (const repairedName& r : repaired)
        text += platform::formatC("  %s -> %s\n", r.read.c_str(), r.repaired.c_str());
    return text;
}

int convertDataCollectorToGps(const std::string& inputPath, const std::string& outputPath,
                              std::vector<repairedName>& repaired, std::string& message) {
    repaired.clear();
    std::vector<std::string> lines;
    if (!readVectorInputLines(inputPath, lines, message))
        return conversionFailed;
    DataCollectorReading reading(inputPath, repaired);
    if (!reading.read(lines, message))
        return conversionFailed;
    return writeGpsVectorFile(outputPath, gpsModeCovariance, reading.vectors(), message);
}
