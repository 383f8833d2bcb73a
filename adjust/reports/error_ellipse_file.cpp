#include "reports/error_ellipse_file.hpp"

#include "engine/horizontal_network.hpp"
#include "model/angle_text.hpp"
#include "model/list_snapshot.hpp"
#include "model/number_format.hpp"
#include "model/packed_degrees.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/text_fields.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/file_replace.hpp"
#include "platform/private_temporary_folder.hpp"
#include "reports/report_files.hpp"

#include <filesystem>

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

std::string ellipseRecord(const coordRec& point, const errEllipseRec& e) {
    return platform::formatC("EE,PN%s,N %s,E %s,MA%s,MI%s,AZ%s\r\n", name(point.name).c_str(),
                             stripped(formatCoordinate(point.northing)).c_str(),
                             stripped(formatCoordinate(point.easting)).c_str(),
                             stripped(formatStdError(e.semiMajor)).c_str(),
                             stripped(formatStdError(e.semiMinor)).c_str(),
                             stripped(angleToDmsPackedText(e.orientation)).c_str());
}

std::string zeroEllipseRecord(const coordRec& point) {
    return platform::formatC("EE,PN%s,N %s,E %s,MA0.0,MI0.0,AZ0.0\r\n", name(point.name).c_str(),
                             stripped(formatCoordinate(point.northing)).c_str(),
                             stripped(formatCoordinate(point.easting)).c_str());
}

std::string pointRecords(const std::vector<errEllipseRec>& ellipses) {
    std::string text;
    const std::vector<coordRec> points = recordsOf(pointList2D);
    std::size_t next = 0;
    for (const coordRec& point : points) {
        if (isTakenOutOrSideshot(point.pointType))
            continue;
        if (isAdjustablePoint(point.pointType) && next < ellipses.size())
            text += ellipseRecord(point, ellipses[next++]);
        else
            text += zeroEllipseRecord(point);
    }
    for (const coordRec& point : recordsOf(fixedPointList2D))
        if (!isTakenOutOrSideshot(point.pointType))
            text += zeroEllipseRecord(point);
    for (const coordRec& point : points)
        if (point.pointType == ptSideshot)
            text += zeroEllipseRecord(point);
    return text;
}

std::string connectionRecords() {
    std::string text;
    for (const distanceObs2D& d : recordsOf(distanceList2D))
        text += platform::formatC("ND,T,PF%s,PT%s\r\n", name(d.from).c_str(), name(d.to).c_str());
    for (const angleObs2D& a : recordsOf(angleList2D))
        text += platform::formatC("NA,T,PB%s,PI%s,PT%s\r\n", name(a.backsight).c_str(),
                                  name(a.instrument).c_str(), name(a.foresight).c_str());
    for (const azimuthObs& z : recordsOf(azimuthList2D))
        text += platform::formatC("NZ,T,PI%s,PT%s\r\n", name(z.from).c_str(), name(z.to).c_str());
    return text;
}

// Without a temporary folder of the run's, the copy goes to the user's
// private one; none at all leaves the copy out (an empty path).
std::filesystem::path temporaryCopyPath(const std::string& temporaryFolder) {
    std::string ignored;
    const auto folder = temporaryFolder.empty() ? platform::privateTemporaryFolder(ignored)
                                                : std::filesystem::path(temporaryFolder);
    return folder ? *folder / "TARNWELL.EEL" : std::filesystem::path();
}

} // namespace

int writeRptErrorEllipses(int handle, const std::vector<errEllipseRec>& ellipses) {
    const std::string head[] = {
        "",
        "",
        platform::formatC("Adjusted Coordinates Error Ellipses, %2.0f%% CI",
                          projectVars.confidenceInterval),
        " Sta.               Semi Major     Semi Minor      Max. Error Az.",
        "                       Axis           Axis",
    };
    for (const std::string& line : head)
        if (writeLine(handle, line) != 0)
            return 1;
    for (const errEllipseRec& e : ellipses) {
        const std::string line = platform::formatC(" %-10.10s          %s         %s          %s",
                                                   e.name, formatStdError(e.semiMajor).c_str(),
                                                   formatStdError(e.semiMinor).c_str(),
                                                   directionToText(e.orientation).c_str());
        if (writeLine(handle, line) != 0)
            return 1;
    }
    return 0;
}

std::string eelFileText(const std::vector<errEllipseRec>& ellipses) {
    return platform::formatC("H1,HU%s,CI%2.0f,PR%s\r\n", unitWord(), projectVars.confidenceInterval,
                             projectVars.projectFileName.c_str()) +
           pointRecords(ellipses) + connectionRecords();
}

void writeEelFile(const std::vector<errEllipseRec>& ellipses, const std::string& temporaryFolder) {
    const std::string text = eelFileText(ellipses);
    // A failed replacement leaves the previous file whole; the run reports it.
    for (const std::filesystem::path& path :
         {std::filesystem::path(projectOutputPath(".EEL")), temporaryCopyPath(temporaryFolder)}) {
        std::string error;
        if (!path.empty() && !platform::replaceFile(path, text, error))
            noteOutputWriteFailure(path.string(), error);
    }
}
