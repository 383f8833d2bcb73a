#include "reports/final_coordinates.hpp"

#include "model/geoid_elevation.hpp"
#include "model/number_format.hpp"
#include "model/program_lists.hpp"
#include "model/project_geodesy.hpp"
#include "model/record_walks.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/length_units.hpp"
#include "platform/shell_services.hpp"
#include "platform/system_reason.hpp"
#include "reports/coordinate_file_output.hpp"
#include "reports/nez_record.hpp"
#include "reports/report_files.hpp"
#include "reports/report_header.hpp"
#include "reports/report_windows.hpp"
#include "reports/report_words.hpp"

#include <array>
#include <cerrno>
#include <cstring>
#include <optional>

namespace {

using platform::formatC;

constexpr int fixedPass = 1;
constexpr int mainPass = 2;

// A point as the output files show it.
struct FinalPoint {
    std::string name;
    std::string code;
    std::string description;
    double northing = notComputed;
    double easting = notComputed;
    double elevation = notComputed;
    double stdErrN = 0.0;
    double stdErrE = 0.0;
    double stdErrZ = 0.0;
    // The earth-centred X, Y, Z (metres) of a 3D station that has them.
    std::optional<std::array<double, 3>> geocentric;
};

// The earth-centred X, Y, Z (metres) of a 2D point on a projected system,
// for the geocentric layout: its grid position on the system's ellipsoid at
// its elevation (the project elevation when it has none) above the geoid.
std::optional<std::array<double, 3>> geocentric2D(const coordRec& p) {
    if (projectVars.asciiNEZType != nezGeocentricXyz || projectVars.gridSystem == gridLocal ||
        !isSet(p.northing) || !isSet(p.easting))
        return std::nullopt;
    const geodCoord at = geodOfGridPoint(p.northing, p.easting);
    double separation = 0.0;
    getGeoidHeight(at, separation);
    const bool westPositive =
        projectVars.gridSystem == gridStatePlane83 || projectVars.gridSystem == gridStatePlane27;
    stationRec s;
    initStationRec(s);
    s.latitude = at.lat;
    s.longitude = westPositive ? -at.lon : at.lon;
    const double elevation = isSet(p.elevation) ? p.elevation : projectVars.projZ;
    s.elevation = elevation * units::metresPerUnit(projectVars.ZUnits) + separation;
    projGeodToEcef(s);
    return std::array<double, 3>{s.ecefX, s.ecefY, s.ecefZ};
}

FinalPoint finalPoint(const coordRec& p) {
    return {std::string(fixedText(p.name)),
            p.description2,
            p.description,
            p.northing,
            p.easting,
            p.elevation,
            p.stdErrN,
            p.stdErrE,
            p.stdErrZ,
            geocentric2D(p)};
}

// Standard errors below 0 are markers ("none", "fixed"), not lengths.
double scaledStdErr(double value, double factor) {
    return value >= 0.0 ? value * factor : value;
}

FinalPoint finalPoint3D(const stationRec& s, double factor) {
    const double elevation = geoidElevation(s);
    FinalPoint p{std::string(fixedText(s.name)),
                 s.description2,
                 s.description,
                 s.northing * factor,
                 s.easting * factor,
                 isSet(elevation) ? elevation * factor : notComputed,
                 scaledStdErr(s.stdErrN, factor),
                 scaledStdErr(s.stdErrE, factor),
                 scaledStdErr(s.stdErrZ, factor),
                 std::nullopt};
    if (isSet(s.ecefX) && isSet(s.ecefY) && isSet(s.ecefZ))
        p.geocentric = std::array<double, 3>{s.ecefX, s.ecefY, s.ecefZ};
    return p;
}

// The geocentric layout writes a point's earth-centred X, Y and Z (metres)
// where the other layouts write northing, easting and elevation.
std::string nezRecord(const FinalPoint& p, int stdErrDecimals) {
    NezFields f;
    if (projectVars.asciiNEZType == nezGeocentricXyz && p.geocentric) {
        f.northing = formatNorthEastOut((*p.geocentric)[0]);
        f.easting = formatNorthEastOut((*p.geocentric)[1]);
        f.elevation = formatNorthEastOut((*p.geocentric)[2]);
    } else {
        f.northing = formatNorthEastOut(p.northing);
        f.easting = formatNorthEastOut(p.easting);
        f.elevation = isSet(p.elevation) ? formatElevationOut(p.elevation)
                                         : formatC("%10.10s", projectVars.nullElev.c_str());
    }
    f.stdErrN = formatStdErrorPrecCString(p.stdErrN, stdErrDecimals);
    f.stdErrE = formatStdErrorPrecCString(p.stdErrE, stdErrDecimals);
    f.stdErrZ = formatStdErrorPrecCString(p.stdErrZ, stdErrDecimals);
    f.code = p.code;
    f.description = p.description;
    return formatNezRecord(projectVars.asciiNEZType, p.name, f);
}

std::string outLine(const FinalPoint& p, int pass) {
    std::string first = formatCoordinate(p.northing);
    std::string second = formatCoordinate(p.easting);
    if (coordinateLetters().eastingFirst)
        std::swap(first, second);
    const std::string elevation =
        isSet(p.elevation) ? formatElevationCString(p.elevation) : std::string(12, ' ');
    return formatC(pass == fixedPass ? "%-10.10s %-4.4s %s %s %s   %s"
                                     : "%-10.10s %4.4s %s %s %s   %s",
                   p.name.c_str(), p.code.c_str(), first.c_str(), second.c_str(), elevation.c_str(),
                   p.description.c_str());
}

template <std::size_t N> void copyText(char (&field)[N], const std::string& text) {
    std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

crdPointRec crdRecord(const FinalPoint& p) {
    crdPointRec r{};
    copyText(r.name, p.name);
    copyText(r.code, p.code);
    copyText(r.description, p.description);
    r.northing = p.northing;
    r.easting = p.easting;
    r.elevation = isSet(p.elevation) ? p.elevation : missingElevation;
    return r;
}

struct OutputFiles {
    explicit OutputFiles(const RunContext& runContext)
        : context(runContext), nez(projectOutputPath(".NEZ")), out(projectOutputPath(".OUT")),
          crd(runContext) {}

    const RunContext& context;
    StagedOutput nez;
    StagedOutput out;
    int stdErrDecimals = 0;
    // Every line went to both files.
    bool complete = true;
    CoordinateFileOutput crd;
};

struct PassSettings {
    int pass;
    bool showProgress;
    CoordinateFileOutput::PassRules crdRules;
};

// One pass over a point list; ends at the first failed write.
template <class Point, class Convert>
void writePass(obsList<Point>& list, OutputFiles& files, const PassSettings& settings,
               Convert convert) {
    if (!files.complete)
        return;
    const int total = list.count();
    int index = 0;
    visitRecords(list, [&](const Point& point) {
        if (settings.showProgress)
            files.context.shell.setPercent(static_cast<int>(100LL * index / total));
        ++index;
        if (point.pointType == ptAzimuthDummy)
            return true;
        const FinalPoint p = convert(point);
        if (writeLine(files.nez.handle(), nezRecord(p, files.stdErrDecimals)) != 0 ||
            writeLine(files.out.handle(), outLine(p, settings.pass)) != 0) {
            files.complete = false;
            return false;
        }
        const bool verticalOnly = !isSet(p.easting) && isSet(p.elevation);
        files.crd.offer(crdRecord(p), verticalOnly, settings.crdRules);
        return true;
    });
}

// Creates the temporary .NEZ and .OUT; false (with the message shown) when
// one cannot be created.
bool createFiles(OutputFiles& files) {
    for (StagedOutput* file : {&files.nez, &files.out}) {
        if (file->create() == -1) {
            files.context.message(
                platform::withSystemReason("error opening " + file->path(), errno));
            return false;
        }
    }
    return true;
}

// Both files take the places of the previous ones only when both are whole.
bool putInPlace(OutputFiles& files) {
    if (!files.complete)
        return false;
    for (StagedOutput* file : {&files.nez, &files.out}) {
        if (!file->commit()) {
            noteOutputWriteFailure(file->path(), std::strerror(errno));
            return false;
        }
    }
    return true;
}

FinalCoordsOutcome finish(OutputFiles& files) {
    FinalCoordsOutcome outcome;
    outcome.written = putInPlace(files);
    files.crd.commit();
    files.crd.close();
    if (outcome.written)
        showOutReport();
    outcome.coordinateFile = files.crd.shortfall();
    return outcome;
}

} // namespace

FinalCoordsOutcome writeFinalCoords(const RunContext& context, int adjusted) {
    if (projectVars.asciiNEZType == nezGeocentricXyz && projectVars.gridSystem == gridLocal) {
        context.message("A local coordinate system project cannot use the geocentric XYZ "
                        "ASCII output option.");
        projectVars.asciiNEZType = 0;
    }
    OutputFiles files(context);
    if (!createFiles(files))
        return {};
    files.stdErrDecimals = projectVars.coordPrec;
    files.crd.open();
    writeOutHeader(files.out.handle(), adjusted);
    context.shell.setMessage("Writing final coordinates.");
    writePass(fixedPointList2D, files, {fixedPass, false, {fixedPass, false, "Error writing to: "}},
              finalPoint);
    writePass(pointList2D, files, {mainPass, true, {mainPass, true, "Error writing: "}},
              finalPoint);
    return finish(files);
}

FinalCoordsOutcome writeFinalCoords3D(const RunContext& context, int adjusted) {
    OutputFiles files(context);
    if (!createFiles(files))
        return {};
    files.stdErrDecimals = projectVars.neOutPrec;
    files.crd.open();
    writeOutHeader(files.out.handle(), adjusted);
    const double factor = units::unitsPerMetre(projectVars.HorizUnits);
    const auto convert = [factor](const stationRec& s) { return finalPoint3D(s, factor); };
    writePass(fixedStationList, files, {fixedPass, false, {fixedPass, false, "Error writing: "}},
              convert);
    writePass(stationList, files, {mainPass, false, {mainPass, false, "Error writing to: "}},
              convert);
    return finish(files);
}
