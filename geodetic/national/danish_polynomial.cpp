// The polynomial step of the Danish grids between UTM zone 32 and a region's
// grid, with its box, area polygon and round-trip guards.

#include "geodetic/danish_grids.hpp"

#include "danish_grid_tables.hpp"

#include <cmath>

namespace {

namespace danish = geodetic_detail::danish;

struct Point {
    double first, second;
};

// The tables of one area in one direction.
struct AreaStep {
    const double* box;
    const double* polygon;
    const double* table;      // input -> output
    const double* checkTable; // output -> input
};

// Both directions of one area.
struct Area {
    const double* utmBox;
    const double* gridBox;
    const double* utmPolygon;
    const double* gridPolygon;
    const double* forward; // UTM -> grid
    const double* reverse; // grid -> UTM

    AreaStep step(int direction) const {
        return direction > 0 ? AreaStep{utmBox, utmPolygon, forward, reverse}
                             : AreaStep{gridBox, gridPolygon, reverse, forward};
    }
};

const Area jylland{danish::jyllandUtmBox,      danish::jyllandGridBox, danish::jyllandUtmPolygon,
                   danish::jyllandGridPolygon, danish::jyllandForward, danish::jyllandReverse};
const Area sjaelland{danish::sjaellandUtmBox,     danish::sjaellandGridBox,
                     danish::sjaellandUtmPolygon, danish::sjaellandGridPolygon,
                     danish::sjaellandForward,    danish::sjaellandReverse};
const Area bornholm{danish::bornholmUtmBox,     danish::bornholmGridBox,
                    danish::bornholmUtmPolygon, danish::bornholmGridPolygon,
                    danish::bornholmForward,    danish::bornholmReverse};
// UTM32ED50 uses one box and one polygon both ways.
const Area utmLand{danish::utmLandBox,     danish::utmLandBox,     danish::utmLandPolygon,
                   danish::utmLandPolygon, danish::utmLandForward, danish::utmLandReverse};
const Area utmBornholm{danish::utmBornholmBox,     danish::utmBornholmBox,
                       danish::bornholmUtmPolygon, danish::bornholmUtmPolygon,
                       danish::utmBornholmForward, danish::utmBornholmReverse};

bool inBox(const double* box, Point p) {
    return p.first >= box[0] && p.first <= box[1] && p.second >= box[2] && p.second <= box[3];
}

// Nested Horner evaluation of one output block: sum over groups j of
// other^j * (sum over i of c(i,j) own^i), groups stored one after another.
double evaluateBlock(const double* c, int degree, double own, double other) {
    // Start of group j: j(F+1) - j(j-1)/2.
    double total = 0.0;
    for (int j = degree; j >= 0; --j) {
        const double* group = c + j * (degree + 1) - j * (j - 1) / 2;
        double sum = 0.0;
        for (int i = degree - j; i >= 0; --i)
            sum = sum * own + group[i];
        total = total * other + sum;
    }
    return total;
}

Point evaluate(const double* table, Point in) {
    const int degree = static_cast<int>(table[0]);
    const int g = (degree + 1) * (degree + 2) / 2;
    const double x = in.first - table[g + 1];
    const double y = in.second - table[2 * g + 2];
    return {evaluateBlock(table + 1, degree, x, y), evaluateBlock(table + g + 2, degree, y, x)};
}

bool roundTripHolds(const AreaStep& step, Point in, Point out) {
    const Point back = evaluate(step.checkTable, out);
    return std::abs(back.first - in.first) <= danish::roundTripTolerance &&
           std::abs(back.second - in.second) <= danish::roundTripTolerance;
}

// Region 4: the area of the point, or null when the point is in neither.
const Area* utmArea(Point p) {
    if (p.second < danish::utmLandBox[3])
        return &utmLand;
    if (inBox(danish::utmBornholmBox, p))
        return &utmBornholm;
    return nullptr;
}

const Area* regionalArea(int region) {
    switch (region) {
    case danishJylland:
    case 'J':
    case 'j':
        return &jylland;
    case danishSjaelland:
    case 'S':
    case 's':
        return &sjaelland;
    case danishBornholm:
    case 'B':
    case 'b':
        return &bornholm;
    default:
        return nullptr;
    }
}

bool isUtm32Ed50(int region) {
    return region == danishUtm32Ed50 || region == 'U' || region == 'u';
}

int copyInput(Point in, double* outFirst, double* outSecond) {
    *outFirst = in.first;
    *outSecond = in.second;
    return 0;
}

int convertRegional(const AreaStep& step, Point in, double* outFirst, double* outSecond) {
    if (!inBox(step.box, in))
        return danishOutsideBox;
    const int where = pointInPolygon(step.polygon, in.first, in.second);
    const Point out = evaluate(step.table, in);
    *outFirst = out.first;
    *outSecond = out.second;
    if (!roundTripHolds(step, in, out))
        return danishRoundTripFailed;
    return where == -1 ? danishOutsidePolygon : 0;
}

int convertUtm32Ed50(int direction, Point in, double* outFirst, double* outSecond) {
    const Area* area = utmArea(in);
    if (area == nullptr)
        return copyInput(in, outFirst, outSecond);
    const AreaStep step = area->step(direction);
    if (!inBox(step.box, in) || pointInPolygon(step.polygon, in.first, in.second) == -1)
        return copyInput(in, outFirst, outSecond);
    const Point out = evaluate(step.table, in);
    *outFirst = out.first;
    *outSecond = out.second;
    return roundTripHolds(step, in, out) ? 0 : danishRoundTripFailed;
}

// Whether the crossing of the edge a-b with the line first = p.first lies at
// a smaller second coordinate than p's, or p lies on the edge (0: on, 1:
// crossing before p, -1: crossing beyond p). The edge's ends lie on
// opposite sides of the line (or one end on it).
int crossingSide(Point a, Point b, Point p) {
    const double lhs = (b.second - a.second) * (p.first - a.first);
    const double rhs = (b.first - a.first) * (p.second - a.second);
    const double scale = std::max(std::abs(lhs), std::abs(rhs));
    if (std::abs(lhs - rhs) <= std::ldexp(scale, -34))
        return 0;
    const bool before = b.first > a.first ? lhs < rhs : lhs > rhs;
    return before ? 1 : -1;
}

} // namespace

int tcts_u(double first, double second, double* outFirst, double* outSecond, int region,
           int direction) {
    const Point in{first, second};
    if (direction == 0)
        return copyInput(in, outFirst, outSecond);
    if (isUtm32Ed50(region))
        return convertUtm32Ed50(direction, in, outFirst, outSecond);
    const Area* area = regionalArea(region);
    if (area == nullptr)
        return copyInput(in, outFirst, outSecond);
    return convertRegional(area->step(direction), in, outFirst, outSecond);
}

// Crossing count along the line first = p.first towards smaller second
// coordinates. A vertex on the line is classed with those below it, so the
// boundary passing through the line at a vertex counts once and touching it
// counts twice or not at all.
int pointInPolygon(const double* polygon, double first, double second) {
    int n = static_cast<int>(polygon[0]);
    const double* v = polygon + 1;
    if (n > 1 && v[0] == v[2 * (n - 1)] && v[1] == v[2 * (n - 1) + 1])
        --n;
    const Point p{first, second};
    int crossings = 0;
    for (int i = 0; i < n; ++i) {
        const Point a{v[2 * i], v[2 * i + 1]};
        const int k = (i + 1) % n;
        const Point b{v[2 * k], v[2 * k + 1]};
        if (a.first == p.first && a.second == p.second)
            return 0;
        if (a.first == p.first && b.first == p.first) {
            if ((a.second - p.second) * (b.second - p.second) <= 0.0)
                return 0;
            continue;
        }
        if ((a.first > p.first) == (b.first > p.first))
            continue;
        const int side = crossingSide(a, b, p);
        if (side == 0)
            return 0;
        if (side > 0)
            ++crossings;
    }
    return crossings % 2 == 1 ? 1 : -1;
}
