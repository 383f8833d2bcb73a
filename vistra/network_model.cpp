#include "vistra/network_model.hpp"

#include "geodetic/state_plane_27.hpp"
#include "geodetic/state_plane_83.hpp"
#include "input/raw_files.hpp"
#include "model/program_lists.hpp"
#include "model/run_stops.hpp"
#include "model/settings/global_vars.hpp"
#include "run/driver_steps.hpp"
#include "vistra/network_stages.hpp"
#include "vistra/project_input.hpp"

#include <cmath>
#include <new>

namespace {

constexpr int threeDModel = 1;

// The lists no later build step reads; the point lists stay for the window.
void clearWorkingLists() {
    distanceList2D.clear();
    controlPointList2D.clear();
    givenPointList2D.clear();
    angleList2D.clear();
    azimuthList2D.clear();
    ptDescList.clear();
    pointAliasList.clear();
    gpsVectorList.clear();
    gpsVectorList2D.clear();
}

void prepareZoneTables(int gridSystem) {
    if (gridSystem == gridStatePlane83)
        init83ZoneConstants();
    else if (gridSystem == gridStatePlane27)
        init27ZoneConstants();
}

void readRawInput() {
    const std::string& files = projectVars.pInputFileName;
    if (listNamesRw5File(files))
        readRw5Input(files);
    else
        readVkrInput(files);
}

template <class Record> int appendCopy(std::vector<Record>& list, const Record& record) {
    try {
        list.push_back(record);
    } catch (const std::bad_alloc&) {
        return 1;
    }
    return 0;
}

template <class Record> int copyAt(const std::vector<Record>& list, int index, Record& out) {
    if (index < 0 || index >= static_cast<int>(list.size()))
        return 1;
    out = list[static_cast<std::size_t>(index)];
    return 0;
}

} // namespace

int graphSetup::getForesightAt(int index, graphForesight& out) const {
    return copyAt(foresights, index, out);
}
int graphSetup::getVectorAt(int index, graphVector& out) const {
    return copyAt(vectors, index, out);
}

rawDataGraph::rawDataGraph(ShellServices& shell) : shell_(shell) {
    buildStatus = buildGraph();
}

int rawDataGraph::refresh() {
    buildStatus = buildGraph();
    return 0;
}

int rawDataGraph::buildGraph() {
    // The shell of the build answers the core's message boxes meanwhile.
    const ActiveShellScope active(shell_);
    try {
        return buildModel();
    } catch (const UnknownZone& zone) {
        shell_.message(zone.what(), MessageKind::ok);
    }
    clearModel();
    clearWorkingLists();
    return graphNothingToDraw;
}

int rawDataGraph::buildModel() {
    const globalVars& s = projectVars;
    clearRunLists();
    clearModel();
    prepareZoneTables(s.gridSystem);
    if (s.pInputFileName.empty() && s.pGPSFileName.empty())
        return graphNothingToDraw;
    if (s.gridSystem == gridUserDefined)
        projectVars.udp.load(s.UDPFilePath);
    if (s.includeRawData != 0)
        readRawInput();
    const int result =
        s.geodeticModel == threeDModel ? buildModel3D(*this) : buildModel2D(*this, shell_);
    clearWorkingLists();
    return result;
}

void rawDataGraph::clearModel() {
    setupList.clear();
    pointList.clear();
}

void rawDataGraph::resetExtents() {
    minN = minE = emptyExtentMin;
    maxN = maxE = emptyExtentMax;
}

void rawDataGraph::widenExtents(double northing, double easting) {
    minN = std::fmin(minN, northing);
    minE = std::fmin(minE, easting);
    maxN = std::fmax(maxN, northing);
    maxE = std::fmax(maxE, easting);
}

int rawDataGraph::getSetupAt(int index, graphSetup& out) const {
    return copyAt(setupList, index, out);
}

int rawDataGraph::getPointAt(int index, graphPoint& out) const {
    return copyAt(pointList, index, out);
}

int rawDataGraph::findSetup(std::string_view instrument, std::string_view backsight,
                            graphSetup& out) const {
    for (std::size_t i = 0; i < setupList.size(); ++i) {
        const graphSetup& setup = setupList[i];
        if (sameName(fixedText(setup.instrument), instrument) &&
            sameName(fixedText(setup.backsight), backsight)) {
            out = setup;
            return static_cast<int>(i);
        }
    }
    return -1;
}

int rawDataGraph::findSetupAt(std::string_view instrument, graphSetup& out) const {
    for (std::size_t i = 0; i < setupList.size(); ++i) {
        if (sameName(fixedText(setupList[i].instrument), instrument)) {
            out = setupList[i];
            return static_cast<int>(i);
        }
    }
    return -1;
}

int rawDataGraph::appendSetup(const graphSetup& setup) {
    graphSetup fresh = setup;
    fresh.foresights.clear();
    fresh.vectors.clear();
    return appendCopy(setupList, fresh);
}

int rawDataGraph::appendPoint(const graphPoint& point) {
    return appendCopy(pointList, point);
}

int rawDataGraph::appendForesight(int setupIndex, const graphForesight& foresight) {
    return appendCopy(setupList.at(static_cast<std::size_t>(setupIndex)).foresights, foresight);
}

int rawDataGraph::appendVector(int setupIndex, const graphVector& vector) {
    return appendCopy(setupList.at(static_cast<std::size_t>(setupIndex)).vectors, vector);
}
