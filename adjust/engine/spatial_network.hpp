#pragma once
// The three-dimensional network as the least-squares adjustment sees it: the
// stations with their unknowns, the observation rows in their fixed order,
// the weights, and the linearisation (misclosures and design rows) at the
// current positions.
//
// Unknowns: north, east and up displacement (metres) of each station of
// `stationList` whose type is 0 (unknown) or 1 (weighted control), in list
// order; station s has the columns 3s, 3s + 1, 3s + 2. A station named by an
// observation is looked up in `stationList`, then in `fixedStationList`.
//
// Row order (the listings of the adjusted observations walk the lists in
// the same order): distances of `distanceList`, angles of `angleList`,
// azimuths of `azimuthList`, zenith angles of `verticalList` (each record
// whose status is not `obsNotAdjusted`); three rows (north, east, up) per
// weighted control station (type 1 in `stationList`, list order); three rows
// (north, east, up in the local frame of its from station) per GPS vector of
// `gpsVectorList` not of status `obsNotAdjusted`; one row per level record of
// `levelList`.
//
// Units: lengths in metres, the station's elevation taken as its height
// above the ellipsoid; angles in radians; the misclosures and partials of
// angle, azimuth and zenith rows in seconds of arc, their standard errors in
// seconds. Every geodetic position, radius of curvature and earth-centred
// coordinate is on one ellipsoid, that of the project's coordinate system.

#include "engine/linearised_network.hpp"
#include "engine/spatial_geometry.hpp"
#include "model/observation_records.hpp"
#include "model/point_records.hpp"

#include "geodetic/geodesy_records.hpp"

#include <array>
#include <string>
#include <vector>

enum class SpatialRowKind {
    distance,
    angle,
    azimuth,
    zenith,
    controlNorth,
    controlEast,
    controlUp,
    gpsNorth,
    gpsEast,
    gpsUp,
    level
};

// One observation row: its stations (indices into the station table, in
// the roles of its kind: from/to; backsight/instrument/foresight; the
// control station), the observed value (metres; radians for angles, for
// azimuths turned to geodetic by the record's convergence, and for the
// elevation angle pi/2 - zenith) and its standard error (metres or seconds).
struct SpatialRow {
    SpatialRowKind kind = SpatialRowKind::distance;
    std::array<int, 3> stations = {-1, -1, -1};
    double observed = 0.0;
    double stdErr = 0.0;
    // A GPS vector's rows: the earth-centred vector (dX, dY, dZ) and its
    // covariance XX, YY, ZZ, XY, XZ, YZ.
    std::array<double, 3> vector = {};
    std::array<double, 6> covariance = {};
    // A control row: the control position (latitude, longitude, height).
    std::array<double, 3> control = {};
};

// The network read from the program-wide lists.
struct SpatialNetwork : LinearisedNetwork {
    ellipsoid ell{};
    std::vector<SpatialStation> stations;
    std::vector<int> adjustable; // station-table index of each unknown triple, in list order
    std::vector<SpatialRow> rows;
    int controlRowsStart = 0; // index of the first weighted-control row
    int controlRowCount = 0;

    int unknowns() const override { return static_cast<int>(adjustable.size()) * 3; }
    int observations() const { return static_cast<int>(rows.size()); }

    std::vector<DesignRow> design(ShellServices* progress) const override;
    std::vector<double> misclosures() const override;
    void applyCorrections(const std::vector<double>& x) override;
    std::string unknownName(int column) const override;
};

// True when the record is a row of the 3D adjustment (its status is not
// `obsNotAdjusted`).
bool takesPart3D(const distanceObs& record);
bool takesPart3D(const angleObs& record);
bool takesPart3D(const verticalObs& record);

// Reads the lists into a network on the ellipsoid of the project's
// coordinate system. False, with the reason in `problem`, when the
// coordinate system has no geodetic positions for the 3D model (a local
// grid, State Plane 1927), when an observation names a station that neither
// list holds or that has no geodetic position, when a weighted control
// station has no control record with a position, or when a GPS vector's
// covariance is not positive definite.
bool readSpatialNetwork(SpatialNetwork& network, std::string& problem);

// W: 1/sigma^2 for the one-row observations and the three rows of a weighted
// control station; for a GPS vector the inverse of its covariance turned
// into the local frame of its from station, (R S R^T)^-1, so that the
// weights belong to the rows as they are formed.
RowWeights buildWeights3D(const SpatialNetwork& network);

// The value a distance, angle, azimuth or zenith row's observation has at
// the current positions, in the row's own terms: the chord in metres; the
// angle and the geodetic azimuth in [0, 2 pi); the elevation angle. 0 for
// the rows formed component by component (control, GPS vector, level).
double computedValue3D(const SpatialNetwork& network, const SpatialRow& row);

// L = observed - computed of every row at the current positions.
std::vector<double> buildMisclosures3D(const SpatialNetwork& network);

// The design rows at the current positions; the progress bar of `progress`
// (may be null) is told the share built.
std::vector<DesignRow> buildDesign3D(const SpatialNetwork& network,
                                     ShellServices* progress = nullptr);

// Moves each adjustable station by its corrections (dn, de, du): h + du,
// then phi + dn / (M + h), then lambda + de / (cos phi (N + h)) (M and N at
// the old latitude, h the new height), its earth-centred X, Y, Z on the
// network's ellipsoid, and its grid northing and easting (metres); the
// stations of `stationList` are written back in place.
void applyCorrections3D(SpatialNetwork& network, const std::vector<double>& x);
