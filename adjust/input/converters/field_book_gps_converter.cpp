#include "input/converters/converter_files.hpp"
#include "input/converters/gps_vector_converters.hpp"
#include "input/converters/gps_vector_output.hpp"
#include "input/converters/xml_input.hpp"
#include "input/gps_vector_file.hpp"
#include "model/point_name.hpp"
#include "platform/c_locale_text.hpp"

#include "geodetic/earth_centred.hpp"

#include <cmath>
#include <optional>

namespace {

constexpr double radiansPerDegree = 3.14159265358979323846 / 180.0;

bool isPointRecord(const pugi::xml_node& node) {
    return isXmlElement(node, "PointRecord");
}

// The numbers of the children `names` of the first element `group` inside
// `record`, into `targets`. True with `complete` false when the group or one
// of them is missing; false after a value that is not a number.
template <std::size_t N>
bool groupNumbers(XmlInput& input, const pugi::xml_node& record, const char* group,
                  const char* const (&names)[N], double* const (&targets)[N], bool& complete) {
    const pugi::xml_node node = firstXmlElementInside(record, group);
    complete = false;
    double values[N];
    for (std::size_t i = 0; i < N; ++i) {
        values[i] = notComputed;
        if (!input.number(node, names[i], values[i]))
            return false;
        if (!isSet(values[i]))
            return true;
    }
    for (std::size_t i = 0; i < N; ++i)
        *targets[i] = values[i];
    complete = true;
    return true;
}

class FieldBookGps {
public:
    explicit FieldBookGps(XmlInput& input) : input_(input) {}

    bool read(std::string& controlLines) {
        for (const pugi::xml_node& record : input_.elements(isPointRecord)) {
            if (!readRecord(record, controlLines))
                return false;
        }
        return true;
    }

    const seqList<gpsVectorRec>& vectors() const { return vectors_; }

private:
    bool readRecord(const pugi::xml_node& record, std::string& controlLines) {
        bool control = false;
        if (XmlInput::text(record, "Method") == "FromBase" &&
            !readControlPoint(record, controlLines, control))
            return false;
        return control || readVector(record);
    }

    // A base position: "C name X Y Z 0 0 0 code", at once.
    bool readControlPoint(const pugi::xml_node& record, std::string& controlLines, bool& control) {
        double latitude = notComputed, longitude = notComputed, height = notComputed;
        double* const targets[] = {&latitude, &longitude, &height};
        if (!groupNumbers(input_, record, "WGS84", {"Latitude", "Longitude", "Height"}, targets,
                          control))
            return false;
        if (!control)
            return true;
        const std::string name = XmlInput::text(record, "Name").value_or("");
        const std::string fault = controlNameFault(name);
        if (!fault.empty())
            return input_.failAt(record, fault);
        double X = 0.0, Y = 0.0, Z = 0.0;
        lat2ecef(&X, &Y, &Z, latitude * radiansPerDegree, longitude * radiansPerDegree, height);
        const std::string code = XmlInput::text(record, "Code").value_or("");
        controlLines += platform::formatC("C %s %f %f %f %f %f %f %s\r\n", name.c_str(), X, Y, Z,
                                          0.0, 0.0, 0.0, code.c_str());
        return true;
    }

    // A vector needs its name, code, deltas, base and covariances; a record
    // without one of them is no vector.
    bool readVector(const pugi::xml_node& record) {
        const std::optional<std::string> name = XmlInput::text(record, "Name");
        const std::optional<std::string> code = XmlInput::text(record, "Code");
        const std::optional<std::string> base = XmlInput::text(record, "RTK_Base");
        gpsVectorRec v;
        clearGpsVectorRec(v);
        bool deltas = false, covariances = false;
        double* const d[] = {&v.dX, &v.dY, &v.dZ};
        double* const c[] = {&v.varX, &v.covXY, &v.covXZ, &v.varY, &v.covYZ, &v.varZ};
        if (!groupNumbers(input_, record, "ECEFDeltas", {"DeltaX", "DeltaY", "DeltaZ"}, d,
                          deltas) ||
            !groupNumbers(input_, record, "QualityControl2",
                          {"VCVxx", "VCVxy", "VCVxz", "VCVyy", "VCVyz", "VCVzz"}, c, covariances))
            return false;
        if (!name || !code || !base || !deltas || !covariances)
            return true;
        const std::string fault = setVectorNames(v, *base, *name);
        if (!fault.empty())
            return input_.failAt(record, fault);
        if (v.varX < 0.0 || v.varY < 0.0 || v.varZ < 0.0)
            return input_.failAt(record, "a variance is negative");
        setFixedText(v.comment, std::string_view(*code).substr(0, gpsCommentMax));
        vectors_.append(v);
        return true;
    }

    XmlInput& input_;
    seqList<gpsVectorRec> vectors_;
};

} // namespace

int convertFieldBookXmlToGps(const std::string& inputPath, const std::string& outputPath,
                             std::string& message) {
    XmlInput input(inputPath);
    std::string text = ".GPS WEIGHT COVARIANCE\r\n";
    FieldBookGps book(input);
    if (!input.load() || !book.read(text)) {
        message = input.fault();
        return conversionFailed;
    }
    writeGpsVectorRecords(text, book.vectors());
    return writeGpsTextFile(outputPath, text, message);
}
