#include "input/gps_control_points.hpp"

#include "input/converters/baseline_text_file.hpp"
#include "input/converters/converter_files.hpp"
#include "input/gps_vector_file.hpp"
#include "input/gps_vector_reader.hpp"
#include "input/raw_text.hpp"
#include "input/refused_records.hpp"
#include "model/error_file_warnings.hpp"
#include "model/program_lists.hpp"
#include "model/project_geodesy.hpp"
#include "model/reader_std_errs.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/project_paths.hpp"
#include "model/station_lists.hpp"
#include "output/report_lines.hpp"

namespace {

constexpr int threeDModel = 1;
// The baseline text files of format 2 carry base points of their own.
constexpr int gpsFormatBaselineText = 2;
constexpr std::size_t coordDescriptionMax = 170;

// Fields of a C line after its "C".
enum controlField { fName, fX, fY, fZ, fSX, fSY, fSZ, controlFieldCount };

// The project's control errors in metres, 0 read as fixed.
void projectControlErrors(double (&errors)[3]) {
    const stdErrBlock project = projectStdErrs(projectVars);
    errors[0] = project[seEasting];
    errors[1] = project[seNorthing];
    errors[2] = project[seElevation];
}

// The text after the last standard error, without its separators.
std::string_view descriptionAfter(std::string_view text, std::string_view lastField) {
    const std::size_t end =
        static_cast<std::size_t>(lastField.data() - text.data()) + lastField.size();
    std::string_view rest = text.substr(end);
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == ','))
        rest.remove_prefix(1);
    return trimmedBlanks(rest);
}

// The C lines of one open file; false after a malformed one.
bool readControlLinesOf(const RunContext& context, const std::string& path,
                        platform::TextFileReader& file) {
    double defaults[3];
    projectControlErrors(defaults);
    std::string line;
    while (file.next(line)) {
        const std::string record = line;
        if (classifyGpsLine(line) != gpsLineKind::control)
            continue;
        ptGPSXYZCntrl point;
        std::string fault;
        switch (parseGpsControlLine(line, defaults, point, fault)) {
        case controlLineResult::point:
            gpsXyzControlArray.push_back(point);
            break;
        case controlLineResult::noPosition:
            writeLine(errFile, faultAtLine(path, file.lineNumber(),
                                           "the control point has no X, Y and Z: not used"));
            break;
        case controlLineResult::malformed: {
            const std::string text = refusedRecordLine(path, file.lineNumber(), fault, record);
            writeLine(errFile, text);
            context.message(text);
            return false;
        }
        }
    }
    return true;
}

rawRec controlStdErrRecord(double sE, double sN, double sZ) {
    rawRec record;
    initRawStdErrs(record);
    record.stErrX = sE;
    record.stErrY = sN;
    record.stErrZ = sZ;
    return record;
}

rawRec controlCoordRecord(const ptGPSXYZCntrl& point) {
    stationRec station;
    station.ecefX = point.X;
    station.ecefY = point.Y;
    station.ecefZ = point.Z;
    projEcefToGeod(station);
    geodCoord at = gridCallPosition(station);
    projGeodToGridMeters(at);
    double separation = 0.0;
    const std::string name(fixedText(point.name));
    if (getGeoidHeight(at, separation) != 0)
        warnGeoidSeparation(name);

    rawRec record;
    initRawCoord(record);
    setPointName(record.pointName, name);
    record.northing = at.northing;
    record.easting = at.easting;
    record.elevation = isSet(station.elevation) ? station.elevation - separation : notComputed;
    setFixedText(record.description, fixedText(point.description).substr(0, coordDescriptionMax));
    record.lengthsInMetres = 1;
    return record;
}

bool knownControlPoint(std::string_view name) {
    for (const ptGPSXYZCntrl& point : gpsXyzControlArray)
        if (fixedText(point.name) == name)
            return true;
    return false;
}

// The base points of one baseline text file with the project's control
// errors, each name once in the array.
int readBaselineControlPoints(const RunContext& context, const std::string& path) {
    seqList<gpsVectorRec> vectors;
    std::vector<ptGPSXYZCntrl> basePoints;
    std::string message;
    context.shell.setMessage("Reading GPS Vectors");
    if (!readBaselineTextFile(path, vectors, basePoints, message)) {
        context.message(message);
        return gpsControlFailed;
    }
    double defaults[3];
    projectControlErrors(defaults);
    for (ptGPSXYZCntrl& point : basePoints) {
        if (knownControlPoint(fixedText(point.name)))
            continue;
        point.sX = gpsControlStdErr(defaults[0]);
        point.sY = gpsControlStdErr(defaults[1]);
        point.sZ = gpsControlStdErr(defaults[2]);
        gpsXyzControlArray.push_back(point);
    }
    return gpsControlDone;
}

void addEndStation(std::string_view name) {
    stationRec found;
    if (name.empty() || stationList.find(name, found) >= 0 || notFixedStation(name) == 0)
        return;
    stationRec station;
    initStationRec(station);
    setPointName(station.name, name);
    ptDescRec description;
    if (ptDescList.find(name, description) >= 0) {
        station.description = description.description;
        station.description2 = description.description2;
    }
    stationList.append(station);
}

} // namespace

controlLineResult parseGpsControlLine(std::string_view text, const double (&defaults)[3],
                                      ptGPSXYZCntrl& out, std::string& fault) {
    ptGPSXYZCntrl point;
    point.sX = defaults[0];
    point.sY = defaults[1];
    point.sZ = defaults[2];
    const std::vector<std::string_view> fields = gpsFields(text);
    double* values[] = {&point.X, &point.Y, &point.Z, &point.sX, &point.sY, &point.sZ};
    const std::size_t given = std::min<std::size_t>(fields.size(), controlFieldCount);
    static constexpr const char* names[] = {
        "X", "Y", "Z", "standard error of X", "standard error of Y", "standard error of Z"};
    for (std::size_t f = fX; f < given; ++f) {
        const platform::FieldValue<double> value = platform::readNumber(fields[f], names[f - fX]);
        if (!value) {
            fault = value.error().sentence();
            return controlLineResult::malformed;
        }
        *values[f - fX] = *value;
    }
    if (given <= fZ)
        return controlLineResult::noPosition;
    const platform::FieldValue<std::string> name =
        platform::readName(fields[fName], "point name", pointNameMax);
    if (!name) {
        fault = name.error().sentence();
        return controlLineResult::malformed;
    }
    setPointName(point.name, *name);
    point.sX = gpsControlStdErr(point.sX);
    point.sY = gpsControlStdErr(point.sY);
    point.sZ = gpsControlStdErr(point.sZ);
    if (fields.size() > fSZ + 1)
        setFixedText(point.description, descriptionAfter(text, fields[fSZ]));
    out = point;
    return controlLineResult::point;
}

int readGpsControlLines(const RunContext& context, const std::string& fileList) {
    for (const std::string& name : fileListNames(fileList)) {
        const std::string path = projectRelativePath(name);
        const std::unique_ptr<platform::TextFileReader> file = openGpsFile(context, path);
        if (!file || !readControlLinesOf(context, path, *file))
            return gpsControlFailed;
    }
    return gpsControlDone;
}

int loadGpsXyzControlByFormat(const RunContext& context, const std::string& fileList) {
    gpsXyzControlArray.clear();
    const int format = projectVars.gpsFileFmtType;
    if (format == gpsFormatNative)
        return readGpsControlLines(context, fileList);
    if (format == gpsFormatBaselineText) {
        for (const std::string& name : fileListNames(fileList))
            if (readBaselineControlPoints(context, projectRelativePath(name)) != gpsControlDone)
                return gpsControlFailed;
        return gpsControlDone;
    }
    return format > gpsFormatNative && format <= gpsFormatLast ? gpsControlDone : gpsControlFailed;
}

int loadGpsXyzControl(const RunContext& context) {
    const globalVars& s = projectVars;
    gpsXyzControlArray.clear();
    if (s.geodeticModel != threeDModel)
        return gpsControlDone;
    if (s.includeGPSVectors != 0 &&
        loadGpsXyzControlByFormat(context, s.pGPSFileName) != gpsControlDone)
        return gpsControlFailed;
    if (s.includeRawData != 0 && s.useRw5GPSVectors != 0)
        return readRw5GpsControlPoints(context, s.pInputFileName, 1);
    return gpsControlDone;
}

int appendGpsControlRawRecs() {
    double project[3];
    projectControlErrors(project);
    for (const ptGPSXYZCntrl& point : gpsXyzControlArray) {
        rawDataList.append(controlStdErrRecord(point.sX, point.sY, point.sZ));
        rawDataList.append(controlCoordRecord(point));
        rawDataList.append(controlStdErrRecord(project[0], project[1], project[2]));
    }
    return 0;
}

double gpsControlStdErr(double value) {
    return value == 0.0 ? stdErrFixed : value;
}

int addGpsVectorEndPoints() {
    gpsVectorRec vector;
    for (int i = 0; gpsVectorList.getAt(i, vector) == 0; ++i) {
        addEndStation(fixedText(vector.from));
        addEndStation(fixedText(vector.to));
    }
    return 0;
}
