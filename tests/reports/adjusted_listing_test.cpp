// The adjusted-observation listing of the horizontal adjustment: golden lines
// composed by hand from the formats (each field's width noted below).

#include "model/program_lists.hpp"
#include "output/report_lines.hpp"
#include "reports/adjusted_listing_2d.hpp"
#include "reports/report_files.hpp"
#include "support/angles.hpp"
#include "support/project_vars_guard.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::string sp(int n) {
    return std::string(static_cast<std::size_t>(n), ' ');
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

class AdjustedObservations : public ::testing::Test {
protected:
    void SetUp() override {
        projectVars.projectFileName = (folder / "net1.prj").string();
        projectVars.distPrec = 3;
        projectVars.coordPrec = 3;
        projectVars.directionPrec = 1;
        projectVars.angleType = 0;
        projectVars.directionType = 1;
        resetProgramLists();
        addDistance("A", "B", 100.0, 0.005, 0);
        addDistance("B", "C", 50.0, 0.010, obsNotAdjusted);
        addDistance("C", "D", 80.0, 0.005, 0);
        angleObs2D a;
        setPointName(a.backsight, "B");
        setPointName(a.instrument, "A");
        setPointName(a.foresight, "C");
        a.angle = testsupport::pi / 2;
        a.stdErr = 3.0;
        angleList2D.append(a);
        azimuthObs z;
        setPointName(z.from, "A");
        setPointName(z.to, "B");
        z.azimuth = testsupport::pi / 4;
        z.stdErr = 2.0;
        azimuthList2D.append(z);
        coordRec w;
        setPointName(w.name, "W");
        w.pointType = ptWeightedControl;
        pointList2D.append(w);
        controlPointList2D.append(w);
        openRptFile(startNewFile);
    }
    void TearDown() override { closeRptFile(); }

    static void addDistance(const char* from, const char* to, double distance, double sigma,
                            int status) {
        distanceObs2D d;
        setPointName(d.from, from);
        setPointName(d.to, to);
        d.distance = distance;
        d.stdErrDist = sigma;
        d.status = status;
        distanceList2D.append(d);
    }

    std::vector<std::string> listing(int mark) {
        // Entries: A-B, C-D (B-C is skipped), the angle, the azimuth, and the
        // two rows of the weighted control point W.
        const std::vector<double> v = {0.0100, -0.01005, -1.5, 4.6, 0.001, -0.002};
        const std::vector<double> sigma = {0.004, 0.0031, 1.2, 0.8, 0.001, 0.001};
        EXPECT_EQ(writeRptAdjustedObs(rptFile, v, sigma, mark), 0);
        closeRptFile();
        return linesOf(testsupport::readBytes(folder / "net1.RPT"));
    }

    testsupport::ProjectVarsGuard guard;
    testsupport::TempFolder folder{"adjusted-listing"};
};

} // namespace

// Distances: " %-10.10s    %-10.10s %s   %s      %s  %s" with "%9.3f", "% 7.3f",
// flag + "%7.3f", "%7.3f". A-B: 0.010 / 0.005 is exactly 2, no flag; C-D:
// 0.01005 / 0.005 = 2.01, flagged, and marked. RMS sqrt((0.01^2 +
// 0.01005^2) / 2) = 0.010025. Angle 90 deg - 1.5" = 089-59'58.5", the
// seconds fields a sign and "% 7.1f" padded to 9; RMS 1.5. Azimuth 45 deg +
// 4.6", standardized 4.6 / 2 = 2.3, flagged; RMS 4.6.
TEST_F(AdjustedObservations, ListsEveryKindWithResidualsFlagsAndRms) {
    const std::vector<std::string> want = {
        "",
        "Adjusted Observations",
        std::string(21, '='),
        "",
        "Adjusted Distances",
        " From Sta.  To Sta.        Distance      Residual     StdRes.   StdDev",
        " A" + sp(13) + "B" + sp(12) + "100.010" + sp(5) + "0.010" + sp(9) + "2.000" + sp(4) +
            "0.004",
        " C" + sp(13) + "D" + sp(13) + "79.990" + sp(4) + "-0.010" + sp(6) + "*" + sp(2) + "2.010" +
            sp(4) + "0.003 **",
        sp(12) + "Root Mean Square (RMS)" + sp(6) + "0.010",
        "",
        "Adjusted Angles",
        " BS Sta.  Occ. Sta.   FS Sta.                 Angle          Residual      StdRes    "
        "StdDev(Sec.)",
        " B" + sp(12) + "A" + sp(13) + "C" + sp(12) + " 089-59'58.5\"" + sp(4) + "-    1.5" +
            sp(13) + "0.5" + sp(10) + "1.2  ",
        sp(31) + "Root Mean Square (RMS)" + sp(10) + "1.5  ",
        "",
        "Adjusted Azimuths",
        " Occ. Sta.  FS Sta.      Azimuth           Residual    StdRes   StdDev(Sec.)",
        " A" + sp(11) + "B" + sp(10) + " 045-00'04.6\"" + sp(10) + "4.6" + sp(6) + "*" + sp(5) +
            "2.3" + sp(11) + "0.8  ",
        sp(16) + "Root Mean Square (RMS)" + sp(9) + "4.6  ",
    };
    EXPECT_EQ(listing(1), want);
}

TEST_F(AdjustedObservations, AKindWithoutListedObservationsHasNoRmsLine) {
    distanceList2D.clear();
    addDistance("B", "C", 50.0, 0.010, obsNotAdjusted);
    const std::vector<double> v = {-1.5, 4.6, 0.0, 0.0};
    const std::vector<double> sigma = {1.2, 0.8, 0.0, 0.0};
    EXPECT_EQ(writeRptAdjustedObs(rptFile, v, sigma, -1), 0);
    closeRptFile();
    const std::vector<std::string> lines = linesOf(testsupport::readBytes(folder / "net1.RPT"));
    ASSERT_GE(lines.size(), 9u);
    EXPECT_EQ(lines[4], "Adjusted Distances");
    EXPECT_EQ(lines[6], "");
    EXPECT_EQ(lines[7], "Adjusted Angles");
}

// Fault mended: the standardized residual |v| / sigma has no unit, but in a
// grads project it went through the seconds-to-grads conversion
// (0.5 x 200 / 648000 = 0.00015). It prints as the number it is.
TEST_F(AdjustedObservations, StandardizedAngleResidualIsAPlainNumberInGrads) {
    projectVars.angleType = 1;
    const std::vector<std::string> lines = listing(-1);
    ASSERT_GE(lines.size(), 13u);
    EXPECT_EQ(lines[11], " BS Sta.  Occ. Sta.   FS Sta.                 Angle          Residual   "
                         "   StdRes    StdDev(Grad)");
    // Residual -1.5" = -0.00046 grad ("%9.5f"), standardized 0.5, sigma
    // 1.2" = 0.00037 grad.
    EXPECT_NE(lines[12].find("  -0.00046" + sp(5) + sp(6) + "0.5  " + sp(3) + "  0.00037"),
              std::string::npos)
        << lines[12];
}

// " %-10.10s  %s  %s    %s    %s": coordinates "%12.3f", standard
// deviations "%7.3f", in the order of NEDisplayType; the sideshot consumes
// nothing and is not listed.
TEST_F(AdjustedObservations, AdjustedCoordinatesInTheDisplayOrderStoreTheirSigmas) {
    pointList2D.clear();
    coordRec c;
    setPointName(c.name, "C");
    c.easting = 1290.123456;
    c.northing = 1310.5;
    pointList2D.append(c);
    coordRec s = c;
    setPointName(s.name, "S");
    s.pointType = ptSideshot;
    pointList2D.append(s);
    coordRec w = c;
    setPointName(w.name, "W");
    w.pointType = ptWeightedControl;
    w.easting = 2000.0;
    w.northing = 2100.0;
    pointList2D.append(w);
    const std::vector<double> sigmas = {0.0012, 0.0034, 0.0056, 0.0078};
    struct Row {
        int display;
        std::vector<std::string> tail;
    };
    const Row rows[] = {
        {0,
         {" Sta.            N:            E:           StErr N:   StErr E:",
          " C" + sp(15) + "1310.500" + sp(6) + "1290.123" + sp(6) + "0.003" + sp(6) + "0.001",
          " W" + sp(15) + "2100.000" + sp(6) + "2000.000" + sp(6) + "0.008" + sp(6) + "0.006"}},
        {1,
         {" Sta.            E:            N:           StErr E:   StErr N:",
          " C" + sp(15) + "1290.123" + sp(6) + "1310.500" + sp(6) + "0.001" + sp(6) + "0.003",
          " W" + sp(15) + "2000.000" + sp(6) + "2100.000" + sp(6) + "0.006" + sp(6) + "0.008"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.display);
        projectVars.NEDisplayType = row.display;
        openRptFile(startNewFile);
        EXPECT_EQ(writeRptAdjustedCoords(rptFile, sigmas), 0);
        closeRptFile();
        std::vector<std::string> want = {
            "", "", "Adjusted Coordinates", std::string(20, '='), "", "Adjusted Local Coordinates"};
        want.insert(want.end(), row.tail.begin(), row.tail.end());
        EXPECT_EQ(linesOf(testsupport::readBytes(folder / "net1.RPT")), want);
    }
    coordRec stored;
    pointList2D.getAt(0, stored);
    EXPECT_EQ(stored.stdErrE, 0.0012);
    EXPECT_EQ(stored.stdErrN, 0.0034);
    pointList2D.getAt(1, stored);
    EXPECT_EQ(stored.stdErrE, 0.0);
}
