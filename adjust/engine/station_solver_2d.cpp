#include "engine/prelim_coords_2d.hpp"

#include "engine/prelim_support_2d.hpp"
#include "engine/resection_figure.hpp"
#include "model/angle_math.hpp"
#include "model/plane_geometry.hpp"
#include "model/program_lists.hpp"

#include <cmath>
#include <optional>

using namespace prelim2d;

namespace {

constexpr std::size_t maxDistances = 3;
constexpr std::size_t maxDirections = 9;
constexpr std::size_t maxResectionAngles = 9;

using resectionAngle2D = resectionAngle<coordRec>;

// What the methods of one point work from.
struct keptObservations {
    std::vector<keptDistance2D> distances;
    std::vector<keptDirection2D> directions;
    std::vector<resectionAngle2D> resections;
};

bool samePoint(const pointNameField& a, const pointNameField& b) {
    return ::sameName(fixedText(a), fixedText(b));
}

bool isPoint(const pointNameField& field, const coordRec& point) {
    return samePoint(field, point.name);
}

std::optional<coordRec> knownPoint(const pointNameField& name) {
    coordRec point;
    setPointName(point.name, fixedText(name));
    if (findKnownStation2D(point) != 0)
        return std::nullopt;
    return point;
}

void placeAt(coordRec& point, double n, double e) {
    point.northing = n;
    point.easting = e;
}

void collectDistances(const coordRec& point, keptObservations& kept) {
    distanceList2D.visitNaming(fixedText(point.name), [&](const distanceObs2D& line) {
        const bool pointIsFrom = isPoint(line.from, point);
        const bool pointIsTo = isPoint(line.to, point);
        if (pointIsFrom == pointIsTo || !hasDistance(line))
            return true;
        const auto known = knownPoint(pointIsFrom ? line.to : line.from);
        if (!known)
            return true;
        const double vertDiff =
            pointIsFrom && isSet(line.vertDiff) ? -line.vertDiff : line.vertDiff;
        kept.distances.push_back({*known, line, vertDiff});
        return kept.distances.size() < maxDistances;
    });
}

int intersectKept(const std::vector<keptDistance2D>& d, const double (&distance)[3], double& n,
                  double& e) {
    return intersectThreeDistances(d[0].known.northing, d[0].known.easting, distance[0],
                                   d[1].known.northing, d[1].known.easting, distance[1],
                                   d[2].known.northing, d[2].known.easting, distance[2], n, e);
}

// The three distances reduced to grid and ellipsoid at the provisional
// position; false when an elevation or a factor is missing.
bool reduceThreeDistances(const std::vector<keptDistance2D>& d, const coordRec& provisional,
                          double (&reduced)[3]) {
    for (int i = 0; i < 3; ++i) {
        coordRec at = provisional;
        if (!isSet(at.elevation)) {
            if (!isSet(d[i].known.elevation))
                return false;
            at.elevation = carriedElevation(d[i].known, d[i].vertDiff);
        }
        distanceObs2D line = d[i].line;
        if (!reduceAtProvisionalPosition(d[i].known, at, line))
            return false;
        reduced[i] = line.distance;
    }
    return true;
}

bool solveByThreeDistances(const keptObservations& kept, coordRec& point) {
    const auto& d = kept.distances;
    if (d.size() < 3)
        return false;
    double measured[3] = {d[0].line.distance, d[1].line.distance, d[2].line.distance};
    double n = 0.0, e = 0.0;
    if (intersectKept(d, measured, n, e) != geometrySolved)
        return false;
    if (projectHasGrid()) {
        coordRec provisional = point;
        placeAt(provisional, n, e);
        double reduced[3];
        if (!reduceThreeDistances(d, provisional, reduced) ||
            intersectKept(d, reduced, n, e) != geometrySolved)
            return false;
    }
    placeAt(point, n, e);
    return true;
}

void collectAzimuthDirections(const coordRec& point, keptObservations& kept) {
    azimuthList2D.visitNaming(fixedText(point.name), [&](const azimuthObs& az) {
        const bool pointIsFrom = isPoint(az.from, point);
        const bool pointIsTo = isPoint(az.to, point);
        if (pointIsFrom == pointIsTo)
            return true;
        const auto known = knownPoint(pointIsTo ? az.from : az.to);
        if (!known)
            return true;
        const double direction = pointIsTo ? az.azimuth : normalizedAngle(az.azimuth + angle::pi);
        kept.directions.push_back({*known, direction});
        return kept.directions.size() < maxDirections;
    });
}

// Direction from a known instrument to the point, turned by `turn` from the
// instrument's direction to `reference` (an observed azimuth, else the grid
// direction to a known reference point).
std::optional<keptDirection2D> directionFromAngle(const pointNameField& instrumentName,
                                                  const pointNameField& reference, double turn) {
    const auto instrument = knownPoint(instrumentName);
    if (!instrument)
        return std::nullopt;
    azimuthObs az;
    double base = 0.0;
    if (azimuthList2D.find(fixedText(instrumentName), fixedText(reference), az) >= 0) {
        base = az.azimuth;
    } else {
        const auto target = knownPoint(reference);
        if (!target)
            return std::nullopt;
        double distance = 0.0;
        base = inverseDirDist(instrument->northing, instrument->easting, target->northing,
                              target->easting, distance);
    }
    return keptDirection2D{*instrument, normalizedAngle(base + turn)};
}

void keepResectionAngle(const angleObs2D& a, keptObservations& kept) {
    if (kept.resections.size() >= maxResectionAngles)
        return;
    const auto backsight = knownPoint(a.backsight);
    const auto foresight = knownPoint(a.foresight);
    if (!backsight || !foresight)
        return;
    for (const resectionAngle2D& r : kept.resections)
        if (samePoint(r.backsight.name, a.backsight) && samePoint(r.foresight.name, a.foresight))
            return;
    kept.resections.push_back({*backsight, *foresight, a.angle});
}

// Walks the angles naming the point: angles measured at it are kept for a
// resection, angles that sight it from a known instrument give directions,
// each tried at once with the kept distances. True when one placed it.
bool solveFromAngles(keptObservations& kept, coordRec& point) {
    bool placed = false;
    angleList2D.visitNaming(fixedText(point.name), [&](const angleObs2D& a) {
        std::optional<keptDirection2D> direction;
        if (isPoint(a.instrument, point))
            keepResectionAngle(a, kept);
        else if (isPoint(a.foresight, point))
            direction = directionFromAngle(a.instrument, a.backsight, a.angle);
        else if (isPoint(a.backsight, point))
            direction = directionFromAngle(a.instrument, a.foresight, -a.angle);
        if (!direction || kept.directions.size() >= maxDirections)
            return true;
        kept.directions.push_back(*direction);
        placed = !kept.distances.empty() &&
                 polarFromDistDir2D(kept.distances, kept.directions, point) == 1;
        return !placed;
    });
    return placed;
}

bool solveByDirections(const keptObservations& kept, coordRec& point) {
    if (polarFromDistDir2D(kept.distances, kept.directions, point) == 1)
        return true;
    const auto& t = kept.directions;
    for (std::size_t i = 1; i < t.size(); ++i) {
        if (samePoint(t[i].known.name, t[0].known.name))
            continue;
        double n = 0.0, e = 0.0;
        if (intersectDirDir(t[0].known.northing, t[0].known.easting, t[0].direction,
                            t[i].known.northing, t[i].known.easting, t[i].direction, n,
                            e) == geometrySolved) {
            placeAt(point, n, e);
            return true;
        }
    }
    return false;
}

bool solveByResection(const keptObservations& kept, coordRec& point) {
    if (kept.resections.size() < 2)
        return false;
    double n = 0.0, e = 0.0;
    if (!resectFromTwoAngles(kept.resections[0], kept.resections[1], n, e))
        return false;
    placeAt(point, n, e);
    return true;
}

// Two distances from the ends of an angle measured at the point; the angle
// tells on which side of the line between them the point lies.
bool solveByTwoDistances(const keptObservations& kept, coordRec& point) {
    if (kept.distances.size() < 2 || kept.resections.empty())
        return false;
    const keptDistance2D& first = kept.distances[0];
    const keptDistance2D& second = kept.distances[1];
    const auto order = sideOfTwoDistances(kept.resections[0], first.known, second.known);
    if (!order)
        return false;
    const keptDistance2D& a = *order == distanceOrder::secondFirst ? second : first;
    const keptDistance2D& b = *order == distanceOrder::secondFirst ? first : second;
    double n = 0.0, e = 0.0;
    if (intersectDistDist(a.known.northing, a.known.easting, b.known.northing, b.known.easting,
                          a.line.distance, b.line.distance, n, e) != geometrySolved)
        return false;
    placeAt(point, n, e);
    return true;
}

} // namespace

int intersectThreeDistances(double nA, double eA, double dA, double nB, double eB, double dB,
                            double nC, double eC, double dC, double& n, double& e) {
    double n1 = 0, e1 = 0, n2 = 0, e2 = 0, n3 = 0, e3 = 0, n4 = 0, e4 = 0;
    if (intersectDistDist(nA, eA, nB, eB, dA, dB, n1, e1) != geometrySolved ||
        intersectDistDist(nB, eB, nA, eA, dB, dA, n2, e2) != geometrySolved ||
        intersectDistDist(nB, eB, nC, eC, dB, dC, n3, e3) != geometrySolved ||
        intersectDistDist(nC, eC, nB, eB, dC, dB, n4, e4) != geometrySolved)
        return geometryNoSolution;
    const double r = std::hypot(n3 - n1, e3 - e1);
    const double t = std::hypot(n4 - n1, e4 - e1);
    const double m = std::hypot(n3 - n2, e3 - e2);
    const double o = std::hypot(n4 - n2, e4 - e2);
    const bool first = (r < t && r < m && r < o) || (r > t && t < m && t < o);
    n = first ? n1 : n2;
    e = first ? e1 : e2;
    return geometrySolved;
}

int polarFromDistDir2D(const std::vector<keptDistance2D>& distances,
                       const std::vector<keptDirection2D>& directions, coordRec& point) {
    for (const keptDistance2D& d : distances) {
        for (const keptDirection2D& t : directions) {
            if (!samePoint(d.known.name, t.known.name))
                continue;
            coordRec placed = point;
            placePolar(placed, d.known, d.line.distance, t.direction);
            if (projectHasGrid()) {
                if (!isSet(placed.elevation))
                    placed.elevation = carriedElevation(d.known, d.vertDiff);
                distanceObs2D line = d.line;
                if (!reduceAtProvisionalPosition(d.known, placed, line))
                    return 0;
                placePolar(placed, d.known, line.distance, t.direction);
            }
            point = placed;
            return 1;
        }
    }
    return 0;
}

int solveStation2D(coordRec& point) {
    keptObservations kept;
    collectDistances(point, kept);
    if (solveByThreeDistances(kept, point))
        return 1;
    collectAzimuthDirections(point, kept);
    if (!kept.distances.empty() && !kept.directions.empty() &&
        polarFromDistDir2D(kept.distances, kept.directions, point) == 1)
        return 1;
    if (solveFromAngles(kept, point))
        return 1;
    if (kept.resections.empty() && solveByDirections(kept, point))
        return 1;
    if (solveByResection(kept, point) || solveByTwoDistances(kept, point))
        return 1;
    return 0;
}
