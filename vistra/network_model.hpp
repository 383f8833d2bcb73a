#pragma once
// The network model of the graphics window, built from the project's own
// files as the library's settings name them (`projectVars` of the library):
// the raw data, the GPS vectors, the supplemental control and the
// user-defined projection. Each build reads and reduces the data with the
// computing core over the library's own program-wide lists and distils three
// things for the drawing: the points to mark, the instrument setups with
// their backsight and foresight rays and GPS vectors, and the rectangle the
// points span.
//
// Geometry is in the ground frame: directions are azimuths clockwise from
// north, and a foresight at distance d lands at N0 + d cos(a), E0 + d sin(a)
// with a = direction + angle.

#include "model/observation_records.hpp"
#include "platform/shell_services.hpp"
#include "vistra/network_records.hpp"

#include <string_view>
#include <vector>

// Results of buildGraph.
inline constexpr int graphBuilt = 0;
inline constexpr int graphNothingToDraw = 1;

// Extents while no point with a northing was seen.
inline constexpr double emptyExtentMin = 9999999999.0;
inline constexpr double emptyExtentMax = -999999999.0;

class rawDataGraph {
public:
    // Builds the model at once; the result is in `buildStatus`. Message
    // boxes of the readers and computations go to `shell`, which must outlive
    // the model.
    explicit rawDataGraph(ShellServices& shell);
    virtual ~rawDataGraph() = default;
    rawDataGraph(const rawDataGraph&) = delete;
    rawDataGraph& operator=(const rawDataGraph&) = delete;

    // Builds the model again into `buildStatus`; returns 0.
    int refresh();

    // Empties the library's program-wide lists and the model, reads the
    // project and builds the model. graphBuilt, or graphNothingToDraw when no
    // raw-data and no GPS file is named, when a 3D model has no point with a
    // northing, or when a stage of the computing core that the build needs
    // is missing (its message shown). The extents are reset only where points
    // are collected, so an early end keeps those of the build before.
    int buildGraph();

    // Copy the index-th setup or point out: 0, or 1 past the end.
    int getSetupAt(int index, graphSetup& out) const;
    int getPointAt(int index, graphPoint& out) const;
    int setupCount() const { return static_cast<int>(setupList.size()); }
    int pointCount() const { return static_cast<int>(pointList.size()); }

    // The setup on this instrument and backsight / the first on this
    // instrument, copied out; its index, or -1.
    int findSetup(std::string_view instrument, std::string_view backsight, graphSetup& out) const;
    int findSetupAt(std::string_view instrument, graphSetup& out) const;

    // Appends a copy; 1 when memory runs out (nothing appended), else 0.
    int appendSetup(const graphSetup& setup);
    int appendPoint(const graphPoint& point);
    int appendForesight(int setupIndex, const graphForesight& foresight);
    int appendVector(int setupIndex, const graphVector& vector);

    // The azimuth from -> to of the 2D azimuth list: the record in that
    // order, else the reversed record turned around (pi added, brought into
    // [0, 2pi)). Its index, or -1 when neither exists.
    static int findAzimuthEitherWay(std::string_view from, std::string_view to, azimuthObs& out);

    // The rectangle of the points that have a northing.
    double minN = emptyExtentMin;
    double minE = emptyExtentMin;
    double maxN = emptyExtentMax;
    double maxE = emptyExtentMax;
    int buildStatus = graphNothingToDraw;

    // Used by the build's stages.
    void resetExtents();
    void widenExtents(double northing, double easting);
    bool extentsEmpty() const { return maxN == emptyExtentMax; }

private:
    int buildModel();
    void clearModel();

    ShellServices& shell_;
    std::vector<graphSetup> setupList;
    std::vector<graphPoint> pointList;
};
