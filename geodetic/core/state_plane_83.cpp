// The 1983 State Plane Coordinate System: one row per zone, in the order of
// the zone index, and the lookups and GRS 80 conversions over it.

#include "geodetic/state_plane_83.hpp"

#include "geodetic/projection_engine.hpp"
#include "state_plane_names.hpp"

#include <array>
#include <cstdint>
#include <numbers>

namespace {

// One zone as NGS publishes it. Angles in radians (longitudes west-positive),
// lengths in metres. `first` and `second` are the central meridian and k0
// (TM), the southern and northern standard parallels (Lambert), or the
// azimuth of the skew axis and the scale at the centre (oblique Mercator).
struct ZoneRow {
    int code;
    int type;
    double first, second;
    double falseNorthing, falseEasting;
    double originLat, originLon;
};

constexpr double angle(int degrees, int minutes) {
    return std::numbers::pi * (degrees + minutes / 60.0) / 180.0;
}

// A scale written 1:N in the zone definitions: k = 1 - 1/N.
constexpr double oneIn(double n) {
    return 1.0 - 1.0 / n;
}

// A TM zone stores its central meridian as the origin longitude too.
constexpr ZoneRow tm(int code, int cmDeg, int cmMin, double k0, int latDeg, int latMin,
                     double falseNorthing, double falseEasting) {
    const double cm = angle(cmDeg, cmMin);
    return {code,         projTransverseMercator, cm, k0, falseNorthing,
            falseEasting, angle(latDeg, latMin),  cm};
}

constexpr ZoneRow lambert(int code, int southDeg, int southMin, int northDeg, int northMin,
                          int latDeg, int latMin, int lonDeg, int lonMin, double falseNorthing,
                          double falseEasting) {
    return {code,
            projLambertTwoParallels,
            angle(southDeg, southMin),
            angle(northDeg, northMin),
            falseNorthing,
            falseEasting,
            angle(latDeg, latMin),
            angle(lonDeg, lonMin)};
}

// Alaska zone 1: the skew axis runs at tan(azimuth) = -3/4 through the centre.
constexpr double alaskaSkewAzimuth = -0.6435011087932844; // atan(-3/4)

constexpr std::array<ZoneRow, spc83ZoneCount> zoneRows{{
    tm(101, 85, 50, oneIn(25000), 30, 30, 0, 200000),
    tm(102, 87, 30, oneIn(15000), 30, 0, 0, 600000),
    {5001, projObliqueMercatorAzimuth, alaskaSkewAzimuth, oneIn(10000), -5000000, 5000000,
     angle(57, 0), angle(133, 40)},
    tm(5002, 142, 0, oneIn(10000), 54, 0, 0, 500000),
    tm(5003, 146, 0, oneIn(10000), 54, 0, 0, 500000),
    tm(5004, 150, 0, oneIn(10000), 54, 0, 0, 500000),
    tm(5005, 154, 0, oneIn(10000), 54, 0, 0, 500000),
    tm(5006, 158, 0, oneIn(10000), 54, 0, 0, 500000),
    tm(5007, 162, 0, oneIn(10000), 54, 0, 0, 500000),
    tm(5008, 166, 0, oneIn(10000), 54, 0, 0, 500000),
    tm(5009, 170, 0, oneIn(10000), 54, 0, 0, 500000),
    lambert(5010, 51, 50, 53, 50, 51, 0, 176, 0, 0, 1000000),
    tm(201, 110, 10, oneIn(10000), 31, 0, 0, 213360),
    tm(202, 111, 55, oneIn(10000), 31, 0, 0, 213360),
    tm(203, 113, 45, oneIn(15000), 31, 0, 0, 213360),
    lambert(301, 34, 56, 36, 14, 34, 20, 92, 0, 0, 400000),
    lambert(302, 33, 18, 34, 46, 32, 40, 92, 0, 400000, 400000),
    lambert(401, 40, 0, 41, 40, 39, 20, 122, 0, 500000, 2000000),
    lambert(402, 38, 20, 39, 50, 37, 40, 122, 0, 500000, 2000000),
    lambert(403, 37, 4, 38, 26, 36, 30, 120, 30, 500000, 2000000),
    lambert(404, 36, 0, 37, 15, 35, 20, 119, 0, 500000, 2000000),
    lambert(405, 34, 2, 35, 28, 33, 30, 118, 0, 500000, 2000000),
    lambert(406, 32, 47, 33, 53, 32, 10, 116, 15, 500000, 2000000),
    lambert(501, 39, 43, 40, 47, 39, 20, 105, 30, 304800.6096, 914401.8289),
    lambert(502, 38, 27, 39, 45, 37, 50, 105, 30, 304800.6096, 914401.8289),
    lambert(503, 37, 14, 38, 26, 36, 40, 105, 30, 304800.6096, 914401.8289),
    lambert(600, 41, 12, 41, 52, 40, 50, 72, 45, 152400.3048, 304800.6096),
    tm(700, 75, 25, oneIn(200000), 38, 0, 0, 200000),
    tm(901, 81, 0, oneIn(17000), 24, 20, 0, 200000),
    tm(902, 82, 0, oneIn(17000), 24, 20, 0, 200000),
    lambert(903, 29, 35, 30, 45, 29, 0, 84, 30, 0, 600000),
    tm(1001, 82, 10, oneIn(10000), 30, 0, 0, 200000),
    tm(1002, 84, 10, oneIn(10000), 30, 0, 0, 700000),
    tm(5101, 155, 30, oneIn(30000), 18, 50, 0, 500000),
    tm(5102, 156, 40, oneIn(30000), 20, 20, 0, 500000),
    tm(5103, 158, 0, oneIn(100000), 21, 10, 0, 500000),
    tm(5104, 159, 30, oneIn(100000), 21, 50, 0, 500000),
    tm(5105, 160, 10, 1.0, 21, 40, 0, 500000),
    tm(1101, 112, 10, oneIn(19000), 41, 40, 0, 200000),
    tm(1102, 114, 0, oneIn(19000), 41, 40, 0, 500000),
    tm(1103, 115, 45, oneIn(15000), 41, 40, 0, 800000),
    tm(1201, 88, 20, oneIn(40000), 36, 40, 0, 300000),
    tm(1202, 90, 10, oneIn(17000), 36, 40, 0, 700000),
    tm(1301, 85, 40, oneIn(30000), 37, 30, 250000, 100000),
    tm(1302, 87, 5, oneIn(30000), 37, 30, 250000, 900000),
    lambert(1401, 42, 4, 43, 16, 41, 30, 93, 30, 1000000, 1500000),
    lambert(1402, 40, 37, 41, 47, 40, 0, 93, 30, 0, 500000),
    lambert(1501, 38, 43, 39, 47, 38, 20, 98, 0, 0, 400000),
    lambert(1502, 37, 16, 38, 34, 36, 40, 98, 30, 400000, 400000),
    lambert(1600, 37, 5, 38, 40, 36, 20, 85, 45, 1000000, 1500000),
    lambert(1601, 37, 58, 38, 58, 37, 30, 84, 15, 0, 500000),
    lambert(1602, 36, 44, 37, 56, 36, 20, 85, 45, 500000, 500000),
    lambert(1701, 31, 10, 32, 40, 30, 30, 92, 30, 0, 1000000),
    lambert(1702, 29, 18, 30, 42, 28, 30, 91, 20, 0, 1000000),
    lambert(1703, 26, 10, 27, 50, 25, 30, 91, 20, 0, 1000000),
    tm(1801, 68, 30, oneIn(10000), 43, 40, 0, 300000),
    tm(1802, 70, 10, oneIn(30000), 42, 50, 0, 900000),
    lambert(1900, 38, 18, 39, 27, 37, 40, 77, 0, 0, 400000),
    lambert(2001, 41, 43, 42, 41, 41, 0, 71, 30, 750000, 200000),
    lambert(2002, 41, 17, 41, 29, 41, 0, 70, 30, 0, 500000),
    lambert(2111, 45, 29, 47, 5, 44, 47, 87, 0, 0, 8000000),
    lambert(2112, 44, 11, 45, 42, 43, 19, 84, 22, 0, 6000000),
    lambert(2113, 42, 6, 43, 40, 41, 30, 84, 22, 0, 4000000),
    lambert(2201, 47, 2, 48, 38, 46, 30, 93, 6, 100000, 800000),
    lambert(2202, 45, 37, 47, 3, 45, 0, 94, 15, 100000, 800000),
    lambert(2203, 43, 47, 45, 13, 43, 0, 94, 0, 100000, 800000),
    tm(2301, 88, 50, oneIn(20000), 29, 30, 0, 300000),
    tm(2302, 90, 20, oneIn(20000), 29, 30, 0, 700000),
    tm(2401, 90, 30, oneIn(15000), 35, 50, 0, 250000),
    tm(2402, 92, 30, oneIn(15000), 35, 50, 0, 500000),
    tm(2403, 94, 30, oneIn(17000), 36, 10, 0, 850000),
    lambert(2500, 45, 0, 49, 0, 44, 15, 109, 30, 0, 600000),
    lambert(2600, 40, 0, 43, 0, 39, 50, 100, 0, 0, 500000),
    tm(2701, 115, 35, oneIn(10000), 34, 45, 8000000, 200000),
    tm(2702, 116, 40, oneIn(10000), 34, 45, 6000000, 500000),
    tm(2703, 118, 35, oneIn(10000), 34, 45, 4000000, 800000),
    tm(2800, 71, 40, oneIn(30000), 42, 30, 0, 300000),
    tm(2900, 74, 30, oneIn(10000), 38, 50, 0, 150000),
    tm(3001, 104, 20, oneIn(11000), 31, 0, 0, 165000),
    tm(3002, 106, 15, oneIn(10000), 31, 0, 0, 500000),
    tm(3003, 107, 50, oneIn(12000), 31, 0, 0, 830000),
    tm(3101, 74, 30, oneIn(10000), 38, 50, 0, 150000),
    tm(3102, 76, 35, oneIn(16000), 40, 0, 0, 250000),
    tm(3103, 78, 35, oneIn(16000), 40, 0, 0, 350000),
    lambert(3104, 40, 40, 41, 2, 40, 10, 74, 0, 0, 300000),
    lambert(3200, 34, 20, 36, 10, 33, 45, 79, 0, 0, 609601.22),
    lambert(3301, 47, 26, 48, 44, 47, 0, 100, 30, 0, 600000),
    lambert(3302, 46, 11, 47, 29, 45, 40, 100, 30, 0, 600000),
    lambert(3401, 40, 26, 41, 42, 39, 40, 82, 30, 0, 600000),
    lambert(3402, 38, 44, 40, 2, 38, 0, 82, 30, 0, 600000),
    lambert(3501, 35, 34, 36, 46, 35, 0, 98, 0, 0, 600000),
    lambert(3502, 33, 56, 35, 14, 33, 20, 98, 0, 0, 600000),
    lambert(3601, 44, 20, 46, 0, 43, 40, 120, 30, 0, 2500000),
    lambert(3602, 42, 20, 44, 0, 41, 40, 120, 30, 0, 1500000),
    lambert(3701, 40, 53, 41, 57, 40, 10, 77, 45, 0, 600000),
    lambert(3702, 39, 56, 40, 58, 39, 20, 77, 45, 0, 600000),
    tm(3800, 71, 30, oneIn(160000), 41, 5, 0, 100000),
    lambert(3900, 32, 30, 34, 50, 31, 50, 81, 0, 0, 609600),
    lambert(4001, 44, 25, 45, 41, 43, 50, 100, 0, 0, 600000),
    lambert(4002, 42, 50, 44, 24, 42, 20, 100, 20, 0, 600000),
    lambert(4100, 35, 15, 36, 25, 34, 20, 86, 0, 0, 600000),
    lambert(4201, 34, 39, 36, 11, 34, 0, 101, 30, 1000000, 200000),
    lambert(4202, 32, 8, 33, 58, 31, 40, 98, 30, 2000000, 600000),
    lambert(4203, 30, 7, 31, 53, 29, 40, 100, 20, 3000000, 700000),
    lambert(4204, 28, 23, 30, 17, 27, 50, 99, 0, 4000000, 600000),
    lambert(4205, 26, 10, 27, 50, 25, 40, 98, 30, 5000000, 300000),
    lambert(4301, 40, 43, 41, 47, 40, 20, 111, 30, 1000000, 500000),
    lambert(4302, 39, 1, 40, 39, 38, 20, 111, 30, 2000000, 500000),
    lambert(4303, 37, 13, 38, 21, 36, 40, 111, 30, 3000000, 500000),
    tm(4400, 72, 30, oneIn(28000), 42, 30, 0, 500000),
    lambert(4501, 38, 2, 39, 12, 37, 40, 78, 30, 2000000, 3500000),
    lambert(4502, 36, 46, 37, 58, 36, 20, 78, 30, 1000000, 3500000),
    lambert(4601, 47, 30, 48, 44, 47, 0, 120, 50, 0, 500000),
    lambert(4602, 45, 50, 47, 20, 45, 20, 120, 30, 0, 500000),
    lambert(4701, 39, 0, 40, 15, 38, 30, 79, 30, 0, 600000),
    lambert(4702, 37, 29, 38, 53, 37, 0, 81, 0, 0, 600000),
    lambert(4801, 45, 34, 46, 46, 45, 10, 90, 0, 0, 600000),
    lambert(4802, 44, 15, 45, 30, 43, 50, 90, 0, 0, 600000),
    lambert(4803, 42, 44, 44, 4, 42, 0, 90, 0, 0, 600000),
    tm(4901, 105, 10, oneIn(16000), 40, 30, 0, 200000),
    tm(4902, 107, 20, oneIn(16000), 40, 30, 100000, 400000),
    tm(4903, 108, 45, oneIn(16000), 40, 30, 0, 600000),
    tm(4904, 110, 5, oneIn(16000), 40, 30, 100000, 800000),
    lambert(5200, 18, 2, 18, 26, 17, 50, 66, 26, 200000, 200000),
}};

// The record as the zone's projection reads it: types 0 and 2 keep the first
// parameter as central meridian (or azimuth) and the second as scale, type 1
// as southern and northern parallel; any other type keeps code and type only.
constexpr zoneCnstnt zoneRecord(const ZoneRow& row) {
    zoneCnstnt zone{};
    zone.zoneCode = row.code;
    zone.projType = row.type;
    if (row.type == projTransverseMercator || row.type == projObliqueMercatorAzimuth) {
        zone.centralMeridian = row.first;
        zone.scaleFactor = row.second;
    } else if (row.type == projLambertTwoParallels) {
        zone.southParallel = row.first;
        zone.northParallel = row.second;
    } else {
        return zone;
    }
    zone.falseNorthing = row.falseNorthing;
    zone.falseEasting = row.falseEasting;
    zone.originLat = row.originLat;
    zone.originLon = row.originLon;
    return zone;
}

constexpr std::array<zoneCnstnt, spc83ZoneCount> filledTable() {
    std::array<zoneCnstnt, spc83ZoneCount> table{};
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = zoneRecord(zoneRows[i]);
    return table;
}

// Filled when the library loads, so that a lookup made before
// init83ZoneConstants finds the zones rather than a zeroed record that
// every code 0 would match.
constinit std::array<zoneCnstnt, spc83ZoneCount> zoneTable = filledTable();

// Zone codes are four digits: below this bound a code is a direct index.
constexpr int codeBound = 10000;

// For each code below the bound, the index of the first row with it, or -1;
// the table's codes never change, so this is fixed when the library loads.
constexpr std::array<std::int16_t, codeBound> indexByCode() {
    std::array<std::int16_t, codeBound> index{};
    index.fill(-1);
    for (int i = spc83ZoneCount - 1; i >= 0; --i)
        if (zoneRows[static_cast<std::size_t>(i)].code >= 0 &&
            zoneRows[static_cast<std::size_t>(i)].code < codeBound)
            index[static_cast<std::size_t>(zoneRows[static_cast<std::size_t>(i)].code)] =
                static_cast<std::int16_t>(i);
    return index;
}

constexpr std::array<std::int16_t, codeBound> zoneIndexByCode = indexByCode();

// The index of the first record with the code, or -1.
int indexOfZone(int zone) {
    return zone >= 0 && zone < codeBound ? zoneIndexByCode[static_cast<std::size_t>(zone)] : -1;
}

// GRS 80, derived once.
const ellipsoid& grs80() {
    static const ellipsoid ell = [] {
        ellipsoid e{};
        initEllipsoid(&e, 6378137.0, 0.0033528106811836675);
        return e;
    }();
    return ell;
}

std::vector<std::string> namesOf(std::string (*form)(int)) {
    std::vector<std::string> names;
    for (const ZoneRow& row : zoneRows)
        names.push_back(form(row.code));
    return names;
}

} // namespace

void init83ZoneConstants() {
    zoneTable = filledTable();
}

int initSPC83Zone(int zone, zoneCnstnt* out) {
    const int index = indexOfZone(zone);
    if (index < 0)
        return projectionRefused;
    *out = zoneTable[index];
    return projectionOk;
}

int getSPC83ZoneIndex(int zone, int* index) {
    const int found = indexOfZone(zone);
    if (found < 0)
        return projectionRefused;
    *index = found;
    return projectionOk;
}

int invalidSPC83Zone(int zone) {
    return indexOfZone(zone) < 0 ? 1 : 0;
}

int SPC83GetZoneLstS(char* buffer, int size) {
    static const std::vector<std::string> names = namesOf(geodetic_detail::codeFirstZoneName);
    return geodetic_detail::joinZoneNames(names, buffer, size);
}

const std::vector<std::string>& spc83ZoneNameList() {
    static const std::vector<std::string> names = namesOf(geodetic_detail::codeLastZoneName);
    return names;
}

int SPC83Grid2Geod(int zone, geodCoord* point) {
    zoneCnstnt constants{};
    if (initSPC83Zone(zone, &constants) != projectionOk)
        return projectionRefused;
    const ellipsoid& ell = grs80();
    grid2Geod(&ell, &constants, point);
    point->lon = -point->lon;
    return projectionOk;
}

int SPC83Geod2Grid(int zone, geodCoord* point) {
    // The table's own record, read in place: a point costs no copy of it.
    const int index = indexOfZone(zone);
    if (index < 0)
        return projectionRefused;
    const ellipsoid& ell = grs80();
    const double lonEast = point->lon;
    point->lon = -lonEast;
    geod2Grid(&ell, &zoneTable[static_cast<std::size_t>(index)], point);
    point->lon = lonEast;
    return projectionOk;
}

int computeSPC83TmT(int zone, double e1, double n1, double e2, double n2, double e3, double n3,
                    double* out) {
    zoneCnstnt constants{};
    if (initSPC83Zone(zone, &constants) != projectionOk)
        return projectionRefused;
    const ellipsoid& ell = grs80();
    geodCoord points[3]{};
    const double eastings[3] = {e1, e2, e3}, northings[3] = {n1, n2, n3};
    for (int i = 0; i < 3; ++i) {
        points[i].easting = eastings[i];
        points[i].northing = northings[i];
        points[i].scale = 1.0;
        grid2Geod(&ell, &constants, &points[i]);
    }
    return getTMT(&ell, &constants, &points[0], &points[1], &points[2], out);
}
