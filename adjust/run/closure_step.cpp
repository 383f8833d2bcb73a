#include "run/closure_step.hpp"

#include "engine/closures.hpp"
#include "input/closure_file.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/project_paths.hpp"
#include "output/report_lines.hpp"
#include "platform/input_file.hpp"
#include "reports/closure_listing.hpp"
#include "run/driver_steps.hpp"

namespace {

ClosureSettings carriedSettings;

void report(const RunContext& context, const ClosureMessage& message) {
    for (const std::string& line : message.errorLines)
        writeLine(errFile, line);
    showMessage(context, message.boxText);
}

void reportAll(const RunContext& context, const std::vector<ClosureMessage>& messages) {
    for (const ClosureMessage& message : messages)
        report(context, message);
}

bool threeDChain() {
    return projectVars.geodeticModel == 1;
}

// Ranges of names take the points of the chain in use: those of its fixed and
// main lists; "A-" ends at the highest name of those and the given points.
bool pointExists(std::string_view name) {
    if (threeDChain())
        return fixedStationList.indexOf(name) >= 0 || stationList.indexOf(name) >= 0;
    return fixedPointList2D.indexOf(name) >= 0 || pointList2D.indexOf(name) >= 0;
}

template <class Point, class List>
void appendNames(const List& list, std::vector<std::string>& names) {
    Point point;
    for (int i = 0; list.getAt(i, point) == 0; ++i)
        names.emplace_back(fixedText(point.name));
}

std::vector<std::string> chainPointNames() {
    std::vector<std::string> names;
    if (threeDChain()) {
        for (const auto* list : {&fixedStationList, &stationList})
            appendNames<stationRec>(*list, names);
    } else {
        for (const auto* list : {&fixedPointList2D, &pointList2D})
            appendNames<coordRec>(*list, names);
    }
    return names;
}

std::string highestPointName(std::string_view start) {
    std::vector<std::string> names;
    if (threeDChain()) {
        for (const auto* list : {&fixedStationList, &stationList, &givenStationList})
            appendNames<stationRec>(*list, names);
    } else {
        for (const auto* list : {&fixedPointList2D, &pointList2D, &givenPointList2D})
            appendNames<coordRec>(*list, names);
    }
    return highestNameFor(start, names);
}

void computeDefinition(const RunContext& context, const ClosureSettings& settings) {
    const std::string text = trvPtListToText(trvPtList);
    const std::vector<std::string> names = pointNamesOf(trvPtList);
    if (settings.travType == gpsLoop) {
        writeRptGpsLoopPoints(text);
        writeRptClosureOptions(settings.travType, settings.angClosure, settings.vertClosure);
        const GpsLoopClosure loop = computeGpsLoopClosure(names);
        writeRptGpsLoopClosure(loop);
        reportAll(context, loop.messages);
        return;
    }
    writeRptTraversePoints(text);
    writeRptClosureOptions(settings.travType, settings.angClosure, settings.vertClosure);
    const TraverseClosure traverse = computeTraverseClosure(names, settings);
    writeRptTraverseClosure(traverse);
    reportAll(context, traverse.messages);
}

void message(const RunContext& context, const std::string& text) {
    report(context, {text, {text}});
}

} // namespace

bool computeClosures(const RunContext& context) {
    carriedSettings.angClosure = 0;
    const globalVars& s = projectVars;
    if (s.pClosureFileName.empty()) {
        report(context, {"'Preprocessing/Compute Traverse Closures' option chosen.\nBut no "
                         "closure file has been specified",
                         {"'Preprocessing/Compute Traverse Closures' option chosen.",
                          "But no closure file has been specified"}});
        return true;
    }
    const std::string path = projectRelativePath(s.pClosureFileName);
    std::vector<ClosureRecord> records;
    if (!readClosureRecords(path, records)) {
        const std::string problem = platform::inputFileProblem(path);
        message(context, "Error opening traverse closure file: " + path +
                             (problem.empty() ? ": read error" : ": " + problem));
        return false;
    }
    // A damaged record stops the run before any closure is computed: a
    // definition read without it would close a traverse the user did not list.
    for (const ClosureRecord& record : records)
        if (!record.refusal.empty()) {
            message(context, closureRecordRefusal(path, record));
            return false;
        }
    setStage(context, "Computing Closures");
    trvPtList.clear();
    writeRptErrLine("");
    writeRptClosuresTitle();
    const RangeNames rangeNames{pointExists, highestPointName, chainPointNames};
    for (const ClosureRecord& record : records) {
        std::string error;
        switch (record.keyword) {
        case kwTravList:
            if (parseTrvPtList(record.value, trvPtList, rangeNames, error) != sequenceParsed)
                message(context, error);
            break;
        case kwTravEnd:
            computeDefinition(context, carriedSettings);
            trvPtList.clear();
            break;
        case kwNone:
            message(context, "Error parsing record: " + record.text + "\r\nFile: " + path);
            break;
        default:
            applyClosureSetting(carriedSettings, record);
            break;
        }
    }
    trvPtList.clear();
    return true;
}

void resetClosureSettings() {
    carriedSettings = ClosureSettings{};
}
