#include "engine/spatial_network.hpp"

#include "engine/point_index.hpp"
#include "model/angle_math.hpp"
#include "model/list_snapshot.hpp"
#include "model/plane_geometry.hpp"
#include "model/point_name.hpp"
#include "model/program_lists.hpp"
#include "model/project_ellipsoid.hpp"
#include "model/project_geodesy.hpp"
#include "model/settings/global_vars.hpp"

#include "geodetic/earth_centred.hpp"

#include <cmath>

using angle::pi;
using angle::secondsPerRadian;

namespace {

bool hasGeodeticPosition(const stationRec& s) {
    return isSet(s.latitude) && isSet(s.longitude) && isSet(s.elevation) && isSet(s.ecefX) &&
           isSet(s.ecefY) && isSet(s.ecefZ);
}

// The network's station table and its index by name.
class StationTable {
public:
    explicit StationTable(SpatialNetwork& network) : network_(network), index_("Station") {}

    void add(const stationRec& record, int column) {
        SpatialStation s;
        s.name = std::string(fixedText(record.name));
        s.latitude = record.latitude;
        s.longitude = record.longitude;
        s.height = record.elevation;
        s.X = record.ecefX;
        s.Y = record.ecefY;
        s.Z = record.ecefZ;
        s.column = column;
        network_.stations.push_back(s);
        index_.add(s.name, static_cast<int>(network_.stations.size()) - 1,
                   hasGeodeticPosition(record));
    }
    bool holds(std::string_view name) const { return index_.holds(name); }
    int positioned(std::string_view name, std::string& problem) const {
        return index_.positioned(name, problem);
    }

private:
    SpatialNetwork& network_;
    PointIndex index_;
};

void readStations(SpatialNetwork& network, StationTable& table) {
    for (const stationRec& s : recordsOf(stationList)) {
        int column = -1;
        if (s.pointType == ptUnknown || s.pointType == ptWeightedControl) {
            column = network.unknowns();
            network.adjustable.push_back(static_cast<int>(network.stations.size()));
        }
        table.add(s, column);
    }
    for (const stationRec& s : recordsOf(fixedStationList))
        if (!table.holds(fixedText(s.name)))
            table.add(s, -1);
}

bool addRow(SpatialNetwork& network, const StationTable& table, SpatialRow row,
            std::initializer_list<std::string_view> names, std::string& problem) {
    int role = 0;
    for (const std::string_view name : names) {
        row.stations[role] = table.positioned(name, problem);
        if (row.stations[role++] < 0)
            return false;
    }
    network.rows.push_back(row);
    return true;
}

SpatialRow rowOf(SpatialRowKind kind, double observed, double stdErr) {
    SpatialRow row;
    row.kind = kind;
    row.observed = observed;
    row.stdErr = stdErr;
    return row;
}

bool readSightRows(SpatialNetwork& network, const StationTable& table, std::string& problem) {
    for (const distanceObs& d : recordsOf(distanceList))
        if (takesPart3D(d) &&
            !addRow(network, table, rowOf(SpatialRowKind::distance, d.reducedDist, d.stdErr),
                    {fixedText(d.from), fixedText(d.to)}, problem))
            return false;
    for (const angleObs& a : recordsOf(angleList))
        if (takesPart3D(a) &&
            !addRow(network, table, rowOf(SpatialRowKind::angle, a.angle, a.stdErr),
                    {fixedText(a.backsight), fixedText(a.instrument), fixedText(a.foresight)},
                    problem))
            return false;
    for (const azimuthObs& z : recordsOf(azimuthList))
        if (z.status != obsNotAdjusted &&
            !addRow(network, table,
                    rowOf(SpatialRowKind::azimuth, z.azimuth + z.convergence, z.stdErr),
                    {fixedText(z.from), fixedText(z.to)}, problem))
            return false;
    for (const verticalObs& v : recordsOf(verticalList))
        if (takesPart3D(v) &&
            !addRow(network, table, rowOf(SpatialRowKind::zenith, pi / 2.0 - v.zenith, v.stdErr),
                    {fixedText(v.from), fixedText(v.to)}, problem))
            return false;
    return true;
}

// The control record of a weighted control station, with its position.
bool controlPosition(std::string_view name, std::array<double, 3>& position, std::string& problem) {
    for (const stationRec& c : recordsOf(controlStationList))
        if (c.pointType == ptWeightedControl && sameName(fixedText(c.name), name) &&
            isSet(c.latitude) && isSet(c.longitude) && isSet(c.elevation)) {
            position = {c.latitude, c.longitude, c.elevation};
            return true;
        }
    problem = "Weighted control station " + std::string(name) + " has no control position.";
    return false;
}

bool readControlRows(SpatialNetwork& network, const StationTable& table, std::string& problem) {
    network.controlRowsStart = network.observations();
    for (const stationRec& s : recordsOf(stationList)) {
        if (s.pointType != ptWeightedControl)
            continue;
        const std::string_view name = fixedText(s.name);
        SpatialRow row;
        if (!controlPosition(name, row.control, problem))
            return false;
        const std::array<std::pair<SpatialRowKind, double>, 3> components = {
            {{SpatialRowKind::controlNorth, s.stdErrN},
             {SpatialRowKind::controlEast, s.stdErrE},
             {SpatialRowKind::controlUp, s.stdErrZ}}};
        for (const auto& [kind, sigma] : components) {
            row.kind = kind;
            row.stdErr = sigma;
            if (!addRow(network, table, row, {name}, problem))
                return false;
        }
    }
    network.controlRowCount = network.observations() - network.controlRowsStart;
    return true;
}

double setOrZero(double value) {
    return isSet(value) ? value : 0.0;
}

bool readGpsRows(SpatialNetwork& network, const StationTable& table, std::string& problem) {
    for (const gpsVectorRec& g : recordsOf(gpsVectorList)) {
        if (g.status == obsNotAdjusted)
            continue;
        SpatialRow row;
        row.vector = {g.dX, g.dY, g.dZ};
        row.covariance = {setOrZero(g.varX),  setOrZero(g.varY),  setOrZero(g.varZ),
                          setOrZero(g.covXY), setOrZero(g.covXZ), setOrZero(g.covYZ)};
        for (const SpatialRowKind kind :
             {SpatialRowKind::gpsNorth, SpatialRowKind::gpsEast, SpatialRowKind::gpsUp}) {
            row.kind = kind;
            if (!addRow(network, table, row, {fixedText(g.from), fixedText(g.to)}, problem))
                return false;
        }
    }
    return true;
}

bool readLevelRows(SpatialNetwork& network, const StationTable& table, std::string& problem) {
    for (const levelObs& l : recordsOf(levelList))
        if (!addRow(network, table, rowOf(SpatialRowKind::level, l.ellipsoidalDiff, l.stdErr),
                    {fixedText(l.from), fixedText(l.to)}, problem))
            return false;
    return true;
}

const SpatialStation& stationOf(const SpatialNetwork& network, const SpatialRow& row, int role) {
    return network.stations[static_cast<std::size_t>(row.stations[role])];
}

using Matrix3 = std::array<std::array<double, 3>, 3>;

Matrix3 covarianceMatrix(const std::array<double, 6>& c) {
    return {{{c[0], c[3], c[4]}, {c[3], c[1], c[5]}, {c[4], c[5], c[2]}}};
}

// R S R^T with R the rows of the local axes at the station.
Matrix3 localCovariance(const SpatialStation& at, const Matrix3& s) {
    Matrix3 r{};
    for (int a = 0; a < 3; ++a) {
        const std::array<double, 3> unit = {a == 0 ? 1.0 : 0.0, a == 1 ? 1.0 : 0.0,
                                            a == 2 ? 1.0 : 0.0};
        const LocalVector v =
            ecefToLocalVector(at.latitude, at.longitude, unit[0], unit[1], unit[2]);
        r[0][a] = v.north;
        r[1][a] = v.east;
        r[2][a] = v.up;
    }
    Matrix3 out{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                for (int l = 0; l < 3; ++l)
                    out[i][j] += r[i][k] * s[k][l] * r[j][l];
    return out;
}

// The inverse of a symmetric 3 x 3 matrix by its cofactors; false when it
// is not positive definite.
bool invertPositiveDefinite(const Matrix3& m, Matrix3& inverse) {
    const double c00 = m[1][1] * m[2][2] - m[1][2] * m[2][1];
    const double c01 = m[1][2] * m[2][0] - m[1][0] * m[2][2];
    const double c02 = m[1][0] * m[2][1] - m[1][1] * m[2][0];
    const double det = m[0][0] * c00 + m[0][1] * c01 + m[0][2] * c02;
    const double minor2 = m[0][0] * m[1][1] - m[0][1] * m[1][0];
    if (!(m[0][0] > 0.0 && minor2 > 0.0 && det > 0.0))
        return false;
    inverse[0][0] = c00 / det;
    inverse[0][1] = inverse[1][0] = c01 / det;
    inverse[0][2] = inverse[2][0] = c02 / det;
    inverse[1][1] = (m[0][0] * m[2][2] - m[0][2] * m[2][0]) / det;
    inverse[1][2] = inverse[2][1] = (m[0][2] * m[1][0] - m[0][0] * m[1][2]) / det;
    inverse[2][2] = minor2 / det;
    return true;
}

bool checkGpsCovariances(const SpatialNetwork& network, std::string& problem) {
    Matrix3 inverse{};
    for (const SpatialRow& row : network.rows)
        if (row.kind == SpatialRowKind::gpsNorth &&
            !invertPositiveDefinite(covarianceMatrix(row.covariance), inverse)) {
            problem = "GPS vector " + stationOf(network, row, 0).name + " - " +
                      stationOf(network, row, 1).name +
                      " has no positive definite covariance; it cannot be weighted.";
            return false;
        }
    return true;
}

int componentOf(SpatialRowKind kind) {
    switch (kind) {
    case SpatialRowKind::controlNorth:
    case SpatialRowKind::gpsNorth:
        return 0;
    case SpatialRowKind::controlEast:
    case SpatialRowKind::gpsEast:
        return 1;
    default:
        return 2;
    }
}

double component(const LocalVector& v, int c) {
    return c == 0 ? v.north : c == 1 ? v.east : v.up;
}

// Adds a station's partials to the row's columns; a station met twice in
// one row adds up.
void addStation(DesignRow& design, const SpatialStation& s, const LocalVector& partials) {
    if (s.column < 0)
        return;
    const std::array<double, 3> values = {partials.north, partials.east, partials.up};
    for (int c = 0; c < 3; ++c) {
        bool merged = false;
        for (int p = 0; p < design.count && !merged; ++p)
            if (design.column[p] == s.column + c) {
                design.value[p] += values[c];
                merged = true;
            }
        if (!merged)
            design.add(s.column + c, values[c]);
    }
}

template <std::size_t Roles>
void addStations(DesignRow& design, const SpatialNetwork& network, const SpatialRow& row,
                 const std::array<LocalVector, Roles>& partials) {
    for (std::size_t role = 0; role < Roles; ++role)
        addStation(design, stationOf(network, row, static_cast<int>(role)), partials[role]);
}

// The partials of (computed local vector - observed vector turned into the
// local frame of the from station), component c.
std::array<LocalVector, 2> gpsPartials(const SpatialNetwork& network, const SpatialRow& row,
                                       int c) {
    const SpatialStation& from = stationOf(network, row, 0);
    const VectorPartials p = localVectorPartials(network.ell, from, stationOf(network, row, 1));
    const LocalJacobian turn =
        frameTurnPartials(network.ell, from, row.vector[0], row.vector[1], row.vector[2]);
    return {{{p.fromStation[c][0] - turn[c][0], p.fromStation[c][1] - turn[c][1],
              p.fromStation[c][2] - turn[c][2]},
             {p.toStation[c][0], p.toStation[c][1], p.toStation[c][2]}}};
}

// The partials of the control offset's component with respect to the
// station's displacement, sign turned (the offset is observed - computed):
// about 1 on its own component, the ratio of the two radii in which the
// offset and the station's move are measured.
LocalVector controlPartials(const SpatialNetwork& network, const SpatialRow& row) {
    const SpatialStation& s = stationOf(network, row, 0);
    const double phiC = row.control[0], lambdaC = row.control[1];
    const double dh = row.control[2] - s.height;
    const CurvatureRadii atControl = curvatureRadii(network.ell, phiC);
    const CurvatureRadii atStation = curvatureRadii(network.ell, s.latitude);
    switch (row.kind) {
    case SpatialRowKind::controlNorth:
        return {(atControl.meridian + dh) / (atStation.meridian + s.height), 0.0,
                phiC - s.latitude};
    case SpatialRowKind::controlEast:
        return {0.0,
                std::cos(phiC) * (atControl.primeVertical + dh) /
                    ((atStation.primeVertical + s.height) * std::cos(s.latitude)),
                std::cos(phiC) * (lambdaC - s.longitude)};
    default:
        return {0.0, 0.0, 1.0};
    }
}

DesignRow designRow(const SpatialNetwork& network, const SpatialRow& row) {
    DesignRow design;
    const auto at = [&](int role) -> const SpatialStation& {
        return stationOf(network, row, role);
    };
    switch (row.kind) {
    case SpatialRowKind::distance:
        addStations(design, network, row, distancePartials3D(network.ell, at(0), at(1)));
        break;
    case SpatialRowKind::angle:
        addStations(design, network, row, anglePartials3D(network.ell, at(0), at(1), at(2)));
        break;
    case SpatialRowKind::azimuth:
        addStations(design, network, row, azimuthPartials3D(network.ell, at(0), at(1)));
        break;
    case SpatialRowKind::zenith:
        addStations(design, network, row, zenithPartials3D(network.ell, at(0), at(1)));
        break;
    case SpatialRowKind::controlNorth:
    case SpatialRowKind::controlEast:
    case SpatialRowKind::controlUp:
        addStations<1>(design, network, row, {controlPartials(network, row)});
        break;
    case SpatialRowKind::gpsNorth:
    case SpatialRowKind::gpsEast:
    case SpatialRowKind::gpsUp:
        addStations(design, network, row, gpsPartials(network, row, componentOf(row.kind)));
        break;
    case SpatialRowKind::level:
        addStations<2>(design, network, row, {{{0.0, 0.0, -1.0}, {0.0, 0.0, 1.0}}});
        break;
    }
    return design;
}

double misclosureOf(const SpatialNetwork& network, const SpatialRow& row) {
    const auto at = [&](int role) -> const SpatialStation& {
        return stationOf(network, row, role);
    };
    switch (row.kind) {
    case SpatialRowKind::distance:
        return row.observed - computedValue3D(network, row);
    case SpatialRowKind::angle:
    case SpatialRowKind::azimuth:
        return angularMisclosure(row.observed, computedValue3D(network, row));
    case SpatialRowKind::zenith:
        return (row.observed - computedValue3D(network, row)) * secondsPerRadian;
    case SpatialRowKind::controlNorth:
    case SpatialRowKind::controlEast:
    case SpatialRowKind::controlUp: {
        const SpatialStation& s = at(0);
        return component(geodToLocalOffset(network.ell, row.control[0], row.control[1],
                                           row.control[2], s.latitude, s.longitude, s.height),
                         componentOf(row.kind));
    }
    case SpatialRowKind::gpsNorth:
    case SpatialRowKind::gpsEast:
    case SpatialRowKind::gpsUp: {
        const SpatialStation& from = at(0);
        const int c = componentOf(row.kind);
        return component(ecefToLocalVector(from.latitude, from.longitude, row.vector[0],
                                           row.vector[1], row.vector[2]),
                         c) -
               component(localVectorBetween(from, at(1)), c);
    }
    case SpatialRowKind::level:
        return row.observed - (at(1).height - at(0).height);
    }
    return 0.0;
}

void moveStation(const ellipsoid& ell, SpatialStation& s, double dn, double de, double du) {
    const CurvatureRadii r = curvatureRadii(ell, s.latitude);
    s.height += du;
    s.latitude += dn / (r.meridian + s.height);
    s.longitude += de / (std::cos(s.latitude) * (r.primeVertical + s.height));
    geodCoord point{};
    point.lat = s.latitude;
    point.lon = s.longitude;
    point.elev = s.height;
    latLongElev2XYZ_EC(ell, &point);
    s.X = point.easting;
    s.Y = point.northing;
    s.Z = point.elev;
}

void writeBack(const SpatialStation& s, stationRec& record) {
    record.latitude = s.latitude;
    record.longitude = s.longitude;
    record.elevation = s.height;
    record.ecefX = s.X;
    record.ecefY = s.Y;
    record.ecefZ = s.Z;
    geodCoord grid = gridCallPosition(record);
    projGeodToGridMeters(grid);
    record.northing = grid.northing;
    record.easting = grid.easting;
}

} // namespace

bool takesPart3D(const distanceObs& record) {
    return record.status != obsNotAdjusted;
}
bool takesPart3D(const angleObs& record) {
    return record.status != obsNotAdjusted;
}
bool takesPart3D(const verticalObs& record) {
    return record.status != obsNotAdjusted;
}

bool readSpatialNetwork(SpatialNetwork& network, std::string& problem) {
    network = SpatialNetwork{};
    problem = spatialModelRefusal();
    if (!problem.empty())
        return false;
    initGridSystemEllipsoid(network.ell);
    StationTable table(network);
    readStations(network, table);
    return readSightRows(network, table, problem) && readControlRows(network, table, problem) &&
           readGpsRows(network, table, problem) && readLevelRows(network, table, problem) &&
           checkGpsCovariances(network, problem);
}

RowWeights buildWeights3D(const SpatialNetwork& network) {
    RowWeights w;
    const std::size_t k = network.rows.size();
    w.assign(k);
    for (std::size_t r = 0; r < k; ++r) {
        const SpatialRow& row = network.rows[r];
        if (row.kind == SpatialRowKind::gpsEast || row.kind == SpatialRowKind::gpsUp)
            continue;
        if (row.kind != SpatialRowKind::gpsNorth) {
            w.diagonal[r] = 1.0 / (row.stdErr * row.stdErr);
            continue;
        }
        Matrix3 inverse{};
        invertPositiveDefinite(
            localCovariance(stationOf(network, row, 0), covarianceMatrix(row.covariance)), inverse);
        for (std::size_t c = 0; c < 3; ++c)
            w.diagonal[r + c] = inverse[c][c];
        w.pairWeight[r] = inverse[0][1];
        w.pairWeight[r + 1] = inverse[1][2];
        w.skipWeight[r] = inverse[0][2];
    }
    return w;
}

double computedValue3D(const SpatialNetwork& network, const SpatialRow& row) {
    const auto at = [&](int role) -> const SpatialStation& {
        return stationOf(network, row, role);
    };
    switch (row.kind) {
    case SpatialRowKind::distance: {
        const SpatialStation &i = at(0), &j = at(1);
        return std::sqrt((j.X - i.X) * (j.X - i.X) + (j.Y - i.Y) * (j.Y - i.Y) +
                         (j.Z - i.Z) * (j.Z - i.Z));
    }
    case SpatialRowKind::angle: {
        double computed = 0.0;
        angleFromDirections(geodAzimuth3D(at(1), at(0)), geodAzimuth3D(at(1), at(2)), computed);
        return computed;
    }
    case SpatialRowKind::azimuth:
        return geodAzimuth3D(at(0), at(1));
    case SpatialRowKind::zenith:
        return geodVerticalAngle3D(at(0), at(1));
    default:
        return 0.0;
    }
}

std::vector<double> buildMisclosures3D(const SpatialNetwork& network) {
    std::vector<double> L;
    L.reserve(network.rows.size());
    for (const SpatialRow& row : network.rows)
        L.push_back(misclosureOf(network, row));
    return L;
}

std::vector<DesignRow> buildDesign3D(const SpatialNetwork& network, ShellServices* progress) {
    return buildDesignRows(network.rows.size(), progress,
                           [&](std::size_t r) { return designRow(network, network.rows[r]); });
}

void applyCorrections3D(SpatialNetwork& network, const std::vector<double>& x) {
    for (const int index : network.adjustable) {
        SpatialStation& s = network.stations[static_cast<std::size_t>(index)];
        const auto c = static_cast<std::size_t>(s.column);
        moveStation(network.ell, s, x[c], x[c + 1], x[c + 2]);
    }
    stationRec record;
    auto next = network.adjustable.begin();
    const int cursor = stationList.openCursor(0);
    while (stationList.getAtCursor(cursor, record) == 0 && next != network.adjustable.end()) {
        if (record.pointType == ptUnknown || record.pointType == ptWeightedControl) {
            writeBack(network.stations[static_cast<std::size_t>(*next++)], record);
            stationList.replaceAtCursor(cursor, record);
        }
        stationList.advanceCursor(cursor);
    }
    stationList.closeCursor(cursor);
}

std::vector<DesignRow> SpatialNetwork::design(ShellServices* progress) const {
    return buildDesign3D(*this, progress);
}

std::vector<double> SpatialNetwork::misclosures() const {
    return buildMisclosures3D(*this);
}

void SpatialNetwork::applyCorrections(const std::vector<double>& x) {
    applyCorrections3D(*this, x);
}

std::string SpatialNetwork::unknownName(int column) const {
    static constexpr const char* components[] = {"the north", "the east", "the up"};
    const SpatialStation& s =
        stations[static_cast<std::size_t>(adjustable[static_cast<std::size_t>(column / 3)])];
    return std::string(components[column % 3]) + " position of station " + s.name;
}
