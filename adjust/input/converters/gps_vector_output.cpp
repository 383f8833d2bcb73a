#include "input/converters/gps_vector_output.hpp"

#include "input/converters/converter_files.hpp"
#include "input/gps_vector_file.hpp"
#include "model/point_name.hpp"
#include "platform/record_fields.hpp"

namespace {

// `forbidden` are the characters the line cannot carry in a name, and
// `listed` says them.
std::string nameFault(std::string_view name, const char* forbidden, const char* listed) {
    if (name.empty())
        return "a point name is missing";
    if (name.size() > pointNameMax)
        return "point name " + std::string(name) + " is longer than 10 characters";
    if (name.find_first_of(forbidden) != std::string_view::npos)
        return "point name " + std::string(name) + " holds " + listed;
    return {};
}

std::string nameFault(std::string_view name) {
    return nameFault(name, "- \t,", "a '-', a blank or a comma");
}

} // namespace

std::string controlNameFault(std::string_view name) {
    return nameFault(name, " \t,", "a blank or a comma");
}

std::string_view trimmedText(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string_view columnText(std::string_view line, std::size_t first, std::size_t count) {
    if (first == 0)
        return {};
    return trimmedText(platform::fixedColumn(line, first - 1, count));
}

std::string repairedPointName(std::string_view name) {
    std::string repaired(name.substr(0, pointNameMax));
    for (char& c : repaired) {
        if (c == '-' || c == ' ')
            c = '_';
    }
    return repaired;
}

std::string setVectorNames(gpsVectorRec& v, std::string_view from, std::string_view to) {
    for (std::string_view name : {from, to}) {
        std::string fault = nameFault(name);
        if (!fault.empty())
            return fault;
    }
    setPointName(v.from, from);
    setPointName(v.to, to);
    return {};
}

bool readVectorInputLines(const std::string& path, std::vector<std::string>& lines,
                          std::string& message) {
    if (readInputLines(path, lines))
        return true;
    message = "Error opening " + path;
    return false;
}

platform::FieldValue<std::vector<double>> fieldNumbers(const std::vector<std::string_view>& fields,
                                                       std::size_t first,
                                                       const std::vector<const char*>& names) {
    std::vector<double> numbers;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const platform::FieldValue<std::string_view> field =
            platform::fieldAt(fields, first + i, names[i]);
        if (!field)
            return field.error();
        const platform::FieldValue<double> value = platform::readNumber(*field, names[i]);
        if (!value)
            return value.error();
        numbers.push_back(*value);
    }
    return numbers;
}

int writeGpsTextFile(const std::string& outputPath, const std::string& text, std::string& message) {
    if (writeConvertedFile(outputPath, text))
        return conversionDone;
    message = "Error opening " + outputPath;
    return conversionFailed;
}

int writeGpsVectorFile(const std::string& outputPath, int mode,
                       const seqList<gpsVectorRec>& vectors, std::string& message) {
    std::string text = mode == gpsModeCovariance ? ".GPS WEIGHT COVARIANCE\r\n"
                                                 : ".GPS WEIGHT STDERRCORRELATION\r\n";
    writeGpsVectorRecords(text, vectors);
    return writeGpsTextFile(outputPath, text, message);
}
