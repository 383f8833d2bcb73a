#include "input/level_file_reader.hpp"

#include "input/level_reduction.hpp"
#include "input/level_reports.hpp"
#include "input/level_tokens.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/project_paths.hpp"
#include "output/report_lines.hpp"
#include "platform/record_fields.hpp"

#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

rawRecListOf<levelRec> levelRunList;

namespace {

using namespace leveltext;

// The tokens of one record, taken in order by the slots of its code; the
// first refusal is kept as the record's fault.
class TokenWalk {
public:
    explicit TokenWalk(std::vector<std::string> tokens) : tokens_(std::move(tokens)) {}

    bool at(std::string_view tag) const {
        return next_ < tokens_.size() && tagOf(tokens_[next_]) == tag;
    }
    bool atEnd() const { return next_ >= tokens_.size(); }
    std::string_view take() { return tokens_[next_++]; }
    std::string_view peek() const { return tokens_[next_]; }
    void skip() { ++next_; }

    // False, keeping the first sentence, for the caller to return.
    bool refuse(std::string sentence) {
        if (fault.empty())
            fault = std::move(sentence);
        return false;
    }
    bool refuse(const platform::FieldError& error) { return refuse(error.sentence()); }
    bool missing(const std::string& field) { return refuse(platform::missingField(field)); }

    // The value of the next token as a number named `field`.
    bool takeNumber(std::string_view field, double& target) {
        const platform::FieldValue<double> value = platform::readNumber(valueOf(take()), field);
        if (!value)
            return refuse(value.error());
        target = *value;
        return true;
    }

    std::string fault;

private:
    std::vector<std::string> tokens_;
    std::size_t next_ = 0;
};

struct WireTags {
    const char* single; // the reading, or the mean of the wires
    const char* top;
    const char* middle;
    const char* bottom;
    const char* reading; // how a message names the reading
};
constexpr WireTags backWires{"BS", "BT", "BM", "BB", "backsight"};
constexpr WireTags foreWires{"FS", "FT", "FM", "FB", "foresight"};

// A reading slot: one reading, or three wires and their mean. False when the
// slot holds neither or a value is not a number.
bool takeReading(TokenWalk& walk, const WireTags& tags, double& reading, double& top,
                 double& middle, double& bottom) {
    if (walk.at(tags.single))
        return walk.takeNumber(tags.reading, reading);
    double* wires[] = {&top, &middle, &bottom};
    const char* wireTags[] = {tags.top, tags.middle, tags.bottom};
    for (int w = 0; w < 3; ++w) {
        const std::string field = std::string(tags.reading) + " " + wireTags[w];
        if (!walk.at(wireTags[w]))
            return walk.missing(field);
        if (!walk.takeNumber(field, *wires[w]))
            return false;
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

// PN: a blank name is an unnamed point; a name is never cut.
bool takeName(TokenWalk& walk, levelRec& record) {
    if (!walk.at("PN"))
        return true;
    const std::string_view text = valueOf(walk.take());
    if (text.find_first_not_of(' ') == text.npos)
        return true;
    const platform::FieldValue<std::string> name =
        platform::readName(text, "point name", pointNameMax);
    if (!name)
        return walk.refuse(name.error());
    setPointName(record.name, *name);
    return true;
}

enum class slotResult { absent, taken, bad };

// EL or FE: the elevation and the fixed flag. An empty value is no elevation.
slotResult takeElevation(TokenWalk& walk, levelRec& record) {
    const bool fixed = walk.at("FE");
    if (!fixed && !walk.at("EL"))
        return slotResult::absent;
    if (valueOf(walk.peek()).find_first_not_of(' ') == std::string_view::npos) {
        walk.skip();
        return slotResult::absent;
    }
    if (!walk.takeNumber("elevation", record.elevation))
        return slotResult::bad;
    record.fixed = fixed ? 1 : 0;
    return slotResult::taken;
}

void takeDescription(TokenWalk& walk, levelRec& record) {
    if (walk.at("--"))
        record.description = descriptionOf(walk.take());
}

bool parseStartOfRun(TokenWalk& walk, levelRec& r) {
    if (!walk.at("PN"))
        return walk.missing("point name");
    if (!takeName(walk, r) ||
        !takeReading(walk, backWires, r.backsight, r.backTop, r.backMiddle, r.backBottom))
        return false;
    skipUnusedSlot(walk, foreWires, {"EL", "FE"});
    const slotResult elevation = takeElevation(walk, r);
    if (elevation == slotResult::absent)
        return walk.missing("elevation");
    if (elevation == slotResult::bad)
        return false;
    takeDescription(walk, r);
    return true;
}

bool parseTurningPoint(TokenWalk& walk, levelRec& r) {
    if (!takeName(walk, r) ||
        !takeReading(walk, backWires, r.backsight, r.backTop, r.backMiddle, r.backBottom) ||
        !takeReading(walk, foreWires, r.foresight, r.foreTop, r.foreMiddle, r.foreBottom))
        return false;
    takeDescription(walk, r);
    return true;
}

// ER and LV.
bool parseForesightRecord(TokenWalk& walk, levelRec& r) {
    if (!takeName(walk, r))
        return false;
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

bool parseFields(TokenWalk& walk, levelRec& record) {
    switch (record.kind) {
    case levStartOfRun:
        return parseStartOfRun(walk, record);
    case levTurningPoint:
        return parseTurningPoint(walk, record);
    default:
        return parseForesightRecord(walk, record);
    }
}

} // namespace

levelLineResult parseLevelLine(const std::string& line, levelRec& out, std::string& fault) {
    const auto kind = levelKindOf(recordCode(line));
    if (!kind)
        return unknownCodeLine(line, fault);
    levelRec record;
    record.kind = *kind;
    if (*kind == levComment) {
        record.description = line.substr(2);
        out = record;
        return levelLineResult::record;
    }
    TokenWalk walk(tokensOf(line));
    if (!parseFields(walk, record)) {
        fault = walk.fault;
        return levelLineResult::malformed;
    }
    // A field left over is a slip (a decimal comma splits "FS0,380" in two),
    // never a field to pass over.
    if (!walk.atEnd()) {
        fault = unplacedTokenSentence(walk.peek(), recordCode(line));
        return levelLineResult::malformed;
    }
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
