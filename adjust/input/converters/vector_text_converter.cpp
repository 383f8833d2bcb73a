#include "input/converters/converter_files.hpp"
#include "input/converters/gps_vector_converters.hpp"
#include "input/converters/gps_vector_output.hpp"
#include "input/gps_vector_file.hpp"

namespace {

bool isVectorLine(std::string_view line) {
    const std::string_view kind = line.substr(0, line.find(','));
    return kind == "VPP" || kind == "VRTK AutoTopo" || kind == "VRTK Topo";
}

// The fields after the kind: two names and nine numbers. Empty when all are
// there, else the fault.
std::string readVectorLine(std::string_view line, gpsVectorRec& v) {
    const std::vector<std::string_view> fields = gpsFields(line.substr(line.find(',') + 1));
    constexpr std::size_t needed = 11;
    if (fields.size() < needed)
        return "a vector needs from, to, dX, dY, dZ, three standard errors and three "
               "correlations";
    const std::optional<std::vector<double>> numbers = fieldNumbers(fields, 2, 9);
    if (!numbers)
        return "dX, dY, dZ, the standard errors and the correlations must be numbers";
    const std::vector<double>& n = *numbers;
    std::string fault = setVectorNames(v, fields[0], fields[1]);
    if (!fault.empty())
        return fault;
    v.dX = n[0], v.dY = n[1], v.dZ = n[2];
    v.varX = n[3], v.varY = n[4], v.varZ = n[5];
    v.covXY = n[6], v.covXZ = n[7], v.covYZ = n[8];
    return {};
}

} // namespace

int convertTvfVectorTextToGps(const std::string& inputPath, const std::string& outputPath,
                          std::string& message) {
    std::vector<std::string> lines;
    if (!readVectorInputLines(inputPath, lines, message))
        return conversionFailed;
    seqList<gpsVectorRec> vectors;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!isVectorLine(lines[i]))
            continue;
        gpsVectorRec v;
        clearGpsVectorRec(v);
        const std::string fault = readVectorLine(lines[i], v);
        if (!fault.empty()) {
            message = faultAtLine(inputPath, static_cast<int>(i) + 1, fault);
            return conversionFailed;
        }
        vectors.append(v);
    }
    return writeGpsVectorFile(outputPath, gpsModeStdErrCorrelation, vectors, message);
}
