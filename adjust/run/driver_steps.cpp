#include "run/driver_steps.hpp"

#include "input/raw_files.hpp"
#include "model/program_lists.hpp"
#include "model/project_ellipsoid.hpp"
#include "model/run_stops.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_lines.hpp"
#include "platform/shell_services.hpp"
#include "reports/report_files.hpp"
#include "reports/report_windows.hpp"
#include "run/processing_driver.hpp"

void showMessage(const RunContext& context, const std::string& text) {
    context.shell.message(text, MessageKind::ok);
}

void setStage(const RunContext& context, const std::string& text) {
    ShellServices& shell = context.shell;
    shell.setMessage(text);
    shell.pump();
    if (shell.cancelled())
        throw RunCancelled();
}

void closeRunFiles() {
    closeRptFile();
    closeErrFile();
}

int endRunWithErrorReport(const RunContext& context) {
    closeRunFiles();
    showRptReport();
    showErrReport();
    context.shell.activateReport(ReportKind::error);
    return 0;
}

int endRunAtErrorReport(const RunContext& context) {
    closeRunFiles();
    context.shell.activateReport(ReportKind::error);
    return 0;
}

bool spatialModelServed(const RunContext& context) {
    constexpr int threeDModel = 1;
    if (projectVars.geodeticModel != threeDModel)
        return true;
    const std::string refusal = spatialModelRefusal();
    if (refusal.empty())
        return true;
    writeLine(errFile, refusal);
    showMessage(context, refusal);
    return false;
}

void clearRunLists() {
    distanceList2D.clear();
    controlPointList2D.clear();
    pointList2D.clear();
    allPointList2D.clear();
    givenPointList2D.clear();
    fixedPointList2D.clear();
    angleList2D.clear();
    azimuthList2D.clear();
    ptDescList.clear();
    pointAliasList.clear();
    gpsVectorList.clear();
    gpsVectorList2D.clear();
    distanceList.clear();
    controlStationList.clear();
    stationList.clear();
    givenStationList.clear();
    fixedStationList.clear();
    angleList.clear();
    verticalList.clear();
    azimuthList.clear();
    levelList.clear();
    obsCount = 0;
    unknownCount = 0;
}

int rawListIsNotRw5() {
    return listNamesRw5File(projectVars.pInputFileName) ? 0 : 1;
}
