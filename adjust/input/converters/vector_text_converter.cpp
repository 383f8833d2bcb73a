#include "input/converters/converter_files.hpp"
#include "input/converters/gps_vector_converters.hpp"
#include "input/converters/gps_vector_output.hpp"
#include "input/gps_vector_file.hpp"
#include "input/refused_records.hpp"
#include "platform/comma_or_blank_fields.hpp"
#include "platform/record_fields.hpp"

namespace {

bool isVectorLine(std::string_view line) {
    const std::string_view kind = line.substr(0, line.find(','));
    return kind == "VPP" || kind == "VRTK AutoTopo" || kind == "VRTK Topo";
}

constexpr std::size_t vectorFields = 11;

// Fields the makers add after the eleventh are passed over where commas
// separate the fields; where blanks do, a field more is a blank inside a
// number (`166 .5845`) that would move every value after it one place, so
// such a line must hold eleven.
std::string fieldCountFault(std::string_view rest, std::size_t found) {
    const bool passedOver = rest.find(',') != std::string_view::npos && found > vectorFields;
    if (passedOver)
        return {};
    const auto error = platform::checkFieldCount(found, vectorFields, vectorFields);
    return error ? error->sentence() : std::string();
}

// The fields after the kind: two names and nine numbers. Empty when all are
// there, else the fault.
std::string readVectorLine(std::string_view line, gpsVectorRec& v) {
    const std::string_view rest = line.substr(line.find(',') + 1);
    const std::vector<std::string_view> fields = platform::splitOnCommasOrBlanks(rest);
    if (std::string fault = fieldCountFault(rest, fields.size()); !fault.empty())
        return "A vector needs from, to, dX, dY, dZ, three standard errors and three "
               "correlations. " +
               fault;
    static constexpr const char* names[] = {"dX",
                                            "dY",
                                            "dZ",
                                            "standard error of dX",
                                            "standard error of dY",
                                            "standard error of dZ",
                                            "correlation XY",
                                            "correlation XZ",
                                            "correlation YZ"};
    double n[9];
    for (std::size_t i = 0; i < 9; ++i) {
        const platform::FieldValue<double> value = platform::readNumber(fields[2 + i], names[i]);
        if (!value)
            return value.error().sentence();
        n[i] = *value;
    }
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
            message = refusedRecordLine(inputPath, static_cast<int>(i) + 1, fault, lines[i]);
            return conversionFailed;
        }
        vectors.append(v);
    }
    return writeGpsVectorFile(outputPath, gpsModeStdErrCorrelation, vectors, message);
}
