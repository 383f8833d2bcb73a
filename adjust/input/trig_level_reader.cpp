#include "input/level_file_reader.hpp"
#include "input/level_reduction.hpp"
#include "input/level_reports.hpp"
#include "input/level_tokens.hpp"
#include "model/angle_math.hpp"
#include "model/packed_degrees.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/project_paths.hpp"
#include "model/sight_reduction.hpp"
#include "platform/record_fields.hpp"

#include <cmath>
#include <optional>

rawRecListOf<trigLevelRec> trigLevelList;

namespace {

using namespace leveltext;

// In kind order.
constexpr std::string_view trigCodes[] = {"BM", "BS", "FS", "LS", "--", "H1", "H2"};

std::optional<int> trigKindOf(std::string_view code) {
    for (int kind = 0; kind < 7; ++kind)
        if (code == trigCodes[kind])
            return kind;
    return std::nullopt;
}

std::string headerText(std::string_view token) {
    return std::string(valueOf(token).substr(0, trigHeaderTextMax));
}

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A number token: an empty value leaves the target unset. The refusal's
// sentence, or empty.
std::string readNumberToken(std::string_view token, std::string_view field, double& target) {
    const std::string_view text = valueOf(token);
    if (text.find_first_not_of(' ') == text.npos)
        return {};
    const platform::FieldValue<double> value = platform::readNumber(text, field);
    if (!value)
        return value.error().sentence();
    target = *value;
    return {};
}

// PN: a blank name is an unnamed point; a name is never cut.
std::string readNameToken(std::string_view token, trigLevelRec& r) {
    const std::string_view text = valueOf(token);
    if (text.find_first_not_of(' ') == text.npos) {
        setPointName(r.name, "");
        return {};
    }
    const platform::FieldValue<std::string> name =
        platform::readName(text, "point name", pointNameMax);
    if (!name)
        return name.error().sentence();
    setPointName(r.name, *name);
    return {};
}

std::string readZenithToken(std::string_view token, trigLevelRec& r) {
    const std::string_view text = valueOf(token);
    if (text.find_first_not_of(' ') == text.npos)
        return {};
    const platform::FieldValue<double> packed = platform::readPackedAngle(text, "zenith angle");
    if (!packed)
        return packed.error().sentence();
    r.zenith = dmsToRadians(*packed);
    return {};
}

void applyHeaderToken(trigLevelRec& r, std::string_view tag, std::string_view token) {
    if (r.kind == trigHeader1) {
        std::string* fields[] = {&r.projectName, &r.operatorName, &r.loopName};
        const std::string_view tags[] = {"PR", "OP", "LP"};
        for (int i = 0; i < 3; ++i)
            if (tag == tags[i])
                *fields[i] = headerText(token);
        return;
    }
    std::string* fields[] = {&r.date, &r.time, &r.pressure, &r.temperature};
    const std::string_view tags[] = {"DT", "TM", "PR", "TP"};
    for (int i = 0; i < 4; ++i)
        if (tag == tags[i])
            *fields[i] = headerText(token);
}

// Applies one token of a record: the refusal's sentence, or empty. Tags a
// record does not use are passed over; the first description counts. A
// token of a benchmark, rod or sighting record that is no tag and value is
// a slip (a decimal comma splits "VD-0,620" in two), never passed over.
std::string applyToken(trigLevelRec& r, std::string_view token) {
    const std::string_view tag = tagOf(token);
    const bool sighting = r.kind == trigBacksight || r.kind == trigForesight;
    if (tag == "--") {
        if (r.description.empty())
            r.description = descriptionOf(token);
        return {};
    }
    if (r.kind == trigHeader1 || r.kind == trigHeader2) {
        applyHeaderToken(r, tag, token);
        return {};
    }
    if (tag.size() < 2 || !isAsciiLetter(tag[0]) || !isAsciiLetter(tag[1]))
        return unplacedTokenSentence(token, trigCodes[r.kind]);
    if (tag == "PN" && (sighting || r.kind == trigBenchmark))
        return readNameToken(token, r);
    if (tag == "EL" && r.kind == trigBenchmark)
        return readNumberToken(token, "elevation", r.elevation);
    if (tag == "HR" && r.kind == trigRodSetting)
        return readNumberToken(token, "rod height", r.rodHeight);
    if (!sighting)
        return {};
    if (tag == "ZE")
        return readZenithToken(token, r);
    if (tag == "VD")
        return readNumberToken(token, "vertical difference", r.vertical);
    if (tag == "SD")
        return readNumberToken(token, "slope distance", r.slopeDistance);
    if (tag == "HD")
        return readNumberToken(token, "horizontal distance", r.horizontalDistance);
    return {};
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

levelLineResult parseTrigLevelLine(const std::string& line, trigLevelRec& out, std::string& fault) {
    const auto kind = trigKindOf(recordCode(line));
    if (!kind)
        return unknownCodeLine(line, fault);
    trigLevelRec record;
    record.kind = *kind;
    if (*kind == trigComment) {
        record.description = line.substr(2);
    } else {
        for (const std::string& token : tokensOf(line)) {
            fault = applyToken(record, token);
            if (!fault.empty())
                return levelLineResult::malformed;
        }
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
