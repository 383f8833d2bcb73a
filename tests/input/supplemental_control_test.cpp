// The supplemental control file in its text and coordinate-file formats,
// read into the raw data, the 3D control stations and the 2D control points:
// the use tests, units, hemispheres, repeated points and the messages.

#include "input/supplemental_control.hpp"
#include "input/supplemental_stations.hpp"

#include "model/observation_records.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/length_units.hpp"
#include "ptbank/vk_crd_api.h"
#include "reports/final_coords_support.hpp"
#include "support/raw_list_builder.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using namespace testsupport;

constexpr double degree = std::numbers::pi / 180.0;

// A project that observes A, B and C (a setup at A to B with a foresight to
// C) and reads its supplemental control from `control` in `format`.
class SupplementalControl : public RawListTest {
protected:
    void SetUp() override {
        RawListTest::SetUp();
        projectVars.controlNEFileName = (folder / "control").string();
        projectVars.stErrX = 0.02;
        projectVars.stErrY = 0.03;
        projectVars.stErrZ = 0.04;
    }
    void file(int format, const std::string& text) {
        projectVars.nezFileFmtType = format;
        writeBytes(folder / "control", text);
    }
    // Observations of A, B and C in both chains.
    void observe() {
        angleObs a3;
        setPointName(a3.backsight, "B");
        setPointName(a3.instrument, "A");
        setPointName(a3.foresight, "C");
        angleList.append(a3);
        angleObs2D a2;
        setPointName(a2.backsight, "B");
        setPointName(a2.instrument, "A");
        setPointName(a2.foresight, "C");
        angleList2D.append(a2);
    }
    // Snyder's transverse Mercator example on Clarke 1866 (Map Projections:
    // A Working Manual, p. 269): 40 30 N, 73 30 W from 75 W with k0 0.9996
    // lies at x 127106.5 m, y 4484124.4 m; in UTM zone 18 E 627106.5.
    void utmZone18() {
        projectVars.gridSystem = gridUtm;
        projectVars.gridZone = 18;
        projectVars.ellipsoid = 4;
        projectVars.geoidModel = 0;
        projectVars.geoidHt = -30.0;
    }
};

TEST_F(SupplementalControl, FieldsOfEachTextFormat) {
    struct Case {
        int format;
        const char* line;
        double n, e, z, sN, sE, sZ;
        const char* description;
        const char* code;
    };
    const double unset = notComputed;
    for (const Case& c : std::vector<Case>{
             {5, "P,1.5,2.5,3.5,FENCE,FC", 1.5, 2.5, 3.5, 0, 0, 0, "FENCE", "FC"},
             {5, "P  1.5\t2.5", 1.5, 2.5, unset, 0, 0, 0, "", ""},
             {7, "P,1,2,3,0.01,0,0.03,IRON,IR", 1, 2, 3, 0.01, -2.0, 0.03, "IRON", "IR"},
         }) {
        SupplementalLine read;
        ASSERT_EQ(readSupplementalLine(c.format, c.line, read), "") << c.line;
        EXPECT_EQ(read.name, "P");
        EXPECT_EQ(read.northing, c.n) << c.line;
        EXPECT_EQ(read.easting, c.e) << c.line;
        EXPECT_EQ(read.elevation, c.z) << c.line;
        EXPECT_EQ(read.stdErrN, c.sN) << c.line;
        EXPECT_EQ(read.stdErrE, c.sE) << c.line;
        EXPECT_EQ(read.stdErrZ, c.sZ) << c.line;
        EXPECT_EQ(read.description, c.description) << c.line;
        EXPECT_EQ(read.code, c.code) << c.line;
    }
}

TEST_F(SupplementalControl, LatitudesAndLongitudesCarryTheirHemisphere) {
    struct Case {
        const char* line;
        double latitude_deg, longitude_deg; // north and east positive
    };
    for (const Case& c :
         std::vector<Case>{{"P N40.3000 W73.3000 10", 40.5, -73.5},
                           {"P s33.5530 e018.2400 10", -(33 + 55.0 / 60 + 30.0 / 3600), 18.4}}) {
        SupplementalLine read;
        ASSERT_EQ(readSupplementalLine(supplementalLatLong, c.line, read), "") << c.line;
        EXPECT_NEAR(read.latitude, c.latitude_deg * degree, 1e-12) << c.line;
        EXPECT_NEAR(read.longitude, c.longitude_deg * degree, 1e-12) << c.line;
        EXPECT_EQ(read.elevation, 10.0);
    }
}

// A field that holds a number holds the whole of it: a damaged field is
// refused by name, never read as its leading digits (or as 0).
TEST_F(SupplementalControl, ANumberFieldHoldsAWholeNumberOrTheLineIsRefused) {
    struct Case {
        int format;
        std::string line;
        std::string refusal;
    };
    const std::string notAnAngle = "is not a dd.mmss angle: its minutes or seconds are 60 or more.";
    for (const Case& c : std::vector<Case>{
             {5, "D,N880.600,1210.330,49.870", "The northing \"N880.600\" is not a number."},
             {5, "D 880.600 1210.33O 49.870", "The easting \"1210.33O\" is not a number."},
             {5, "D 880.600 1210.330 49.87#", "The elevation \"49.87#\" is not a number."},
             {5, "D 880.600 inf 49.870", "The easting \"inf\" is not a number."},
             {5, "D nan", "The northing \"nan\" is not a number."},
             {5, "D 1e400 1 2", "The northing \"1e400\" is not a number."},
             {6, "P N40.30x0 W73.3000 10", "The latitude \"N40.30x0\" is not a number."},
             {6, "P N40.3000 Winf 10", "The longitude \"Winf\" is not a number."},
             {6, "P N40.3000 W73.3000 1O", "The height \"1O\" is not a number."},
             {6, "P N90.0001 W73.3000 10",
              "The latitude \"N90.0001\" is no position on the earth."},
             {6, "P s5335334.0003 e010000 10",
              "The latitude \"s5335334.0003\" is no position on the earth."},
             {6, "P N40.3000 E180.0001 10",
              "The longitude \"E180.0001\" is no position on the earth."},
             {7, "D,1,2,3,0.01,0.0l,0.03", "The easting standard error \"0.0l\" is not a number."},
             {7, "D,1,2,3,0.01,0.02,-nan",
              "The elevation standard error \"-nan\" is not a number."},
             // A decimal comma or a blank splits a number: the fields after it
             // shifted (elevation 330, the elevation taken as description).
             {5, "D,880.600,1210,330,49.870,SUPPD,DC", "The record has 7 fields; it needs 1 to 6."},
             {5, "D 880.600 1210 330 49.870 SUPPD DC", "The record has 7 fields; it needs 1 to 6."},
             {7, "D,1,2,3,0.01,0,02,0.03,IRON,IR", "The record has 10 fields; it needs 1 to 9."},
             {5, "D 880.600 1210,330 49.870",
              "The point name \"D 880.600 1210\" is longer than 10 characters."},
             {5, "D,880.600,1210 .330,49.870", "The easting \"1210 .330\" is not a number."},
             {5, "D,880.600,1210\t330,49.870", "The easting \"1210<TAB>330\" is not a number."},
             {5, std::string("D,880.600,1210") + '\0' + ".330,49.870",
              "The easting \"1210<NUL>.330\" is not a number."},
             {5, "CONTROLPOINT1 1 2 3",
              "The point name \"CONTROLPOINT1\" is longer than 10 characters."},
             {6, "P N44.600108 W73.3000 10", "The latitude \"N44.600108\" " + notAnAngle},
             {6, "P N40.3000 W73.3075 10", "The longitude \"W73.3075\" " + notAnAngle},
             {6, "P 40.3000 W73.3000 10", "The latitude \"40.3000\" does not start with N or S."},
             {6, "P N40.3000 73.3000 10", "The longitude \"73.3000\" does not start with W or E."},
         }) {
        SupplementalLine read;
        EXPECT_EQ(readSupplementalLine(c.format, c.line, read), c.refusal) << c.line;
    }
}

TEST_F(SupplementalControl, ADamagedNumberStopsTheFileNamingFileAndLine) {
    appendRaw({setupRecord("A", "D"), foresightRecord("C")});
    file(5, "A,1000.000,2000.000,50.000\r\nD,N880.600,1210.330,49.870,SUPPD\r\n");
    std::string error;
    EXPECT_EQ(addSupplementalToRawList(error), 1);
    EXPECT_EQ(error, projectVars.controlNEFileName +
                         ", line 2: The northing \"N880.600\" is not a number. Record: "
                         "D,N880.600,1210.330,49.870,SUPPD");
}

TEST_F(SupplementalControl, RawTargetTakesObservedPointsWithAnElevationOneRecordPerLine) {
    appendRaw({setupRecord("A", "B"), foresightRecord("C")});
    // Z is observed by nothing, B's line has no elevation, A comes twice and
    // the last line has no line end.
    file(5, "Z 1 2 3\nB 10 20\nA,100,200,30,IRON,IR\r\nA 101 201 31");
    std::string error;
    ASSERT_EQ(addSupplementalToRawList(error), 0) << error;
    const std::vector<rawRec> all = rawRecords();
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[2].kind, rawCoord);
    EXPECT_EQ(fixedText(all[2].pointName), "A");
    EXPECT_EQ(all[2].northing, 100.0);
    EXPECT_EQ(all[2].easting, 200.0);
    EXPECT_EQ(all[2].elevation, 30.0);
    EXPECT_EQ(fixedText(all[2].description), "IRON");
    EXPECT_EQ(fixedText(all[2].code), "IR");
    EXPECT_EQ(all[3].northing, 101.0);
}

TEST_F(SupplementalControl, RawTargetFormatSevenPutsTheLinesStandardErrorsFirst) {
    appendRaw({setupRecord("A", "B")});
    file(7, "A,100,200,30,0.01,0,0.03,IRON,IR\n");
    std::string error;
    ASSERT_EQ(addSupplementalToRawList(error), 0) << error;
    const std::vector<rawRec> all = rawRecords();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[1].kind, rawStdErrs);
    EXPECT_EQ(all[1].stErrY, 0.01);
    EXPECT_EQ(all[1].stErrX, -2.0); // 0 holds the easting fixed
    EXPECT_EQ(all[1].stErrZ, 0.03);
    // Description and code in the order of the other formats.
    EXPECT_EQ(fixedText(all[2].description), "IRON");
    EXPECT_EQ(fixedText(all[2].code), "IR");
}

TEST_F(SupplementalControl, RawTargetFormatSixGivesTheGridPositionAndTheHeightAsRead) {
    utmZone18();
    appendRaw({setupRecord("A", "B")});
    file(6, "A N40.3000 W73.3000 52.25 MON\n");
    std::string error;
    ASSERT_EQ(addSupplementalToRawList(error), 0) << error;
    const std::vector<rawRec> all = rawRecords();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_NEAR(all[1].northing, 4484124.4, 0.1);
    EXPECT_NEAR(all[1].easting, 627106.5, 0.1);
    EXPECT_EQ(all[1].elevation, 52.25);
}

TEST_F(SupplementalControl, ALineWithoutItsHemisphereStopsTheReadingNamingFileAndLine) {
    appendRaw({setupRecord("A", "B")});
    file(6, "A N40.3000 W73.3000 52.25\nB 40.3000 W73.3000 1\n");
    std::string error;
    EXPECT_EQ(addSupplementalToRawList(error), 1);
    EXPECT_EQ(error, projectVars.controlNEFileName +
                         ", line 2: The latitude \"40.3000\" does not start with N or S. Record: "
                         "B 40.3000 W73.3000 1");
}

// A position 89 degrees from the zone's central meridian has no transverse
// Mercator grid position: the line is refused, not taken as control with
// coordinates that are no numbers (a fuzzing find).
TEST_F(SupplementalControl, APositionWithoutAGridPositionStopsTheReading) {
    utmZone18();
    appendRaw({setupRecord("A", "B")});
    file(6, "A N40.3000 W73.3000 52.25 MON\nB S0.5530 E014.2400 1 MON\n");
    std::string error;
    EXPECT_EQ(addSupplementalToRawList(error), 1);
    EXPECT_EQ(error, projectVars.controlNEFileName +
                         ", line 2: The latitude and longitude have no grid position in the "
                         "project's coordinate system. Record: B S0.5530 E014.2400 1 MON");
}

TEST_F(SupplementalControl, TextFileThatCannotBeOpenedNamesItsPath) {
    projectVars.nezFileFmtType = 5;
    std::string error;
    EXPECT_EQ(addSupplementalToRawList(error), 1);
    EXPECT_EQ(error, "Error opening " + projectVars.controlNEFileName);
    // A folder is no file either.
    projectVars.controlNEFileName = folder.path().string();
    EXPECT_EQ(addSupplementalToRawList(error), 1);
    EXPECT_EQ(error, "Error opening " + folder.path().string());
}

TEST_F(SupplementalControl, CoordinateFilesOfEveryLibraryTypeFeedTheRawData) {
    appendRaw({setupRecord("1", "2")});
    // The library's file types, whatever the format value names.
    for (const int type : {0, 1, 3, 4}) {
        const std::string path =
            (folder / ("c" + std::to_string(type) + (type == 3 ? ".vkc" : ".crd"))).string();
        finalcoords::storeCrdPoints(
            path, type,
            {finalcoords::crdPoint("1", 100, 200, -99999999.0, "IR", "IRON ROD"),
             finalcoords::crdPoint("9", 1, 2, 3)});

        rawDataList.clear();
        appendRaw({setupRecord("1", "2")});
        projectVars.controlNEFileName = path;
        projectVars.nezFileFmtType = 1;
        std::string error;
        ASSERT_EQ(addSupplementalToRawList(error), 0) << error;
        const std::vector<rawRec> all = rawRecords();
        ASSERT_EQ(all.size(), 2u) << type;
        EXPECT_EQ(fixedText(all[1].pointName), "1") << type;
        EXPECT_EQ(all[1].northing, 100.0) << type;
        EXPECT_EQ(all[1].easting, 200.0) << type;
        // No elevation in the file: none in the record.
        EXPECT_FALSE(isSet(all[1].elevation)) << type;
        EXPECT_EQ(fixedText(all[1].description).substr(0, 8), "IRON ROD") << type;
    }
}

TEST_F(SupplementalControl, CoordinateFileMessages) {
    struct Case {
        std::string name;
        std::string message;
    };
    const std::string absent = (folder / "absent.crd").string();
    for (const Case& c : std::vector<Case>{{"", "No supplamental NEZ file has been specified"},
                                           {absent, absent + " does not exist."}}) {
        projectVars.controlNEFileName = c.name;
        projectVars.nezFileFmtType = 3;
        std::string error;
        EXPECT_EQ(addSupplementalToRawList(error), 1);
        EXPECT_EQ(error, c.message);
        EXPECT_FALSE(std::filesystem::exists(absent));
    }
}

// A stored value that is no data stops the reading naming the point: NaN
// became control at -999999999 and 1e300 was listed with 301 digits.
TEST_F(SupplementalControl, ACoordinateFilePointThatIsNoDataStopsTheReading) {
    struct Case {
        crdPointRec point;
        std::string message;
    };
    const std::string path = (folder / "damaged.crd").string();
    for (const Case& c : std::vector<Case>{
             {finalcoords::crdPoint("7", 1e300, 200, 30),
              ", point \"7\": The northing \"1e+300\" is not a number."},
             {finalcoords::crdPoint("7", 100, std::nan(""), 30),
              ", point \"7\": The easting \"nan\" is not a number."},
             {finalcoords::crdPoint("7", 100, 200, INFINITY),
              ", point \"7\": The elevation \"inf\" is not a number."},
         }) {
        SCOPED_TRACE(c.message);
        std::filesystem::remove(path);
        finalcoords::storeCrdPoints(path, 0, {finalcoords::crdPoint("1", 100, 200, 30), c.point});
        rawDataList.clear();
        appendRaw({setupRecord("1", "7")});
        projectVars.controlNEFileName = path;
        projectVars.nezFileFmtType = 0;
        std::string error;
        EXPECT_EQ(addSupplementalToRawList(error), 1);
        EXPECT_EQ(error, path + c.message);
    }
}

TEST_F(SupplementalControl, StationsInMetresWithTheirGeodeticPosition) {
    utmZone18();
    projectVars.HorizUnits = units::usSurveyFeet;
    observe();
    const double f = units::usSurveyFootMetres;
    // A in feet at Snyder's point, 100 ft orthometric; Z unobserved.
    file(5, "A " + std::to_string(4484124.4 / f) + " " + std::to_string(627106.5 / f) +
                " 100 MON AC\nZ 1 2 3\n");
    std::string error;
    ASSERT_EQ(loadSupplementalStations(error), 0) << error;
    ASSERT_EQ(controlStationList.count(), 1);
    stationRec a;
    ASSERT_GE(controlStationList.find("A", a), 0);
    EXPECT_NEAR(a.northing, 4484124.4, 1e-6);
    EXPECT_NEAR(a.easting, 627106.5, 1e-6);
    EXPECT_NEAR(a.latitude, 40.5 * degree, 2e-8);
    EXPECT_NEAR(a.longitude, -73.5 * degree, 2e-8);
    EXPECT_EQ(a.geoidSep, -30.0);
    const double h = 100 * f - 30.0;
    EXPECT_NEAR(a.elevation, h, 1e-9);
    // Earth-centred position of the station's own latitude and longitude on
    // Clarke 1866, computed here.
    const double semiMajor = 6378206.4, flattening = 1 / 294.9786982;
    const double e2 = flattening * (2 - flattening);
    const double phi = a.latitude, lambda = a.longitude;
    const double nu = semiMajor / std::sqrt(1 - e2 * std::sin(phi) * std::sin(phi));
    EXPECT_NEAR(a.ecefX, (nu + h) * std::cos(phi) * std::cos(lambda), 1e-6);
    EXPECT_NEAR(a.ecefY, (nu + h) * std::cos(phi) * std::sin(lambda), 1e-6);
    EXPECT_NEAR(a.ecefZ, (nu * (1 - e2) + h) * std::sin(phi), 1e-6);
    // The project's standard errors, in metres.
    EXPECT_NEAR(a.stdErrE, 0.02 * f, 1e-15);
    EXPECT_NEAR(a.stdErrN, 0.03 * f, 1e-15);
    EXPECT_NEAR(a.stdErrZ, 0.04 * f, 1e-15);
    EXPECT_EQ(a.pointType, ptWeightedControl);
    EXPECT_EQ(a.resetFlag, 0);
    EXPECT_EQ(a.description, "MON");
    EXPECT_EQ(a.description2, "AC");
    // Merged into the run's stations.
    EXPECT_GE(stationList.indexOf("A"), 0);
}

TEST_F(SupplementalControl, StationsWithoutElevationStillGetTheirPosition) {
    utmZone18();
    observe();
    file(5, "B 4484124.4 627106.5\n");
    std::string error;
    ASSERT_EQ(loadSupplementalStations(error), 0) << error;
    stationRec b;
    ASSERT_GE(controlStationList.find("B", b), 0);
    EXPECT_NEAR(b.latitude, 40.5 * degree, 2e-8);
    EXPECT_NEAR(b.longitude, -73.5 * degree, 2e-8);
    EXPECT_FALSE(isSet(b.elevation));
    EXPECT_EQ(b.pointType, ptWeightedControl);
}

TEST_F(SupplementalControl, FormatSevenStandardErrorsGoToMetresAndZeroHoldsFixed) {
    projectVars.HorizUnits = units::internationalFeet;
    observe();
    file(7, "B,1000,2000,10,0.1,0,0.2\n");
    std::string error;
    ASSERT_EQ(loadSupplementalStations(error), 0) << error;
    stationRec b;
    ASSERT_GE(controlStationList.find("B", b), 0);
    EXPECT_NEAR(b.northing, 1000 * 0.3048, 1e-9);
    EXPECT_NEAR(b.stdErrN, 0.1 * 0.3048, 1e-15);
    EXPECT_EQ(b.stdErrE, -2.0);
    EXPECT_NEAR(b.stdErrZ, 0.2 * 0.3048, 1e-15);
}

TEST_F(SupplementalControl, CoordinateFilePointsBecomeStationsAndControlPoints) {
    projectVars.HorizUnits = units::internationalFeet;
    observe();
    const std::string path = (folder / "control.crd").string();
    finalcoords::storeCrdPoints(path, 1,
                                {finalcoords::crdPoint("A", 100, 200, 30, "", "IRON ROD"),
                                 finalcoords::crdPoint("Z", 1, 2, 3)});
    projectVars.controlNEFileName = path;
    projectVars.nezFileFmtType = 0;
    std::string error;
    ASSERT_EQ(loadSupplementalStations(error), 0) << error;
    ASSERT_EQ(loadSupplementalCoords(error), 0) << error;
    // Z is observed by nothing.
    EXPECT_EQ(controlStationList.count(), 1);
    EXPECT_EQ(controlPointList2D.count(), 1);
    stationRec a;
    ASSERT_GE(controlStationList.find("A", a), 0);
    EXPECT_NEAR(a.northing, 100 * 0.3048, 1e-12);
    EXPECT_NEAR(a.easting, 200 * 0.3048, 1e-12);
    EXPECT_NEAR(a.elevation, 30 * 0.3048, 1e-12); // a local grid has no separation
    EXPECT_NEAR(a.stdErrE, 0.02 * 0.3048, 1e-15);
    EXPECT_EQ(a.description, "IRON ROD");
    EXPECT_EQ(a.pointType, ptWeightedControl);
    coordRec p;
    ASSERT_GE(controlPointList2D.find("A", p), 0);
    EXPECT_EQ(p.northing, 100.0);
    EXPECT_EQ(p.easting, 200.0);
    EXPECT_EQ(p.elevation, 30.0);
    EXPECT_EQ(p.stdErrE, 0.02);
    EXPECT_EQ(p.description, "IRON ROD");
}

TEST_F(SupplementalControl, ARepeatedPointKeepsItsFirstCoordinatesAndTakesTheLastTexts) {
    observe();
    file(5, "A 10 20\nA 11 21 5 IRON IR\nA 12 22 6 PIPE\n");
    std::string error;
    ASSERT_EQ(loadSupplementalStations(error), 0) << error;
    ASSERT_EQ(loadSupplementalCoords(error), 0) << error;
    stationRec a;
    ASSERT_GE(controlStationList.find("A", a), 0);
    EXPECT_EQ(a.northing, 10.0);
    EXPECT_EQ(a.easting, 20.0);
    EXPECT_EQ(a.elevation, 5.0); // a local grid has no separation
    EXPECT_EQ(a.description, "PIPE");
    EXPECT_EQ(a.description2, "IR");
    coordRec p;
    ASSERT_GE(controlPointList2D.find("A", p), 0);
    EXPECT_EQ(controlPointList2D.count(), 1);
    EXPECT_EQ(p.northing, 10.0);
    EXPECT_EQ(p.easting, 20.0);
    EXPECT_EQ(p.elevation, 5.0);
    EXPECT_EQ(p.description, "PIPE");
    EXPECT_EQ(p.description2, "IR");
    EXPECT_EQ(p.stdErrE, 0.02);
    EXPECT_EQ(p.stdErrN, 0.03);
    EXPECT_EQ(p.pointType, ptWeightedControl);
    EXPECT_EQ(p.vertType, vtWeightedElevation);
}

TEST_F(SupplementalControl, AStationAlreadyInTheControlListGainsOnlyWhatItLacked) {
    observe();
    stationRec c;
    initStationRec(c);
    setPointName(c.name, "C");
    c.elevation = 7.0;
    c.geoidSep = 0.0;
    controlStationList.append(c);
    file(5, "C 1 2 99\n");
    std::string error;
    ASSERT_EQ(loadSupplementalStations(error), 0) << error;
    stationRec read;
    ASSERT_GE(controlStationList.find("C", read), 0);
    EXPECT_EQ(read.northing, 1.0);
    EXPECT_EQ(read.easting, 2.0);
    EXPECT_EQ(read.elevation, 7.0);
    EXPECT_EQ(read.pointType, ptWeightedControl);
}

TEST_F(SupplementalControl, TwoDimensionalFormatSixKeepsTheOrthometricHeightBesideTheSeparation) {
    utmZone18();
    observe();
    file(6, "C N40.3000 W73.3000 52.25\n");
    std::string error;
    ASSERT_EQ(loadSupplementalCoords(error), 0) << error;
    coordRec c;
    ASSERT_GE(controlPointList2D.find("C", c), 0);
    EXPECT_NEAR(c.northing, 4484124.4, 0.1);
    EXPECT_NEAR(c.easting, 627106.5, 0.1);
    EXPECT_EQ(c.elevation, 52.25);
    EXPECT_EQ(c.geoidSep, -30.0);

    // In a local system a latitude-longitude file is not read.
    controlPointList2D.clear();
    projectVars.gridSystem = gridLocal;
    ASSERT_EQ(loadSupplementalCoords(error), 0) << error;
    EXPECT_EQ(controlPointList2D.count(), 0);
}

TEST_F(SupplementalControl, MergeReplacesAppendsAndLeavesFixedStationsAlone) {
    for (const char* name : {"A", "F", "N"}) {
        stationRec s;
        initStationRec(s);
        setPointName(s.name, name);
        s.northing = 5.0;
        controlStationList.append(s);
    }
    stationRec old;
    initStationRec(old);
    setPointName(old.name, "a");
    stationList.append(old);
    stationRec fixed;
    initStationRec(fixed);
    setPointName(fixed.name, "F");
    fixedStationList.append(fixed);
    mergeControlIntoStations();
    ASSERT_EQ(stationList.count(), 2);
    stationRec a;
    ASSERT_GE(stationList.find("A", a), 0);
    EXPECT_EQ(a.northing, 5.0);
    EXPECT_GE(stationList.indexOf("N"), 0);
    EXPECT_LT(stationList.indexOf("F"), 0);
}

} // namespace
