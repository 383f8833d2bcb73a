#include "run/driver_steps.hpp"

#include "engine/prelim_coords_2d.hpp"
#include "engine/prelim_coords_3d.hpp"
#include "model/angle_text.hpp"
#include "model/program_lists.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/shell_services.hpp"
#include "reports/report_windows.hpp"
#include "run/processing_driver.hpp"

using platform::formatC;

namespace {

constexpr std::size_t errLineWidth = 80;
constexpr std::size_t dialogNamesLimit = 200;
constexpr std::size_t shortDialogNamesLimit = 100;

void addAdvice(int notRw5, std::vector<std::string>& dialog) {
    if (notRw5 != 0) {
        dialog.push_back(
            "Coordinate control is best entered in the raw file as coordinate records.\n");
        dialog.push_back("Azimuth control is best entered in the raw file as azimuth records.\n");
    } else {
        dialog.push_back("Coordinate control is best entered in the raw file as 'SP' records.\n");
        dialog.push_back("Azimuth control is best entered in the raw file as 'AZ' records.\n");
        dialog.push_back("BK records in the raw file are not used for azimuth control.\n");
    }
}

template <class Point> std::string controlLine(const Point& p) {
    const std::string name(fixedText(p.name));
    return formatC(" Pt. #%-10.10s: %15.3f %15.3f %15.3f %s\n", name.c_str(), p.northing, p.easting,
                   p.elevation, p.description.c_str());
}

// The control of one model's lists: the control points as read, the
// weighted control points that only the point list holds, the given points.
template <class Point, class Points>
void addCoordinateControl(const Points& control, const Points& points, const Points& given,
                          std::vector<std::string>& dialog) {
    if (control.count() == 0 && given.count() == 0)
        return;
    Point p;
    for (int i = 0; control.getAt(i, p) == 0; ++i) {
        if (p.pointType == ptWeightedControl || p.pointType == ptGiven || p.pointType == ptFixed)
            dialog.push_back(controlLine(p));
    }
    for (int i = 0; points.getAt(i, p) == 0; ++i) {
        if (isSet(p.easting) && p.pointType == ptWeightedControl &&
            control.indexOf(fixedText(p.name)) < 0)
            dialog.push_back(controlLine(p));
    }
    for (int i = 0; given.getAt(i, p) == 0; ++i) {
        if (isSet(p.easting))
            dialog.push_back(controlLine(p));
    }
}

template <class Azimuths>
void addAzimuthControl(const Azimuths& azimuths, std::vector<std::string>& dialog) {
    dialog.push_back(" \n");
    if (azimuths.count() == 0) {
        dialog.push_back(" No azimuth control found.\n");
        return;
    }
    dialog.push_back(" Azimuth Control\n");
    azimuthObs az;
    for (int i = 0; azimuths.getAt(i, az) == 0; ++i) {
        const std::string from(fixedText(az.from));
        const std::string to(fixedText(az.to));
        dialog.push_back(formatC(" Az. From: %s  To:%s  %s\n", from.c_str(), to.c_str(),
                                 directionToText(az.azimuth).c_str()));
    }
}

// The names of the points still without a position, written to the error
// report in lines of about 80 characters and gathered (up to a limit) for
// the dialog.
std::string listUncomputedPoints(bool road3D, int status, std::size_t dialogLimit) {
    std::string dialogNames;
    std::string errLine;
    const auto listName = [&](std::string_view name) {
        const std::string item = " " + std::string(name);
        if (dialogNames.size() < dialogLimit)
            dialogNames += item;
        if (errLine.size() <= errLineWidth) {
            errLine += item;
        } else {
            writeLine(errFile, errLine);
            errLine = item;
        }
    };
    const auto wanted = [&](std::string_view name, double easting, int pointType) {
        if (isSet(easting) || pointType == ptCarried)
            return false;
        return status != 1 ||
               (road3D ? isInstOrBacksightPt3D(name) : isInstOrBacksightPt2D(name)) != 0;
    };
    if (road3D) {
        stationRec p;
        for (int i = 0; stationList.getAt(i, p) == 0; ++i)
            if (wanted(fixedText(p.name), p.easting, p.pointType))
                listName(fixedText(p.name));
    } else {
        coordRec p;
        for (int i = 0; pointList2D.getAt(i, p) == 0; ++i)
            if (wanted(fixedText(p.name), p.easting, p.pointType))
                listName(fixedText(p.name));
    }
    writeLine(errFile, errLine);
    return dialogNames;
}

std::string failureHeading(bool road3D, int status) {
    if (status != 1)
        return "Error computing initial NEZ estimates for points:";
    if (road3D)
        return "The following instrument and backsight pts. could not be computed:";
    return "Insufficient control found.\r\nAs a minimum either two control points, or one control "
           "point and "
           "an azimuth are required.\r\nThe following instrument and backsight pts. could not be "
           "computed:";
}

} // namespace

void listProjectControl(bool road3D, int notRw5, std::vector<std::string>& dialog) {
    dialog.push_back(" \n");
    addAdvice(notRw5, dialog);
    dialog.push_back(" \n");
    dialog.push_back("Following is a list of the control found in the project.\n");
    dialog.push_back(" Coordinate Control\n");
    if (road3D) {
        addCoordinateControl<stationRec>(controlStationList, stationList, givenStationList, dialog);
        addAzimuthControl(azimuthList, dialog);
    } else {
        addCoordinateControl<coordRec>(controlPointList2D, pointList2D, givenPointList2D, dialog);
        addAzimuthControl(azimuthList2D, dialog);
    }
}

int reportPrelimFailure(const RunContext& context, bool road3D, int notRw5, int status) {
    std::vector<std::string> dialog;
    const int controlPoints = road3D ? countControlPoints3D() : countControlPoints2D();
    if (controlPoints == 0) {
        writeLine(
            errFile,
            "No control points found.\r\nEither two control points, or one control point and "
            "an azimuth are required.\r\nEnter the control points as coordinate records in the "
            "raw File, or\r\nas a point in a supplamental control file.\r\nEnter azimuths as "
            "azimuth records in the raw data file.");
        dialog.push_back("No control points found.\r\n");
        dialog.push_back("Either two control points, or one control point and a reference azimuth "
                         "are required.\n");
        dialog.push_back(" \n");
        addAdvice(notRw5, dialog);
    } else {
        const std::string heading = failureHeading(road3D, status);
        writeLine(errFile, heading);
        dialog.push_back(heading + "\n");
        dialog.push_back(listUncomputedPoints(road3D, status, dialogNamesLimit) + "\n");
        listProjectControl(road3D, notRw5, dialog);
    }
    endRunWithErrorReport(context);
    context.shell.messageList(dialog);
    return 0;
}

int reportPrelimFailureShort(const RunContext& context, bool road3D, int status) {
    const int controlPoints = road3D ? countControlPoints3D() : countControlPoints2D();
    if (controlPoints == 0) {
        writeLine(errFile, "No control points found");
        showMessage(context, "No control points found");
    } else {
        const std::string heading = failureHeading(true, status);
        writeLine(errFile, heading);
        showMessage(context,
                    heading + "\n" + listUncomputedPoints(road3D, status, shortDialogNamesLimit));
    }
    closeRunFiles();
    showErrReport();
    context.shell.activateReport(ReportKind::error);
    return 0;
}
