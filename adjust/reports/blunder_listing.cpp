#include "reports/blunder_listing.hpp"

#include "engine/horizontal_network.hpp"
#include "engine/spatial_network.hpp"
#include "model/angle_text.hpp"
#include "model/list_snapshot.hpp"
#include "model/plane_geometry.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_writer.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/length_units.hpp"

#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr double secondsPerRadian = 648000.0 / std::numbers::pi;
// An angle or azimuth of the 2D listing further off than this is listed.
constexpr double angleLimit_s = 20.0;

std::string lengthText(double value) {
    return platform::formatC("%9.*f", projectVars.distPrec, value);
}

// One observation against its computed value; lengths in the project's
// unit, angles in radians, the difference of angles in seconds of arc.
struct Compared {
    std::string from;
    std::string to;
    double measured;
    double computed;
    double difference;
};

void listDistance(ReportWriter& out, const Compared& c) {
    if (std::fabs(c.difference) <= projectVars.hDistTol)
        return;
    out.line("Distance: From pt.: " + c.from + "  To pt.: " + c.to)
        .line("   Measured distance: " + lengthText(c.measured) +
              "  Initial computed distance: " + lengthText(c.computed))
        .line("   Difference: " + lengthText(c.difference))
        .line("");
}

// `c.from` is the backsight, `c.to` the foresight.
void listAngle(ReportWriter& out, const std::string& instrument, const Compared& c,
               double limit_s) {
    if (std::fabs(c.difference) <= limit_s)
        return;
    out.line("Angle: IP: " + instrument + "  BS: " + c.from + "  FS: " + c.to)
        .line("   Measured angle:         " + angleToText(c.measured))
        .line("   Initial computed angle: " + angleToText(c.computed))
        .line("   Difference: " + angleToText(c.difference / secondsPerRadian))
        .line("");
}

// The 3D listing also gives the difference, the 2D listing does not.
void listAzimuth(ReportWriter& out, const Compared& c, double limit_s, bool withDifference) {
    if (std::fabs(c.difference) <= limit_s)
        return;
    out.line("Azimuth: From pt.: " + c.from + "  To pt.: " + c.to)
        .line("   Measured azimuth:       " + directionToText(c.measured))
        .line("   Initial computed azimuth: " + directionToText(c.computed));
    if (withDifference)
        out.line("").line("   Difference: " + angleToText(c.difference / secondsPerRadian)).line("");
}

void listVerticalAngle(ReportWriter& out, const Compared& c, double limit_s) {
    if (std::fabs(c.difference) <= limit_s)
        return;
    out.line("Vertical Angle: From pt.: " + c.from + "  To pt.: " + c.to)
        .line("   Measured vertical angle:         " + angleToText(c.measured))
        .line("   Initial computed vertical angle: " + angleToText(c.computed))
        .line("   Difference: " + angleToText(c.difference / secondsPerRadian))
        .line("");
}

std::string deltasText(const std::array<double, 3>& d) {
    return lengthText(d[0]) + "  " + lengthText(d[1]) + "  " + lengthText(d[2]);
}

// A GPS vector stays in metres, so the tolerance is turned into metres.
void listGpsVector(ReportWriter& out, const std::string& from, const std::string& to,
                   const std::array<double, 3>& measured, const std::array<double, 3>& computed,
                   double tolerance_m) {
    std::array<double, 3> difference{};
    bool off = false;
    for (std::size_t c = 0; c < 3; ++c) {
        difference[c] = measured[c] - computed[c];
        off = off || std::fabs(difference[c]) > tolerance_m;
    }
    if (!off)
        return;
    out.line("GPS Vector (meters): From pt.: " + from + "  To pt.: " + to)
        .line("   Measured Deltas XYZ:       " + deltasText(measured))
        .line("   Computed Deltas XYZ:       " + deltasText(computed))
        .line("   Difference XYZ:            " + deltasText(difference));
}

const std::string& nameOf(const HorizontalNetwork& network, const NetworkRow& row, int role) {
    return network.points[static_cast<std::size_t>(row.points[role])].name;
}

void listRow2D(ReportWriter& out, const HorizontalNetwork& network, const NetworkRow& row,
               double difference) {
    const auto compared = [&](int from, int to) {
        return Compared{nameOf(network, row, from), nameOf(network, row, to), row.observed,
                        computedValue(network, row), difference};
    };
    if (row.kind == RowKind::distance)
        listDistance(out, compared(0, 1));
    else if (row.kind == RowKind::angle)
        listAngle(out, nameOf(network, row, 1), compared(0, 2), angleLimit_s);
    else if (row.kind == RowKind::azimuth)
        listAzimuth(out, compared(0, 1), angleLimit_s, false);
}

const SpatialStation& stationOf(const SpatialNetwork& network, const SpatialRow& row, int role) {
    return network.stations[static_cast<std::size_t>(row.stations[role])];
}

// The lengths of the 3D chain are metres; the listing shows the project's
// unit. Zenith rows hold the elevation angle; the listing shows zenith
// angles, whose difference is the row's negated.
void listRow3D(ReportWriter& out, const SpatialNetwork& network, const SpatialRow& row,
               double misclosure) {
    const double toUnit = units::unitsPerMetre(projectVars.HorizUnits);
    const double angleTol_s = projectVars.hAngTol * secondsPerRadian;
    const std::string& from = stationOf(network, row, 0).name;
    const std::string& to = stationOf(network, row, 1).name;
    switch (row.kind) {
    case SpatialRowKind::distance:
        listDistance(out, {from, to, row.observed * toUnit, computedValue3D(network, row) * toUnit,
                           misclosure * toUnit});
        break;
    case SpatialRowKind::angle:
        listAngle(out, to,
                  {from, stationOf(network, row, 2).name, row.observed,
                   computedValue3D(network, row), misclosure},
                  angleTol_s);
        break;
    case SpatialRowKind::azimuth:
        listAzimuth(out, {from, to, row.observed, computedValue3D(network, row), misclosure},
                    angleTol_s, true);
        break;
    case SpatialRowKind::zenith:
        listVerticalAngle(out,
                          {from, to, std::numbers::pi / 2 - row.observed,
                           std::numbers::pi / 2 - computedValue3D(network, row), -misclosure},
                          projectVars.vAngTol * secondsPerRadian);
        break;
    case SpatialRowKind::gpsNorth: {
        const SpatialStation &i = stationOf(network, row, 0), &j = stationOf(network, row, 1);
        listGpsVector(out, from, to, row.vector, {j.X - i.X, j.Y - i.Y, j.Z - i.Z},
                      projectVars.hDistTol / toUnit);
        break;
    }
    default:
        break;
    }
}

struct Position {
    std::string name;
    double northing;
    double easting;
};

// Positions in the project's unit: `toUnit` turns the chain's lengths into it.
template <class Point>
std::vector<Position> positionsOf(const std::vector<Point>& points, double toUnit = 1.0) {
    std::vector<Position> positions;
    for (const Point& p : points) {
        const bool placed = isSet(p.northing) && isSet(p.easting);
        positions.push_back({std::string(fixedText(p.name)),
                             placed ? p.northing * toUnit : notComputed,
                             placed ? p.easting * toUnit : notComputed});
    }
    return positions;
}

int writeProximity(int handle, const std::vector<Position>& points,
                   const std::vector<Position>& fixed, double proximity) {
    ReportWriter out(handle);
    out.line("").line("Point Proximity Report:").line("");
    const auto compare = [&](const Position& a, const Position& b) {
        if (!isSet(a.northing) || !isSet(b.northing))
            return;
        double distance = 0.0;
        inverseDirDist(a.northing, a.easting, b.northing, b.easting, distance);
        if (distance < proximity)
            out.line("  Points  " + a.name + "  and " + b.name + " are within " +
                     lengthText(distance) + " of each other.");
    };
    for (std::size_t i = 0; i < points.size(); ++i) {
        for (std::size_t j = i + 1; j < points.size(); ++j)
            compare(points[i], points[j]);
        for (const Position& b : fixed)
            compare(points[i], b);
    }
    return out.result();
}

// Every row against its computed value, the differences being the network's
// misclosures; a network that cannot be read ends the listing with its reason.
template <class Network, class Read, class Misclosures, class List>
int writeMeasuredVsComputed(int handle, Read read, Misclosures misclosuresOf, List list) {
    Network network;
    std::string problem;
    ReportWriter out(handle);
    if (!read(network, problem)) {
        out.line(problem);
        return out.result();
    }
    const std::vector<double> misclosures = misclosuresOf(network);
    for (std::size_t r = 0; r < network.rows.size(); ++r)
        list(out, network, network.rows[r], misclosures[r]);
    return out.result();
}

} // namespace

int writeMeasuredVsComputed2D(int handle) {
    return writeMeasuredVsComputed<HorizontalNetwork>(handle, readHorizontalNetwork,
                                                      buildMisclosures2D, listRow2D);
}

int writeMeasuredVsComputed3D(int handle) {
    return writeMeasuredVsComputed<SpatialNetwork>(handle, readSpatialNetwork, buildMisclosures3D,
                                                   listRow3D);
}

int writePointProximity2D(int handle, double proximity) {
    return writeProximity(handle, positionsOf(recordsOf(pointList2D)),
                          positionsOf(recordsOf(fixedPointList2D)), proximity);
}

int writePointProximity3D(int handle, double proximity) {
    const double toUnit = units::unitsPerMetre(projectVars.HorizUnits);
    return writeProximity(handle, positionsOf(recordsOf(stationList), toUnit),
                          positionsOf(recordsOf(fixedStationList), toUnit), proximity);
}
