// The polynomial step of the Danish grids between UTM zone 32 and a region's
// grid, with its box, area polygon and round-trip guards.

#include "geodetic/danish_grids.hpp"

#include "danish_grid_tables.hpp"

#include <array>
#include <cmath>
#include <utility>

namespace {

namespace danish = geodetic_detail::danish;

struct Point {
    double first, second;
};

// The highest degree of the tables, and the coefficients of one output then.
constexpr int maxDegree = 15;
constexpr int maxCoefficients = (maxDegree + 1) * (maxDegree + 2) / 2;

// Two groups' pairs of sums side by side: four lanes, one AVX register.
using Lanes = double __attribute__((vector_size(32)));

[[gnu::always_inline]] inline void load(Lanes& v, const double* p) {
    __builtin_memcpy(&v, p, sizeof v);
}

// Nested Horner evaluation of a table of degree F from its pairs (see
// Polynomial): first output = sum over groups j of y^j (sum over i of a(i,j)
// x^i), second output the same in b with x and y swapped. All inner sums
// start together and take their Horner steps side by side, group j finishing
// after F - j + 1 steps, just when the outer Horner sum needs it; every sum
// still takes the same operations in the same order as on its own, but the
// longest chain of steps that wait on each other is F + 2 long instead of
// 2F + 2. The first step of each sum, 0 x + c, is c itself (the inputs are
// finite inside the box). Groups go two to a vector of lanes; the odd one
// out of a step takes a step more with whatever follows its pair in the
// table, after the outer sum has taken it. Built for AVX where the processor
// has it (the same operations without fused multiply-adds: the same results).
// Clang 14 cannot take the address of a cloned template, so the fuzzing
// build (clang) evaluates without the AVX clone.
#if defined(__clang__)
#define TARNWELL_AVX_CLONES
#else
#define TARNWELL_AVX_CLONES [[gnu::target_clones("avx2", "default")]]
#endif

template <int F>
TARNWELL_AVX_CLONES Point evaluateOfDegree(const double* pairs, double x, double y) {
    constexpr int vectors = (F + 2) / 2;
    const Lanes xy{x, y, x, y};
    Lanes sums[vectors];
#pragma GCC unroll 16
    for (int m = 0; m < vectors; ++m)
        load(sums[m], pairs + 4 * m);
    Point out{pairs[2 * F], pairs[2 * F + 1]};
    pairs += 2 * (F + 1);
#pragma GCC unroll 16
    for (int d = F - 1; d >= 0; --d) {
#pragma GCC unroll 16
        for (int m = 0; 2 * m <= d; ++m) {
            Lanes c;
            load(c, pairs + 4 * m);
            sums[m] = sums[m] * xy + c;
        }
        pairs += 2 * (d + 1);
        // Group d has taken its last step.
        out.first = out.first * y + sums[d / 2][2 * (d % 2)];
        out.second = out.second * x + sums[d / 2][2 * (d % 2) + 1];
    }
    return out;
}

using Evaluation = Point (*)(const double* pairs, double x, double y);

template <std::size_t... F>
constexpr std::array<Evaluation, sizeof...(F)> evaluationsOf(std::index_sequence<F...>) {
    return {&evaluateOfDegree<static_cast<int>(F)>...};
}

constexpr auto evaluations = evaluationsOf(std::make_index_sequence<maxDegree + 1>());

// A table (layout in danish_grid_tables.hpp) rearranged for evaluation: by
// total power d = i + j from F down to 0, the pairs (a(i,j), b(i,j)) for
// j = 0..d, with a's own power i of the first input and b's of the second.
class Polynomial {
public:
    explicit Polynomial(const double* table)
        : evaluation_(evaluations.at(static_cast<std::size_t>(table[0]))) {
        const int degree = static_cast<int>(table[0]);
        const int g = (degree + 1) * (degree + 2) / 2;
        firstCentre_ = table[g + 1];
        secondCentre_ = table[2 * g + 2];
        const double* a = table + 1;
        const double* b = table + g + 2;
        int pair = 0;
        for (int d = degree; d >= 0; --d)
            for (int j = 0; j <= d; ++j, ++pair) {
                // Group j of a stored block starts at j(F+1) - j(j-1)/2.
                const int stored = j * (degree + 1) - j * (j - 1) / 2 + d - j;
                pairs_[2 * pair] = a[stored];
                pairs_[2 * pair + 1] = b[stored];
            }
    }

    Point operator()(Point in) const {
        return evaluation_(pairs_.data(), in.first - firstCentre_, in.second - secondCentre_);
    }

private:
    Evaluation evaluation_;
    double firstCentre_ = 0.0, secondCentre_ = 0.0;
    // Two more for the last step's odd group (see evaluateOfDegree).
    std::array<double, 2 * maxCoefficients + 2> pairs_{};
};

// The tables of one area in one direction.
struct AreaStep {
    const double* box;
    const double* polygon;
    const Polynomial* table;      // input -> output
    const Polynomial* checkTable; // output -> input
};

// Both directions of one area.
struct Area {
    const double* utmBox;
    const double* gridBox;
    const double* utmPolygon;
    const double* gridPolygon;
    Polynomial forward; // UTM -> grid
    Polynomial reverse; // grid -> UTM

    AreaStep step(int direction) const {
        return direction > 0 ? AreaStep{utmBox, utmPolygon, &forward, &reverse}
                             : AreaStep{gridBox, gridPolygon, &reverse, &forward};
    }
};

// Made once, when the library loads, from the constant tables.
const Area jylland{danish::jyllandUtmBox,
                   danish::jyllandGridBox,
                   danish::jyllandUtmPolygon,
                   danish::jyllandGridPolygon,
                   Polynomial(danish::jyllandForward),
                   Polynomial(danish::jyllandReverse)};
const Area sjaelland{danish::sjaellandUtmBox,
                     danish::sjaellandGridBox,
                     danish::sjaellandUtmPolygon,
                     danish::sjaellandGridPolygon,
                     Polynomial(danish::sjaellandForward),
                     Polynomial(danish::sjaellandReverse)};
const Area bornholm{danish::bornholmUtmBox,
                    danish::bornholmGridBox,
                    danish::bornholmUtmPolygon,
                    danish::bornholmGridPolygon,
                    Polynomial(danish::bornholmForward),
                    Polynomial(danish::bornholmReverse)};
// UTM32ED50 uses one box and one polygon both ways.
const Area utmLand{danish::utmLandBox,
                   danish::utmLandBox,
                   danish::utmLandPolygon,
                   danish::utmLandPolygon,
                   Polynomial(danish::utmLandForward),
                   Polynomial(danish::utmLandReverse)};
const Area utmBornholm{danish::utmBornholmBox,
                       danish::utmBornholmBox,
                       danish::bornholmUtmPolygon,
                       danish::bornholmUtmPolygon,
                       Polynomial(danish::utmBornholmForward),
                       Polynomial(danish::utmBornholmReverse)};

bool inBox(const double* box, Point p) {
    return p.first >= box[0] && p.first <= box[1] && p.second >= box[2] && p.second <= box[3];
}

bool roundTripHolds(const AreaStep& step, Point in, Point out) {
    const Point back = (*step.checkTable)(out);
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
    const Point out = (*step.table)(in);
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
    const Point out = (*step.table)(in);
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
    if (std::abs(lhs - rhs) <= scale * 0x1p-34)
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
        const int k = i + 1 == n ? 0 : i + 1;
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
