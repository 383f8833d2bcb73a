// Geoid models: which files mark a model as present, which tile covers a
// point, how tiles are swapped as points move, and every status code of the
// lookup. Each tile written here holds a plane of its own (its tile number
// times 100 plus a tilt), so a height names the tile that answered.

#include "geoid_grid_files.hpp"

#include "support/temp_folder.hpp"

#include "../../geodetic/core/geoid_models.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace geoid_test;

std::function<double(double, double)> tilePlane(int tile) {
    return [tile](double lat, double lon) { return 100.0 * tile + 0.01 * lat + 0.001 * lon; };
}

// A one-degree grid over the given box, heights on the tile's plane.
GridSpec tileGrid(double south, double west, double north, double east, int tile) {
    return {south,
            west,
            north,
            east,
            static_cast<int>(east - west),
            static_cast<int>(north - south),
            tilePlane(tile)};
}

class GeoidModels : public GeoidTest {
protected:
    std::string folderText() const { return folder.path().string() + "/"; }
    testsupport::TempFolder folder{"geoid-models"};
};

TEST_F(GeoidModels, EachModelIsFoundByItsFilesWithoutRegardToCase) {
    struct Case {
        int kind;
        const char* file;
        int expected;
    };
    const Case cases[] = {
        {geoidGeoid99, "g1999u01.grd", geoidModelFound},
        {geoidGeoid99, "G1999A04.GRD", geoidModelFound},
        {geoidGeoid03, "g2003u07.grd", geoidModelFound},
        {geoidGeoid03, "g2003u7.grd", geoidModelMissing}, // "???" is three characters
        {geoidEgm96, "EGM96.grd", geoidModelFound},
        {geoidGda94, "au_sd50.grd", geoidModelFound},
        {geoidCgg2000, "cngeoid.grd", geoidModelFound},
        {geoidCanadaHt2, "ht2_0.grd", geoidModelFound},
        {geoidCanadaHt1, "HT1_01.grd", geoidModelFound},
        {geoidOsgm02, "osgm02.grd", geoidModelFound},
        {geoidOsgm02, "osgm02.grd.bak", geoidModelMissing},
        {geoidEgm96, "osgm02.grd", geoidModelMissing},
        {0, "egm96.grd", geoidModelMissing},
        {9, "egm96.grd", geoidModelMissing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.kind << " " << c.file);
        testsupport::TempFolder one("geoid-presence");
        writeGrid(one / c.file, tileGrid(0, 0, 1, 1, 1));
        EXPECT_EQ(openGeoidGrid((one.path().string() + "/").c_str(), c.kind), c.expected);
    }
}

TEST_F(GeoidModels, AFailedOpenChangesNothing) {
    writeGrid(folder / "egm96.grd", tileGrid(10, 10, 20, 20, 3));
    ASSERT_EQ(openGeoidGrid(folderText().c_str(), geoidEgm96), geoidModelFound);
    EXPECT_EQ(openGeoidGrid(folderText().c_str(), geoidOsgm02), geoidModelMissing);
    const Lookup r = lookup(15, 15);
    ASSERT_EQ(r.status, geoidOk);
    EXPECT_NEAR(r.height, tilePlane(3)(15, 15), 1e-9);
}

TEST_F(GeoidModels, NothingIsAnsweredBeforeAnOpen) {
    const Lookup r = lookup(45, 10);
    EXPECT_EQ(r.status, geoidFileUnavailable);
    EXPECT_EQ(r.height, 0.0);
    double untouched = 7.0;
    EXPECT_EQ(getGeoidElev(45, 10, &untouched), geoidNoValue);
    EXPECT_EQ(untouched, 7.0);
}

TEST(GeoidTiles, TheLastBoxHoldingThePointGivesTheTile) {
    struct Case {
        double lat, lon;
        int geoid99, geoid03;
    };
    const Case cases[] = {
        {41, 250, 6, 6},  // boxes 2 and 6: the southern row wins
        {55, 232, 12, 1}, // boxes 1 and 12
        {45, 240, 1, 1},  {45, 299, 4, 4},  {30, 260, 6, 6},  {30, 281, 7, 7},  {24, 299, 8, 8},
        {65, 180, 9, 0},  {65, 203, 10, 0}, {52, 180, 11, 0}, {20, 200, 13, 0}, {22, 295, 14, 0},
        {58, 265, 3, 3},  {10, 250, 0, 0},  {45, 301, 0, 0},  {73, 180, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.lat << " N " << c.lon << " E");
        EXPECT_EQ(geodetic_detail::geoid99Tile(c.lat, c.lon), c.geoid99);
        EXPECT_EQ(geodetic_detail::geoid03Tile(c.lat, c.lon), c.geoid03);
    }
}

TEST(GeoidTiles, TileFilesAreNamedByModelAndLookedUpWithoutRegardToCase) {
    testsupport::TempFolder folder("geoid-tile-names");
    writeGrid(folder / "G1999H01.GRD", tileGrid(18, 199, 24, 206, 13));
    struct Case {
        int kind;
        double lat, lon;
        const char* name;
    };
    const Case cases[] = {
        {geoidGeoid99, 41, -110, "g1999u06.grd"}, {geoidGeoid99, 55, 232, "g1999a04.grd"},
        {geoidGeoid99, 20, 200, "G1999H01.GRD"},  {geoidGeoid99, 22, 295, "g1999p01.grd"},
        {geoidGeoid03, 30, -80, "g2003u07.grd"},  {geoidEgm96, 0, 0, "egm96.grd"},
        {geoidCanadaHt2, 50, -100, "HT2_0.grd"},
    };
    for (const Case& c : cases) {
        std::filesystem::path file;
        ASSERT_EQ(geodetic_detail::chooseGeoidFile(folder.path(), c.kind, c.lat, c.lon, &file),
                  geoidOk);
        EXPECT_EQ(file, folder / c.name);
    }
    std::filesystem::path file;
    EXPECT_EQ(geodetic_detail::chooseGeoidFile(folder.path(), 9, 0, 0, &file), geoidUnknownKind);
    EXPECT_EQ(geodetic_detail::chooseGeoidFile(folder.path(), 0, 0, 0, &file), geoidUnknownKind);
}

TEST_F(GeoidModels, TilesAreSwappedAsPointsMove) {
    // Tiles 2, 6 and 12 ("a04") of GEOID99 over their boxes.
    writeGrid(folder / "g1999u02.grd", tileGrid(41, 248, 58, 265, 2));
    writeGrid(folder / "g1999u06.grd", tileGrid(24, 248, 41, 265, 6));
    writeGrid(folder / "g1999a04.grd", tileGrid(49, 202, 61, 234, 12));
    ASSERT_EQ(openGeoidGrid(folderText().c_str(), geoidGeoid99), geoidModelFound);
    struct Case {
        double lat, lon;
        int tile;
    };
    // 41 N 250 E lies on the edge of tile 2's grid: while tile 2 is loaded it
    // answers there; the box rule (tile 6) only picks a tile to load.
    const Case walk[] = {{30.5, -105.25, 6}, {31, 255.5, 6},  {45.2, 250.3, 2}, {41, -110, 2},
                         {55, 232, 12},      {52.5, 210, 12}, {35, 260, 6},     {41, 250, 6}};
    for (const Case& c : walk) {
        SCOPED_TRACE(::testing::Message() << c.lat << " N " << c.lon << " E");
        const Lookup r = lookup(c.lat, c.lon);
        ASSERT_EQ(r.status, geoidOk);
        EXPECT_NEAR(r.height, tilePlane(c.tile)(c.lat, c.lon < 0 ? c.lon + 360 : c.lon), 1e-9);
    }
}

TEST_F(GeoidModels, TiledModelCodes) {
    writeGrid(folder / "g2003u06.grd", tileGrid(24, 248, 41, 265, 6));
    ASSERT_EQ(openGeoidGrid(folderText().c_str(), geoidGeoid03), geoidModelFound);
    EXPECT_EQ(lookup(30, 250).status, geoidOk);
    // No box holds the point.
    Lookup r = lookup(10, 250);
    EXPECT_EQ(r.status, geoidNoTile);
    EXPECT_EQ(r.height, 0.0);
    // Box 7's file is missing.
    EXPECT_EQ(lookup(30, 270).status, geoidFileUnavailable);
    // Box 6 again: loaded anew.
    r = lookup(30.5, 250.5);
    ASSERT_EQ(r.status, geoidOk);
    EXPECT_NEAR(r.height, tilePlane(6)(30.5, 250.5), 1e-9);
}

TEST_F(GeoidModels, ATiledModelAnswersNoValueInAHoleOfItsTile) {
    GridSpec g = tileGrid(24, 248, 41, 265, 6);
    g.holes = {{5, 5}};
    writeGrid(folder / "g2003u06.grd", g);
    ASSERT_EQ(openGeoidGrid(folderText().c_str(), geoidGeoid03), geoidModelFound);
    EXPECT_EQ(lookup(29.5, 253.5).status, geoidNoValue);
    EXPECT_EQ(lookup(31.5, 253.5).status, geoidOk);
}

TEST_F(GeoidModels, ASingleFileModelAnswersNoValueOutsideItsGrid) {
    writeGrid(folder / "osgm02.grd", tileGrid(49, 350, 61, 362, 8));
    ASSERT_EQ(openGeoidGrid(folderText().c_str(), geoidOsgm02), geoidModelFound);
    const Lookup inside = lookup(52, -5);
    ASSERT_EQ(inside.status, geoidOk);
    EXPECT_NEAR(inside.height, tilePlane(8)(52, 355), 1e-9);
    const Lookup outside = lookup(40, -5);
    EXPECT_EQ(outside.status, geoidNoValue);
    EXPECT_EQ(outside.height, 0.0);
}

TEST_F(GeoidModels, Gda94FindsTheTileWhoseBoundsHoldThePointStrictly) {
    writeGrid(folder / "au_sf52.grd", tileGrid(-30, 140, -20, 150, 52));
    writeGrid(folder / "AU_SG52.GRD", tileGrid(-40, 140, -30, 150, 53));
    ASSERT_EQ(openGeoidGrid(folderText().c_str(), geoidGda94), geoidModelFound);
    // On the bound between the two tiles, or outside both: the other 88
    // candidates are missing.
    EXPECT_EQ(lookup(-30, 145.5).status, geoidFileUnavailable);
    EXPECT_EQ(lookup(-10, 145.5).status, geoidFileUnavailable);
    Lookup r = lookup(-25.5, 145.5);
    ASSERT_EQ(r.status, geoidOk);
    EXPECT_NEAR(r.height, tilePlane(52)(-25.5, 145.5), 1e-9);
    r = lookup(-35.5, 145.5);
    ASSERT_EQ(r.status, geoidOk);
    EXPECT_NEAR(r.height, tilePlane(53)(-35.5, 145.5), 1e-9);
}

TEST_F(GeoidModels, Gda94WithEveryTilePresentAndNoneCoveringHasNoTile) {
    for (int number = 49; number <= 57; ++number)
        for (char letter = 'c'; letter <= 'l'; ++letter)
            writeGrid(folder / ("au_s" + std::string(1, letter) + std::to_string(number) + ".grd"),
                      tileGrid(-45, 110, -44, 111, number));
    ASSERT_EQ(openGeoidGrid(folderText().c_str(), geoidGda94), geoidModelFound);
    EXPECT_EQ(lookup(-10, 145.5).status, geoidNoTile);
    EXPECT_EQ(lookup(-44.5, 110.5).status, geoidOk);
}

TEST_F(GeoidModels, TheExactFileNameComesBeforeAnotherCase) {
    writeGrid(folder / "egm96.grd", tileGrid(0, 0, 10, 10, 1));
    writeGrid(folder / "EGM96.grd", tileGrid(0, 0, 10, 10, 2));
    ASSERT_EQ(openGeoidGrid(folderText().c_str(), geoidEgm96), geoidModelFound);
    EXPECT_NEAR(lookup(5, 5).height, tilePlane(1)(5, 5), 1e-9);
}

TEST_F(GeoidModels, AFolderWithoutItsSeparatorOrWithBackslashesWorks) {
    writeGrid(folder / "cngeoid.grd", tileGrid(20, 100, 30, 110, 5));
    for (const std::string& text : {folder.path().string(), folder.path().string() + "\\"}) {
        closeGeoidGrid();
        ASSERT_EQ(openGeoidGrid(text.c_str(), geoidCgg2000), geoidModelFound);
        EXPECT_EQ(lookup(25, 105).status, geoidOk);
    }
}

TEST_F(GeoidModels, LongFolderPathsWork) {
    std::filesystem::path deep = folder.path();
    for (int i = 0; i < 6; ++i)
        deep /= "a-folder-name-of-fifty-characters-for-the-long-path" + std::to_string(i);
    std::filesystem::create_directories(deep);
    ASSERT_GT(deep.string().size(), 300u);
    writeGrid(deep / "HT1_01.grd", tileGrid(40, 250, 50, 260, 7));
    ASSERT_EQ(openGeoidGrid((deep.string() + "/").c_str(), geoidCanadaHt1), geoidModelFound);
    // In the file form too, whose temporary file goes into that folder.
    geodetic_detail::injectGeoidStoreFaults({true, false});
    const Lookup r = lookup(45.5, 255.5);
    ASSERT_EQ(r.status, geoidOk);
    EXPECT_NEAR(r.height, tilePlane(7)(45.5, 255.5), 1e-9);
    EXPECT_EQ(temporaryFilesIn(deep), 1);
    closeGeoidGrid();
    EXPECT_EQ(temporaryFilesIn(deep), 0);
}

TEST_F(GeoidModels, CloseForgetsTheModel) {
    writeGrid(folder / "egm96.grd", tileGrid(0, 0, 10, 10, 1));
    ASSERT_EQ(openGeoidGrid(folderText().c_str(), geoidEgm96), geoidModelFound);
    EXPECT_EQ(lookup(5, 5).status, geoidOk);
    closeGeoidGrid();
    EXPECT_EQ(lookup(5, 5).status, geoidFileUnavailable);
    double n = 3.0;
    EXPECT_EQ(getGeoidElev(5, 5, &n), geoidNoValue);
    EXPECT_EQ(n, 3.0);
}

} // namespace
