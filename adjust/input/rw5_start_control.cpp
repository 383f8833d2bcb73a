#include "input/rw5_start_control.hpp"

#include "input/rw5_numbers.hpp"
#include "input/rw5_reader.hpp"
#include "model/packed_degrees.hpp"
#include "model/program_lists.hpp"
#include "model/reader_std_errs.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/project_paths.hpp"
#include "platform/shell_services.hpp"
#include "platform/system_reason.hpp"

#include <cerrno>
#include <optional>

namespace {

constexpr double assumedNorthing = 10000.0;
constexpr double assumedEasting = 10000.0;
constexpr double assumedElevation = 100.0;

// A setup record's points and backsight azimuth as the files give them.
struct Rw5Setup {
    std::string occupied;
    std::string backsight;
    std::optional<double> azimuth_rad;
};

Rw5Setup setupOf(const Rw5Record& record) {
    const std::optional<double> azimuth = rw5Number(rw5Token(record, 2), 2);
    return {rw5Name(rw5Token(record, 0)), rw5Name(rw5Token(record, 1)),
            azimuth ? std::optional<double>(dmsToRadians(*azimuth)) : std::nullopt};
}

// Horizontal type of a control point by its standard errors: fixed when an
// error marks it so (or both are 0), given when one is missing, weighted
// when both are positive.
int horizontalType(const coordRec& point) {
    if (!isSet(point.easting) || !isSet(point.northing))
        return ptUnknown;
    if (point.stdErrE > 0 && point.stdErrN > 0)
        return ptWeightedControl;
    const bool fixed = point.stdErrE < stdErrNotGiven || point.stdErrN < stdErrNotGiven ||
                       (point.stdErrE == 0 && point.stdErrN == 0);
    return fixed ? ptFixed : ptGiven;
}

coordRec controlPoint(const std::string& name, double northing, double easting, double elevation,
                      double stdErrE, double stdErrN, double stdErrZ) {
    coordRec point;
    initCoordRec(point);
    setPointName(point.name, name);
    point.northing = northing;
    point.easting = easting;
    point.elevation = elevation;
    point.stdErrE = stdErrE;
    point.stdErrN = stdErrN;
    point.stdErrZ = isSet(elevation) ? stdErrZ : stdErrNotGiven;
    point.pointType = horizontalType(point);
    point.vertType = !isSet(elevation) ? vtFreeElevation
                     : stdErrZ <= 0    ? vtFixedElevation
                                       : vtWeightedElevation;
    return point;
}

azimuthObs azimuthFrom(const Rw5Setup& setup) {
    azimuthObs azimuth;
    setPointName(azimuth.from, setup.occupied);
    setPointName(azimuth.to, setup.backsight);
    azimuth.azimuth = setup.azimuth_rad.value_or(0.0);
    azimuth.stdErr = readerStdErrs[seAzimuth];
    azimuth.status = 0;
    return azimuth;
}

} // namespace

int readRw5OcControl(const std::vector<Rw5File>& files, double unitFactor) {
    const globalVars& s = projectVars;
    std::string lastOccupied;
    for (const Rw5File& file : files) {
        for (const std::string& line : file.lines) {
            const Rw5Record record = splitRw5Record(line);
            // The reading pass stopped at such a record; one it passed over
            // (reading off) is no control.
            if (rw5RecordFault(record))
                continue;
            if (record.code == "OC") {
                lastOccupied = rw5Name(rw5Token(record, 0));
                coordRec point = controlPoint(
                    lastOccupied, rw5Number(rw5Token(record, 1), 1).value_or(notComputed),
                    rw5Number(rw5Token(record, 2), 1).value_or(notComputed),
                    rw5Number(rw5Token(record, 3), 2).value_or(notComputed), s.stErrX * unitFactor,
                    s.stErrY * unitFactor, s.stErrZ * unitFactor);
                point.description = record.description;
                controlPointList2D.append(point);
                if (azimuthList2D.count() > 0)
                    return 0;
                continue;
            }
            if (record.code != "BK" || lastOccupied.empty())
                continue;
            const Rw5Setup setup = setupOf(record);
            if (sameName(setup.occupied, lastOccupied) && !setup.backsight.empty()) {
                azimuthList2D.append(azimuthFrom(setup));
                return 0;
            }
        }
    }
    return 1;
}

int assumeRw5StartControl(const std::vector<Rw5File>& files, double unitFactor) {
    const globalVars& s = projectVars;
    for (const Rw5File& file : files) {
        for (const std::string& line : file.lines) {
            const Rw5Record record = splitRw5Record(line);
            if (record.code != "BK")
                continue;
            const Rw5Setup setup = setupOf(record);
            if (setup.occupied.empty())
                continue;
            controlPointList2D.append(controlPoint(setup.occupied, assumedNorthing, assumedEasting,
                                                   assumedElevation, s.stErrX * unitFactor,
                                                   s.stErrY * unitFactor, 0.0));
            if (!setup.backsight.empty() && setup.backsight != "BACK1")
                azimuthList2D.append(azimuthFrom(setup));
            return 0;
        }
    }
    return 1;
}

// No run context reaches readRw5FirstBkAzimuth: its interface has none, so the shell is
// the active one (the run installs its own for its length).
int readRw5FirstBkAzimuth(const std::string& fileList, azimuthObs& azimuth) {
    for (const std::string& name : fileListNames(fileList)) {
        Rw5File file;
        const std::string path = projectRelativePath(name);
        std::string error;
        if (!loadRw5File(path, file, error)) {
            activeShell().message(error, MessageKind::ok);
            return 1;
        }
        for (const std::string& line : file.lines) {
            const Rw5Record record = splitRw5Record(line);
            if (record.code != "BK")
                continue;
            const Rw5Setup setup = setupOf(record);
            if (!setup.occupied.empty() && !setup.backsight.empty()) {
                azimuth = azimuthFrom(setup);
                return 0;
            }
        }
    }
    return 1;
}

int lacksControlCoordinates() {
    if (projectVars.supplamentalNE != 0 || controlPointList2D.count() > 0)
        return 0;
    rawRec record;
    for (int end = rawDataList.seek2(0); end == 0 && rawDataList.getNext2(record) == 0;)
        if (record.kind == rawCoord)
            return 0;
    return 1;
}
