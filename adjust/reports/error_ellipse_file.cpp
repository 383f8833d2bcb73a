#include "reports/error_ellipse_file.hpp"

#include "engine/horizontal_network.hpp"
#include "model/angle_text.hpp"
#include "model/list_snapshot.hpp"
#include "model/number_format.hpp"
#include "model/packed_degrees.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/text_fields.hpp"
#include "output/line_buffer.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/file_replace.hpp"
#include "platform/length_units.hpp"
#include "platform/private_temporary_folder.hpp"
#include "reports/report_files.hpp"

#include <cmath>
#include <filesystem>
#include <initializer_list>
#include <string_view>

namespace {

bool isTakenOutOrSideshot(int pointType) {
    return pointType == ptSideshot || pointType == ptCarried;
}

std::string stripped(std::string text) {
    stripBlanks(text);
    return text;
}

std::string name(const pointNameField& field) {
    return std::string(fixedText(field));
}

const char* unitWord() {
    switch (projectVars.HorizUnits) {
    case 1:
        return "USFEET";
    case 2:
        return "INTLFEET";
    default:
        return "METERS";
    }
}

// How a chain's values go into the file: the 3D chain holds metres and
// writes its lengths in the project's unit, the axes as absolute values.
struct EelUnits {
    double factor = 1.0;
    bool absoluteAxes = false;

    double axis(double value) const {
        return absoluteAxes ? std::fabs(value * factor) : value * factor;
    }
};

template <class Point> std::string positionFields(const Point& point, double factor) {
    return platform::formatC("EE,PN%s,N %s,E %s", name(point.name).c_str(),
                             stripped(formatCoordinate(point.northing * factor)).c_str(),
                             stripped(formatCoordinate(point.easting * factor)).c_str());
}

template <class Point>
std::string ellipseRecord(const Point& point, const errEllipseRec& e, const EelUnits& units) {
    return positionFields(point, units.factor) +
           platform::formatC(",MA%s,MI%s,AZ%s\r\n",
                             stripped(formatStdError(units.axis(e.semiMajor))).c_str(),
                             stripped(formatStdError(units.axis(e.semiMinor))).c_str(),
                             stripped(angleToDmsPackedText(e.orientation)).c_str());
}

template <class Point> std::string zeroEllipseRecord(const Point& point, const EelUnits& units) {
    return positionFields(point, units.factor) + ",MA0.0,MI0.0,AZ0.0\r\n";
}

// Walks the lists in place and writes into the file's one text: copies of
// the lists or of the text were the largest blocks of memory of a run of
// many sideshots.
template <class Points>
void appendPointRecords(std::string& text, const Points& points, const Points& fixedPoints,
                        const std::vector<errEllipseRec>& ellipses, const EelUnits& units) {
    std::size_t next = 0;
    points.visitAll([&](const auto& point) {
        if (isTakenOutOrSideshot(point.pointType))
            return;
        if (isAdjustablePoint(point.pointType) && next < ellipses.size())
            text += ellipseRecord(point, ellipses[next++], units);
        else
            text += zeroEllipseRecord(point, units);
    });
    fixedPoints.visitAll([&](const auto& point) {
        if (!isTakenOutOrSideshot(point.pointType))
            text += zeroEllipseRecord(point, units);
    });
    points.visitAll([&](const auto& point) {
        if (point.pointType == ptSideshot)
            text += zeroEllipseRecord(point, units);
    });
}

// Appends one record, its parts joined (names need no formatting), and its
// line end.
void appendRecord(std::string& text, std::initializer_list<std::string_view> parts) {
    for (const std::string_view part : parts)
        text.append(part);
    text.append("\r\n");
}

template <class Distances, class Angles, class Azimuths>
void appendConnectionRecords(std::string& text, const Distances& distances, const Angles& angles,
                             const Azimuths& azimuths) {
    distances.visitAll([&](const auto& d) {
        appendRecord(text, {"ND,T,PF", fixedText(d.from), ",PT", fixedText(d.to)});
    });
    angles.visitAll([&](const auto& a) {
        appendRecord(text, {"NA,T,PB", fixedText(a.backsight), ",PI", fixedText(a.instrument),
                            ",PT", fixedText(a.foresight)});
    });
    azimuths.visitAll([&](const azimuthObs& z) {
        appendRecord(text, {"NZ,T,PI", fixedText(z.from), ",PT", fixedText(z.to)});
    });
}

void appendGpsVectorRecords(std::string& text) {
    for (const gpsVectorRec& g : recordsOf(gpsVectorList))
        appendRecord(text, {"NG,PF", fixedText(g.from), ",PT", fixedText(g.to)});
}

std::string headerRecord() {
    return platform::formatC("H1,HU%s,CI%2.0f,PR%s\r\n", unitWord(), projectVars.confidenceInterval,
                             projectVars.projectFileName.c_str());
}

// Without a temporary folder of the run's, the copy goes to the user's
// private one; none at all leaves the copy out (an empty path).
std::filesystem::path temporaryCopyPath(const std::string& temporaryFolder) {
    std::string ignored;
    const auto folder = temporaryFolder.empty() ? platform::privateTemporaryFolder(ignored)
                                                : std::filesystem::path(temporaryFolder);
    return folder ? *folder / "TARNWELL.EEL" : std::filesystem::path();
}

bool writeLines(int handle, std::initializer_list<std::string> lines) {
    for (const std::string& line : lines)
        if (writeLine(handle, line) != 0)
            return false;
    return true;
}

const char* axisHeading = "                       Axis           Axis";

void writeBothFiles(const std::string& text, const std::string& temporaryFolder) {
    // A failed replacement leaves the previous file whole; the run reports it.
    for (const std::filesystem::path& path :
         {std::filesystem::path(projectOutputPath(".EEL")), temporaryCopyPath(temporaryFolder)}) {
        std::string error;
        if (!path.empty() && !platform::replaceFile(path, text, error))
            noteOutputWriteFailure(path.string(), error);
    }
}

} // namespace

int writeRptErrorEllipses(int handle, const std::vector<errEllipseRec>& ellipses) {
    if (!writeLines(handle, {"", "",
                             platform::formatC("Adjusted Coordinates Error Ellipses, %2.0f%% CI",
                                               projectVars.confidenceInterval),
                             " Sta.               Semi Major     Semi Minor      Max. Error Az.",
                             axisHeading}))
        return 1;
    LineBuffer out(handle);
    for (const errEllipseRec& e : ellipses) {
        const std::string line = platform::formatC(" %-10.10s          %s         %s          %s",
                                                   e.name, formatStdError(e.semiMajor).c_str(),
                                                   formatStdError(e.semiMinor).c_str(),
                                                   directionToText(e.orientation).c_str());
        if (!out.line(line))
            return 1;
    }
    return out.flush() ? 0 : 1;
}

int writeRptErrorEllipses3D(int handle, const std::vector<errEllipseRec>& ellipses,
                            double elevationMultiplier) {
    if (!writeLines(
            handle,
            {"", "",
             platform::formatC("Adjusted XYZ Coordinates Error Ellipses, %2.0f%% CI",
                               projectVars.confidenceInterval),
             " Sta.               Semi Major     Semi Minor      Max. Error Az.        Elev.",
             axisHeading}))
        return 1;
    const double u = units::unitsPerMetre(projectVars.HorizUnits);
    std::size_t next = 0;
    LineBuffer out(handle);
    for (const stationRec& s : recordsOf(stationList)) {
        if (!isAdjustablePoint(s.pointType) || next >= ellipses.size())
            continue;
        const errEllipseRec& e = ellipses[next++];
        const std::string line = platform::formatC(
            " %-10.10s          %s         %s          %s    %s", e.name,
            formatStdError(std::fabs(e.semiMajor * u)).c_str(),
            formatStdError(std::fabs(e.semiMinor * u)).c_str(),
            directionToText(e.orientation).c_str(),
            formatStdError(std::fabs(s.stdErrZ * u * elevationMultiplier)).c_str());
        if (!out.line(line))
            return 1;
    }
    return out.flush() ? 0 : 1;
}

std::string eelFileText(const std::vector<errEllipseRec>& ellipses) {
    std::string text = headerRecord();
    appendPointRecords(text, pointList2D, fixedPointList2D, ellipses, EelUnits{});
    appendConnectionRecords(text, distanceList2D, angleList2D, azimuthList2D);
    return text;
}

std::string eelFileText3D(const std::vector<errEllipseRec>& ellipses) {
    const EelUnits units{units::unitsPerMetre(projectVars.HorizUnits), true};
    std::string text = headerRecord();
    appendPointRecords(text, stationList, fixedStationList, ellipses, units);
    appendConnectionRecords(text, distanceList, angleList, azimuthList);
    appendGpsVectorRecords(text);
    return text;
}

void writeEelFile(const std::vector<errEllipseRec>& ellipses, const std::string& temporaryFolder) {
    writeBothFiles(eelFileText(ellipses), temporaryFolder);
}

void writeEelFile3D(const std::vector<errEllipseRec>& ellipses,
                    const std::string& temporaryFolder) {
    writeBothFiles(eelFileText3D(ellipses), temporaryFolder);
}
