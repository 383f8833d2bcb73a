#include "vistra/network_stages.hpp"

#include "engine/prelim_coords_3d.hpp"
#include "input/gps_control_points.hpp"
#include "input/gps_vector_reader.hpp"
#include "model/program_lists.hpp"
#include "model/project_geodesy.hpp"
#include "model/run_context.hpp"
#include "model/settings/global_vars.hpp"
#include "model/station_lists.hpp"
#include "platform/shell_services.hpp"
#include "vistra/network_walks.hpp"

namespace {

struct Chain3D {
    using Point = stationRec;
    using Angle = angleObs;
    static const obsList<stationRec>& controlList() { return controlStationList; }
    static const obsList<stationRec>& stationList() { return ::stationList; }
    static const obsList<stationRec>& givenList() { return givenStationList; }
    static const obsList<angleObs>& angles() { return angleList; }
    static bool findDistance(std::string_view a, std::string_view b, double& distance,
                             double& stdErr) {
        distanceObs line;
        if (distanceList.find(a, b, line) < 0 && distanceList.find(b, a, line) < 0)
            return false;
        distance = line.meanDist;
        stdErr = line.stdErr;
        return true;
    }
    static bool findKnown(stationRec& point) { return findKnownStation3D(point) == stationFound; }
    static bool findAzimuth(std::string_view from, std::string_view to, double& azimuth,
                            double& stdErr) {
        azimuthObs observed;
        if (azimuthList.find(from, to, observed) < 0)
            return false;
        azimuth = observed.azimuth;
        stdErr = observed.stdErr;
        return true;
    }
};

graphVector vectorOf(const gpsVectorRec& v) {
    graphVector g;
    setPointName(g.to, fixedText(v.to));
    g.dX = v.dX;
    g.dY = v.dY;
    g.dZ = v.dZ;
    g.varX = v.varX;
    g.varY = v.varY;
    g.varZ = v.varZ;
    graphwalk::knownPosition<Chain3D>(fixedText(v.to), g.toN, g.toE);
    return g;
}

} // namespace

void collectSetups3D(rawDataGraph& graph) {
    graphwalk::collectSetups<Chain3D>(graph);
}

void collectVectors3D(rawDataGraph& graph) {
    gpsVectorRec v;
    for (int i = 0; gpsVectorList.getAt(i, v) == 0; ++i) {
        graphSetup setup;
        int index = graph.findSetupAt(fixedText(v.from), setup);
        if (index < 0) {
            graphSetup own;
            setPointName(own.instrument, fixedText(v.from));
            graphwalk::knownPosition<Chain3D>(fixedText(v.from), own.instrumentN, own.instrumentE);
            if (graph.appendSetup(own) != 0)
                continue;
            index = graph.setupCount() - 1;
        }
        graph.appendVector(index, vectorOf(v));
    }
}

int buildModel3D(rawDataGraph& graph) {
    const globalVars& s = projectVars;
    if (s.includeGPSVectors != 0) {
        // The build's shell is the active one while the model is built.
        readGpsVectorFiles(RunContext{activeShell()}, s.pGPSFileName, 0);
        addGpsVectorEndPoints();
    }
    countUnknownsObs3D(unknownCount, obsCount);
    int prelimStatus = 0;
    prelimCoords3D(prelimStatus);
    graphwalk::collectPoints<Chain3D>(graph);
    if (graph.extentsEmpty())
        return graphNothingToDraw;
    collectSetups3D(graph);
    collectVectors3D(graph);
    return graphBuilt;
}
