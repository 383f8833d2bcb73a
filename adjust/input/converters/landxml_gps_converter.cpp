#include "input/converters/converter_files.hpp"
#include "input/converters/gps_vector_converters.hpp"
#include "input/converters/gps_vector_output.hpp"
#include "input/converters/xml_input.hpp"
#include "input/gps_vector_file.hpp"
#include "model/point_name.hpp"

#include "geodetic/earth_centred.hpp"

#include <cmath>

namespace {

constexpr double radiansPerDegree = 3.14159265358979323846 / 180.0;

bool isSurvey(const pugi::xml_node& node) {
    return isXmlElement(node, "Survey");
}

// A GPS position of a survey; positions elsewhere in the file are not
// survey data.
bool isSurveyPosition(const pugi::xml_node& node) {
    if (!isXmlElement(node, "GPSPosition"))
        return false;
    for (pugi::xml_node up = node.parent(); up; up = up.parent())
        if (isSurvey(up))
            return true;
    return false;
}

bool isGpsVector(const pugi::xml_node& node) {
    return isXmlElement(node, "GPSVector");
}

class LandXmlPositions {
public:
    explicit LandXmlPositions(XmlInput& input) : input_(input) {}

    // The C lines of the survey positions into `lines`; false after a fault.
    bool read(std::string& lines) {
        for (const pugi::xml_node& position : input_.elements(isSurveyPosition)) {
            if (!readPosition(position, lines))
                return false;
        }
        return true;
    }

    const std::string& notice() const { return notice_; }

    void addNotice(const std::string& text) {
        if (!notice_.empty())
            notice_ += "\n";
        notice_ += text;
    }

private:
    bool readPosition(const pugi::xml_node& position, std::string& lines) {
        double latitude = notComputed, longitude = notComputed, height = notComputed;
        if (!input_.attributeNumber(position, "wgsLatitude", latitude) ||
            !input_.attributeNumber(position, "wgsLongitude", longitude) ||
            !input_.attributeNumber(position, "wgsHeight", height))
            return false;
        if (!isSet(latitude) || !isSet(longitude) || !isSet(height)) {
            addNotice(faultAtLine(input_.path(), input_.lineOf(position),
                                  "a GPSPosition without wgsLatitude, wgsLongitude and "
                                  "wgsHeight was not converted"));
            return true;
        }
        if (std::abs(latitude) > 90.0 || std::abs(longitude) > 360.0)
            return input_.failAt(position, "wgsLatitude or wgsLongitude is out of range");
        ptGPSXYZCntrl point;
        if (!readName(position, point) || !readStdErrs(position, point))
            return false;
        lat2ecef(&point.X, &point.Y, &point.Z, latitude * radiansPerDegree,
                 longitude * radiansPerDegree, height);
        lines += gpsControlLine(point);
        return true;
    }

    bool readName(const pugi::xml_node& position, ptGPSXYZCntrl& point) {
        const pugi::xml_node target = firstXmlElementInside(position, "TargetPoint");
        const std::string name(trimmedXmlText(target.attribute("name").value()));
        const std::string fault = controlNameFault(name);
        if (!fault.empty())
            return input_.failAt(target ? target : position, "GPSPosition: " + fault);
        setPointName(point.name, name);
        return true;
    }

    // The standard errors are the roots of the variances; a position without
    // them is left to the project's standard errors.
    bool readStdErrs(const pugi::xml_node& position, ptGPSXYZCntrl& point) {
        point.sX = point.sY = point.sZ = notComputed;
        const pugi::xml_node quality = firstXmlElementInside(position, "GPSQCInfoLevel2");
        double variances[3] = {notComputed, notComputed, notComputed};
        const char* names[3] = {"covarianceXX", "covarianceYY", "covarianceZZ"};
        for (int i = 0; i < 3; ++i) {
            if (!input_.attributeNumber(quality, names[i], variances[i]))
                return false;
            if (!isSet(variances[i]))
                return true;
            if (variances[i] < 0.0)
                return input_.failAt(quality, std::string(names[i]) + " is negative");
        }
        point.sX = std::sqrt(variances[0]);
        point.sY = std::sqrt(variances[1]);
        point.sZ = std::sqrt(variances[2]);
        return true;
    }

    XmlInput& input_;
    std::string notice_;
};

} // namespace

int convertLandXmlToGps(const std::string& inputPath, const std::string& outputPath,
                        int readPositions, std::string& message, std::string& notice) {
    XmlInput input(inputPath);
    if (!input.load()) {
        message = input.fault();
        return conversionFailed;
    }
    std::string text = ".GPS WEIGHT STDERRCORRELATION\r\n";
    LandXmlPositions positions(input);
    if (readPositions != 0 && !positions.read(text)) {
        message = input.fault();
        return conversionFailed;
    }
    const std::size_t vectors = input.elements(isGpsVector).size();
    if (vectors > 0)
        positions.addNotice(inputPath + ": " + std::to_string(vectors) +
                            " GPS vectors (GPSVector) were not converted: only the GPS "
                            "positions of LandXML files are read");
    notice = positions.notice();
    return writeGpsTextFile(outputPath, text, message);
}
