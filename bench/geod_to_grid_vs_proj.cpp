// Geodetic-to-grid conversions per second: the zone-constant engine's
// transverse Mercator (a UTM zone) and two-parallel Lambert against PROJ's
// proj_trans on the same points. Each run reports our points per second and
// the ratio of our speed to PROJ's measured in the same iterations.

#include "geodetic/projection_engine.hpp"
#include "geodetic/utm.hpp"

#include <benchmark/benchmark.h>
#include <proj.h>

#include <chrono>
#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr double degree = M_PI / 180.0;

struct Projection {
    zoneCnstnt zone;
    const char* projString;
    double lon0; // east-positive, degrees
    double lat0;
};

Projection projectionOf(int kind) {
    Projection p{};
    if (kind == 0) {
        UTMInitializeZoneConstants(32, &p.zone);
        p.projString = "+proj=utm +zone=32 +ellps=GRS80";
        p.lon0 = 9.0;
        p.lat0 = 48.0;
    } else {
        p.zone.projType = projLambertTwoParallels;
        p.zone.northParallel = 45.0 * degree;
        p.zone.southParallel = 33.0 * degree;
        p.zone.originLat = 39.0 * degree;
        p.zone.originLon = 96.0 * degree;
        p.projString = "+proj=lcc +lat_1=45 +lat_2=33 +lat_0=39 +lon_0=-96 +ellps=GRS80";
        p.lon0 = -96.0;
        p.lat0 = 39.0;
    }
    return p;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_GeodToGridVsProj(benchmark::State& state) {
    const Projection projection = projectionOf(static_cast<int>(state.range(0)));
    const int count = static_cast<int>(state.range(1));
    std::mt19937 rng(17);
    std::uniform_real_distribution<double> offset(-3.0, 3.0);
    std::vector<geodCoord> points(count);
    std::vector<PJ_COORD> projInput(count);
    for (int i = 0; i < count; ++i) {
        const double lat = projection.lat0 + offset(rng), lon = projection.lon0 + offset(rng);
        points[i] = geodCoord{};
        points[i].lat = lat * degree;
        points[i].lon = -lon * degree;
        projInput[i] = proj_coord(lon * degree, lat * degree, 0, 0);
    }
    ellipsoid grs80{};
    initEllipsoid(&grs80, 6378137.0, 0.0033528106811836675);
    PJ* proj = proj_create(PJ_DEFAULT_CTX, projection.projString);
    if (proj == nullptr) {
        state.SkipWithError("proj_create failed");
        return;
    }

    double ourSeconds = 0.0, projSeconds = 0.0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        for (geodCoord& p : points)
            geod2Grid(&grs80, &projection.zone, &p);
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
    state.counters["speed_ratio_to_proj"] = projSeconds / ourSeconds;
}

} // namespace

// Arguments: projection (0 transverse Mercator in UTM zone 32, 1 Lambert), points.
BENCHMARK(BM_GeodToGridVsProj)
    ->ArgsProduct({{0, 1}, {1000, 100000}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
