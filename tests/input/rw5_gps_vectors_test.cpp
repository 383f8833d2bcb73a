// The GPS records of .RW5 files as vectors: read straight into the run's
// list (route 10) or converted into a .GPS file.

#include "gps_test_support.hpp"
#include "input/gps_vector_reader.hpp"
#include "input/rw5_gps_vectors.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/length_units.hpp"

#include <gtest/gtest.h>

#include <cmath>

using gpstest::converterFixture;
using gpstest::expectVector;
using gpstest::GpsTest;

namespace {

// The first row of gps/antenna_to_marks.txt (GeographicLib): base at 45 N,
// 75 W, 100 m, antenna 1.5 m with phase centre 0.1 m, rover antenna 2.0 m;
// the antenna vector and the mark vector it becomes.
constexpr double antennaVector[3] = {1234.567, -2345.678, 987.654};
constexpr double markVector[3] = {1234.493553075, -2345.404600098, 987.371408122};

// A vector of 10, 20, 30 m over the same heights, worked a second way: the
// normals at both ends are nearly the same, so the mark vector is the
// antenna vector plus (1.5 + 0.1 - 2.0) m along the base's normal, to
// within 37 m / 6.4e6 m x 2 m, about 1e-5 m.
void expectShortVectorAtMarks(const gpsVectorRec& v) {
    const double lat = 45.0 * M_PI / 180.0, lon = -75.0 * M_PI / 180.0;
    const double n[3] = {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon),
                         std::sin(lat)};
    const double shift = 1.5 + 0.1 - 2.0;
    EXPECT_NEAR(v.dX, 10 + shift * n[0], 2e-5);
    EXPECT_NEAR(v.dY, 20 + shift * n[1], 2e-5);
    EXPECT_NEAR(v.dZ, 30 + shift * n[2], 2e-5);
}

void expectMarkVector(const gpsVectorRec& v, double tolerance) {
    EXPECT_NEAR(v.dX, markVector[0], tolerance);
    EXPECT_NEAR(v.dY, markVector[1], tolerance);
    EXPECT_NEAR(v.dZ, markVector[2], tolerance);
}

class Rw5GpsVectors : public GpsTest {
protected:
    seqList<gpsVectorRec> list;
    std::vector<gpsVectorRec> listed() const { return vectorsOf(list); }
};

} // namespace

TEST_F(Rw5GpsVectors, Route10ReadsTheVectorsAtTheirMarks) {
    write("site.rw5", converterFixture("vectors.rw5"));
    projectVars.gpsFileFmtType = 10;
    ASSERT_EQ(readGpsVectorFiles(context, "site.rw5\n", 1), gpsReadDone)
        << testing::PrintToString(shell.boxTexts());
    const std::vector<gpsVectorRec> read = vectors();
    ASSERT_EQ(read.size(), 2u);
    const gpsVectorRec& first = read[0];
    EXPECT_EQ(fixedText(first.from), "BASE");
    EXPECT_EQ(fixedText(first.to), "ROV1");
    EXPECT_EQ(fixedText(first.comment), "first fix");
    expectMarkVector(first, 1e-6);
    EXPECT_DOUBLE_EQ(first.varY, 4e-6);
    EXPECT_DOUBLE_EQ(first.covXZ, -2e-7);
    EXPECT_DOUBLE_EQ(first.covYZ, 3e-7);
    expectShortVectorAtMarks(read[1]);
    EXPECT_EQ(fixedText(read[1].comment), "second fix");
    EXPECT_TRUE(shell.boxTexts().empty());
}

// The same vector in US survey feet (v = 1200/3937 m): lengths and heights
// come back in metres, the variances and covariances times v^2 once. The
// rover height follows the MO unit when there is one (here metres), else
// the file's.
TEST_F(Rw5GpsVectors, FeetAreTurnedIntoMetresOnceAndSquaredForTheWeights) {
    const double v = units::usSurveyFootMetres;
    for (const bool roverInMetres : {false, true}) {
        SCOPED_TRACE(roverInMetres);
        list.clear();
        const std::string mo = roverInMetres ? "MO,AD0,UN1\r\n" : "";
        write("feet.rw5",
              mo +
                  platform::formatC("BP,PNB,LA45.0000,LN-75.0000,EL%.9f,AG%.9f,PA%.9f\r\n", 100 / v,
                                    1.5 / v, 0.1 / v) +
                  platform::formatC("LS,HR%.9f\r\n", roverInMetres ? 2.0 : 2.0 / v) +
                  platform::formatC("GPS,PNR\r\nG1,BPB,PNR,DX%.9f,DY%.9f,DZ%.9f\r\n",
                                    antennaVector[0] / v, antennaVector[1] / v,
                                    antennaVector[2] / v) +
                  "G2,VX1e-4,VY4e-4,VZ9e-4\r\nG3,XY1e-5,XZ2e-5,YZ3e-5\r\n");
        projectVars.Rw5GPSUnits = 1;
        ASSERT_EQ(readRw5GpsVectors(context, "feet.rw5\n", 1, list), 0)
            << testing::PrintToString(shell.boxTexts());
        ASSERT_EQ(listed().size(), 1u);
        const gpsVectorRec r = listed()[0];
        expectMarkVector(r, 1e-6);
        EXPECT_DOUBLE_EQ(r.varX, 1e-4 * v * v);
        EXPECT_DOUBLE_EQ(r.varZ, 9e-4 * v * v);
        EXPECT_DOUBLE_EQ(r.covXY, 1e-5 * v * v);
        EXPECT_DOUBLE_EQ(r.covYZ, 3e-5 * v * v);
    }
}

// c = 0.002 and f = 1: var' = 2 x 0.002^2 + 2 var, cov' = 2 cov.
TEST_F(Rw5GpsVectors, VectorsAreWeightedAsEveryGpsVector) {
    projectVars.stErrGPSCentering = 0.002;
    projectVars.stErrGPSMultFactor = 1.0;
    write("site.rw5", converterFixture("vectors.rw5"));
    ASSERT_EQ(readRw5GpsVectors(context, "site.rw5\n", 1, list), 0);
    ASSERT_EQ(listed().size(), 2u);
    const gpsVectorRec r = listed()[0];
    EXPECT_DOUBLE_EQ(r.varX, 8e-6 + 2e-6);
    EXPECT_DOUBLE_EQ(r.varY, 8e-6 + 8e-6);
    EXPECT_DOUBLE_EQ(r.covXY, 2e-7);
    EXPECT_DOUBLE_EQ(r.covXZ, -4e-7);
}

// A file in US feet in a project in metres: the variances 4e-6 ft^2 (first
// vector of vectors.rw5) become metres by v^2, the centering of 0.002 m is
// added in metres, 2 x 0.002^2 = 8e-6 m^2; and in a project in US feet the
// centering of 0.002 ft adds 8e-6 v^2. Fault mended: the centering was added
// in the file's unit and then scaled with the variances.
TEST_F(Rw5GpsVectors, TheCenteringErrorIsInTheProjectsUnit) {
    const double v = units::usSurveyFootMetres;
    projectVars.stErrGPSCentering = 0.002;
    projectVars.Rw5GPSUnits = 1;
    write("site.rw5", converterFixture("vectors.rw5"));
    for (const int projectUnit : {0, 1}) {
        SCOPED_TRACE(projectUnit);
        projectVars.HorizUnits = projectUnit;
        list.clear();
        ASSERT_EQ(readRw5GpsVectors(context, "site.rw5\n", 1, list), 0);
        ASSERT_EQ(listed().size(), 2u);
        const double p = projectUnit == 0 ? 1.0 : v;
        EXPECT_NEAR(listed()[0].varY, 4e-6 * v * v + 8e-6 * p * p, 1e-20);
        EXPECT_NEAR(listed()[0].covXZ, -2e-7 * v * v, 1e-21);
    }
}

TEST_F(Rw5GpsVectors, AVectorBeforeAnyBaseOrRoverHeightGivesThreeMessages) {
    write("site.rw5", "GPS,PNR\r\nG1,BPB,PNR,DX1,DY2,DZ3\r\nG2,VX1,VY1,VZ1\r\nG3,XY0,XZ0,YZ0\r\n");
    ASSERT_EQ(readRw5GpsVectors(context, "site.rw5\n", 1, list), 0);
    EXPECT_TRUE(listed().empty());
    EXPECT_EQ(shell.boxTexts(),
              (std::vector<std::string>{
                  "Invalid base antenna height in GPS vector\nFrom Pt.: B -> To Pt.:R",
                  "Invalid base antenna phase center in GPS vector\nFrom Pt.: B -> To Pt.:R",
                  "Invalid rover antenna height in GPS vector\nFrom Pt.: B -> To Pt.:R"}));
}

TEST_F(Rw5GpsVectors, AnEmptyListAndAMissingFileAreNamed) {
    EXPECT_EQ(readRw5GpsVectors(context, "", 1, list), 1);
    EXPECT_EQ(readRw5GpsVectors(context, "none.rw5\n", 1, list), 1);
    EXPECT_EQ(shell.boxTexts(), (std::vector<std::string>{"No .RW5 file specified.",
                                                          "Error opening " + path("none.rw5") +
                                                              ": No such file or directory"}));
}

TEST_F(Rw5GpsVectors, AnEmptyNameIsToldAndTheVectorKept) {
    write("site.rw5", "BP,PNB,LA45,LN-75,EL0,AG1,PA0\r\nLS,HR1\r\nGPS\r\n"
                      "G1,BPB,PN,DX1,DY2,DZ3\r\nG2,VX1,VY1,VZ1\r\nG3,XY0,XZ0,YZ0\r\n");
    ASSERT_EQ(readRw5GpsVectors(context, "site.rw5\n", 1, list), 0);
    EXPECT_EQ(listed().size(), 1u);
    EXPECT_EQ(shell.boxTexts(), std::vector<std::string>{
                                    "Invalid Point number in GPS vector\nFrom Pt.: B -> To Pt.:"});
}

// Records each with one fault after a good start, and the line it is on.
struct Rw5Fault {
    std::string records;
    int line;
    const char* what;
};

const std::string goodStart = "BP,PNB,LA45,LN-75,EL0,AG1,PA0\r\nLS,HR1\r\nGPS,PNR\r\n";

const Rw5Fault rw5Faults[] = {
    {"G1,BPB,PNR,DX1,DY2\r\n", 4, "a component missing"},
    {"G1,BPB,PNR,DX1,DYx,DZ3\r\n", 4, "a component not a number"},
    {"G1,BPB,PNR,DY1,DX2,DZ3\r\n", 4, "components out of their order"},
    {"G2,VX1,VY1,VZ1\r\n", 4, "G2 before G1"},
    {"G1,BPB,PNR,DX1,DY2,DZ3\r\nG3,XY0,XZ0,YZ0\r\n", 5, "G3 before G2"},
    {"G1,BPB,PNR,DX1,DY2,DZ3\r\nG2,VX1,VY-1,VZ1\r\n", 5, "a negative variance"},
    {"G1,BPB,PNR,DX1,DY2,DZ3\r\nG2,VX1,VY1,VZ1\r\nG3,XY0,XZ0\r\n", 6, "a covariance missing"},
    {"G1,BPB,PNR,DX1,DY2,DZ3\r\nG2,VX1,VY1,VZ1\r\n", 4, "unfinished at the end"},
    {"G1,BPB,PNR,DX1,DY2,DZ3\r\nGPS,PNS\r\n", 5, "a new vector before the G3"},
    {"BP,PNB,LA45,LN-75,EL0,AG1\r\n", 4, "a base record without PA"},
    {"LS,HRtall\r\n", 4, "a rover height not a number"},
    {"MO,AD0,UN7\r\n", 4, "an unknown unit code"},
};

TEST_F(Rw5GpsVectors, FaultsNameTheirLine) {
    for (const Rw5Fault& c : rw5Faults) {
        SCOPED_TRACE(c.what);
        shell.boxes.clear();
        write("bad.rw5", goodStart + c.records);
        EXPECT_EQ(readRw5GpsVectors(context, "bad.rw5\n", 1, list), 1);
        ASSERT_EQ(shell.boxTexts().size(), 1u);
        const std::string where = path("bad.rw5") + ", line " + std::to_string(c.line) + ": ";
        EXPECT_EQ(shell.boxTexts()[0].rfind(where, 0), 0u)
            << testing::PrintToString(shell.boxTexts());
    }
}

// A damaged number is named with its field and quoted whole, as every .RW5
// refusal is: "a G1 record needs BP, PN, DX, DY and DZ" sent the user
// looking for a token that was there. A damaged code is refused as the raw
// reader refuses it.
TEST_F(Rw5GpsVectors, ADamagedNumberIsNamedAndQuoted) {
    const std::string g1 = "G1,BPB,PNR,DX1,DY2,DZ3\r\n";
    const std::string g2 = "G2,VX1,VY1,VZ1\r\n";
    const std::string unknownCode =
        " is no record type this program knows, so the file may be damaged; a record of a type "
        "it does not read can be taken out of the file.";
    const struct {
        std::string records;
        int line;
        std::string sentence;
    } rows[] = {
        {"G1,BPB,PNR,DX1,DY2.x,DZ3\r\n", 4, "The dY \"DY2.x\" is not a number."},
        {"G1,BPB,PNR,DX1,DY2,DZ 3\t1\r\n", 4, "The dZ \"DZ 3<TAB>1\" is not a number."},
        {g1 + "G2,VX1,VY1 5,VZ1\r\n", 5, "The variance VY \"VY1 5\" is not a number."},
        {g1 + g2 + "G3,XY0,XZ0#,YZ0\r\n", 6, "The covariance XZ \"XZ0#\" is not a number."},
        {"LS,HRtall\r\n", 4, "The rover height \"HRtall\" is not a number."},
        // A damaged code was passed over: "QS" lost the rover height, so the
        // vector took the one before; "G4" the variances of its vector.
        {"QS,HR1.800\r\n", 4, "The record code \"QS\"" + unknownCode},
        {g1 + "G4,VX1,VY1,VZ1\r\n", 5, "The record code \"G4\"" + unknownCode},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.sentence);
        shell.boxes.clear();
        write("bad.rw5", goodStart + row.records);
        EXPECT_EQ(readRw5GpsVectors(context, "bad.rw5\n", 1, list), 1);
        EXPECT_EQ(shell.boxTexts(),
                  std::vector<std::string>{path("bad.rw5") + ", line " + std::to_string(row.line) +
                                           ": " + row.sentence});
    }
}

// The converted file holds the vectors in metres and without the weighting,
// so a project reading it weighs them once.
TEST_F(Rw5GpsVectors, ConvertedVectorsReadBackUnweighted) {
    projectVars.stErrGPSMultFactor = 1.0;
    write("site.rw5", converterFixture("vectors.rw5"));
    ASSERT_EQ(convertRw5VectorsToGps(context, "site.rw5\n", path("site.GPS")), 0)
        << testing::PrintToString(shell.boxTexts());
    projectVars.stErrGPSMultFactor = 0.0;
    ASSERT_EQ(readGpsFiles(context, "site.GPS\n", 1), gpsReadDone);
    ASSERT_EQ(vectors().size(), 2u);
    expectVector(vectors()[0], {"BASE",
                                "ROV1",
                                {markVector[0], markVector[1], markVector[2]},
                                {1e-6, 4e-6, 9e-6},
                                {1e-7, -2e-7, 3e-7}});
    EXPECT_EQ(fixedText(vectors()[0].comment), "first fix");
    expectShortVectorAtMarks(vectors()[1]);
}

TEST_F(Rw5GpsVectors, ANameTheGpsFileCannotCarryIsNamedWithItsLine) {
    write("site.rw5",
          goodStart + "G1,BPB,PNR-1,DX1,DY2,DZ3\r\nG2,VX1,VY1,VZ1\r\nG3,XY0,XZ0,YZ0\r\n");
    EXPECT_EQ(convertRw5VectorsToGps(context, "site.rw5\n", path("site.GPS")), 1);
    EXPECT_EQ(shell.boxTexts(),
              std::vector<std::string>{path("site.rw5") +
                                       ", line 4: point name R-1 holds a '-', a blank or a comma"});
    EXPECT_FALSE(std::filesystem::exists(folder / "site.GPS"));
}
