#pragma once
// The horizontal network as the least-squares adjustment sees it: the points
// with their unknowns, the observation rows in their fixed order, the weight
// matrix, and the linearisation (misclosures and design rows) at the current
// coordinates.
//
// Row order: distances of `distanceList2D`, angles of `angleList2D`, azimuths
// of `azimuthList2D` (each record whose status is not `obsNotAdjusted`), two
// rows (easting, northing) per weighted control point, two rows (easting,
// northing component) per GPS vector of `gpsVectorList2D`. The listing of the
// adjusted observations walks the lists in the same order.
//
// Units: lengths in the project's unit; angles in radians; the misclosures
// and partial derivatives of angle and azimuth rows in seconds of arc, so
// their weights are 1/sigma^2 with sigma in seconds.
//
// Unknowns: the easting and then the northing correction of each point of
// `pointList2D` whose type is 0 (unknown) or 1 (weighted control), in list
// order. A point named by an observation is looked up in `pointList2D`, then
// in `fixedPointList2D`, names compared as the lists compare them.

#include "engine/linearised_network.hpp"
#include "model/observation_records.hpp"
#include "model/point_records.hpp"

#include <array>
#include <string>
#include <vector>

enum class RowKind {
    distance,
    angle,
    azimuth,
    controlEasting,
    controlNorthing,
    gpsEasting,
    gpsNorthing
};

// True for the point types that carry unknowns: 0 (unknown) and 1 (weighted control).
bool isAdjustablePoint(int pointType);

// True when the record is one row of the adjustment. A distance record that
// carries only a levelled height difference has no horizontal distance.
bool takesPart(const distanceObs2D& record);
bool takesPart(const angleObs2D& record);
bool takesPart(const azimuthObs& record);
bool takesPart(const gpsVectorRec& record);

// The weighted control points that give two rows each: the type-1 points of
// `controlPointList2D` whose point in `pointList2D` is adjustable, in list
// order.
std::vector<coordRec> weightedControlPoints();

// A point of the network: its current position and, for an adjustable point,
// the column of its easting unknown (the northing's is the next); -1 for a
// point held fixed.
struct NetworkPoint {
    std::string name;
    double easting = 0.0;
    double northing = 0.0;
    int column = -1;
};

// One observation row: the points it joins (indices into the point table, in
// the roles of its kind: from/to; backsight/instrument/foresight; the control
// point), the observed value and its a-priori standard error in the row's
// unit (length, or seconds of arc for angles and azimuths).
struct NetworkRow {
    RowKind kind = RowKind::distance;
    std::array<int, 3> points = {-1, -1, -1};
    double observed = 0.0;
    double stdErr = 0.0;
    double covariance = 0.0; // first row of a GPS vector: covariance of its two components
};

// The network read from the program-wide lists.
struct HorizontalNetwork : LinearisedNetwork {
    std::vector<NetworkPoint> points;
    std::vector<int> adjustable; // point-table index of each unknown pair, in list order
    std::vector<NetworkRow> rows;
    int controlRowsStart = 0; // index of the first weighted-control row
    int controlRowCount = 0;

    int unknowns() const override { return static_cast<int>(adjustable.size()) * 2; }
    int observations() const { return static_cast<int>(rows.size()); }

    std::vector<DesignRow> design(ShellServices* progress) const override;
    std::vector<double> misclosures() const override;
    void applyCorrections(const std::vector<double>& x) override;
    std::string unknownName(int column) const override;
};

// Reads the lists into a network. False, with the reason in `problem`, when
// an observation names a point that neither point list holds or whose
// position is not computed.
bool readHorizontalNetwork(HorizontalNetwork& network, std::string& problem);

// W from the a-priori standard errors: 1/sigma^2 per row; a GPS vector's 2 x 2
// block is the inverse of the covariance matrix of its two components.
RowWeights buildWeights2D(const HorizontalNetwork& network);

// The partials of a distance, an azimuth (seconds of arc per unit) and an
// angle with respect to (easting, northing) of each point in its roles.
struct PointPartials {
    double dEasting;
    double dNorthing;
};
std::array<PointPartials, 2> distancePartials2D(const NetworkPoint& from, const NetworkPoint& to);
std::array<PointPartials, 2> azimuthPartials2D(const NetworkPoint& from, const NetworkPoint& to);
std::array<PointPartials, 3> anglePartials2D(const NetworkPoint& backsight,
                                             const NetworkPoint& instrument,
                                             const NetworkPoint& foresight);

// The value a row's observation has at the current coordinates (length, or
// radians for angles and azimuths in [0, 2pi)).
double computedValue(const HorizontalNetwork& network, const NetworkRow& row);

// L = observed - computed of every row (seconds of arc for angles and
// azimuths, with the turn across north taken into account).
std::vector<double> buildMisclosures2D(const HorizontalNetwork& network);

// The design rows at the current coordinates. The progress bar of `progress`
// (may be null) is told the share of rows built, 0 to 100, whenever it changes.
std::vector<DesignRow> buildDesign2D(const HorizontalNetwork& network,
                                     ShellServices* progress = nullptr);

// Adds the corrections x (easting, northing per unknown pair) to the network's
// points and writes the adjustable points back into `pointList2D`.
void applyCorrections2D(HorizontalNetwork& network, const std::vector<double>& x);
