#include "reports/edm_calibration_report.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testsupport::TempFolder;

std::vector<CALIBRATE_RAWREC> header() {
    std::vector<CALIBRATE_RAWREC> records(7);
    for (int kind = 0; kind < 7; ++kind)
        records[kind].kind = kind;
    records[0].text = "EDM one";
    records[1].text = "12/03/2026";
    records[1].time = "10:15";
    records[2].text = "Prism";
    records[3].text = "Sunny";
    records[4].text = "Check";
    records[6].edmConstant = 0.012;
    records[6].reflectorConstant = -0.03;
    return records;
}

CALIBRATE_RAWREC observation(const char* from, const char* to, double slope, double published) {
    CALIBRATE_RAWREC r;
    r.kind = edmObservation;
    r.fromStation = from;
    r.toStation = to;
    r.fromElevation = r.toElevation = 100.0;
    r.instrumentHeight = r.reflectorHeight = 1.5;
    r.dryTemp_C = 20.0;
    r.pressure_mmHg = 760.0;
    r.slopeDistance = slope;
    r.publishedDistance = published;
    return r;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(EdmCalibrationReport, HeaderAndObservationLines) {
    auto records = header();
    records.push_back(observation("PILLAR-NUMBER-1", "B", 150.0304, 150.0));
    EdmCalibrationResults results;
    const std::string report = edmCalibrationReport(records, results);
    EXPECT_EQ(report.rfind("\r\nEDM Calibration Report\r\n\r\n        Observed Data\r\n\r\n"
                           "EDM Type: EDM one\r\nDate: 12/03/2026  Time: 10:15\r\n"
                           "Prism description: Prism\r\nWeather description: Sunny\r\n"
                           "Comment: Check\r\nAtmosphere Correction: OFF\r\n"
                           "Constants: Reflector: -0.030   EDM: 0.012\r\n\r\n",
                           0),
              0u);
    EXPECT_TRUE(contains(report, "\r\n PILLAR-NUM  100.000  1.500    B           100.000  1.500"
                                 "   20.0  760.0      150.0304   150.0000\r\n"));
    records[5].applyCorrection = 1;
    records[5].refractionIndex = 1.000283;
    records[5].wavelength_um = 0.86;
    EXPECT_TRUE(contains(edmCalibrationReport(records, results),
                         "Atmosphere Correction: ON Refraction Index: 1.000283 Wavelength: "
                         "0.860000\r\n"));
}

// The scale error is dimensionless; its label says parts per million, so a
// slope of 0.000005 prints as 5 ppm, its standard error likewise.
TEST(EdmCalibrationReport, ScaleErrorInPartsPerMillion) {
    EdmCalibrationResults r;
    r.scaleError = 0.000005;
    r.scaleStdError = 0.0000012;
    r.constantError = 0.0031;
    r.degreesOfFreedom = 5;
    r.criticalT = 4.032;
    const std::string report = edmCalibrationReport(header(), r);
    EXPECT_TRUE(contains(report, "\r\n   Scale Error (ppm): 5.00000000\r\n"));
    EXPECT_TRUE(contains(report, "\r\n   Scale Standard Error: 1.20000000\r\n"));
    EXPECT_TRUE(contains(report, "   Constant Error: 0.0031\r\n"));
    EXPECT_TRUE(contains(report, "\r\n   Degrees of Freedom: 5\r\n"));
    EXPECT_TRUE(
        contains(report, "   Critical t-Value at the 1 percent confidence level: 4.0320\r\n"));
}

// |t| above the critical value rejects; equal to it does not.
TEST(EdmCalibrationReport, DecisionsAtTheCriticalValue) {
    struct Case {
        double scaleT, constantT;
        bool rejectScale, rejectConstant;
    };
    for (const Case c : {Case{4.032, -4.032, false, false}, Case{-4.0321, 4.0321, true, true},
                         Case{1.0, 10.0, false, true}}) {
        SCOPED_TRACE(c.scaleT);
        EdmCalibrationResults r;
        r.scaleT = c.scaleT;
        r.constantT = c.constantT;
        r.criticalT = 4.032;
        const std::string report = edmCalibrationReport({}, r);
        EXPECT_EQ(contains(report, "\r\n   Reject the H0 for the scale error. (The scale factor "
                                   "is not 0.0)\r\n"),
                  c.rejectScale);
        EXPECT_EQ(contains(report, "   Cannot reject the H0 for the scale error. (The scale "
                                   "factor is 0.0)\r\n"),
                  !c.rejectScale);
        EXPECT_EQ(contains(report, "\r\n   Reject the H0 for the constant error. (The constant "
                                   "is not 0.0)\r\n"),
                  c.rejectConstant);
        EXPECT_EQ(contains(report, "   Cannot reject the H0 for the constant error. (The "
                                   "constant is 0.0)\r\n"),
                  !c.rejectConstant);
    }
}

TEST(EdmCalibrate, ComputeReadWriteAndReport) {
    TempFolder folder("edm-calibrate");
    cEdmCalibrate edm;
    EXPECT_EQ(edm.computeCalibration(), 1);
    EXPECT_TRUE(edm.report.empty());
    edm.records = header();
    for (const auto& [p, slope] : std::vector<std::pair<double, double>>{
             {100.0, 100.0215}, {300.0, 300.0230}, {600.0, 600.0242}, {900.0, 900.0281}})
        edm.records.push_back(observation("A", "B", slope, p));
    ASSERT_EQ(edm.computeCalibration(), 0) << edm.error;
    EXPECT_EQ(edm.lines.size(), 4u);
    EXPECT_EQ(edm.report, edmCalibrationReport(edm.records, edm.results));
    // A refused computation keeps the report of the last one.
    const std::string kept = edm.report;
    edm.records.resize(8);
    EXPECT_EQ(edm.computeCalibration(), 1);
    EXPECT_FALSE(edm.error.empty());
    EXPECT_EQ(edm.report, kept);

    ASSERT_EQ(edm.writeReportFile(folder / "report.txt"), 0);
    EXPECT_EQ(testsupport::readBytes(folder / "report.txt"), kept);
    EXPECT_EQ(edm.writeReportFile(folder / "none" / "report.txt"), 1);

    ASSERT_EQ(edm.writeEdmFile(folder / "cal.edm"), 0);
    cEdmCalibrate other;
    ASSERT_EQ(other.readEdmFile(folder / "cal.edm"), 0);
    EXPECT_EQ(other.records, edm.records);
    EXPECT_EQ(other.recordCount, 8);
    EXPECT_EQ(other.observationCount, 1);
    EXPECT_EQ(other.readEdmFile(folder / "missing.edm"), 1);
    EXPECT_EQ(other.records.size(), 8u);
}
