// The national projections and the seven-parameter point transform against
// PROJ's proj_trans on the same points. Each run reports our points per
// second and PROJ's time divided by ours, both summed over the same
// iterations (above 1: ours is faster). One thread on both sides.
//
// Kinds: 0 Krovak forward, 1 Krovak inverse, 2 Cassini-Soldner forward,
// 3 EOV forward from WGS84 (PROJ: earth-centred, GRS 67, Swiss oblique
// Mercator), 4 seven-parameter point transform (PROJ: coordinate-frame
// Helmert), 5 WGS84 to System 34 Jylland (PROJ: the same chain to UTM zone
// 32 on ED50, then its horner step with our Jylland tables' coefficients).
//
// PROJ's horner step evaluates the one polynomial of the direction asked
// for; ours also evaluates the other table for the round-trip check and
// tests the area polygon, which the conversion must do, so kind 5 times
// that work on our side only. Before timing, kind 5 converts the first
// points on both sides and requires PROJ's X and Y within 1 mm of ours
// (counter largest_difference_mm), so that the two do the same conversion.

#include "geodetic/cassini_soldner.hpp"
#include "geodetic/danish_grids.hpp"
#include "geodetic/eov_grid.hpp"
#include "geodetic/krovak.hpp"
#include "geodetic/projection_engine.hpp"
#include "geodetic/xform_3d.hpp"

#include "../geodetic/national/danish_grid_tables.hpp"

#include <benchmark/benchmark.h>
#include <proj.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double degree = M_PI / 180.0;
constexpr double arcSecond = degree / 3600.0;

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Points around a centre, degrees.
struct Area {
    double lat0, lon0, spread;
};

zoneCnstntKrovakObliqueConic krovakZone() {
    zoneCnstntKrovakObliqueConic zone{};
    initEllipsoid(&zone.ellipsoid, 6377397.155, 1.0 / 299.1528128);
    zone.centreLat = 49.5 * degree;
    zone.originLon = (24.0 + 50.0 / 60.0) * degree;
    zone.coneAxisColatitude = 30.2881397527778 * degree;
    zone.pseudoParallelLat = 78.5 * degree;
    zone.pseudoParallelScale = 0.9999;
    return zone;
}

const char* const krovakProj = "+proj=krovak +axis=swu +lat_0=49.5 +lon_0=24.8333333333333 "
                               "+alpha=30.2881397527778 +k=0.9999 +ellps=bessel";

// One of the Danish tables (layout in danish_grid_tables.hpp): its degree,
// the coefficient blocks of its two outputs and the centres of its inputs.
struct DanishTable {
    int degree;
    const double* first;
    const double* second;
    double firstCentre, secondCentre;
};

DanishTable danishTableOf(const double* table) {
    const int degree = static_cast<int>(table[0]);
    const int g = (degree + 1) * (degree + 2) / 2;
    return {degree, table + 1, table + g + 2, table[g + 1], table[2 * g + 2]};
}

// The numbers joined by commas, each with all its digits.
std::string joined(const double* values, int count) {
    std::string text;
    char number[32];
    for (int i = 0; i < count; ++i) {
        std::snprintf(number, sizeof number, i == 0 ? "%.17g" : ",%.17g", values[i]);
        text += number;
    }
    return text;
}

// The greatest distance of the box's edges from the table's centres.
double reachOf(const DanishTable& table, const double* box) {
    return std::max({table.firstCentre - box[0], box[1] - table.firstCentre,
                     table.secondCentre - box[2], box[3] - table.secondCentre});
}

// PROJ's horner step for a pair of Danish tables, built from the tables.
// Horner takes its input (u, v) = (easting or X, northing or Y) less its
// origin, as e and n; its first output is sum c(i,j) e^i n^j stored group by
// group in the power j of n, i ascending in each group; its second sum
// d(i,j) n^i e^j grouped by the power of e. Our first output (northing or Y)
// is sum a(i,j) x^i y^j, x the first input (northing or Y) and y the second
// (easting or X), grouped by the power of y; our second is sum b(i,j) y^i
// x^j, grouped by the power of x. So horner's first block (fwd_u, inv_u) is
// our second block as stored, its second (fwd_v, inv_v) our first, its
// origins our centres in the other order, and its outputs (X, Y). Its range
// (a square about the origin) takes in both directions' boxes; its one degree
// is that of both tables of the pair.
std::string hornerStep(const double* forwardTable, const double* reverseTable, const double* utmBox,
                       const double* gridBox) {
    const DanishTable forward = danishTableOf(forwardTable);
    const DanishTable reverse = danishTableOf(reverseTable);
    const int g = (forward.degree + 1) * (forward.degree + 2) / 2;
    const double forwardOrigin[] = {forward.secondCentre, forward.firstCentre};
    const double reverseOrigin[] = {reverse.secondCentre, reverse.firstCentre};
    const double range = std::max(reachOf(forward, utmBox), reachOf(reverse, gridBox));
    return " +step +proj=horner +ellps=intl +range=" + joined(&range, 1) +
           " +fwd_origin=" + joined(forwardOrigin, 2) + " +inv_origin=" + joined(reverseOrigin, 2) +
           " +deg=" + std::to_string(forward.degree) + " +fwd_u=" + joined(forward.second, g) +
           " +fwd_v=" + joined(forward.first, g) + " +inv_u=" + joined(reverse.second, g) +
           " +inv_v=" + joined(reverse.first, g);
}

namespace danish = geodetic_detail::danish;

const std::string system34JyllandProj =
    "+proj=pipeline +step +proj=cart +ellps=WGS84 +step +inv +proj=helmert "
    "+convention=position_vector +x=-81.0703 +y=-89.3603 +z=-115.7526 +rx=0.48488 "
    "+ry=0.02436 +rz=0.41321 +s=-0.540645 +step +inv +proj=cart +ellps=intl "
    "+step +proj=utm +zone=32 +ellps=intl" +
    hornerStep(danish::jyllandForward, danish::jyllandReverse, danish::jyllandUtmBox,
               danish::jyllandGridBox);

// One kind: our conversion of a point (lat, lon in radians; or X, Y, Z) and
// PROJ's definition with its input. Where result is set, it gives our
// conversion of a point as PROJ gives its output (none where ours refuses
// the point), for the agreement check before timing.
struct Kind {
    Area area;
    std::string projDefinition;
    PJ_DIRECTION direction;
    std::function<void(const PJ_COORD&)> ours;
    std::function<PJ_COORD(double lat, double lon)> projInput; // radians
    std::function<std::optional<PJ_COORD>(const PJ_COORD&)> result = nullptr;
};

Kind kindOf(int kind) {
    static zoneCnstntKrovakObliqueConic krovak = krovakZone();
    static zoneCnstntCassini cassini{
        10000.0,     40000.0,          52.4186482777778 * degree, 13.6272036666667 * degree,
        6377397.155, 1.0 / 299.1528128};
    const auto geographic = [](double lat, double lon) { return proj_coord(lon, lat, 0, 0); };
    switch (kind) {
    case 0:
        return {{49.8, 17.0, 2.5},
                krovakProj,
                PJ_FWD,
                [](const PJ_COORD& c) {
                    geodCoord p{};
                    p.lat = c.lpz.phi;
                    p.lon = c.lpz.lam;
                    latLong2XY_KrovakObliqueConic(&krovak, &p);
                    benchmark::DoNotOptimize(p);
                },
                geographic};
    case 1:
        return {{49.8, 17.0, 2.5},
                krovakProj,
                PJ_INV,
                [](const PJ_COORD& c) {
                    geodCoord p{};
                    p.easting = c.xy.x;
                    p.northing = c.xy.y;
                    XY2latLong_KrovakObliqueConic(&krovak, &p);
                    benchmark::DoNotOptimize(p);
                },
                [](double lat, double lon) {
                    geodCoord p{};
                    p.lat = lat;
                    p.lon = lon;
                    latLong2XY_KrovakObliqueConic(&krovak, &p);
                    return proj_coord(p.easting, p.northing, 0, 0);
                }};
    case 2:
        return {{52.4, 13.6, 3.0},
                "+proj=cass +lat_0=52.4186482777778 +lon_0=13.6272036666667 +x_0=40000 "
                "+y_0=10000 +ellps=bessel",
                PJ_FWD,
                [](const PJ_COORD& c) {
                    geodCoord p{};
                    p.lat = c.lpz.phi;
                    p.lon = c.lpz.lam;
                    latLong2XY_CassiniSoldner(&cassini, &p);
                    benchmark::DoNotOptimize(p);
                },
                geographic};
    case 3:
        return {{47.2, 19.5, 1.3},
                "+proj=pipeline +step +proj=cart +ellps=WGS84 +step +inv +proj=cart "
                "+ellps=GRS67 +step +proj=somerc +lat_0=47.1443937222222 "
                "+lon_0=19.0485717777778 +k_0=0.99993 +x_0=650000 +y_0=200000 +ellps=GRS67",
                PJ_FWD,
                [](const PJ_COORD& c) {
                    double y, x, h;
                    latLongWGS84ToXY_EOV(c.lpz.phi, c.lpz.lam, c.lpz.z, 0, 0, 0, 0, 0, 0, 0, &y, &x,
                                         &h);
                    benchmark::DoNotOptimize(y);
                },
                geographic};
    case 4:
        return {{0.0, 0.0, 1.0},
                "+proj=helmert +convention=coordinate_frame +x=-81.07 +y=-89.36 +z=-115.75 "
                "+rx=0.485 +ry=0.024 +rz=0.413 +s=-0.54",
                PJ_FWD,
                [](const PJ_COORD& c) {
                    double X, Y, Z;
                    xform3D_Pt(1.0 - 0.54e-6, 0.485 * arcSecond, 0.024 * arcSecond,
                               0.413 * arcSecond, -81.07, -89.36, -115.75, c.xyz.x, c.xyz.y,
                               c.xyz.z, &X, &Y, &Z);
                    benchmark::DoNotOptimize(X);
                },
                [](double lat, double lon) {
                    return proj_coord(3500000.0 + lat * 1e6, 780000.0 + lon * 1e6, 5240000.0, 0);
                }};
    default:
        return {{56.0, 9.5, 1.0},
                system34JyllandProj,
                PJ_FWD,
                [](const PJ_COORD& c) {
                    double x, y, h;
                    latlongWGS84ToXYSys34Jylland(c.lpz.phi, c.lpz.lam, c.lpz.z, &x, &y, &h);
                    benchmark::DoNotOptimize(x);
                },
                geographic,
                [](const PJ_COORD& c) -> std::optional<PJ_COORD> {
                    double x, y, h;
                    if (latlongWGS84ToXYSys34Jylland(c.lpz.phi, c.lpz.lam, c.lpz.z, &x, &y, &h) !=
                        0)
                        return std::nullopt;
                    return proj_coord(x, y, 0, 0);
                }};
    }
}

// The largest difference in either coordinate (metres) between PROJ's
// output and ours over the first points, leaving out those ours refuses (a
// result PROJ cannot give counts as infinitely far).
struct Agreement {
    double largest = 0.0;
    int compared = 0;
};

Agreement agreementOf(const Kind& kind, PJ* proj, const std::vector<PJ_COORD>& input) {
    constexpr std::size_t checked = 500;
    Agreement agreement;
    for (std::size_t i = 0; i < std::min(checked, input.size()); ++i) {
        const std::optional<PJ_COORD> ours = kind.result(input[i]);
        if (!ours)
            continue;
        const PJ_COORD theirs = proj_trans(proj, kind.direction, input[i]);
        const double difference =
            std::max(std::abs(theirs.xy.x - ours->xy.x), std::abs(theirs.xy.y - ours->xy.y));
        agreement.largest =
            std::max(agreement.largest, std::isnan(difference) ? HUGE_VAL : difference);
        ++agreement.compared;
    }
    return agreement;
}

void BM_NationalGridsVsProj(benchmark::State& state) {
    const Kind kind = kindOf(static_cast<int>(state.range(0)));
    const int count = static_cast<int>(state.range(1));
    std::mt19937 rng(23);
    std::uniform_real_distribution<double> offset(-kind.area.spread, kind.area.spread);
    std::vector<PJ_COORD> input(count);
    for (PJ_COORD& c : input)
        c = kind.projInput((kind.area.lat0 + offset(rng)) * degree,
                           (kind.area.lon0 + offset(rng)) * degree);
    PJ* proj = proj_create(PJ_DEFAULT_CTX, kind.projDefinition.c_str());
    if (proj == nullptr) {
        state.SkipWithError("proj_create failed");
        return;
    }
    if (kind.result) {
        const Agreement agreement = agreementOf(kind, proj, input);
        state.counters["largest_difference_mm"] = agreement.largest * 1000.0;
        state.counters["points_compared"] = agreement.compared;
        if (agreement.compared == 0 || agreement.largest > 1e-3) {
            proj_destroy(proj);
            state.SkipWithError("PROJ's result is more than 1 mm from ours");
            return;
        }
    }
    double ourSeconds = 0.0, projSeconds = 0.0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        for (const PJ_COORD& c : input)
            kind.ours(c);
        const double ours = secondsSince(start);
        ourSeconds += ours;
        state.SetIterationTime(ours);

        start = std::chrono::steady_clock::now();
        for (const PJ_COORD& c : input)
            benchmark::DoNotOptimize(proj_trans(proj, kind.direction, c));
        projSeconds += secondsSince(start);
    }
    proj_destroy(proj);
    const double converted = static_cast<double>(state.iterations()) * count;
    state.SetItemsProcessed(static_cast<int64_t>(converted));
    state.counters["proj_points_per_s"] = converted / projSeconds;
    state.counters["proj_time_over_ours"] = projSeconds / ourSeconds;
}

} // namespace

// Arguments: kind (see the top of the file), points.
BENCHMARK(BM_NationalGridsVsProj)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5}, {10000}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
