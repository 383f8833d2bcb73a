#include "input/level_file_reader.hpp"
#include "input/level_reduction.hpp"
#include "input/level_reports.hpp"
#include "input/level_tokens.hpp"
#include "model/angle_math.hpp"
#include "model/packed_degrees.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/project_paths.hpp"
#include "model/sight_reduction.hpp"

#include <cmath>
#include <optional>

rawRecListOf<trigLevelRec> trigLevelList;

namespace {

using namespace leveltext;

std::optional<int> trigKindOf(std::string_view code) {
    static constexpr std::string_view codes[] = {"BM", "BS", "FS", "LS", "--", "H1", "H2"};
    for (int kind = 0; kind < 7; ++kind)
        if (code == codes[kind])
            return kind;
    return std::nullopt;
}

std::string strippedName(std::string_view value) {
    const auto first = value.find_first_not_of(' ');
    if (first == value.npos)
        return {};
    return std::string(value.substr(first, value.find_last_not_of(' ') - first + 1));
}

std::string headerText(std::string_view token) {
    return std::string(valueOf(token).substr(0, trigHeaderTextMax));
}

// A number token: an empty value leaves the target unset. False when the
// value is not a number.
bool readNumber(std::string_view token, double& target) {
    const std::string_view text = valueOf(token);
    if (text.find_first_not_of(' ') == text.npos)
        return true;
    const auto value = number(text);
    if (value)
        target = *value;
    return value.has_value();
}

// Applies one token of a record; false when its number is not a number.
// Tags a record does not use are passed over; the first description counts.
bool applyToken(trigLevelRec& r, std::string_view token) {
    const std::string_view tag = tagOf(token);
    const bool sighting = r.kind == trigBacksight || r.kind == trigForesight;
    if (tag == "--") {
        if (r.description.empty())
            r.description = descriptionOf(token);
        return true;
    }
    if (r.kind == trigHeader1) {
        std::string* fields[] = {&r.projectName, &r.operatorName, &r.loopName};
        const std::string_view tags[] = {"PR", "OP", "LP"};
        for (int i = 0; i < 3; ++i)
            if (tag == tags[i])
                *fields[i] = headerText(token);
        return true;
    }
    if (r.kind == trigHeader2) {
        std::string* fields[] = {&r.date, &r.time, &r.pressure, &r.temperature};
        const std::string_view tags[] = {"DT", "TM", "PR", "TP"};
        for (int i = 0; i < 4; ++i)
            if (tag == tags[i])
                *fields[i] = headerText(token);
        return true;
    }
    if (tag == "PN" && (sighting || r.kind == trigBenchmark)) {
        setPointName(r.name, strippedName(valueOf(token)));
        return true;
    }
    if (tag == "EL" && r.kind == trigBenchmark)
        return readNumber(token, r.elevation);
    if (tag == "HR" && r.kind == trigRodSetting)
        return readNumber(token, r.rodHeight);
    if (!sighting)
        return true;
    if (tag == "ZE") {
        double packed = notComputed;
        if (!readNumber(token, packed))
            return false;
        if (isSet(packed))
            r.zenith = dmsToRadians(packed);
        return true;
    }
    if (tag == "VD")
        return readNumber(token, r.vertical);
    if (tag == "SD")
        return readNumber(token, r.slopeDistance);
    if (tag == "HD")
        return readNumber(token, r.horizontalDistance);
    return true;
}

// A sighting by zenith angle and slope distance: its horizontal distance and
// its vertical value, minus the height component for a face-left zenith,
// plus it for face right.
void reduceSighting(trigLevelRec& r) {
    if (!isSet(r.zenith) || !isSet(r.slopeDistance) || r.slopeDistance <= 0.0)
        return;
    double height = 0.0;
    if (projectVars.curvRefract != 0) {
        slopeToHzVertCurvRefr(r.slopeDistance, r.zenith, r.horizontalDistance, height);
    } else {
        r.horizontalDistance = r.slopeDistance * std::fabs(std::sin(r.zenith));
        height = r.slopeDistance * std::cos(r.zenith);
    }
    r.vertical = r.zenith < angle::pi ? -height : height;
}

} // namespace

levelLineResult parseTrigLevelLine(const std::string& line, trigLevelRec& out) {
    const auto kind = trigKindOf(recordCode(line));
    if (!kind)
        return levelLineResult::notARecord;
    trigLevelRec record;
    record.kind = *kind;
    if (*kind == trigComment) {
        record.description = line.substr(2);
    } else {
        for (const std::string& token : tokensOf(line))
            if (!applyToken(record, token))
                return levelLineResult::malformed;
        reduceSighting(record);
    }
    out = record;
    return levelLineResult::record;
}

int readTrigLevelFile(int reportHandle, const std::string& path, int writeReport) {
    if (!readRecords(trigLevelList, projectRelativePath(path), parseTrigLevelLine))
        return levelReadFailed;
    reduceTrigLevels2D(recordsOf(trigLevelList));
    if (writeReport == 1)
        writeUnadjustedTrigLevelReport(reportHandle);
    trigLevelList.clear();
    return levelReadOk;
}
