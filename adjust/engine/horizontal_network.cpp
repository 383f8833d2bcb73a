#include "engine/horizontal_network.hpp"

#include "engine/point_index.hpp"
#include "model/angle_math.hpp"
#include "model/list_snapshot.hpp"
#include "model/plane_geometry.hpp"
#include "model/program_lists.hpp"

#include <cmath>

using angle::secondsPerRadian;

namespace {

// The network's point table and its index by name.
class PointTable {
public:
    explicit PointTable(HorizontalNetwork& network) : network_(network), index_("Point") {}

    void add(const coordRec& record, int column) {
        network_.points.push_back(
            {std::string(fixedText(record.name)), record.easting, record.northing, column});
        index_.add(fixedText(record.name), static_cast<int>(network_.points.size()) - 1,
                   isSet(record.easting) && isSet(record.northing));
    }
    bool holds(std::string_view name) const { return index_.holds(name); }
    int positioned(std::string_view name, std::string& problem) const {
        return index_.positioned(name, problem);
    }

private:
    HorizontalNetwork& network_;
    PointIndex index_;
};

void readPoints(HorizontalNetwork& network, PointTable& table) {
    for (const coordRec& point : recordsOf(pointList2D)) {
        int column = -1;
        if (isAdjustablePoint(point.pointType)) {
            column = network.unknowns();
            network.adjustable.push_back(static_cast<int>(network.points.size()));
        }
        table.add(point, column);
    }
    for (const coordRec& point : recordsOf(fixedPointList2D))
        if (!table.holds(fixedText(point.name)))
            table.add(point, -1);
}

// Appends one row joining the named points; false when one has no position.
bool addRow(HorizontalNetwork& network, const PointTable& table, RowKind kind,
            std::initializer_list<std::string_view> names, double observed, double stdErr,
            std::string& problem) {
    NetworkRow row;
    row.kind = kind;
    row.observed = observed;
    row.stdErr = stdErr;
    int role = 0;
    for (const std::string_view name : names) {
        row.points[role] = table.positioned(name, problem);
        if (row.points[role++] < 0)
            return false;
    }
    network.rows.push_back(row);
    return true;
}

double setOrZero(double value) {
    return isSet(value) ? value : 0.0;
}

bool readRows(HorizontalNetwork& network, const PointTable& table, std::string& problem) {
    for (const distanceObs2D& d : recordsOf(distanceList2D))
        if (takesPart(d) &&
            !addRow(network, table, RowKind::distance, {fixedText(d.from), fixedText(d.to)},
                    d.distance, d.stdErrDist, problem))
            return false;
    for (const angleObs2D& a : recordsOf(angleList2D))
        if (takesPart(a) &&
            !addRow(network, table, RowKind::angle,
                    {fixedText(a.backsight), fixedText(a.instrument), fixedText(a.foresight)},
                    a.angle, a.stdErr, problem))
            return false;
    for (const azimuthObs& z : recordsOf(azimuthList2D))
        if (takesPart(z) &&
            !addRow(network, table, RowKind::azimuth, {fixedText(z.from), fixedText(z.to)},
                    z.azimuth, z.stdErr, problem))
            return false;
    network.controlRowsStart = network.observations();
    for (const coordRec& c : weightedControlPoints())
        if (!addRow(network, table, RowKind::controlEasting, {fixedText(c.name)}, c.easting,
                    c.stdErrE, problem) ||
            !addRow(network, table, RowKind::controlNorthing, {fixedText(c.name)}, c.northing,
                    c.stdErrN, problem))
            return false;
    network.controlRowCount = network.observations() - network.controlRowsStart;
    for (const gpsVectorRec& g : recordsOf(gpsVectorList2D)) {
        if (!takesPart(g))
            continue;
        if (!addRow(network, table, RowKind::gpsEasting, {fixedText(g.from), fixedText(g.to)}, g.dX,
                    std::sqrt(setOrZero(g.varX)), problem))
            return false;
        network.rows.back().covariance = setOrZero(g.covXY);
        if (!addRow(network, table, RowKind::gpsNorthing, {fixedText(g.from), fixedText(g.to)},
                    g.dY, std::sqrt(setOrZero(g.varY)), problem))
            return false;
    }
    return true;
}

const NetworkPoint& pointOf(const HorizontalNetwork& network, const NetworkRow& row, int role) {
    return network.points[static_cast<std::size_t>(row.points[role])];
}

double directionBetween(const NetworkPoint& from, const NetworkPoint& to) {
    double distance = 0.0;
    return inverseDirDist(from.northing, from.easting, to.northing, to.easting, distance);
}

// Adds the partials of each role's point that is adjustable; a point met in an
// earlier role of the same row keeps that role's partials.
template <std::size_t Roles>
void addPartials(DesignRow& design, const HorizontalNetwork& network, const NetworkRow& row,
                 const std::array<PointPartials, Roles>& partials) {
    for (std::size_t role = 0; role < Roles; ++role) {
        bool earlierRole = false;
        for (std::size_t before = 0; before < role; ++before)
            earlierRole = earlierRole || row.points[before] == row.points[role];
        const NetworkPoint& p = pointOf(network, row, static_cast<int>(role));
        if (earlierRole || p.column < 0)
            continue;
        design.add(p.column, partials[role].dEasting);
        design.add(p.column + 1, partials[role].dNorthing);
    }
}

DesignRow designRow(const HorizontalNetwork& network, const NetworkRow& row) {
    DesignRow design;
    switch (row.kind) {
    case RowKind::distance:
        addPartials(design, network, row,
                    distancePartials2D(pointOf(network, row, 0), pointOf(network, row, 1)));
        break;
    case RowKind::azimuth:
        addPartials(design, network, row,
                    azimuthPartials2D(pointOf(network, row, 0), pointOf(network, row, 1)));
        break;
    case RowKind::angle:
        addPartials(design, network, row,
                    anglePartials2D(pointOf(network, row, 0), pointOf(network, row, 1),
                                    pointOf(network, row, 2)));
        break;
    case RowKind::controlEasting:
        addPartials<1>(design, network, row, {{{1.0, 0.0}}});
        break;
    case RowKind::controlNorthing:
        addPartials<1>(design, network, row, {{{0.0, 1.0}}});
        break;
    case RowKind::gpsEasting:
        addPartials<2>(design, network, row, {{{-1.0, 0.0}, {1.0, 0.0}}});
        break;
    case RowKind::gpsNorthing:
        addPartials<2>(design, network, row, {{{0.0, -1.0}, {0.0, 1.0}}});
        break;
    }
    return design;
}

} // namespace

bool isAdjustablePoint(int pointType) {
    return pointType == ptUnknown || pointType == ptWeightedControl;
}

bool takesPart(const distanceObs2D& record) {
    return record.status != obsNotAdjusted && isSet(record.distance);
}
bool takesPart(const angleObs2D& record) {
    return record.status != obsNotAdjusted;
}
bool takesPart(const azimuthObs& record) {
    return record.status != obsNotAdjusted;
}
bool takesPart(const gpsVectorRec& record) {
    return record.status != obsNotAdjusted;
}

std::vector<coordRec> weightedControlPoints() {
    std::vector<coordRec> control;
    for (const coordRec& c : recordsOf(controlPointList2D)) {
        coordRec point;
        if (c.pointType == ptWeightedControl && pointList2D.find(fixedText(c.name), point) >= 0 &&
            isAdjustablePoint(point.pointType))
            control.push_back(c);
    }
    return control;
}

bool readHorizontalNetwork(HorizontalNetwork& network, std::string& problem) {
    network = HorizontalNetwork{};
    PointTable table(network);
    readPoints(network, table);
    return readRows(network, table, problem);
}

RowWeights buildWeights2D(const HorizontalNetwork& network) {
    RowWeights w;
    const std::size_t k = network.rows.size();
    w.assign(k);
    for (std::size_t r = 0; r < k; ++r) {
        const NetworkRow& row = network.rows[r];
        if (row.kind == RowKind::gpsNorthing)
            continue;
        if (row.kind != RowKind::gpsEasting) {
            w.diagonal[r] = 1.0 / (row.stdErr * row.stdErr);
            continue;
        }
        // The inverse of [[varE, cov], [cov, varN]].
        const double varE = row.stdErr * row.stdErr;
        const double varN = network.rows[r + 1].stdErr * network.rows[r + 1].stdErr;
        const double cov = row.covariance;
        const double det = varE * varN - cov * cov;
        w.diagonal[r] = varN / det;
        w.diagonal[r + 1] = varE / det;
        w.pairWeight[r] = -cov / det;
    }
    return w;
}

std::array<PointPartials, 2> distancePartials2D(const NetworkPoint& from, const NetworkPoint& to) {
    const double dE = to.easting - from.easting;
    const double dN = to.northing - from.northing;
    const double d = std::hypot(dE, dN);
    return {{{-dE / d, -dN / d}, {dE / d, dN / d}}};
}

std::array<PointPartials, 2> azimuthPartials2D(const NetworkPoint& from, const NetworkPoint& to) {
    const double dE = to.easting - from.easting;
    const double dN = to.northing - from.northing;
    const double d2 = dE * dE + dN * dN;
    const double k = secondsPerRadian;
    return {{{-k * dN / d2, k * dE / d2}, {k * dN / d2, -k * dE / d2}}};
}

std::array<PointPartials, 3> anglePartials2D(const NetworkPoint& backsight,
                                             const NetworkPoint& instrument,
                                             const NetworkPoint& foresight) {
    // The angle is the azimuth instrument -> foresight minus the azimuth
    // instrument -> backsight.
    const auto toBacksight = azimuthPartials2D(instrument, backsight);
    const auto toForesight = azimuthPartials2D(instrument, foresight);
    return {{{-toBacksight[1].dEasting, -toBacksight[1].dNorthing},
             {toForesight[0].dEasting - toBacksight[0].dEasting,
              toForesight[0].dNorthing - toBacksight[0].dNorthing},
             toForesight[1]}};
}

double computedValue(const HorizontalNetwork& network, const NetworkRow& row) {
    const NetworkPoint& a = pointOf(network, row, 0);
    switch (row.kind) {
    case RowKind::distance: {
        double distance = 0.0;
        const NetworkPoint& b = pointOf(network, row, 1);
        inverseDirDist(a.northing, a.easting, b.northing, b.easting, distance);
        return distance;
    }
    case RowKind::angle: {
        double angle = 0.0;
        const NetworkPoint& instrument = pointOf(network, row, 1);
        angleFromDirections(directionBetween(instrument, a),
                            directionBetween(instrument, pointOf(network, row, 2)), angle);
        return angle;
    }
    case RowKind::azimuth:
        return directionBetween(a, pointOf(network, row, 1));
    case RowKind::controlEasting:
        return a.easting;
    case RowKind::controlNorthing:
        return a.northing;
    case RowKind::gpsEasting:
        return pointOf(network, row, 1).easting - a.easting;
    case RowKind::gpsNorthing:
        return pointOf(network, row, 1).northing - a.northing;
    }
    return 0.0;
}

std::vector<double> buildMisclosures2D(const HorizontalNetwork& network) {
    std::vector<double> L;
    L.reserve(network.rows.size());
    for (const NetworkRow& row : network.rows) {
        const double computed = computedValue(network, row);
        const bool angular = row.kind == RowKind::angle || row.kind == RowKind::azimuth;
        L.push_back(angular ? angularMisclosure(row.observed, computed) : row.observed - computed);
    }
    return L;
}

std::vector<DesignRow> buildDesign2D(const HorizontalNetwork& network, ShellServices* progress) {
    return buildDesignRows(network.rows.size(), progress,
                           [&](std::size_t r) { return designRow(network, network.rows[r]); });
}

void applyCorrections2D(HorizontalNetwork& network, const std::vector<double>& x) {
    for (const int index : network.adjustable) {
        NetworkPoint& p = network.points[static_cast<std::size_t>(index)];
        p.easting += x[static_cast<std::size_t>(p.column)];
        p.northing += x[static_cast<std::size_t>(p.column) + 1];
    }
    coordRec record;
    auto next = network.adjustable.begin();
    const int c = pointList2D.openCursor(0);
    while (pointList2D.getAtCursor(c, record) == 0 && next != network.adjustable.end()) {
        if (isAdjustablePoint(record.pointType)) {
            const NetworkPoint& p = network.points[static_cast<std::size_t>(*next++)];
            record.easting = p.easting;
            record.northing = p.northing;
            pointList2D.replaceAtCursor(c, record);
        }
        pointList2D.advanceCursor(c);
    }
    pointList2D.closeCursor(c);
}

std::vector<DesignRow> HorizontalNetwork::design(ShellServices* progress) const {
    return buildDesign2D(*this, progress);
}

std::vector<double> HorizontalNetwork::misclosures() const {
    return buildMisclosures2D(*this);
}

void HorizontalNetwork::applyCorrections(const std::vector<double>& x) {
    applyCorrections2D(*this, x);
}

std::string HorizontalNetwork::unknownName(int column) const {
    const NetworkPoint& p =
        points[static_cast<std::size_t>(adjustable[static_cast<std::size_t>(column / 2)])];
    return std::string(column % 2 == 0 ? "the easting" : "the northing") + " of point " + p.name;
}
