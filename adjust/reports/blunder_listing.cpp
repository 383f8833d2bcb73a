#include "reports/blunder_listing.hpp"

#include "engine/horizontal_network.hpp"
#include "model/angle_text.hpp"
#include "model/list_snapshot.hpp"
#include "model/plane_geometry.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_writer.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/length_units.hpp"

#include <cmath>
#include <numbers>

namespace {

constexpr double secondsPerRadian = 648000.0 / std::numbers::pi;
// An angle or azimuth of the 2D listing further off than this is listed.
constexpr double angleLimit_s = 20.0;

std::string lengthText(double value) {
    return platform::formatC("%9.*f", projectVars.distPrec, value);
}

const std::string& nameOf(const HorizontalNetwork& network, const NetworkRow& row, int role) {
    return network.points[static_cast<std::size_t>(row.points[role])].name;
}

void listDistance(ReportWriter& out, const HorizontalNetwork& network, const NetworkRow& row,
                  double difference) {
    if (std::fabs(difference) <= projectVars.hDistTol)
        return;
    out.line("Distance: From pt.: " + nameOf(network, row, 0) +
             "  To pt.: " + nameOf(network, row, 1))
        .line("   Measured distance: " + lengthText(row.observed) +
              "  Initial computed distance: " + lengthText(computedValue(network, row)))
        .line("   Difference: " + lengthText(difference))
        .line("");
}

void listAngle(ReportWriter& out, const HorizontalNetwork& network, const NetworkRow& row,
               double difference_s) {
    if (std::fabs(difference_s) <= angleLimit_s)
        return;
    out.line("Angle: IP: " + nameOf(network, row, 1) + "  BS: " + nameOf(network, row, 0) +
             "  FS: " + nameOf(network, row, 2))
        .line("   Measured angle:         " + angleToText(row.observed))
        .line("   Initial computed angle: " + angleToText(computedValue(network, row)))
        .line("   Difference: " + angleToText(difference_s / secondsPerRadian))
        .line("");
}

void listAzimuth(ReportWriter& out, const HorizontalNetwork& network, const NetworkRow& row,
                 double difference_s) {
    if (std::fabs(difference_s) <= angleLimit_s)
        return;
    out.line("Azimuth: From pt.: " + nameOf(network, row, 0) +
             "  To pt.: " + nameOf(network, row, 1))
        .line("   Measured azimuth:       " + directionToText(row.observed))
        .line("   Initial computed azimuth: " + directionToText(computedValue(network, row)));
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

} // namespace

int writeMeasuredVsComputed2D(int handle) {
    HorizontalNetwork network;
    std::string problem;
    ReportWriter out(handle);
    if (!readHorizontalNetwork(network, problem)) {
        out.line(problem);
        return out.result();
    }
    const std::vector<double> misclosures = buildMisclosures2D(network);
    for (std::size_t r = 0; r < network.rows.size(); ++r) {
        const NetworkRow& row = network.rows[r];
        if (row.kind == RowKind::distance)
            listDistance(out, network, row, misclosures[r]);
        else if (row.kind == RowKind::angle)
            listAngle(out, network, row, misclosures[r]);
        else if (row.kind == RowKind::azimuth)
            listAzimuth(out, network, row, misclosures[r]);
    }
    return out.result();
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
