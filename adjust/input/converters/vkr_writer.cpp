#include "input/converters/vkr_writer.hpp"

#include "input/converters/converted_values.hpp"
#include "input/raw_text.hpp"
#include "model/program_lists.hpp"
#include "platform/c_locale_text.hpp"

#include <string_view>

namespace {

constexpr std::size_t headerLength = 498;
constexpr std::size_t recordLength = 187;
constexpr int headerNumber = 100;

// A field of a record line: its first column, its width and what it holds.
struct vkrField {
    std::size_t first;
    std::size_t width;
    const char* what;
};

constexpr vkrField stationField{1, 10, "station"};
constexpr vkrField hiField{12, 8, "instrument height"};
constexpr vkrField backsightField{21, 10, "backsight"};
constexpr vkrField targetField{32, 8, "target height"};
constexpr vkrField readingField{41, 10, "horizontal reading"};
constexpr vkrField distanceField{52, 9, "distance"};
constexpr vkrField zenithField{62, 9, "zenith angle"};
constexpr vkrField foresightField{72, 10, "foresight"};
constexpr vkrField codeField{83, 4, "code"};
constexpr vkrField descriptionField{87, 100, "description"};

// Builds one fixed-column line; the first field that does not fit is kept
// as the reason.
class FixedLine {
public:
    explicit FixedLine(std::string_view point) : text_(recordLength, ' '), point_(point) {
        text_[0] = '1';
    }

    void put(const vkrField& field, std::string_view value) {
        if (value.size() > field.width) {
            if (problem_.empty())
                problem_ = "the " + std::string(field.what) + " \"" + std::string(value) +
                           "\" of point " + point_ + " does not fit its .VKR columns";
            return;
        }
        text_.replace(field.first, value.size(), value);
    }

    std::string finish(std::string& line) {
        line = text_ + "\r\n";
        return problem_;
    }

private:
    std::string text_;
    std::string point_;
    std::string problem_;
};

void putSight(FixedLine& line, double reading, double distance, double zenith) {
    line.put(readingField, angleText(reading));
    line.put(distanceField, valueText("%9.3f", distance));
    line.put(zenithField, angleText(zenith));
}

} // namespace

std::string writeVkrHeader(int recordCount) {
    std::string header(headerLength, ' ');
    header.replace(190, 3, platform::formatC("%3d", headerNumber));
    header.replace(198, 10, "VER 1.0   ");
    const std::string count = platform::formatC("%010d", recordCount);
    header.replace(209, count.size(), count);
    return header + "\r\n";
}

std::string writeVkrSetupLine(const rawRec& setup, std::string& line) {
    const std::string_view station = fixedText(setup.stationName);
    FixedLine fixed(station);
    fixed.put(stationField, station);
    fixed.put(hiField, valueText("%8.3f", setup.instrumentHeight));
    fixed.put(backsightField, fixedText(setup.backsightName));
    fixed.put(targetField, valueText("%8.3f", setup.bsTargetHeight));
    putSight(fixed, setup.bsHorizontalReading, setup.distance, setup.zenithOrVertDiff);
    return fixed.finish(line);
}

std::string writeVkrForesightLine(const rawRec& foresight, std::string& line) {
    const std::string_view point = fixedText(foresight.foresightName);
    FixedLine fixed(point);
    fixed.put(targetField, valueText("%8.3f", foresight.targetHeight));
    putSight(fixed, foresight.horizontalReading, foresight.distance, foresight.zenithOrVertDiff);
    fixed.put(foresightField, point);
    fixed.put(codeField, fixedText(foresight.code));
    fixed.put(descriptionField, fixedText(foresight.description));
    return fixed.finish(line);
}

std::string writeVkrCoordLine(const rawRec& coordinate, std::string& line) {
    std::string text = "6C " + std::string(fixedText(coordinate.pointName)) + " " +
                       platform::formatC("%.3f %.3f", coordinate.northing, coordinate.easting);
    if (isSet(coordinate.elevation))
        text += " " + valueText("%.3f", coordinate.elevation);
    const std::string_view code = fixedText(coordinate.code);
    const std::string_view description = fixedText(coordinate.description);
    if (!code.empty() || !description.empty())
        text += " '" + std::string(code) + "," + std::string(description);
    line = std::string(trimmedBlanks(text)) + "\r\n";
    return {};
}

std::string writeVkrFromConvertList(std::string& text) {
    text = writeVkrHeader(tsConvertRawList.count());
    rawRec record;
    for (int end = tsConvertRawList.seek1(0); end == 0 && tsConvertRawList.getNext1(record) == 0;) {
        std::string line;
        std::string problem;
        if (record.kind == rawSetup)
            problem = writeVkrSetupLine(record, line);
        else if (record.kind == rawForesight)
            problem = writeVkrForesightLine(record, line);
        else if (record.kind == rawCoord)
            problem = writeVkrCoordLine(record, line);
        if (!problem.empty())
            return problem;
        text += line;
    }
    return {};
}
