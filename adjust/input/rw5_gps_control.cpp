#include "input/gps_control_points.hpp"

#include "input/raw_files.hpp"
#include "input/raw_text.hpp"
#include "input/rw5_base_points.hpp"
#include "input/rw5_lines.hpp"
#include "input/rw5_reader.hpp"
#include "model/program_lists.hpp"
#include "model/project_ellipsoid.hpp"
#include "model/reader_std_errs.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/project_paths.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/length_units.hpp"
#include "platform/record_fields.hpp"

#include "geodetic/earth_centred.hpp"

#include <array>
#include <optional>
#include <vector>

namespace {

// Standard errors typed as 0 (or nearly) would give infinite weights.
constexpr double smallestStdErr = 1e-15;
constexpr double stdErrForZero = 1e-6;

// The control errors in force while base records are read, in metres.
struct BaseErrors {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// One value of a "CSE" record: its prefix length and the error it sets.
struct CseField {
    std::size_t prefixLength;
    double BaseErrors::*error;
    double globalVars::*setting; // taken for "*"
    const char* field;
};
constexpr std::array<CseField, 3> cseFields = {{
    {1, &BaseErrors::y, &globalVars::stErrY, "northing error"},
    {1, &BaseErrors::x, &globalVars::stErrX, "easting error"},
    {2, &BaseErrors::z, &globalVars::stErrZ, "elevation error"},
}};

double rw5GpsUnitFactor() {
    return units::metresPerUnit(projectVars.Rw5GPSUnits);
}

// Refused when a value is neither a marker nor a number.
std::optional<platform::FieldError> readCseRecord(std::string line, BaseErrors& errors, double u) {
    std::erase(line, ' ');
    const Rw5Record record = splitRw5Record(line);
    for (std::size_t i = 0; i < cseFields.size(); ++i) {
        const CseField& field = cseFields[i];
        const std::string text = rw5ValueText(rw5Token(record, i), field.prefixLength);
        if (text.empty())
            continue;
        double value = 0.0;
        if (text.front() == '#') {
            value = stdErrNotGiven;
        } else if (text.front() == '!') {
            value = stdErrFixed;
        } else if (text.front() == '*') {
            value = projectVars.*field.setting * u;
        } else if (const auto number = platform::readNumber(text, field.field)) {
            value = *number >= 0.0 && *number <= smallestStdErr ? stdErrForZero : *number;
            value *= u;
        } else {
            platform::FieldError error = number.error();
            error.text = platform::recordExcerpt(rw5ValueText(rw5Token(record, i), 0));
            return error;
        }
        errors.*field.error = value;
    }
    return std::nullopt;
}

// The point at the base's mark; its heights are in the file's unit, `u`
// metres each.
ptGPSXYZCntrl controlPointAt(const Rw5BasePoint& base, const BaseErrors& errors, double u) {
    ptGPSXYZCntrl point;
    setPointName(point.name, base.name);
    geodCoord at{};
    at.lat = base.latitude_rad;
    at.lon = base.longitude_rad;
    at.elev = (base.height - (base.antennaHeight + base.phaseCentre)) * u;
    latLongElev2XYZ_EC(grs80Ellipsoid(), &at);
    point.X = at.easting;
    point.Y = at.northing;
    point.Z = at.elev;
    point.sX = gpsControlStdErr(errors.x);
    point.sY = gpsControlStdErr(errors.y);
    point.sZ = gpsControlStdErr(errors.z);
    return point;
}

// Reads a "CSE" or "BP" record; the sentence that refuses the line, or
// empty. A line of a code that is none of the format's is refused too: it may
// be a damaged "BP".
std::string recordRefusal(const std::string& line, BaseErrors& errors, double u) {
    const Rw5Record record = splitRw5Record(line);
    if (std::string refusal = rw5CodeRefusal(line, record); !refusal.empty())
        return refusal;
    std::optional<platform::FieldError> fault;
    if (record.code == "CSE") {
        fault = readCseRecord(line, errors, u);
    } else if (record.code == "BP") {
        const platform::FieldValue<Rw5BasePoint> base = parseRw5BaseRecord(record);
        if (base)
            gpsXyzControlArray.push_back(controlPointAt(*base, errors, u));
        fault = base.fault();
    }
    return fault ? fault->sentence() : std::string();
}

// A damaged "CSE" or "BP" record stops the reading: left out, a control
// point was lost or took the errors of the record before, and the run went
// on without a word.
bool readBaseRecords(const RunContext& context, const Rw5File& file, BaseErrors& errors, double u,
                     int logErrors) {
    for (std::size_t i = 0; i < file.lines.size(); ++i) {
        const std::string& line = file.lines[i];
        const std::string refusal = recordRefusal(line, errors, u);
        if (refusal.empty())
            continue;
        const std::vector<std::string> lines = {
            "Error parsing: " + platform::recordExcerpt(line),
            platform::formatC("  File: %s, line %d", file.path.c_str(), static_cast<int>(i) + 1),
            refusal};
        if (logErrors != 0)
            for (const std::string& text : lines)
                writeLine(errFile, text);
        context.message(lines[0] + "\n" + lines[1] + "\n" + lines[2]);
        return false;
    }
    return true;
}

} // namespace

int readRw5GpsControlPoints(const RunContext& context, const std::string& fileList, int logErrors) {
    const double u = rw5GpsUnitFactor();
    BaseErrors errors{projectVars.stErrX * u, projectVars.stErrY * u, projectVars.stErrZ * u};
    for (const std::string& name : fileListNames(fileList)) {
        if (!listNamesRw5File(name))
            continue;
        const std::string path = projectRelativePath(name);
        Rw5File file;
        std::string error;
        if (!loadRw5File(path, file, error)) {
            context.message(error);
            return gpsControlFailed;
        }
        context.shell.setMessage("Reading GPS Vectors");
        if (!readBaseRecords(context, file, errors, u, logErrors))
            return gpsControlFailed;
    }
    return gpsControlDone;
}

int reduceVectorToMarks(gpsVectorRec& vec, double baseAntennaHeight_m, double basePhaseCentre_m,
                        double roverAntennaHeight_m, double baseLatitude_rad,
                        double baseLongitude_rad, double baseHeight_m) {
    double B[3], R[3];
    lat2ecef(&B[0], &B[1], &B[2], baseLatitude_rad, baseLongitude_rad, baseHeight_m);
    R[0] = B[0] + vec.dX;
    R[1] = B[1] + vec.dY;
    R[2] = B[2] + vec.dZ;

    double oB[3];
    localGeodeticToLocal(baseLatitude_rad, baseLongitude_rad, 0.0, 0.0,
                         -(baseAntennaHeight_m + basePhaseCentre_m), &oB[0], &oB[1], &oB[2]);
    double roverLat = 0.0, roverLon = 0.0, roverHeight = 0.0;
    ecef2lat(R[0], R[1], R[2], &roverLat, &roverLon, &roverHeight);
    double oR[3];
    localGeodeticToLocal(roverLat, roverLon, 0.0, 0.0, -roverAntennaHeight_m, &oR[0], &oR[1],
                         &oR[2]);

    vec.dX = (R[0] + oR[0]) - (B[0] + oB[0]);
    vec.dY = (R[1] + oR[1]) - (B[1] + oB[1]);
    vec.dZ = (R[2] + oR[2]) - (B[2] + oB[2]);
    return 0;
}
