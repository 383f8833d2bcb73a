#include "run/driver_steps.hpp"

#include "input/alta_points_file.hpp"
#include "input/gps_control_points.hpp"
#include "input/gps_vector_reader.hpp"
#include "input/raw_aliases.hpp"
#include "input/raw_files.hpp"
#include "input/supplemental_control.hpp"
#include "input/supplemental_stations.hpp"
#include "model/observation_builders.hpp"
#include "model/program_lists.hpp"
#include "model/progress.hpp"
#include "model/run_stops.hpp"
#include "model/settings/global_vars.hpp"
#include "model/station_lists.hpp"
#include "output/report_lines.hpp"
#include "platform/shell_services.hpp"
#include "run/processing_driver.hpp"

namespace {

constexpr int threeDModel = 1;

void clearInputAuxiliaries() {
    ptDescList.clear();
    pointAliasList.clear();
}

// Reports a failed load; the caller closes the files and shows the reports.
int loaderFailure(const RunContext& context, const std::string& text) {
    showMessage(context, text);
    return 1;
}

// A reader or builder that stopped because the user asked to ends the run as
// every cancel does.
void stopWhenCancelled(const RunContext& context) {
    if (context.shell.cancelled()) {
        clearInputAuxiliaries();
        throw RunCancelled();
    }
}

// The relative-error points file is read while sideshots are filtered and
// again for the report, where nothing could stop the run any more: a damaged
// record stops it here, before anything is adjusted. That the file cannot be
// read is said where it is read.
bool altaPointsFileWhole(const RunContext& context) {
    const globalVars& s = projectVars;
    if (s.relativeErrFileOn == 0 && s.ALTARptOn == 0)
        return true;
    AltaPoints points;
    std::vector<std::string> errors;
    std::vector<std::string> refused;
    readAltaPointsFile(altaPointsFilePath(s.relativeErrFileNm), points, errors, refused);
    if (refused.empty())
        return true;
    for (const std::string& line : refused)
        writeLine(errFile, line);
    showMessage(context, refused.front());
    return false;
}

} // namespace

int loadProjectInputs(const RunContext& context, SupplementalRoute route, RawReadWording wording) {
    const globalVars& s = projectVars;
    const bool supplementalToRaw = s.supplamentalNE != 0 && route == SupplementalRoute::rawData;
    const bool supplementalToControl =
        s.supplamentalNE != 0 && route == SupplementalRoute::controlLists;
    if (rawDataList.count() > 0)
        rawDataList.clear();
    clearInputAuxiliaries();
    if (!altaPointsFileWhole(context))
        return 1;
    if (s.includeRawData != 0) {
        if (s.pInputFileName.empty())
            return loaderFailure(context, "No valid raw data file specified.");
        // The reader has said why, in a box and in the error report.
        if (readRawFiles(s.pInputFileName, wording) != 0) {
            stopWhenCancelled(context);
            return 1;
        }
    }
    if (s.geodeticModel == threeDModel && s.includeGPSVectors != 0 &&
        readGpsVectorFiles(context, s.pGPSFileName, 1) != gpsReadDone)
        return loaderFailure(context, "error loading GPS vector file");
    if (supplementalToRaw) {
        std::string error;
        if (addSupplementalToRawList(error) != 0)
            return loaderFailure(context, error);
    }
    // The files were opened above; what stops here is a control line they hold.
    if (loadGpsXyzControl(context) != gpsControlDone)
        return loaderFailure(context, "error loading GPS vector file");

    startProgress(rawDataList.count());
    setStage(context, "Replacing aliases.");
    replaceRawAliases();
    // After the aliases: the control names must stay those of the vectors.
    appendGpsControlRawRecs();

    startProgress(rawDataList.count());
    setStage(context, "Building Observation Lists.");
    std::string message;
    const int built = s.geodeticModel != 0 ? buildObsLists3D(message) : buildObsLists2D(message);
    if (built != 0) {
        stopWhenCancelled(context);
        writeLine(errFile, message);
        showMessage(context, message);
        clearInputAuxiliaries();
        return 1;
    }
    std::string supplementalError;
    // The 2D control points take the file's before the run's points are
    // gathered from them; the 3D stations merge it into the gathered ones.
    if (supplementalToControl && s.geodeticModel == 0 &&
        loadSupplementalCoords(supplementalError) != 0)
        return loaderFailure(context, supplementalError);
    setStage(context, "Building Description List");
    buildDescriptionList();
    setStage(context, "Building Station List");
    const int stations = s.geodeticModel != 0 ? buildStationList3D() : buildStationList2D();
    if (stations != 0) {
        showMessage(context, "error building Station List.");
        clearInputAuxiliaries();
        rawDataList.clear();
        return 1;
    }
    if (supplementalToControl && s.geodeticModel != 0 &&
        loadSupplementalStations(supplementalError) != 0)
        return loaderFailure(context, supplementalError);
    if (s.geodeticModel == threeDModel && s.includeGPSVectors != 0)
        addGpsVectorEndPoints();
    clearInputAuxiliaries();
    return 0;
}

void buildAllPointLists() {
    if (projectVars.geodeticModel == threeDModel) {
        allStationList.copyFrom(stationList);
        allStationList.mergeFrom(givenStationList);
        allStationList.mergeFrom(fixedStationList);
    } else {
        allPointList2D.copyFrom(pointList2D);
        allPointList2D.mergeFrom(givenPointList2D);
        allPointList2D.mergeFrom(fixedPointList2D);
    }
}
