// The 1983 state-plane zones against PROJ on each zone's EPSG definition
// (state_plane/state_plane_83.txt, see state_plane/make_fixtures.sh): every
// zone at nine points over its area, both ways; the lookups and name lists.

#include "fixture_table.hpp"

#include "geodetic/state_plane_83.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace geodetic_test;

const char* const referenceTable = "state_plane/state_plane_83.txt";

// The order of the coordinate-system settings' 1983 zone list, as the
// settings page gives its codes.
const char* const settingsOrder =
    "0101 0102 5001 5002 5003 5004 5005 5006 5007 5008 5009 5010 0201 0202 0203 0301 0302 0401 "
    "0402 0403 0404 0405 0406 0501 0502 0503 0600 0700 0901 0902 0903 1001 1002 5101 5102 5103 "
    "5104 5105 1101 1102 1103 1201 1202 1301 1302 1401 1402 1501 1502 1600 1601 1602 1701 1702 "
    "1703 1801 1802 1900 2001 2002 2111 2112 2113 2201 2202 2203 2301 2302 2401 2402 2403 2500 "
    "2600 2701 2702 2703 2800 2900 3001 3002 3003 3101 3102 3103 3104 3200 3301 3302 3401 3402 "
    "3501 3502 3601 3602 3701 3702 3800 3900 4001 4002 4100 4201 4202 4203 4204 4205 4301 4302 "
    "4303 4400 4501 4502 4601 4602 4701 4702 4801 4802 4803 4901 4902 4903 4904 5200";

std::vector<int> codesOf(const char* text) {
    std::vector<int> codes;
    std::istringstream words(text);
    for (int code; words >> code;)
        codes.push_back(code);
    return codes;
}

TEST(StatePlane83, EveryZoneHasReferencePoints) {
    std::set<int> referenced;
    for (const FixtureRow& row : readFixtureTable(referenceTable))
        referenced.insert(static_cast<int>(row[0]));
    EXPECT_EQ(referenced.size(), static_cast<std::size_t>(spc83ZoneCount));
    for (int code : referenced)
        EXPECT_EQ(invalidSPC83Zone(code), 0) << code;
}

TEST(StatePlane83, ForwardMatchesTheEpsgDefinitions) {
    for (const FixtureRow& row : readFixtureTable(referenceTable)) {
        const ProjectedReference ref = projectedReference(row);
        geodCoord p = eastPositivePoint(ref);
        ASSERT_EQ(SPC83Geod2Grid(static_cast<int>(row[0]), &p), projectionOk) << ref.where;
        expectGridMatches(ref, p);
        EXPECT_EQ(p.lon, ref.lon_deg * degree) << ref.where << ": longitude left as given";
    }
}

TEST(StatePlane83, InverseMatchesTheEpsgDefinitions) {
    for (const FixtureRow& row : readFixtureTable(referenceTable)) {
        const ProjectedReference ref = projectedReference(row);
        geodCoord p = gridPointOf(ref);
        ASSERT_EQ(SPC83Grid2Geod(static_cast<int>(row[0]), &p), projectionOk) << ref.where;
        expectGeodeticMatches(ref, p.lat, p.lon, p.scale, p.conv);
    }
}

// Every zone on a 7 x 7 lattice over its area (state_plane_83_dense.txt):
// 0.1 mm on the grid and 1e-9 degrees on the ellipsoid reach the zones'
// corners, 3.3 degrees from the central meridian in Alaska zone 9.
TEST(StatePlane83, MatchesTheEpsgDefinitionsAcrossEveryZone) {
    for (const FixtureRow& row : readFixtureTable("state_plane/state_plane_83_dense.txt")) {
        const ProjectedReference ref = projectedReference(row);
        geodCoord p = eastPositivePoint(ref);
        ASSERT_EQ(SPC83Geod2Grid(static_cast<int>(row[0]), &p), projectionOk) << ref.where;
        expectGridMatches(ref, p);
        geodCoord q = gridPointOf(ref);
        ASSERT_EQ(SPC83Grid2Geod(static_cast<int>(row[0]), &q), projectionOk) << ref.where;
        expectGeodeticMatches(ref, q.lat, q.lon, q.scale, q.conv);
    }
}

// The oblique Mercator of Alaska zone 1 returns its far corners to 1.01
// micrometres; every other zone to well below a micrometre.
TEST(StatePlane83, ForwardThenInverseReturnsThePoint) {
    for (const FixtureRow& row : readFixtureTable(referenceTable)) {
        const ProjectedReference ref = projectedReference(row);
        geodCoord p = eastPositivePoint(ref);
        ASSERT_EQ(SPC83Geod2Grid(static_cast<int>(row[0]), &p), projectionOk);
        ASSERT_EQ(SPC83Grid2Geod(static_cast<int>(row[0]), &p), projectionOk);
        expectRoundTrip(ref, p.lat, p.lon, 6378137.0, 1.1e-6);
    }
}

TEST(StatePlane83, UnknownZonesAreRefusedAndWriteNothing) {
    for (int code : {0, 407, 2101, 2102, 2103, 2501, 2503, 2601, 2602, 3901, 3902, 9999, -101}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(invalidSPC83Zone(code), 1);
        zoneCnstnt zone{};
        zone.zoneCode = 77;
        EXPECT_EQ(initSPC83Zone(code, &zone), 1);
        EXPECT_EQ(zone.zoneCode, 77);
        int index = -5;
        EXPECT_EQ(getSPC83ZoneIndex(code, &index), 1);
        EXPECT_EQ(index, -5);

        geodCoord point{0.5, -1.5, 11.0, 22.0, 0.0, 33.0, 44.0, 0};
        const geodCoord before = point;
        EXPECT_EQ(SPC83Geod2Grid(code, &point), 1);
        EXPECT_EQ(SPC83Grid2Geod(code, &point), 1);
        EXPECT_EQ(std::memcmp(&point, &before, sizeof point), 0);
        double tmt = 9.0;
        EXPECT_EQ(computeSPC83TmT(code, 0, 0, 1, 1, 2, 2, &tmt), 1);
        EXPECT_EQ(tmt, 9.0);
    }
}

// The table used to be written only by init83ZoneConstants: a lookup before
// it found nothing, and code 0 matched the zeroed record at index 0 and
// handed out a projection with k0 = 0. This test runs in a process of its
// own and never calls init83ZoneConstants.
TEST(StatePlane83, LookupsFindTheZonesBeforeTheTableIsFilled) {
    zoneCnstnt zone{};
    EXPECT_EQ(initSPC83Zone(0, &zone), 1);
    ASSERT_EQ(initSPC83Zone(101, &zone), 0);
    EXPECT_EQ(zone.zoneCode, 101);
    EXPECT_DOUBLE_EQ(zone.scaleFactor, 1.0 - 1.0 / 25000.0);
}

TEST(StatePlane83, ZoneRecords) {
    init83ZoneConstants();
    init83ZoneConstants(); // idempotent
    zoneCnstnt zone{};
    ASSERT_EQ(initSPC83Zone(5001, &zone), 0);
    EXPECT_EQ(zone.projType, projObliqueMercatorAzimuth);
    EXPECT_DOUBLE_EQ(zone.centralMeridian, std::atan(-3.0 / 4.0));
    EXPECT_DOUBLE_EQ(zone.scaleFactor, 0.9999);
    EXPECT_DOUBLE_EQ(zone.originLat, 57.0 * degree);
    EXPECT_DOUBLE_EQ(zone.originLon, (133.0 + 40.0 / 60.0) * degree);
    EXPECT_EQ(zone.falseNorthing, -5000000.0);
    EXPECT_EQ(zone.falseEasting, 5000000.0);

    for (int code = 5002; code <= 5009; ++code) {
        ASSERT_EQ(initSPC83Zone(code, &zone), 0);
        EXPECT_EQ(zone.projType, projTransverseMercator) << code;
        EXPECT_DOUBLE_EQ(zone.scaleFactor, 0.9999) << code;
        EXPECT_DOUBLE_EQ(zone.originLat, 54.0 * degree) << code;
        EXPECT_EQ(zone.falseEasting, 500000.0) << code;
        EXPECT_EQ(zone.originLon, zone.centralMeridian) << code;
    }
    ASSERT_EQ(initSPC83Zone(5010, &zone), 0);
    EXPECT_EQ(zone.projType, projLambertTwoParallels);
    EXPECT_DOUBLE_EQ(zone.southParallel, (51.0 + 50.0 / 60.0) * degree);
    EXPECT_DOUBLE_EQ(zone.northParallel, (53.0 + 50.0 / 60.0) * degree);
    EXPECT_EQ(zone.scaleFactor, 0.0) << "not written for Lambert";

    ASSERT_EQ(initSPC83Zone(3200, &zone), 0);
    EXPECT_EQ(zone.falseEasting, 609601.22);
    ASSERT_EQ(initSPC83Zone(3900, &zone), 0);
    EXPECT_EQ(zone.falseEasting, 609600.0);
    ASSERT_EQ(initSPC83Zone(501, &zone), 0);
    EXPECT_EQ(zone.falseNorthing, 304800.6096);
    EXPECT_EQ(zone.falseEasting, 914401.8289);
}

TEST(StatePlane83, ZoneIndexIsThePositionInTheSettingsOrder) {
    const std::vector<int> codes = codesOf(settingsOrder);
    ASSERT_EQ(codes.size(), static_cast<std::size_t>(spc83ZoneCount));
    for (std::size_t i = 0; i < codes.size(); ++i) {
        int index = -1;
        ASSERT_EQ(getSPC83ZoneIndex(codes[i], &index), 0) << codes[i];
        EXPECT_EQ(index, static_cast<int>(i)) << codes[i];
    }
    int index = -1;
    getSPC83ZoneIndex(1600, &index);
    EXPECT_EQ(index, 49) << "the Kentucky single zone stands before 1601 and 1602";
}

TEST(StatePlane83, LibraryZoneListFitsOrSaysSo) {
    std::vector<char> buffer(4000, 'x');
    ASSERT_EQ(SPC83GetZoneLstS(buffer.data(), static_cast<int>(buffer.size())), 0);
    const std::string all(buffer.data());
    const std::vector<std::string> names = splitLines(all);
    ASSERT_EQ(names.size(), static_cast<std::size_t>(spc83ZoneCount));
    EXPECT_EQ(names.front(), "0101 Alabama East");
    EXPECT_EQ(names[2], "5001 Alaska Zone 1");
    EXPECT_EQ(names[17], "0401 Calif. Zone 1");
    EXPECT_EQ(names[49], "1600 Kentucky Single Zone");
    EXPECT_EQ(names[84], "3104 Long Island");
    EXPECT_EQ(names.back(), "5200 Puerto Rico");
    const std::vector<int> codes = codesOf(settingsOrder);
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(std::atoi(names[i].c_str()), codes[i]) << names[i];

    const int exact = static_cast<int>(all.size());
    EXPECT_EQ(SPC83GetZoneLstS(buffer.data(), exact), 1) << "no room for the terminating NUL";
    EXPECT_EQ(SPC83GetZoneLstS(buffer.data(), exact + 1), 0);
    ASSERT_EQ(SPC83GetZoneLstS(buffer.data(), 30), 1);
    EXPECT_EQ(std::string(buffer.data()), "0101 Alabama East\n") << "the names that fitted";
}

TEST(StatePlane83, SettingsZoneListNamesEveryZoneWithItsCode) {
    const std::vector<std::string>& names = spc83ZoneNameList();
    const std::vector<int> codes = codesOf(settingsOrder);
    ASSERT_EQ(names.size(), codes.size());
    EXPECT_EQ(names.front(), "Alabama East - 0101");
    EXPECT_EQ(names[11], "Alaska Zone 10 - 5010");
    EXPECT_EQ(names.back(), "Puerto Rico - 5200");
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::size_t dash = names[i].find('-');
        ASSERT_NE(dash, std::string::npos) << names[i];
        EXPECT_EQ(std::atoi(names[i].c_str() + dash + 1), codes[i]) << names[i];
        EXPECT_EQ(names[i].substr(dash - 1, 3), " - ") << names[i];
    }
}

TEST(StatePlane83, ArcToChordOfAnAngleChangesSignWithItsSides) {
    double forward = 0.0, backward = 0.0, none = 1.0;
    ASSERT_EQ(computeSPC83TmT(101, 230000, 150000, 231000, 152000, 228500, 151000, &forward), 0);
    ASSERT_EQ(computeSPC83TmT(101, 230000, 150000, 228500, 151000, 231000, 152000, &backward), 0);
    EXPECT_NE(forward, 0.0);
    EXPECT_DOUBLE_EQ(forward, -backward);
    ASSERT_EQ(computeSPC83TmT(101, 230000, 150000, 231000, 152000, 231000, 152000, &none), 0);
    EXPECT_EQ(none, 0.0);
}

} // namespace
