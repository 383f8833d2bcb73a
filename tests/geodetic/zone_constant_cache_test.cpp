// The constants a projection derives from its zone are computed once for a
// run of points on one zone. Whatever the order of the calls, and however a
// caller changes its records between calls, every result must be exactly (to
// the bit) what a thread that has projected nothing else gives.

#include "geodetic/projection_engine.hpp"
#include "geodetic/state_plane_83.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <thread>
#include <vector>

namespace {

constexpr double degree = M_PI / 180.0;

struct Result {
    int status;
    double northing, easting, scale, conv, lat, lon;

    // Field by field: the padding after `status` holds whatever the copy left there.
    bool operator==(const Result& other) const = default;
};

// Forward from (lat, lon west-positive), then back from the grid point.
Result roundTrip(const ellipsoid& ell, const zoneCnstnt& zone, double latDeg, double lonDeg) {
    geodCoord p{};
    p.lat = latDeg * degree;
    p.lon = lonDeg * degree;
    Result r{};
    r.status = geod2Grid(&ell, &zone, &p);
    r.northing = p.northing;
    r.easting = p.easting;
    r.scale = p.scale;
    r.conv = p.conv;
    geodCoord back{};
    back.northing = p.northing;
    back.easting = p.easting;
    r.status += grid2Geod(&ell, &zone, &back);
    r.lat = back.lat;
    r.lon = back.lon;
    return r;
}

// What `call` gives on a thread of its own, which has cached nothing yet.
Result onFreshThread(const std::function<Result()>& call) {
    Result r{};
    std::thread([&] { r = call(); }).join();
    return r;
}

ellipsoid grs80() {
    ellipsoid ell{};
    initEllipsoid(&ell, 6378137.0, 0.0033528106811836675);
    return ell;
}

ellipsoid clarke1866() {
    ellipsoid ell{};
    initEllipsoid(&ell, 6378206.4, 1.0 / 294.9786982);
    return ell;
}

zoneCnstnt lambertZone(double south, double north, double originLat) {
    zoneCnstnt zone{};
    zone.projType = projLambertTwoParallels;
    zone.southParallel = south * degree;
    zone.northParallel = north * degree;
    zone.originLat = originLat * degree;
    zone.originLon = 96.0 * degree;
    zone.falseEasting = 600000.0;
    return zone;
}

zoneCnstnt tmZone(double k0, double originLat) {
    zoneCnstnt zone{};
    zone.projType = projTransverseMercator;
    zone.scaleFactor = k0;
    zone.originLat = originLat * degree;
    zone.centralMeridian = 111.0 * degree;
    zone.originLon = zone.centralMeridian;
    zone.falseEasting = 500000.0;
    return zone;
}

TEST(ZoneConstants, ARecordChangedInPlaceIsProjectedWithItsNewValues) {
    struct Row {
        const char* what;
        zoneCnstnt before, after;
        ellipsoid ellBefore, ellAfter;
    };
    const Row rows[] = {
        {"Lambert parallels", lambertZone(33, 45, 39), lambertZone(34, 46, 39), grs80(), grs80()},
        {"Lambert origin", lambertZone(33, 45, 39), lambertZone(33, 45, 38), grs80(), grs80()},
        {"Lambert ellipsoid", lambertZone(33, 45, 39), lambertZone(33, 45, 39), grs80(),
         clarke1866()},
        {"TM scale", tmZone(0.9996, 0), tmZone(0.9999, 0), grs80(), grs80()},
        {"TM origin", tmZone(0.9996, 0), tmZone(0.9996, 31), grs80(), grs80()},
        {"TM ellipsoid", tmZone(0.9996, 31), tmZone(0.9996, 31), grs80(), clarke1866()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        // One record and one ellipsoid, changed in place between the calls.
        zoneCnstnt zone = row.before;
        ellipsoid ell = row.ellBefore;
        const Result before = roundTrip(ell, zone, 40.5, 97.5);
        zone = row.after;
        ell = row.ellAfter;
        const Result after = roundTrip(ell, zone, 40.5, 97.5);
        EXPECT_FALSE(after == before) << "the change must show";
        const zoneCnstnt fresh = row.after;
        const ellipsoid freshEll = row.ellAfter;
        EXPECT_TRUE(after == onFreshThread([&] { return roundTrip(freshEll, fresh, 40.5, 97.5); }));
    }
}

TEST(ZoneConstants, InterleavedZonesGiveEachZoneItsOwnResults) {
    const ellipsoid ell = grs80();
    const zoneCnstnt zones[] = {lambertZone(33, 45, 39), tmZone(0.9996, 0),
                                lambertZone(-36, -18, -27), tmZone(0.9999, 31)};
    std::vector<Result> interleaved;
    for (int i = 0; i < 40; ++i)
        for (const zoneCnstnt& zone : zones)
            interleaved.push_back(roundTrip(ell, zone, (zone.originLat / degree) + 0.1 * i,
                                            (zone.originLon / degree) - 0.07 * i));
    for (std::size_t z = 0; z < std::size(zones); ++z) {
        SCOPED_TRACE("zone " + std::to_string(z));
        const std::vector<Result> alone = [&] {
            std::vector<Result> results;
            std::thread([&] {
                for (int i = 0; i < 40; ++i)
                    results.push_back(roundTrip(ell, zones[z],
                                                (zones[z].originLat / degree) + 0.1 * i,
                                                (zones[z].originLon / degree) - 0.07 * i));
            }).join();
            return results;
        }();
        for (int i = 0; i < 40; ++i)
            EXPECT_TRUE(alone[static_cast<std::size_t>(i)] ==
                        interleaved[static_cast<std::size_t>(i) * std::size(zones) + z])
                << "point " << i;
    }
}

// The zone record found by code: every code of the table finds its own zone
// (its name list gives the codes), and codes outside it find none.
TEST(ZoneConstants, StatePlaneZonesAreFoundByTheirCodes) {
    int found = 0;
    for (int code = -1; code <= 10001; ++code) {
        zoneCnstnt zone{};
        if (initSPC83Zone(code, &zone) != projectionOk) {
            EXPECT_EQ(invalidSPC83Zone(code), 1) << code;
            continue;
        }
        ++found;
        EXPECT_EQ(zone.zoneCode, code);
        EXPECT_EQ(invalidSPC83Zone(code), 0) << code;
        int index = -1;
        ASSERT_EQ(getSPC83ZoneIndex(code, &index), projectionOk);
        EXPECT_GE(index, 0);
    }
    EXPECT_EQ(found, static_cast<int>(spc83ZoneNameList().size()));
    zoneCnstnt zone{};
    EXPECT_EQ(initSPC83Zone(100000, &zone), projectionRefused);
}

} // namespace
