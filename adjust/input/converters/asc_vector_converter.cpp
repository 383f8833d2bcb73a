#include "input/converters/asc_export_reader.hpp"
#include "input/converters/converter_files.hpp"
#include "input/converters/gps_vector_converters.hpp"
#include "input/converters/gps_vector_output.hpp"
#include "input/gps_vector_file.hpp"

#include <algorithm>
#include <optional>

namespace {

std::string ascVectorName(std::string_view read, std::vector<repairedName>& repaired) {
    const std::string name = ascPointName(read);
    const bool invalid = repairedPointName(read) != read;
    if (invalid && std::none_of(repaired.begin(), repaired.end(),
                                [&](const repairedName& r) { return r.read == read; }))
        repaired.push_back({std::string(read), name});
    return name;
}

// One Vector line; empty, or the fault.
std::string readAscVector(const std::vector<std::string_view>& fields,
                          std::vector<repairedName>& repaired, gpsVectorRec& v) {
    const auto numbers = fieldNumbers(
        fields, 4, {"dX", "dY", "dZ", "varX", "covXY", "covXZ", "varY", "covYZ", "varZ"});
    if (!numbers)
        return fieldFault(numbers.error(),
                          "a Vector line needs from, to, dX, dY, dZ and six covariances");
    clearGpsVectorRec(v);
    const std::string from = ascVectorName(fields[2], repaired);
    const std::string to = ascVectorName(fields[3], repaired);
    std::string fault = setVectorNames(v, from, to);
    if (!fault.empty())
        return fault;
    const std::vector<double>& n = *numbers;
    v.dX = n[0], v.dY = n[1], v.dZ = n[2];
    v.varX = n[3], v.covXY = n[4], v.covXZ = n[5];
    v.varY = n[6], v.covYZ = n[7], v.varZ = n[8];
    return {};
}

} // namespace

int convertAscExportToGps(const std::string& inputPath, const std::string& outputPath,
                          std::vector<repairedName>& repaired, std::string& message) {
    repaired.clear();
    std::vector<std::string> lines;
    if (!readVectorInputLines(inputPath, lines, message))
        return conversionFailed;
    const char separator = readAscSeparator(lines);
    seqList<gpsVectorRec> vectors;
    std::string lineFault;
    forEachAscGpsLine(lines, [&](const std::string& line, int number) {
        const std::vector<std::string_view> fields = ascFields(line, separator);
        if (fields[0].rfind("Vector", 0) != 0)
            return true;
        gpsVectorRec v;
        const std::string fault = readAscVector(fields, repaired, v);
        if (!fault.empty()) {
            lineFault = faultAtLine(inputPath, number, fault);
            return false;
        }
        vectors.append(v);
        return true;
    });
    if (!lineFault.empty()) {
        message = lineFault;
        return conversionFailed;
    }
    return writeGpsVectorFile(outputPath, gpsModeCovariance, vectors, message);
}
