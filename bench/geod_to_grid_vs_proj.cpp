// Geodetic-to-grid conversions: each of our projections against PROJ's
// proj_trans on the same points (GRS 80, points within 3 degrees of the
// zone's origin). Each run reports our points per second and PROJ's time
// divided by ours, both summed over the same iterations (above 1: ours is
// faster). One thread on both sides.
//
// Cases: a transverse Mercator zone record, UTM zone 32 through the UTM
// entry point, a two-parallel Lambert zone record, and the State Plane 1983
// entry point on a transverse Mercator zone (0101 Alabama East) and on a
// Lambert zone (0401 California 1), each against the PROJ definition of the
// same zone.

#include "geodetic/projection_engine.hpp"
#include "geodetic/state_plane_83.hpp"
#include "geodetic/utm.hpp"

#include <benchmark/benchmark.h>
#include <proj.h>

#include <chrono>
#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr double degree = M_PI / 180.0;

enum Case { transverseMercator, utm32, lambert, statePlaneTM, statePlaneLambert };

struct Projection {
    const char* projString;
    double lon0; // east-positive, degrees: the middle of the points
    double lat0;
};

Projection projectionOf(int kind) {
    switch (kind) {
    case transverseMercator:
        return {"+proj=tmerc +lat_0=31 +lon_0=-110.1666666666667 +k=0.9999 +x_0=213360 "
                "+y_0=0 +ellps=GRS80",
                -110.1666666666667, 34.0};
    case utm32:
        return {"+proj=utm +zone=32 +ellps=GRS80", 9.0, 48.0};
    case lambert:
        return {"+proj=lcc +lat_1=45 +lat_2=33 +lat_0=39 +lon_0=-96 +ellps=GRS80", -96.0, 39.0};
    case statePlaneTM: // 0101 Alabama East
        return {"+proj=tmerc +lat_0=30.5 +lon_0=-85.8333333333333 +k=0.99996 +x_0=200000 "
                "+y_0=0 +ellps=GRS80",
                -85.8333333333333, 32.0};
    default: // 0401 California 1
        return {"+proj=lcc +lat_1=41.6666666666667 +lat_2=40 +lat_0=39.3333333333333 "
                "+lon_0=-122 +x_0=2000000 +y_0=500000 +ellps=GRS80",
                -122.0, 40.5};
    }
}

zoneCnstnt zoneRecordOf(int kind) {
    zoneCnstnt zone{};
    if (kind == transverseMercator) {
        zone.projType = projTransverseMercator;
        zone.scaleFactor = 0.9999;
        zone.falseEasting = 213360.0;
        zone.originLat = 31.0 * degree;
        zone.centralMeridian = 110.1666666666667 * degree;
        zone.originLon = zone.centralMeridian;
    } else {
        zone.projType = projLambertTwoParallels;
        zone.northParallel = 45.0 * degree;
        zone.southParallel = 33.0 * degree;
        zone.originLat = 39.0 * degree;
        zone.originLon = 96.0 * degree;
    }
    return zone;
}

// Our conversion of every point, by the case's own entry point.
void convertAll(int kind, const ellipsoid& grs80, const zoneCnstnt& zone,
                std::vector<geodCoord>& points) {
    switch (kind) {
    case utm32:
        for (geodCoord& p : points)
            UTMGeod2Grid(32, &grs80, &p);
        break;
    case statePlaneTM:
        for (geodCoord& p : points)
            SPC83Geod2Grid(101, &p);
        break;
    case statePlaneLambert:
        for (geodCoord& p : points)
            SPC83Geod2Grid(401, &p);
        break;
    default:
        for (geodCoord& p : points)
            geod2Grid(&grs80, &zone, &p);
    }
}

// The zone-record cases take west-positive longitudes, the entry points east-positive.
bool westPositive(int kind) {
    return kind == transverseMercator || kind == lambert;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_GeodToGridVsProj(benchmark::State& state) {
    const int kind = static_cast<int>(state.range(0));
    const Projection projection = projectionOf(kind);
    const int count = static_cast<int>(state.range(1));
    std::mt19937 rng(17);
    std::uniform_real_distribution<double> offset(-3.0, 3.0);
    std::vector<geodCoord> input(static_cast<std::size_t>(count));
    std::vector<PJ_COORD> projInput(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double lat = projection.lat0 + offset(rng), lon = projection.lon0 + offset(rng);
        geodCoord& p = input[static_cast<std::size_t>(i)];
        p = geodCoord{};
        p.lat = lat * degree;
        p.lon = (westPositive(kind) ? -lon : lon) * degree;
        projInput[static_cast<std::size_t>(i)] = proj_coord(lon * degree, lat * degree, 0, 0);
    }
    ellipsoid grs80{};
    initEllipsoid(&grs80, 6378137.0, 0.0033528106811836675);
    const zoneCnstnt zone = zoneRecordOf(kind);
    PJ* proj = proj_create(PJ_DEFAULT_CTX, projection.projString);
    if (proj == nullptr) {
        state.SkipWithError("proj_create failed");
        return;
    }

    std::vector<geodCoord> points;
    double ourSeconds = 0.0, projSeconds = 0.0;
    for (auto _ : state) {
        points = input;
        auto start = std::chrono::steady_clock::now();
        convertAll(kind, grs80, zone, points);
        const double ours = secondsSince(start);
        ourSeconds += ours;
        state.SetIterationTime(ours);
        benchmark::DoNotOptimize(points.data());

        start = std::chrono::steady_clock::now();
        for (const PJ_COORD& in : projInput)
            benchmark::DoNotOptimize(proj_trans(proj, PJ_FWD, in));
        projSeconds += secondsSince(start);
    }
    proj_destroy(proj);
    const double converted = static_cast<double>(state.iterations()) * count;
    state.SetItemsProcessed(static_cast<int64_t>(converted));
    state.counters["proj_points_per_s"] = converted / projSeconds;
    state.counters["proj_time_over_ours"] = projSeconds / ourSeconds;
}

} // namespace

// Arguments: the case (0 TM, 1 UTM 32, 2 Lambert, 3 State Plane TM 0101,
// 4 State Plane Lambert 0401), points.
BENCHMARK(BM_GeodToGridVsProj)
    ->ArgsProduct({{transverseMercator, utm32, lambert, statePlaneTM, statePlaneLambert},
                   {1000, 100000}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
