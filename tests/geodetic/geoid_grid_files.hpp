#pragma once
// Synthetic .grd geoid grid files for the geoid tests: node values from a
// surface the test knows, with holes where it asks for them.

#include "platform/c_locale_text.hpp"

#include "geodetic/geoid_grid.hpp"

#include "../../geodetic/core/geoid_node_store.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <utility>

namespace geoid_test {

// How a node without value is written.
enum class Hole { letterN, mark };

struct GridSpec {
    double south, west, north, east; // degrees, longitudes east
    int nx, ny;                      // intervals
    std::function<double(double lat, double lon)> surface;
    std::set<std::pair<int, int>> holes = {}; // (column, row)
    Hole hole = Hole::letterN;
    long valuesWritten = -1; // fewer than all to cut the file short
};

inline std::string grdText(const GridSpec& g) {
    std::string text = platform::formatC("%.10f\n%.10f\n%.10f\n%.10f\n%d\n%d\n", g.south, g.west,
                                         g.north, g.east, g.nx, g.ny);
    const double dLon = (g.east - g.west) / g.nx, dLat = (g.north - g.south) / g.ny;
    long written = 0;
    for (int row = 0; row <= g.ny; ++row)
        for (int column = 0; column <= g.nx; ++column) {
            if (g.valuesWritten >= 0 && written++ >= g.valuesWritten)
                return text;
            if (g.holes.count({column, row}))
                text += g.hole == Hole::letterN ? "NaN\n" : "-98765432.1\n";
            else
                text += platform::formatC("%.12f\n",
                                          g.surface(g.south + row * dLat, g.west + column * dLon));
        }
    return text;
}

inline void writeGrid(const std::filesystem::path& file, const GridSpec& g) {
    std::ofstream(file, std::ios::binary) << grdText(g);
}

// Every test starts and ends with the grid closed and the store healthy.
class GeoidTest : public ::testing::Test {
protected:
    void SetUp() override { closeGeoidGrid(); }
    void TearDown() override {
        closeGeoidGrid();
        geodetic_detail::injectGeoidStoreFaults({});
    }
};

struct Lookup {
    int status;
    double height;
};

inline Lookup lookup(double lat, double lon) {
    Lookup r{};
    r.height = -1.0;
    r.status = getElevFromGeoidGrid(lat, lon, &r.height);
    return r;
}

// Files whose name starts with "grd" (the grid store's temporary files).
inline int temporaryFilesIn(const std::filesystem::path& folder) {
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        n += entry.path().filename().string().rfind("grd", 0) == 0;
    return n;
}

} // namespace geoid_test
