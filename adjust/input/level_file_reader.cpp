#include "input/level_file_reader.hpp"

#include "input/level_reduction.hpp"
#include "input/level_reports.hpp"
#include "input/level_tokens.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/project_paths.hpp"
#include "output/report_lines.hpp"

#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

rawRecListOf<levelRec> levelRunList;

namespace {

using namespace leveltext;

// The tokens of one record, taken in order by the slots of its code.
class TokenWalk {
public:
    explicit TokenWalk(std::vector<std::string> tokens) : tokens_(std::move(tokens)) {}

    bool at(std::string_view tag) const {
        return next_ < tokens_.size() && tagOf(tokens_[next_]) == tag;
    }
    bool atEnd() const { return next_ >= tokens_.size(); }
    std::string_view take() { return tokens_[next_++]; }
    void skip() { ++next_; }

private:
    std::vector<std::string> tokens_;
    std::size_t next_ = 0;
};

struct WireTags {
    const char* single; // the reading, or the mean of the wires
    const char* top;
    const char* middle;
    const char* bottom;
};
constexpr WireTags backWires{"BS", "BT", "BM", "BB"};
constexpr WireTags foreWires{"FS", "FT", "FM", "FB"};

// A reading slot: one reading, or three wires and their mean. False when the
// slot holds neither or a value is not a number.
bool takeReading(TokenWalk& walk, const WireTags& tags, double& reading, double& top,
                 double& middle, double& bottom) {
    if (walk.at(tags.single)) {
        const auto value = number(valueOf(walk.take()));
        if (!value)
            return false;
        reading = *value;
        return true;
    }
    double* wires[] = {&top, &middle, &bottom};
    const char* wireTags[] = {tags.top, tags.middle, tags.bottom};
    for (int w = 0; w < 3; ++w) {
        if (!walk.at(wireTags[w]))
            return false;
        const auto value = number(valueOf(walk.take()));
        if (!value)
            return false;
        *wires[w] = *value;
    }
    reading = (top + middle + bottom) / 3.0;
    return true;
}

// A slot whose content is not used; three tokens when it opens a wire group
// (`group`). A token of the slot that follows (`nextTags`) is never taken
// for it, so a record that leaves the slot out still reads.
void skipUnusedSlot(TokenWalk& walk, const WireTags& group,
                    std::initializer_list<const char*> nextTags) {
    if (walk.atEnd())
        return;
    for (const char* tag : nextTags)
        if (walk.at(tag))
            return;
    const bool wires = walk.at(group.top);
    walk.skip();
    if (wires) {
        walk.skip();
        walk.skip();
    }
}

void takeName(TokenWalk& walk, levelRec& record) {
    if (walk.at("PN")) {
        const std::string_view name = valueOf(walk.take());
        const auto first = name.find_first_not_of(' ');
        setPointName(record.name, first == name.npos ? std::string_view() : name.substr(first));
    }
}

enum class slotResult { absent, taken, bad };

// EL or FE: the elevation and the fixed flag. An empty value is no elevation.
slotResult takeElevation(TokenWalk& walk, levelRec& record) {
    const bool fixed = walk.at("FE");
    if (!fixed && !walk.at("EL"))
        return slotResult::absent;
    const std::string_view text = valueOf(walk.take());
    if (text.find_first_not_of(' ') == text.npos)
        return slotResult::absent;
    const auto value = number(text);
    if (!value)
        return slotResult::bad;
    record.elevation = *value;
    record.fixed = fixed ? 1 : 0;
    return slotResult::taken;
}

void takeDescription(TokenWalk& walk, levelRec& record) {
    if (walk.at("--"))
        record.description = descriptionOf(walk.take());
}

bool parseStartOfRun(TokenWalk& walk, levelRec& r) {
    if (!walk.at("PN"))
        return false;
    takeName(walk, r);
    if (!takeReading(walk, backWires, r.backsight, r.backTop, r.backMiddle, r.backBottom))
        return false;
    skipUnusedSlot(walk, foreWires, {"EL", "FE"});
    if (takeElevation(walk, r) != slotResult::taken)
        return false;
    takeDescription(walk, r);
    return true;
}

bool parseTurningPoint(TokenWalk& walk, levelRec& r) {
    takeName(walk, r);
    if (!takeReading(walk, backWires, r.backsight, r.backTop, r.backMiddle, r.backBottom) ||
        !takeReading(walk, foreWires, r.foresight, r.foreTop, r.foreMiddle, r.foreBottom))
        return false;
    takeDescription(walk, r);
    return true;
}

// ER and LV.
bool parseForesightRecord(TokenWalk& walk, levelRec& r) {
    takeName(walk, r);
    skipUnusedSlot(walk, backWires, {"FS", "FT"});
    if (!takeReading(walk, foreWires, r.foresight, r.foreTop, r.foreMiddle, r.foreBottom) ||
        takeElevation(walk, r) == slotResult::bad)
        return false;
    takeDescription(walk, r);
    return true;
}

std::optional<int> levelKindOf(std::string_view code) {
    if (code == "SR")
        return levStartOfRun;
    if (code == "TP")
        return levTurningPoint;
    if (code == "ER")
        return levEndOfRun;
    if (code == "--")
        return levComment;
    if (code == "LV")
        return levSideShot;
    return std::nullopt;
}

} // namespace

levelLineResult parseLevelLine(const std::string& line, levelRec& out) {
    const auto kind = levelKindOf(recordCode(line));
    if (!kind)
        return levelLineResult::notARecord;
    levelRec record;
    record.kind = *kind;
    if (*kind == levComment) {
        record.description = line.substr(2);
        out = record;
        return levelLineResult::record;
    }
    TokenWalk walk(tokensOf(line));
    bool fits = false;
    switch (*kind) {
    case levStartOfRun:
        fits = parseStartOfRun(walk, record);
        break;
    case levTurningPoint:
        fits = parseTurningPoint(walk, record);
        break;
    default:
        fits = parseForesightRecord(walk, record);
        break;
    }
    if (!fits)
        return levelLineResult::malformed;
    out = record;
    return levelLineResult::record;
}

int readLevFile2D(int reportHandle, const std::string& path, int writeReport) {
    if (!readRecords(levelRunList, projectRelativePath(path), parseLevelLine))
        return levelReadFailed;
    reduceLevelRun2D(recordsOf(levelRunList));
    if (writeReport == 1)
        writeUnadjustedLevelReport(reportHandle);
    levelRunList.clear();
    return levelReadOk;
}

int readLevFile3D(const std::string& path) {
    if (!readRecords(levelRunList, projectRelativePath(path), parseLevelLine))
        return levelReadFailed;
    reduceLevelRun3D(recordsOf(levelRunList));
    writeUnadjustedLevelReport(rptFile);
    levelRunList.clear();
    return levelReadOk;
}

int readLevelFile() {
    const std::string& path = projectVars.pLevRawFileName;
    if (projectVars.levelFileFmtType != levelFormatDifferential)
        return readTrigLevelFile(rptFile, path, 1);
    return readLevFile2D(rptFile, path, 1);
}
