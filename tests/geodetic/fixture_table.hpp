#pragma once
// Reads the reference tables that make_fixtures.sh wrote from PROJ: one row
// of numbers per line, '#' lines are comments. The rows keep their line
// numbers so that a failure names the row to look at.

#include "platform/c_locale_text.hpp"
#include "platform/line_reader.hpp"

#include <gtest/gtest.h>

#include "geodetic/projection_engine.hpp"

#include <cmath>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace geodetic_test {

inline constexpr double degree = std::numbers::pi / 180.0;

// Tolerances the library holds itself to against an independent reference.
inline constexpr double gridTolerance_m = 1e-4;
inline constexpr double angleTolerance_deg = 1e-9;
inline constexpr double scaleTolerance = 1e-9;
inline constexpr double convergenceTolerance_deg = 1e-7;
inline constexpr double roundTrip_m = 1e-6;

// GRS 80: a 6378137 m, f = 1/298.257222101.
inline ellipsoid grs80() {
    ellipsoid ell{};
    initEllipsoid(&ell, 6378137.0, 0.0033528106811836675);
    return ell;
}

struct FixtureRow {
    std::string where; // "table.txt:line" for failure messages
    std::vector<double> values;
    double operator[](std::size_t i) const { return values.at(i); }
};

inline std::vector<FixtureRow> readFixtureTable(const std::string& name) {
    std::vector<FixtureRow> rows;
    platform::TextFileReader reader(std::string(TARNWELL_FIXTURES) + "/geodetic/" + name);
    EXPECT_TRUE(reader.isOpen()) << name;
    std::string line;
    while (reader.next(line)) {
        if (line.empty() || line[0] == '#')
            continue;
        FixtureRow row{name + ":" + std::to_string(reader.lineNumber()), {}};
        std::istringstream words(line);
        std::string word;
        while (words >> word) {
            const auto value = platform::parseDouble(word);
            EXPECT_TRUE(value.has_value()) << row.where << ": " << word;
            row.values.push_back(value.value_or(0.0));
        }
        rows.push_back(row);
    }
    EXPECT_FALSE(rows.empty()) << name;
    return rows;
}

// The lines of a text, each without its line feed.
inline std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

// The difference of two angles in degrees, taken across the 180th meridian.
inline double angleDifference_deg(double a, double b) {
    return std::remainder(a - b, 360.0);
}

// PROJ's answer for one point: the last six columns of a projected row.
struct ProjectedReference {
    std::string where;
    double lat_deg, lon_deg, easting, northing, scale, conv_deg;
};

inline ProjectedReference projectedReference(const FixtureRow& row) {
    const std::size_t n = row.values.size();
    return {row.where, row[n - 6], row[n - 5], row[n - 4], row[n - 3], row[n - 2], row[n - 1]};
}

// The forward transverse Mercator scale series stops at L^4 (L = delta-lambda
// cos phi). Its first omitted term, k0 (61 - 148 t^2 + 16 t^4) L^6 / 720
// (Snyder 1987, eq. 8-11), reaches 4.6e-9 at 3.5 degrees from the central
// meridian on the equator; the tolerance allows it.
inline double tmForwardScaleTolerance(double lat, double lonFromCentralMeridian) {
    const double l = lonFromCentralMeridian * std::cos(lat), t2 = std::pow(std::tan(lat), 2);
    return scaleTolerance + std::abs(61.0 - 148.0 * t2 + 16.0 * t2 * t2) * std::pow(l, 6) / 720.0;
}

// The reference's input point, its longitude east- or west-positive.
inline geodCoord eastPositivePoint(const ProjectedReference& ref) {
    geodCoord p{};
    p.lat = ref.lat_deg * degree;
    p.lon = ref.lon_deg * degree;
    return p;
}

inline geodCoord westPositivePoint(const ProjectedReference& ref) {
    geodCoord p = eastPositivePoint(ref);
    p.lon = -p.lon;
    return p;
}

// The reference's grid point.
inline geodCoord gridPointOf(const ProjectedReference& ref) {
    geodCoord p{};
    p.northing = ref.northing;
    p.easting = ref.easting;
    return p;
}

inline void expectGridMatches(const ProjectedReference& ref, const geodCoord& p,
                              double scaleTol = scaleTolerance) {
    SCOPED_TRACE(ref.where);
    EXPECT_NEAR(p.easting, ref.easting, gridTolerance_m);
    EXPECT_NEAR(p.northing, ref.northing, gridTolerance_m);
    EXPECT_NEAR(p.scale, ref.scale, scaleTol);
    EXPECT_NEAR(p.conv / degree, ref.conv_deg, convergenceTolerance_deg);
}

// lat and lon in radians, lon east-positive.
inline void expectGeodeticMatches(const ProjectedReference& ref, double lat, double lonEast,
                                  double scale, double conv) {
    SCOPED_TRACE(ref.where);
    EXPECT_NEAR(lat / degree, ref.lat_deg, angleTolerance_deg);
    EXPECT_NEAR(angleDifference_deg(lonEast / degree, ref.lon_deg), 0.0, angleTolerance_deg);
    EXPECT_NEAR(scale, ref.scale, scaleTolerance);
    EXPECT_NEAR(conv / degree, ref.conv_deg, convergenceTolerance_deg);
}

// A forward-then-inverse round trip, measured on the ground in metres.
inline void expectRoundTrip(const ProjectedReference& ref, double lat, double lonEast,
                            double semiMajor, double tolerance_m = roundTrip_m) {
    SCOPED_TRACE(ref.where);
    const double dLat = lat - ref.lat_deg * degree;
    const double dLon = angleDifference_deg(lonEast / degree, ref.lon_deg) * degree;
    EXPECT_NEAR(dLat * semiMajor, 0.0, tolerance_m);
    EXPECT_NEAR(dLon * semiMajor * std::cos(lat), 0.0, tolerance_m);
}

} // namespace geodetic_test
