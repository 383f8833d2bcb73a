#include "input/rw5_reader.hpp"

#include "input/raw_aliases.hpp"
#include "input/raw_files.hpp"
#include "input/rw5_numbers.hpp"
#include "input/rw5_reading.hpp"
#include "input/rw5_start_control.hpp"
#include "model/program_lists.hpp"
#include "model/progress.hpp"
#include "model/reader_std_errs.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/project_paths.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/length_units.hpp"
#include "platform/paths.hpp"
#include "platform/record_fields.hpp"
#include "platform/shell_services.hpp"
#include "platform/system_reason.hpp"

#include <array>
#include <cerrno>
#include <utility>

namespace {

constexpr int threeDModel = 1;
constexpr std::size_t foresightDescriptionMax = 100;

} // namespace

int isRw5ObservationCode(std::string_view code) {
    static constexpr std::array<std::string_view, 11> codes = {
        "TR", "SS", "CL", "FD", "FR", "BD", "BR", "AB", "OB", "--OB", "CL+AB"};
    for (std::string_view known : codes)
        if (code == known)
            return 1;
    return 0;
}

int isRw5RecordCode(std::string_view code) {
    static constexpr std::array<std::string_view, 22> codes = {
        "BK", "LS", "SP", "GS", "EL", "Z",  "AZ",  "MSE", "SSE", "CSE", "OC",
        "DO", "JB", "MO", "CF", "DE", "BP", "GPS", "G0",  "G1",  "G2",  "G3"};
    if (isRw5ObservationCode(code) != 0 || code.starts_with("--"))
        return 1;
    for (std::string_view known : codes)
        if (code == known)
            return 1;
    return 0;
}

std::string rw5CodeRefusal(std::string_view line, const Rw5Record& record) {
    if (line.size() < 2 || platform::isBlankLine(line))
        return {};
    const std::string& code = record.code;
    if (isRw5RecordCode(code) != 0)
        return {};
    if (code.empty())
        return platform::missingField("record code").sentence();
    return "The record code \"" + platform::recordExcerpt(code) +
           "\" is no record type this program knows, so the file may be damaged; a record of a "
           "type it does not read can be taken out of the file.";
}

// No run context reaches readRw5File: its interface has none, so the shell is
// the active one (the run installs its own for its length).
int readRw5File(const std::string& fileList, const std::string& aliasMarker) {
    const globalVars& s = projectVars;
    const double unitFactor =
        s.geodeticModel == threeDModel ? units::metresPerUnit(s.HorizUnits) : 1.0;
    initReaderStdErrs(s);
    rawDataList.clear();
    ptDescList.clear();
    pointAliasList.clear();
    activeShell().setMessage("Reading Raw data");

    std::vector<Rw5File> files;
    for (const std::string& name : fileListNames(fileList)) {
        Rw5File file;
        const std::string path = projectRelativePath(name);
        std::string error;
        if (!loadRw5File(path, file, error)) {
            reportRawFileFault(error);
            return rw5ReadFailed;
        }
        files.push_back(std::move(file));
    }
    Rw5Reading reading(upperAscii(aliasMarker), unitFactor);
    reading.reserveNames(files);
    for (const Rw5File& file : files)
        if (!reading.readFile(file))
            return rw5ReadFailed;
    if (lacksControlCoordinates() != 0 && readRw5OcControl(files, unitFactor) == 1)
        assumeRw5StartControl(files, unitFactor);
    return rw5ReadDone;
}

Rw5Reading::Rw5Reading(std::string aliasMarker, double unitFactor)
    : aliasMarker_(std::move(aliasMarker)), unitFactor_(unitFactor) {}

bool Rw5Reading::readFile(const Rw5File& file) {
    file_ = &file;
    foldedBd_ = noLine;
    const int count = static_cast<int>(file.lines.size());
    for (line_ = 0; line_ < file.lines.size(); ++line_) {
        postProgress(static_cast<int>(line_), count);
        if (!readLine(file.lines[line_]))
            return false;
    }
    return true;
}

// The tests run in this order; a false result ends the reading.
bool Rw5Reading::readLine(const std::string& line) {
    // "DO" on a line of its own is the shortest record.
    if (line.size() < 2)
        return true;
    const Rw5Record record = splitRw5Record(line);
    const std::string& code = record.code;
    // Checked while reading is off too: a damaged "DO" would leave it off
    // for the rest of the file.
    if (const std::string refusal = rw5CodeRefusal(line, record); !refusal.empty())
        return refuseRecord(refusal);
    if (code == "DO") {
        reading_ = !reading_;
        return true;
    }
    if (!reading_)
        return true;
    if (isHeightsOnNote(line) || isHeightsOffNote(line)) {
        heightsOn_ = isHeightsOnNote(line);
        return true;
    }
    // A "BD" that a setup took is checked like any record: its sight is the
    // setup's backsight sight.
    if (const auto fault = rw5RecordFault(record))
        return refuseRecord(fault->sentence());
    if (const std::string bad = nonDataNumberToken(record); !bad.empty())
        return refuseRecord("The value \"" + platform::recordExcerpt(bad) +
                            "\" is not a usable number.");
    if (line_ == foldedBd_) {
        foldedBd_ = noLine;
        return true;
    }
    if (!takeRecordNames(record))
        return false;
    if (code == "EL")
        readElevation(record, true);
    else if (code == "SP" || code == "GS")
        return readStoredPoint(record);
    else if (isRw5ObservationCode(code) != 0)
        return readObservation(record);
    else if (code == "BK")
        return readBacksightRecord(record);
    else if (code == "LS")
        readHeights(record);
    else if (code == "MSE" || code == "SSE" || code == "CSE")
        readStdErrRecord(record);
    else if (code == "AZ")
        readAzimuthRecord(record);
    else if (code == "Z")
        readElevation(record, false);
    return true;
}

bool Rw5Reading::readObservation(const Rw5Record& record) {
    Rw5Observation sight = parseRw5Observation(record);
    if (sight.foresight.empty() && (record.code == "BD" || record.code == "BR"))
        sight.foresight = setupBacksight_;
    if (!metSetupOrSight_ && !sight.occupied.empty() && !sight.foresight.empty())
        startAtStoredPoint(sight.occupied);
    metSetupOrSight_ = true;

    rawRec foresight;
    initRawForesight(foresight);
    setPointName(foresight.foresightName, sight.foresight);
    foresight.targetHeight = rodHeight_;
    foresight.horizontalReading = sight.sight.reading;
    applyRw5Sight(foresight, sight.sight, instrumentHeight_, rodHeight_, lineText());
    const std::size_t marker =
        aliasMarker_.empty() ? std::string::npos : upperAscii(sight.description).find(aliasMarker_);
    if (marker == std::string::npos)
        setFixedText(foresight.description,
                     std::string_view(sight.description).substr(0, foresightDescriptionMax));
    else if (!takeAlias(sight.description.substr(marker + aliasMarker_.size()), sight.foresight))
        return false;
    store(foresight);
    if (record.code == "TR")
        chainTraverseSetup(sight.foresight, sight.occupied);
    return true;
}

// The first sight of the files, from a point whose coordinates they gave:
// a dummy backsight due north of it orients the setup.
void Rw5Reading::startAtStoredPoint(const std::string& occupied) {
    const Rw5StoredPoint* point = findStoredPoint(occupied);
    if (point == nullptr || !isSet(point->northing) || !isSet(point->easting))
        return;
    const std::string dummy = names_.dummyBacksight(occupied, place());
    storeCoordinate(dummy, point->northing + rw5DummyDistance, point->easting, point->elevation);
    rawRec setup = newSetup(occupied, dummy);
    setup.bsHorizontalReading = 0.0;
    store(setup);
    setupBacksight_ = dummy;
}

// No run context reaches readRw5File: its interface has none, so the shell is
// the active one (the run installs its own for its length).
bool Rw5Reading::takeAlias(const std::string& afterMarker, const std::string& foresight) {
    const std::string point = aliasPointName(afterMarker);
    if (point.empty()) {
        const std::string text = platform::formatC("Found the alias: %s but no point name: %s",
                                                   aliasMarker_.c_str(), afterMarker.c_str());
        writeLine(errFile, text);
        writeLine(errFile, lineLocation());
        writeLine(errFile, "");
        activeShell().message(text + "\n" + lineLocation(), MessageKind::ok);
        return false;
    }
    const std::string refusal = addPointAlias(foresight, point);
    if (refusal.empty())
        return true;
    writeLine(errFile, refusal);
    writeLine(errFile, lineLocation());
    writeLine(errFile, "");
    activeShell().message(refusal + "\n" + lineLocation(), MessageKind::ok);
    return false;
}

// A traverse moves on without a "BK": the next setup stands on the point
// just sighted and looks back at the one it came from.
void Rw5Reading::chainTraverseSetup(const std::string& station, const std::string& backsight) {
    rawRec setup = newSetup(station, backsight);
    setup.bsHorizontalReading = 0.0;
    store(setup);
    setupBacksight_ = backsight;
}

void Rw5Reading::repeatSetupWithNewHi() {
    if (rawDataList.seek(rawDataList.count() - 1) != 0)
        return;
    rawRec met;
    while (rawDataList.get(met) == 0) {
        if (met.kind == rawForesight)
            return;
        if (met.kind == rawSetup) {
            store(newSetup("", ""));
            met.instrumentHeight = instrumentHeight_;
            store(met);
            return;
        }
        rawDataList.back();
    }
}

rawRec Rw5Reading::newSetup(const std::string& station, const std::string& backsight) const {
    rawRec setup;
    initRawSetup(setup);
    setPointName(setup.stationName, station);
    setPointName(setup.backsightName, backsight);
    setup.instrumentHeight = instrumentHeight_;
    setup.bsTargetHeight = rodHeight_;
    setup.heightsApplied = isSet(instrumentHeight_) && isSet(rodHeight_) ? 1 : 0;
    return setup;
}

void Rw5Reading::store(rawRec record) {
    if (!heightsOn_ && (record.kind == rawSetup || record.kind == rawForesight)) {
        (record.kind == rawSetup ? record.bsTargetHeight : record.targetHeight) = notComputed;
        record.heightsApplied = 0;
    }
    setRawRecordSource(record, file_->path, static_cast<int>(line_) + 1);
    rawDataList.append(record);
}

void Rw5Reading::storeAzimuth(const std::string& from, const std::string& to, double azimuth_rad) {
    rawRec azimuth;
    initRawAzimuth(azimuth);
    setPointName(azimuth.fromName, from);
    setPointName(azimuth.toName, to);
    azimuth.azimuth = azimuth_rad;
    store(azimuth);
}

void Rw5Reading::storeCoordinate(const std::string& point, double northing, double easting,
                                 double elevation) {
    rawRec coordinate;
    initRawCoord(coordinate);
    setPointName(coordinate.pointName, point);
    coordinate.northing = northing;
    coordinate.easting = easting;
    coordinate.elevation = elevation;
    store(coordinate);
}

const Rw5StoredPoint* Rw5Reading::findStoredPoint(const std::string& name) const {
    for (const Rw5StoredPoint& point : storedPoints_)
        if (sameName(point.name, name))
            return &point;
    return nullptr;
}

void Rw5Reading::addStoredPoint(const Rw5StoredPoint& point) {
    if (findStoredPoint(point.name) == nullptr)
        storedPoints_.push_back(point);
}

// A record with a damaged field, or a number that is no data ("inf", "nan",
// an overflow, a size no survey reaches), stops the reading. Left out with a
// warning, the records after it attached to the wrong setup or height (a
// setup lost moved its sights by tens of metres) and the run ended well.
// No run context reaches readRw5File: its interface has none, so the shell is
// the active one (the run installs its own for its length).
bool Rw5Reading::refuseRecord(const std::string& reason) const {
    const std::string record = platform::recordExcerpt(lineText());
    writeLine(errFile, "Error parsing raw record:");
    writeLine(errFile, record);
    writeLine(errFile, lineLocation());
    writeLine(errFile, reason);
    writeLine(errFile, "");
    activeShell().message("Error parsing raw record:\n" + record + "\n" + lineLocation() + "\n" +
                              reason,
                          MessageKind::ok);
    return false;
}

std::vector<std::string> rw5RecordNames(const Rw5Record& record) {
    const std::string& code = record.code;
    std::size_t count = 0;
    if (isRw5ObservationCode(code) != 0 || code == "BK" || code == "AZ")
        count = 2;
    else if (code == "SP" || code == "GS" || code == "EL" || code == "Z" || code == "OC")
        count = 1;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < count; ++i)
        names.push_back(rw5Name(rw5Token(record, i)));
    return names;
}

bool Rw5Reading::takeRecordNames(const Rw5Record& record) {
    for (const std::string& name : rw5RecordNames(record))
        if (!takeName(name))
            return false;
    return true;
}

void Rw5Reading::reserveNames(const std::vector<Rw5File>& files) {
    for (const Rw5File& file : files) {
        for (const std::string& line : file.lines) {
            for (const std::string& name : rw5RecordNames(splitRw5Record(line)))
                names_.reserve(name);
            names_.reserve(rw5ReadingNotePoint(line));
        }
    }
}

bool Rw5Reading::takeName(const std::string& name) {
    const std::optional<Rw5NameBook::Clash> clash = names_.take(name, place());
    return !clash || refuseNameClash(name, *clash);
}

// No run context reaches readRw5File: its interface has none, so the shell is
// the active one (the run installs its own for its length).
bool Rw5Reading::refuseNameClash(const std::string& name, const Rw5NameBook::Clash& clash) const {
    const std::string text =
        platform::equalsIgnoringCase(name, clash.earlier)
            ? "Point name " + name + " is the name of a point the reader made."
            : platform::formatC("Point names %s and %s agree in their first %d characters, so "
                                "they would be one point.",
                                clash.earlier.c_str(), name.c_str(),
                                static_cast<int>(pointNameMax));
    const std::string earlier = "  " + clash.earlier + " was " + clash.how;
    writeLine(errFile, text);
    writeLine(errFile, lineLocation());
    writeLine(errFile, earlier);
    writeLine(errFile, "");
    activeShell().message(text + "\n" + lineLocation() + "\n" + earlier, MessageKind::ok);
    return false;
}

std::string Rw5Reading::place() const {
    return platform::formatC("%s, line %d", file_->path.c_str(), static_cast<int>(line_) + 1);
}

std::string Rw5Reading::lineLocation() const {
    return "  File: " + place();
}
