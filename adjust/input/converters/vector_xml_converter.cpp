#include "input/converters/converter_files.hpp"
#include "input/converters/gps_vector_converters.hpp"
#include "input/converters/gps_vector_output.hpp"
#include "input/converters/xml_input.hpp"
#include "input/gps_vector_file.hpp"

namespace {

bool isVector(const pugi::xml_node& node) {
    return isXmlElement(node, "Vector");
}

// The numbers of a vector element's children and where they go. The
// standard errors land in the variance slots and the correlations in the
// covariance slots: the .GPS file is written under STDERRCORRELATION.
struct VectorValue {
    const char* element;
    double gpsVectorRec::*target;
    bool required;
};
constexpr VectorValue vectorValues[] = {
    {"DX", &gpsVectorRec::dX, true},      {"DY", &gpsVectorRec::dY, true},
    {"DZ", &gpsVectorRec::dZ, true},      {"SX", &gpsVectorRec::varX, true},
    {"SY", &gpsVectorRec::varY, true},    {"SZ", &gpsVectorRec::varZ, true},
    {"CXY", &gpsVectorRec::covXY, false}, {"CXZ", &gpsVectorRec::covXZ, false},
    {"CYZ", &gpsVectorRec::covYZ, false},
};

bool readVector(XmlInput& input, const pugi::xml_node& element, gpsVectorRec& v) {
    clearGpsVectorRec(v);
    const std::string fault = setVectorNames(v, XmlInput::text(element, "BasePoint").value_or(""),
                                             XmlInput::text(element, "RoverPoint").value_or(""));
    if (!fault.empty())
        return input.failAt(element, fault);
    for (const VectorValue& value : vectorValues) {
        double number = notComputed;
        if (!input.number(element, value.element, number))
            return false;
        if (!isSet(number) && value.required)
            return input.failAt(element, std::string("the vector has no ") + value.element);
        if (isSet(number))
            v.*value.target = number;
    }
    for (const double s : {v.varX, v.varY, v.varZ})
        if (s < 0.0)
            return input.failAt(element, "a standard error is negative");
    for (const double r : {v.covXY, v.covXZ, v.covYZ})
        if (r < -1.0 || r > 1.0)
            return input.failAt(element, "a correlation lies outside -1 to 1");
    return true;
}

bool readVectors(XmlInput& input, seqList<gpsVectorRec>& vectors) {
    if (!input.load())
        return false;
    for (const pugi::xml_node& element : input.elements(isVector)) {
        gpsVectorRec v;
        if (!readVector(input, element, v))
            return false;
        vectors.append(v);
    }
    return true;
}

} // namespace

int convertVectorXmlToGps(const std::string& inputPath, const std::string& outputPath,
                          std::string& message) {
    XmlInput input(inputPath);
    seqList<gpsVectorRec> vectors;
    if (!readVectors(input, vectors)) {
        message = input.fault();
        return conversionFailed;
    }
    return writeGpsVectorFile(outputPath, gpsModeStdErrCorrelation, vectors, message);
}
