// Interpolation in geoid grids written by the tests, in both forms of the
// grid store (memory, and the paged temporary file used when memory cannot
// be had). The expected heights come from the surfaces the nodes sample:
// bicubic Lagrange interpolation reproduces a surface of degree 3 in
// longitude and in latitude exactly; the corner rules reproduce a bilinear
// surface exactly (each pair of opposite side values is a linear
// interpolation along the cell, and the inverse-distance weights of a pair
// interpolate linearly between them).

#include "geoid_grid_files.hpp"

#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace geoid_test;

// Degree 3 in each of x = lon - 255 and y = lat - 30, with mixed terms.
double cubicSurface(double lat, double lon) {
    const double x = lon - 255.0, y = lat - 30.0;
    return 12.0 + 0.8 * x - 0.05 * x * x + 0.004 * x * x * x - 0.6 * y + 0.03 * y * y -
           0.002 * y * y * y + 0.01 * x * y - 0.0007 * x * x * y * y * y;
}

double bilinearSurface(double lat, double lon) {
    const double x = lon - 255.0, y = lat - 30.0;
    return -20.0 + 0.3 * x - 0.2 * y + 0.05 * x * y;
}

enum class StoreForm { memory, temporaryFile };

class GeoidInterpolation : public GeoidTest, public ::testing::WithParamInterface<StoreForm> {
protected:
    void SetUp() override {
        GeoidTest::SetUp();
        if (GetParam() == StoreForm::temporaryFile) {
            geodetic_detail::injectGeoidStoreFaults({true, false});
        }
    }

    // EGM96 is a single-file model: one grid, no tile swapping.
    void openGrid(const GridSpec& g) {
        writeGrid(folder / "egm96.grd", g);
        ASSERT_EQ(openGeoidGrid(folder.path().c_str(), geoidEgm96), geoidModelFound);
    }

    testsupport::TempFolder folder{"geoid-interpolation"};
};

// 250-260 E, 25-35 N, half-degree nodes.
GridSpec cubicGrid() {
    return {25, 250, 35, 260, 20, 20, cubicSurface};
}

TEST_P(GeoidInterpolation, BicubicReproducesACubicSurface) {
    openGrid(cubicGrid());
    const double points[][2] = {{25.7, 250.6},  {30.0, 255.0},  {30.1234, 255.4321},
                                {34.49, 259.3}, {27.25, 251.0}, {33.5, 258.75}};
    for (const auto& p : points) {
        SCOPED_TRACE(::testing::Message() << p[0] << " N " << p[1] << " E");
        const Lookup r = lookup(p[0], p[1]);
        ASSERT_EQ(r.status, geoidOk);
        EXPECT_NEAR(r.height, cubicSurface(p[0], p[1]), 1e-9);
    }
    if (GetParam() == StoreForm::temporaryFile) {
        EXPECT_EQ(temporaryFilesIn(folder.path()), 1);
    }
}

TEST_P(GeoidInterpolation, AWestLongitudeIsTakenPlus360) {
    openGrid(cubicGrid());
    const Lookup west = lookup(31.3, -100.0);
    const Lookup east = lookup(31.3, 260.0);
    ASSERT_EQ(west.status, geoidOk);
    EXPECT_EQ(east.status, geoidOk);
    EXPECT_EQ(west.height, east.height);
    const Lookup inside = lookup(31.3, -102.5);
    EXPECT_NEAR(inside.height, cubicSurface(31.3, 257.5), 1e-9);
}

TEST_P(GeoidInterpolation, OutsideTheGridThereIsNoValue) {
    openGrid(cubicGrid());
    for (const auto& p : {std::pair{24.99, 255.0}, std::pair{35.01, 255.0}, std::pair{30.0, 249.99},
                          std::pair{30.0, 260.01}}) {
        const Lookup r = lookup(p.first, p.second);
        EXPECT_EQ(r.status, geoidNoValue);
        EXPECT_EQ(r.height, 0.0);
    }
}

// 250-256 E, 25-31 N, one-degree nodes with holes at (3, 3) = 253 E 28 N
// and (6, 0) = 256 E 25 N; every cell below lies near a hole or an edge, so
// that the corner rules answer.
GridSpec bilinearGridWithHoles(Hole hole) {
    GridSpec g{25, 250, 31, 256, 6, 6, bilinearSurface};
    g.holes = {{3, 3}, {6, 0}};
    g.hole = hole;
    return g;
}

struct PointCase {
    const char* what;
    double lat, lon;
};

TEST_P(GeoidInterpolation, CornerRulesReproduceABilinearSurface) {
    const PointCase cases[] = {
        {"inside a cell whose 4 x 4 block holds a hole", 26.25, 251.5},
        {"inside a cell on the grid's edge", 25.5, 250.25},
        {"on a node", 26.0, 251.0},
        {"on a bottom side", 26.0, 251.25},
        {"on a left side", 26.6, 251.0},
        {"on the eastern edge (inverse distance)", 26.3, 256.0},
        {"on the northern edge (inverse distance)", 31.0, 252.7},
        {"on the north-east corner node", 31.0, 256.0},
        {"on the side of a cell with a hole, between two nodes with values", 28.5, 252.0},
    };
    for (const Hole hole : {Hole::letterN, Hole::mark}) {
        closeGeoidGrid();
        openGrid(bilinearGridWithHoles(hole));
        for (const PointCase& c : cases) {
            SCOPED_TRACE(c.what);
            const Lookup r = lookup(c.lat, c.lon);
            ASSERT_EQ(r.status, geoidOk);
            EXPECT_NEAR(r.height, bilinearSurface(c.lat, c.lon), 1e-9);
        }
    }
}

TEST_P(GeoidInterpolation, AHoleAtACornerLeavesTheCellWithoutValue) {
    openGrid(bilinearGridWithHoles(Hole::letterN));
    const PointCase cases[] = {
        {"strictly inside a cell with a corner without value", 28.5, 253.5},
        {"on a side one of whose ends has no value", 28.0, 253.5},
        {"on the node without value", 28.0, 253.0},
    };
    for (const PointCase& c : cases) {
        SCOPED_TRACE(c.what);
        const Lookup r = lookup(c.lat, c.lon);
        EXPECT_EQ(r.status, geoidNoValue);
        EXPECT_EQ(r.height, 0.0);
    }
    // On the eastern edge the corners with values answer: at the node
    // without value there, the one above it.
    const Lookup edge = lookup(25.0, 256.0);
    ASSERT_EQ(edge.status, geoidOk);
    EXPECT_NEAR(edge.height, bilinearSurface(26.0, 256.0), 1e-9);
}

TEST_P(GeoidInterpolation, AShortFileLeavesTheMissingNodesWithoutValue) {
    GridSpec g = cubicGrid();
    g.valuesWritten = 21 * 15; // rows 0-14 of 0-20
    openGrid(g);
    const Lookup south = lookup(27.3, 254.1);
    ASSERT_EQ(south.status, geoidOk);
    EXPECT_NEAR(south.height, cubicSurface(27.3, 254.1), 1e-9);
    EXPECT_EQ(lookup(33.3, 254.1).status, geoidNoValue);
}

TEST_P(GeoidInterpolation, ALargeGridPagesThroughTheWholeFile) {
    // 301 x 201 = 60,501 nodes: more than both windows of the file form
    // hold. The points stay off the outer cells, where the corner rules
    // would answer.
    GridSpec g{20, 240, 40, 270, 300, 200, cubicSurface};
    openGrid(g);
    for (double lat = 20.35; lat < 40.0; lat += 2.9)
        for (double lon = 240.35; lon < 269.8; lon += 3.7) {
            SCOPED_TRACE(::testing::Message() << lat << " N " << lon << " E");
            const Lookup r = lookup(lat, lon);
            ASSERT_EQ(r.status, geoidOk);
            EXPECT_NEAR(r.height, cubicSurface(lat, lon), 1e-8);
        }
}

INSTANTIATE_TEST_SUITE_P(StoreForms, GeoidInterpolation,
                         ::testing::Values(StoreForm::memory, StoreForm::temporaryFile),
                         [](const auto& info) {
                             return info.param == StoreForm::memory ? "Memory" : "TemporaryFile";
                         });

} // namespace
