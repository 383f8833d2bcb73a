#include "input/converters/rw5_writer.hpp"

#include "input/converters/converted_values.hpp"
#include "model/program_lists.hpp"

#include <string_view>

namespace {

constexpr double pi = 3.14159265358979323846;

std::string name(const pointNameField& field) {
    return std::string(fixedText(field));
}

std::string line(std::string text) {
    return text + "\r\n";
}

std::string heightsLine(double instrumentHeight, double targetHeight, rw5Heights& last) {
    last.instrumentHeight = instrumentHeight;
    last.targetHeight = targetHeight;
    return line("LS,HI" + valueText("%.3f", instrumentHeight) + ",HR" +
                valueText("%.3f", targetHeight));
}

std::string sightLine(const char* code, const std::string& station, const std::string& target,
                      double reading, double zenith, double distance) {
    return std::string(code) + ",OP" + station + ",FP" + target + ",AR" + angleText(reading) +
           ",ZE" + angleText(zenith) + ",SD" + valueText("%.3f", distance) + ",--";
}

} // namespace

std::string writeRw5Setup(const rawRec& setup, rw5Heights& last) {
    std::string text;
    if (setup.instrumentHeight != last.instrumentHeight ||
        setup.bsTargetHeight != last.targetHeight)
        text += heightsLine(setup.instrumentHeight, setup.bsTargetHeight, last);
    const std::string station = name(setup.stationName);
    const std::string backsight = name(setup.backsightName);
    text += line("BK,OP" + station + ",BP" + backsight + ",BS,BC" +
                 angleText(setup.bsHorizontalReading));
    if (setup.distance > 0.0) {
        const double zenith = setup.zenithOrVertDiff;
        const char* code = zenith > 0.0 && zenith < pi ? "BD" : "BR";
        text += line(
            sightLine(code, station, backsight, setup.bsHorizontalReading, zenith, setup.distance));
    }
    return text;
}

std::string writeRw5Sideshot(const rawRec& foresight, const std::string& station,
                             rw5Heights& last) {
    std::string text;
    if (foresight.targetHeight != last.targetHeight)
        text += heightsLine(last.instrumentHeight, foresight.targetHeight, last);
    text +=
        line(sightLine("SS", station, name(foresight.foresightName), foresight.horizontalReading,
                       foresight.zenithOrVertDiff, foresight.distance) +
             std::string(fixedText(foresight.description)));
    return text;
}

std::string writeRw5StoredPoint(const rawRec& coordinate) {
    return line("SP,PN" + name(coordinate.pointName) + ",N" +
                valueText("%.4f", coordinate.northing) + ",E" +
                valueText("%.4f", coordinate.easting) + ",EL" +
                valueText("%.4f", coordinate.elevation) + ",--" +
                std::string(fixedText(coordinate.description)));
}

std::string writeRw5FromConvertList() {
    std::string text;
    rw5Heights last;
    std::string station;
    rawRec record;
    for (int end = tsConvertRawList.seek1(0); end == 0 && tsConvertRawList.getNext1(record) == 0;) {
        if (record.kind == rawSetup) {
            station = name(record.stationName);
            text += writeRw5Setup(record, last);
        } else if (record.kind == rawForesight) {
            text += writeRw5Sideshot(record, station, last);
        } else if (record.kind == rawCoord) {
            text += writeRw5StoredPoint(record);
        }
    }
    return text;
}
