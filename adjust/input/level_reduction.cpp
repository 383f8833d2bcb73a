#include "input/level_reduction.hpp"

#include "input/level_observations.hpp"
#include "model/angle_math.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/length_units.hpp"

#include <string>

namespace {

double setupStdErr(int setups) {
    const globalVars& s = projectVars;
    return levelDiffStdErr(setups, s.diffLevCollimation, s.diffLevRodRead, s.diffLevDistBSFS);
}

// The running state of a .LEV run: the point the next difference starts
// from, the height of instrument and the setups counted since that point.
struct runState {
    std::string fromName, fromDesc;
    double fromElev = notComputed;
    double hi = 0.0;
    int setups = 0;
};

// Walks a .LEV run; `sink` decides which differences are filed and files
// them (see reduceLevelRun2D and reduceLevelRun3D).
template <class Sink> void walkLevelRun(const std::vector<levelRec>& records, Sink& sink) {
    runState s;
    for (const levelRec& r : records) {
        const std::string name(fixedText(r.name));
        const bool linked = !name.empty() && !s.fromName.empty();
        switch (r.kind) {
        case levStartOfRun:
            s.fromName = name;
            s.fromDesc = r.description;
            s.fromElev = r.elevation;
            s.hi = r.elevation + r.backsight;
            s.setups = 0;
            sink.benchmark(r, name);
            break;
        case levTurningPoint:
        case levEndOfRun: {
            const double elevation = s.hi - r.foresight;
            if (linked && sink.accepts(s.fromName, name, r.kind)) {
                sink.difference(s, name, r.description, elevation - s.fromElev,
                                s.setups + 1 + sink.extraSetups);
                s.fromName = name;
                s.fromDesc = r.description;
                s.fromElev = elevation;
                s.setups = 0;
            } else {
                ++s.setups;
            }
            if (r.kind == levTurningPoint)
                s.hi = elevation + r.backsight;
            else
                sink.benchmark(r, name);
            break;
        }
        case levSideShot:
            if (linked && sink.accepts(s.fromName, name, r.kind))
                sink.difference(s, name, r.description, s.hi - r.foresight - s.fromElev,
                                s.setups + 1);
            sink.benchmark(r, name);
            break;
        default:
            break;
        }
    }
}

struct twoDimensionalSink {
    static constexpr int extraSetups = 0;

    bool accepts(const std::string&, const std::string&, int) const { return true; }
    void difference(const runState& s, const std::string& to, const std::string& toDesc,
                    double diff, int setups) const {
        levDiffArray.push_back({s.fromName, s.fromDesc, to, toDesc, diff, setupStdErr(setups), 0});
    }
    void benchmark(const levelRec& r, const std::string& name) const {
        if (!name.empty() && r.fixed != 0)
            addLevelBenchmark2D(name, r.description, r.elevation);
    }
};

struct threeDimensionalSink {
    static constexpr int extraSetups = 1;
    double factor = units::metresPerUnit(projectVars.levelUnits);

    // Both ends must be network stations; a turning point that is not one is
    // chained through without a word.
    bool accepts(const std::string& from, const std::string& to, int kind) const {
        const bool known = isLevelStation3D(from) && isLevelStation3D(to);
        if (!known && kind != levTurningPoint)
            writeRptErrLine(platform::formatC(
                "Level difference %s to %s not used: both points must be network stations.",
                from.c_str(), to.c_str()));
        return known;
    }
    void difference(const runState& s, const std::string& to, const std::string& toDesc,
                    double diff, int setups) const {
        addLevelObs3D(s.fromName, s.fromDesc, to, toDesc, factor * diff,
                      factor * setupStdErr(setups));
    }
    void benchmark(const levelRec&, const std::string&) const {}
};

} // namespace

void reduceLevelRun2D(const std::vector<levelRec>& records) {
    levDiffArray.clear();
    twoDimensionalSink sink;
    walkLevelRun(records, sink);
    averageLevDiffs();
    levDiffArray.clear();
}

void reduceLevelRun3D(const std::vector<levelRec>& records) {
    levelList.clear();
    threeDimensionalSink sink;
    walkLevelRun(records, sink);
}

double faceCorrectedVertical(const trigLevelRec& sighting) {
    if (isSet(sighting.zenith) && sighting.zenith >= angle::pi)
        return -sighting.vertical;
    return sighting.vertical;
}

sightingGroup sightingGroupAt(const std::vector<trigLevelRec>& records, std::size_t first) {
    sightingGroup group;
    group.last = first;
    const trigLevelRec& opening = records[first];
    double sum = 0.0;
    int count = 0;
    for (std::size_t i = first; i < records.size(); ++i) {
        const trigLevelRec& r = records[i];
        if (i > first && r.kind == trigComment)
            continue;
        if (i > first &&
            (r.kind != opening.kind || !sameName(fixedText(r.name), fixedText(opening.name))))
            break;
        group.last = i;
        if (isSet(r.vertical)) {
            sum += faceCorrectedVertical(r);
            ++count;
        }
    }
    group.hasValue = count > 0;
    group.mean = count > 0 ? sum / count : 0.0;
    return group;
}

namespace {

void reportGroupWithoutValue(const trigLevelRec& sighting) {
    writeRptErrLine(platform::formatC(
        "Level sightings of %s have no vertical value: no height difference is formed.",
        fixedText(sighting.name).data()));
}

} // namespace

void reduceTrigLevels2D(const std::vector<trigLevelRec>& records) {
    std::string fromName, fromDesc;
    double rodHeight = 0.0;
    bool backsightValid = false;
    double backsightLevel = 0.0; // w_B + HR at the backsight
    int setups = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const trigLevelRec& r = records[i];
        const std::string name(fixedText(r.name));
        switch (r.kind) {
        case trigBenchmark:
            fromName = name;
            fromDesc = r.description;
            setups = 0;
            if (isSet(r.elevation))
                addLevelBenchmark2D(name, r.description, r.elevation);
            break;
        case trigRodSetting:
            if (isSet(r.rodHeight))
                rodHeight = r.rodHeight;
            break;
        case trigBacksight: {
            const sightingGroup group = sightingGroupAt(records, i);
            backsightValid = group.hasValue;
            backsightLevel = group.mean + rodHeight;
            if (!group.hasValue)
                reportGroupWithoutValue(r);
            fromName = name;
            i = group.last;
            break;
        }
        case trigForesight: {
            ++setups;
            const sightingGroup group = sightingGroupAt(records, i);
            if (!name.empty() && !fromName.empty()) {
                if (!group.hasValue)
                    reportGroupWithoutValue(r);
                else if (backsightValid)
                    addLevelDiff2D(fromName, fromDesc, name, r.description,
                                   backsightLevel - group.mean - rodHeight, setupStdErr(setups));
                ++setups;
            }
            i = group.last;
            break;
        }
        default:
            break;
        }
    }
}
