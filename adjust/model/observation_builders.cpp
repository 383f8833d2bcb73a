#include "model/observation_builders.hpp"

#include "model/angle_sets.hpp"
#include "model/control_coordinates.hpp"
#include "model/distance_sets.hpp"
#include "model/mark_to_mark.hpp"
#include "model/program_lists.hpp"
#include "model/progress.hpp"
#include "model/raw_record.hpp"
#include "model/raw_sight_index.hpp"
#include "model/reader_std_errs.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/length_units.hpp"
#include "platform/shell_services.hpp"

namespace {

constexpr int threeDModel = 1;

void scaleWhenSet(double& value, double factor) {
    if (isSet(value))
        value *= factor;
}

void writeErrNote(const std::string& text) {
    writeLine(errFile, text);
    writeLine(errFile, "");
}

// Turns the lengths of a record from the project's unit into metres, once.
// A vertical difference read as such is a length as well.
void scaleToMetres(rawRec& r, double u) {
    if (r.lengthsInMetres != 0)
        return;
    if (r.kind == rawSetup || r.kind == rawForesight) {
        scaleWhenSet(r.distance, u);
        scaleWhenSet(r.horizDistance, u);
        scaleWhenSet(r.markSlopeDistance, u);
        scaleWhenSet(r.vertDifference, u);
        if (r.sightForm == sightHorizVert)
            scaleWhenSet(r.zenithOrVertDiff, u);
        scaleWhenSet(r.kind == rawSetup ? r.bsTargetHeight : r.targetHeight, u);
        if (r.kind == rawSetup)
            scaleWhenSet(r.instrumentHeight, u);
    } else if (r.kind == rawCoord) {
        scaleWhenSet(r.easting, u);
        scaleWhenSet(r.northing, u);
        scaleWhenSet(r.elevation, u);
    }
    r.lengthsInMetres = 1;
}

bool sightMeasured(const rawRec& r) {
    return isSet(r.distance) || isSet(r.zenithOrVertDiff);
}

void noteMissingHeights(const rawRec& r, const std::string& instrument) {
    if (r.kind == rawSetup) {
        const std::string station(fixedText(r.stationName));
        const std::string backsight(fixedText(r.backsightName));
        if (!isSet(r.instrumentHeight))
            writeErrNote(platform::formatC("IP: %10.10s, BS: %10.10s, Missing HI. All foresight "
                                           "distances and vertical angles from this setup will "
                                           "be ignored.",
                                           station.c_str(), backsight.c_str()));
        if (!isSet(r.bsTargetHeight) && sightMeasured(r))
            writeErrNote(platform::formatC("IP: %10.10s, BS: %10.10s, Missing Rod Ht. BS "
                                           "distance and BS vertical angle ignored.",
                                           station.c_str(), backsight.c_str()));
    } else if (r.kind == rawForesight && !isSet(r.targetHeight) && sightMeasured(r)) {
        const std::string point(fixedText(r.foresightName));
        writeErrNote(platform::formatC("IP: %10.10s, FS: %10.10s, Missing Rod Ht. FS distance "
                                       "and FS vertical angle ignored.",
                                       instrument.c_str(), point.c_str()));
    }
}

// The 3D lengths pass over the whole raw list (cursor 0).
void convertLengthsToMetres() {
    const double u = units::metresPerUnit(projectVars.HorizUnits);
    std::string instrument;
    rawRec record;
    rawDataList.seek(0);
    while (rawDataList.get(record) == 0) {
        advanceProgress();
        if (record.kind == rawSetup || record.kind == rawForesight || record.kind == rawCoord) {
            scaleToMetres(record, u);
            rawDataList.replaceAtCursor(record);
        }
        if (record.kind == rawSetup)
            instrument = std::string(fixedText(record.stationName));
        noteMissingHeights(record, instrument);
        if (rawDataList.advance() != 0)
            break;
    }
}

template <class ReadSetup, class AddAngles>
// No run context reaches buildObsLists2D and buildObsLists3D: their interface has none, so the
// shell is the active one (the run installs its own for its length).
bool angleSetsPass(ReadSetup readSetup, AddAngles addAngles) {
    restoreReaderStdErrs();
    if (rawDataList.count() > 0) {
        rawDataList.seek(0);
        setupRec setup;
        int at = 0;
        while (readSetup(setup, at) == setupRead)
            addAngles(setup, at);
        setup.backsightReadings.clear();
    }
    return !activeShell().cancelled();
}

// Calls `build` for each coordinate record whose point `known` does not
// know yet, with the errors in force at the record, which it leaves as they
// were. Walks cursor 1; a cancel asked for meanwhile ends the run.
template <class Known, class Build> void controlPass(Known known, Build build) {
    const int total = rawDataList.count();
    rawRec record;
    rawDataList.seek1(0);
    for (int index = 0; rawDataList.getNext1(record) == 0; ++index) {
        endRunWhenCancelled();
        if (record.kind == rawCoord) {
            const std::string_view name = fixedText(record.pointName);
            if (known(name) == 0) {
                const stdErrBlock inForce = readerStdErrs;
                build(name, index);
                readerStdErrs = inForce;
            }
        } else if (record.kind == rawStdErrs) {
            applyRawStdErrRec(record);
        }
        postProgress(index, total);
    }
    activeShell().setPercent(0);
}

// 1 when a record of the list satisfies `has`, walking a cursor of its own.
template <class Record, class Has> int anyOf(obsList<Record>& list, Has has) {
    const int c = list.openCursor(0);
    Record record;
    int found = 0;
    while (found == 0 && list.getAtCursor(c, record) == 0) {
        found = has(record) ? 1 : 0;
        list.advanceCursor(c);
    }
    list.closeCursor(c);
    return found;
}

template <class Record, class Has> int anyOf(seqList<Record>& list, Has has) {
    Record record;
    for (int i = 0; list.getAt(i, record) == 0; ++i)
        if (has(record))
            return 1;
    return 0;
}

template <class Record> auto isEndOf(std::string_view point) {
    return [point](const Record& r) {
        return sameName(fixedText(r.from), point) || sameName(fixedText(r.to), point);
    };
}

template <class Record> auto isAngleName(std::string_view point) {
    return [point](const Record& r) {
        return sameName(fixedText(r.backsight), point) ||
               sameName(fixedText(r.instrument), point) || sameName(fixedText(r.foresight), point);
    };
}

} // namespace

int buildObsLists3D(std::string& message) {
    restoreReaderStdErrs();
    if (rawDataList.count() > 0)
        convertLengthsToMetres();

    // The raw list no longer changes until the lists are built.
    const rawSightIndexInForce sightIndex;
    restoreReaderStdErrs();
    buildStationInputs3D();

    if (!angleSetsPass(readNextSetup3D, addAngleObs3D)) {
        message = userAbortedText;
        return buildStopped;
    }
    int result = buildDistanceObs3D(message);
    if (result == passDone && buildVerticalObs3D() != passDone) {
        message = userAbortedText;
        result = buildStopped;
    }
    return result == passDone ? buildDone : buildStopped;
}

int buildObsLists2D(std::string& message) {
    message.clear();
    // The raw list does not change while the lists are built.
    const rawSightIndexInForce sightIndex;
    restoreReaderStdErrs();
    buildCoordRecs2D();
    if (rawDataList.count() == 0)
        return buildDone;
    if (!angleSetsPass(readNextSetup2D, addAngleObs2D)) {
        message = userAbortedText;
        return buildStopped;
    }
    restoreReaderStdErrs();
    return buildDistanceObs2D(message) == passDone ? buildDone : buildStopped;
}

// No run context reaches buildStationInputs3D: its interface has none, so the shell is
// the active one (the run installs its own for its length).
int buildStationInputs3D() {
    const globalVars& s = projectVars;
    activeShell().setPercent(0);
    readerStdErrs = projectStdErrs(s);
    if (s.geodeticModel == threeDModel)
        startProgress(rawDataList.count());
    controlPass(isPointInInputLists3D, addStationsFromRaw3D);
    return 0;
}

int buildCoordRecs2D() {
    controlPass(isPointInInputLists2D, addCoordRecsFromRaw2D);
    return 0;
}

// No run context reaches buildDescriptionList: its interface has none, so the shell is
// the active one (the run installs its own for its length).
int buildDescriptionList() {
    ShellServices& shell = activeShell();
    shell.setPercent(0);
    const int total = rawDataList.count();
    rawRec record;
    rawDataList.seek1(0);
    for (int index = 0; rawDataList.getNext1(record) == 0; ++index) {
        endRunWhenCancelled();
        const bool described = record.kind == rawForesight || record.kind == rawCoord;
        if (described && (record.description[0] != '\0' || record.code[0] != '\0')) {
            ptDescRec entry;
            setPointName(entry.name, fixedText(record.kind == rawForesight ? record.foresightName
                                                                           : record.pointName));
            entry.description = std::string(fixedText(record.description));
            entry.description2 = std::string(fixedText(record.code));
            ptDescRec stored;
            if (ptDescList.find(fixedText(entry.name), stored) >= 0)
                ptDescList.replace(entry);
            else
                ptDescList.append(entry);
        }
        postProgress(index, total);
    }
    shell.setPercent(0);
    return 0;
}

int findSetupBacksight(std::string_view point, std::string& instrument, double& zenith,
                       double& targetHeight, double& HI) {
    if (rawDataList.count() == 0)
        return 1;
    std::string station;
    double stationHI = notComputed;
    rawRec r;
    rawDataList.seek2(0);
    while (rawDataList.getNext2(r) == 0) {
        if (r.kind == rawSetup) {
            station = std::string(fixedText(r.stationName));
            stationHI = r.instrumentHeight;
            if (sameName(fixedText(r.backsightName), point) && isSet(measuredZenith(r)) &&
                isSet(stationHI) && isSet(r.bsTargetHeight)) {
                instrument = station;
                zenith = measuredZenith(r);
                targetHeight = r.bsTargetHeight;
                HI = stationHI;
                return 0;
            }
        } else if (r.kind == rawForesight && sameName(fixedText(r.foresightName), point) &&
                   isSet(measuredZenith(r)) && isSet(r.targetHeight)) {
            instrument = station;
            zenith = measuredZenith(r);
            targetHeight = r.targetHeight;
            HI = stationHI;
            return 0;
        }
    }
    return 1;
}

int isPointInDistances3D(std::string_view point) {
    return anyOf(distanceList, isEndOf<distanceObs>(point));
}

int isPointInAngles3D(std::string_view point) {
    return anyOf(angleList, isAngleName<angleObs>(point));
}

int isPointInAzimuths3D(std::string_view point) {
    return anyOf(azimuthList, isEndOf<azimuthObs>(point));
}

int isPointInDistances2D(std::string_view point) {
    return anyOf(distanceList2D, isEndOf<distanceObs2D>(point));
}

int isPointInAngles2D(std::string_view point) {
    return anyOf(angleList2D, isAngleName<angleObs2D>(point));
}

int isPointInAzimuths2D(std::string_view point) {
    return anyOf(azimuthList2D, isEndOf<azimuthObs>(point));
}

int isPointInGpsVectors(std::string_view point) {
    return anyOf(gpsVectorList, isEndOf<gpsVectorRec>(point));
}
