#include "reports/relative_ellipse_report.hpp"

#include "engine/adjustment_results.hpp"
#include "engine/relative_error_ellipse.hpp"
#include "model/angle_text.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "reports/report_files.hpp"

namespace {

constexpr int threeDModel = 1;

// The last run's point type of the name, or none when it has no such point.
std::optional<int> pointTypeOf(const std::string& name) {
    if (projectVars.geodeticModel == threeDModel) {
        stationRec station;
        if (allStationList.find(name, station) < 0)
            return std::nullopt;
        return station.pointType;
    }
    coordRec point;
    if (allPointList2D.find(name, point) < 0)
        return std::nullopt;
    return point.pointType;
}

bool refused(const std::string& name, ShellServices& shell) {
    const std::optional<int> type = pointTypeOf(name);
    if (!type) {
        shell.message("Pt. " + name + " does not exist.", MessageKind::ok);
        return true;
    }
    if (*type == ptSideshot) {
        shell.message("Pt. " + name +
                          " is a sideshot.\nRelative error ellipse computations can only be "
                          "computed on side shots if the\n\"Enable sideshots for relative error "
                          "ellipse computations.\"\ntoggle is set.",
                      MessageKind::ok);
        return true;
    }
    return false;
}

struct Axes {
    double semiMajor = 0.0;
    double semiMinor = 0.0;
    double azimuth = 0.0;
};

std::optional<Axes> computed(const std::string& from, const std::string& to) {
    Axes axes;
    int result = relativeEllipseFailed;
    if (projectVars.geodeticModel == threeDModel) {
        stationRec one, two;
        setPointName(one.name, from);
        setPointName(two.name, to);
        result = relErrEllipse3D(&one, &two, &axes.semiMajor, &axes.semiMinor, &axes.azimuth, 0, 1);
    } else {
        coordRec one, two;
        setPointName(one.name, from);
        setPointName(two.name, to);
        result = relErrEllipse2D(&one, &two, &axes.semiMajor, &axes.semiMinor, &axes.azimuth, 0, 1);
    }
    if (result != relativeEllipseComputed)
        return std::nullopt;
    return axes;
}

void appendToReport(const std::string& line, ShellServices& shell) {
    if (openRptFile(appendToFile) == -1)
        return;
    writeLine(rptFile, line);
    writeLine(rptFile, " ");
    shell.appendToReport(line);
    shell.appendToReport(" ");
    closeRptFile();
}

} // namespace

std::optional<RelativeEllipseTexts>
reportRelativeEllipse(const std::string& from, const std::string& to, ShellServices& shell) {
    if (varCovMatrix == nullptr) {
        shell.message("Variance-Covariance matrix not initialized.", MessageKind::ok);
        return std::nullopt;
    }
    if (refused(from, shell) || refused(to, shell))
        return std::nullopt;
    const std::optional<Axes> axes = computed(from, to);
    if (!axes)
        return std::nullopt;
    const std::string azimuth = directionToText(axes->azimuth);
    const std::string major = platform::formatC("%9.*f", projectVars.distPrec, axes->semiMajor);
    const std::string minor = platform::formatC("%9.*f", projectVars.distPrec, axes->semiMinor);
    appendToReport(" Relative Error Ellipse: " + from + " -> " + to + "  Semimajor:" + major +
                       "  Semiminor:" + minor + "  Max Err. Az.:" + azimuth,
                   shell);
    return RelativeEllipseTexts{" " + from + " -> " + to + "  Semimajor:" + major +
                                    "  Semiminor:" + minor + "     ",
                                "  Max Err. Az.:" + azimuth + "     "};
}
