#include "input/converters/gps_vector_output.hpp"

#include "input/converters/converter_files.hpp"
#include "input/gps_vector_file.hpp"
#include "model/point_name.hpp"

namespace {

std::string nameFault(std::string_view name) {
    if (name.empty())
        return "a point name is missing";
    if (name.size() > pointNameMax)
        return "point name " + std::string(name) + " is longer than 10 characters";
    if (name.find('-') != std::string_view::npos)
        return "point name " + std::string(name) + " holds a '-'";
    return {};
}

} // namespace

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

int writeGpsVectorFile(const std::string& outputPath, int mode,
                       const seqList<gpsVectorRec>& vectors, std::string& message) {
    std::string text = mode == gpsModeCovariance ? ".GPS WEIGHT COVARIANCE\r\n"
                                                 : ".GPS WEIGHT STDERRCORRELATION\r\n";
    writeGpsVectorRecords(text, vectors);
    if (!writeConvertedFile(outputPath, text)) {
        message = "Error opening " + outputPath;
        return conversionFailed;
    }
    return conversionDone;
}
