#include "gps_test_support.hpp"
#include "input/gps_control_points.hpp"
#include "input/gps_vector_file.hpp"
#include "input/gps_vector_reader.hpp"

#include <gtest/gtest.h>

#include <cmath>

using gpstest::GpsTest;

namespace {

gpsVectorRec vectorOf(const char* from, const char* to, double dX, double dY, double dZ,
                      const char* comment) {
    gpsVectorRec v;
    setPointName(v.from, from);
    setPointName(v.to, to);
    setFixedText(v.comment, comment);
    v.dX = dX;
    v.dY = dY;
    v.dZ = dZ;
    return v;
}

void setWeights(gpsVectorRec& v, double varX, double varY, double varZ, double covXY, double covXZ,
                double covYZ) {
    v.varX = varX;
    v.varY = varY;
    v.varZ = varZ;
    v.covXY = covXY;
    v.covXZ = covXZ;
    v.covYZ = covYZ;
}

ptGPSXYZCntrl controlOf(const char* name, double X, double Y, double Z, double sX, double sY,
                        double sZ, const char* description) {
    ptGPSXYZCntrl p;
    setPointName(p.name, name);
    setFixedText(p.description, description);
    p.X = X;
    p.Y = Y;
    p.Z = Z;
    p.sX = sX;
    p.sY = sY;
    p.sZ = sZ;
    return p;
}

// |a - b| within half a unit of the last printed digit of "%14.6e".
void expectSameToSixDecimalsOfMantissa(double read, double written) {
    EXPECT_NEAR(read, written, std::abs(written) * 5e-7 + 1e-300);
}

} // namespace

// The forms of the three vector lines, widths counted by hand.
TEST(GpsVectorWriter, LinesAsFormatted) {
    seqList<gpsVectorRec> list;
    gpsVectorRec v = vectorOf("A", "B", 1234.5, -0.25, 3.0, "s1");
    setWeights(v, 1e-4, 2.5e-5, 0.0009, 1e-6, -2e-6, 0.0);
    list.append(v);
    list.append(vectorOf("B", "C", 0, 0, 0, ""));
    std::string text;
    EXPECT_EQ(writeGpsVectorRecords(text, list), 0);
    EXPECT_EQ(text, "G1  A-B    1234.50000000      -0.25000000       3.00000000 --s1\r\n"
                    "G2    1.000000e-04   2.500000e-05   9.000000e-04\r\n"
                    "G3    1.000000e-06  -2.000000e-06   0.000000e+00\r\n"
                    "G1  B-C       0.00000000       0.00000000       0.00000000\r\n"
                    // unset weights: -999999999 = -9.99999999e8 rounds up in the mantissa
                    "G2   -1.000000e+09  -1.000000e+09  -1.000000e+09\r\n"
                    "G3   -1.000000e+09  -1.000000e+09  -1.000000e+09\r\n");
}

// The description of a control point is written after its standard errors,
// so that reading the line back keeps it.
TEST(GpsVectorWriter, CLineWriterKeepsTheDescription) {
    resetProgramLists();
    gpsXyzControlArray = {
        controlOf("P1", 1234567.123456, -4363724.5, 4487417.0, 0.01, -2.0, 0.005, "iron pin"),
        controlOf("P2", 1, 2, 3, 0.1, 0.1, 0.1, "")};
    std::string text;
    EXPECT_EQ(writeGpsControlLines(text), 0);
    EXPECT_EQ(text, "C P1 1234567.123456 -4363724.500000 4487417.000000 1.000000e-02 "
                    "-2.000000e+00 5.000000e-03 iron pin\r\n"
                    "C P2 1.000000 2.000000 3.000000 1.000000e-01 1.000000e-01 1.000000e-01 \r\n");
    resetProgramLists();
}

using GpsRoundTrip = GpsTest;

// What the writers write, the readers read back to the printed precision.
TEST_F(GpsRoundTrip, VectorsComeBackToThePrintedPrecision) {
    seqList<gpsVectorRec> written;
    gpsVectorRec a = vectorOf("BASE_01", "ROVER_7", -1234.567891234, 98765.4321, 0.000012345,
                              "session 3, day 112");
    setWeights(a, 1.234567e-5, 2.5e-6, 3.0e-4, -1.111111e-7, 2.2e-8, -3.3e-9);
    gpsVectorRec b = vectorOf("ABCDEFGHIJ", "K", 0.5, -0.5, 1e-8, "");
    setWeights(b, 1.0, 2.0, 3.0, 0.0, 0.0, 0.0);
    written.append(a);
    written.append(b);
    std::string text = ".GPS WEIGHT COVARIANCE\r\n";
    writeGpsVectorRecords(text, written);
    write("round.gps", text);

    ASSERT_EQ(readGpsVectorFiles(context, "round.gps\n", 1), gpsReadDone);
    const std::vector<gpsVectorRec> read = vectors();
    ASSERT_EQ(read.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        gpsVectorRec w;
        written.getAt(i, w);
        const gpsVectorRec& r = read[i];
        EXPECT_EQ(fixedText(r.from), fixedText(w.from));
        EXPECT_EQ(fixedText(r.to), fixedText(w.to));
        EXPECT_EQ(fixedText(r.comment), fixedText(w.comment));
        EXPECT_NEAR(r.dX, w.dX, 5e-9);
        EXPECT_NEAR(r.dY, w.dY, 5e-9);
        EXPECT_NEAR(r.dZ, w.dZ, 5e-9);
        expectSameToSixDecimalsOfMantissa(r.varX, w.varX);
        expectSameToSixDecimalsOfMantissa(r.varY, w.varY);
        expectSameToSixDecimalsOfMantissa(r.varZ, w.varZ);
        expectSameToSixDecimalsOfMantissa(r.covXY, w.covXY);
        expectSameToSixDecimalsOfMantissa(r.covXZ, w.covXZ);
        expectSameToSixDecimalsOfMantissa(r.covYZ, w.covYZ);
    }
}

TEST_F(GpsRoundTrip, ControlPointsComeBackWithTheirDescriptions) {
    const std::vector<ptGPSXYZCntrl> written = {
        controlOf("P1", 1169256.565887, -4363724.910974, 4487417.988062, 0.01, 0.02, 0.03,
                  "iron pin, set 1998"),
        controlOf("P2", -4649387.871770, 2556022.612354, -3528054.587160, -1.0, -2.0, 0.5,
                  std::string(100, 'd').c_str()),
        controlOf("P3", 1, 2, 3, 0.1, 0.1, 0.1, "")};
    gpsXyzControlArray = written;
    std::string text;
    writeGpsControlLines(text);
    write("control.gps", text);

    gpsXyzControlArray.clear();
    ASSERT_EQ(readGpsControlLines(context, "control.gps\n"), gpsControlDone);
    ASSERT_EQ(gpsXyzControlArray.size(), written.size());
    for (std::size_t i = 0; i < written.size(); ++i) {
        SCOPED_TRACE(i);
        const ptGPSXYZCntrl& r = gpsXyzControlArray[i];
        const ptGPSXYZCntrl& w = written[i];
        EXPECT_EQ(fixedText(r.name), fixedText(w.name));
        EXPECT_EQ(fixedText(r.description), fixedText(w.description));
        EXPECT_NEAR(r.X, w.X, 5e-7);
        EXPECT_NEAR(r.Y, w.Y, 5e-7);
        EXPECT_NEAR(r.Z, w.Z, 5e-7);
        expectSameToSixDecimalsOfMantissa(r.sX, w.sX);
        expectSameToSixDecimalsOfMantissa(r.sY, w.sY);
        expectSameToSixDecimalsOfMantissa(r.sZ, w.sZ);
    }
}
