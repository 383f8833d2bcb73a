// The error-ellipse listing and the .EEL file of the horizontal adjustment.

#include "model/program_lists.hpp"
#include "output/report_lines.hpp"
#include "reports/error_ellipse_file.hpp"
#include "reports/report_files.hpp"
#include "support/angles.hpp"
#include "support/comma_locale.hpp"
#include "support/project_vars_guard.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

namespace {

std::string sp(int n) {
    return std::string(static_cast<std::size_t>(n), ' ');
}

errEllipseRec ellipse(const char* name, double major, double minor, double orientation) {
    errEllipseRec e;
    std::snprintf(e.name, sizeof e.name, "%s", name);
    e.semiMajor = major;
    e.semiMinor = minor;
    e.orientation = orientation;
    return e;
}

coordRec point(const char* name, int type, double e, double n) {
    coordRec p;
    setPointName(p.name, name);
    p.pointType = type;
    p.easting = e;
    p.northing = n;
    return p;
}

class EllipseFile : public ::testing::Test {
protected:
    void SetUp() override {
        projectVars.projectFileName = (folder / "net1.prj").string();
        projectVars.tmpDir = (folder / "tmp").string() + "/";
        std::filesystem::create_directories(folder / "tmp");
        projectVars.coordPrec = 3;
        projectVars.directionPrec = 1;
        projectVars.directionType = 1;
        projectVars.confidenceInterval = 95.0;
        projectVars.HorizUnits = 1;
        resetProgramLists();
        pointList2D.append(point("C", ptUnknown, 1290.123456, 1310.5));
        pointList2D.append(point("S", ptSideshot, 1100, 1200));
        pointList2D.append(point("X", ptCarried, 1111, 1222));
        pointList2D.append(point("W", ptWeightedControl, 2000, 2100));
        fixedPointList2D.append(point("A", ptFixed, 1000, 1000));
        fixedPointList2D.append(point("Z", ptAzimuthDummy, 900, 900));
        distanceObs2D d;
        setPointName(d.from, "A");
        setPointName(d.to, "C");
        distanceList2D.append(d);
        angleObs2D a;
        setPointName(a.backsight, "A");
        setPointName(a.instrument, "C");
        setPointName(a.foresight, "W");
        angleList2D.append(a);
        azimuthObs z;
        setPointName(z.from, "A");
        setPointName(z.to, "C");
        azimuthList2D.append(z);
    }

    // 0.5 rad = 28 deg 38' 52.40" -> 28.3852; 2.0 rad = 114 deg 35' 29.61" ->
    // 114.3530 (whole seconds, "%-8.4f", blanks stripped).
    const std::vector<errEllipseRec> ellipses = {ellipse("C", 0.0123, 0.0046, 0.5),
                                                 ellipse("W", 0.02, 0.01, 2.0)};

    std::string wantedFile() const {
        return "H1,HUUSFEET,CI95,PR" + projectVars.projectFileName + "\r\n" +
               "EE,PNC,N 1310.500,E 1290.123,MA0.012,MI0.005,AZ28.3852\r\n"
               "EE,PNW,N 2100.000,E 2000.000,MA0.020,MI0.010,AZ114.3530\r\n"
               "EE,PNA,N 1000.000,E 1000.000,MA0.0,MI0.0,AZ0.0\r\n"
               "EE,PNZ,N 900.000,E 900.000,MA0.0,MI0.0,AZ0.0\r\n"
               "EE,PNS,N 1200.000,E 1100.000,MA0.0,MI0.0,AZ0.0\r\n"
               "ND,T,PFA,PTC\r\n"
               "NA,T,PBA,PIC,PTW\r\n"
               "NZ,T,PIA,PTC\r\n";
    }

    testsupport::ProjectVarsGuard guard;
    testsupport::TempFolder folder{"ellipse-file"};
};

} // namespace

TEST_F(EllipseFile, ListsTheEllipsesInTheReport) {
    openRptFile(startNewFile);
    EXPECT_EQ(writeRptErrorEllipses(rptFile, ellipses), 0);
    closeRptFile();
    // " %-10.10s          %s         %s          %s": "%7.3f" axes, the
    // direction padded to 15.
    const std::string want =
        "\r\n\r\nAdjusted Coordinates Error Ellipses, 95% CI\r\n"
        " Sta.               Semi Major     Semi Minor      Max. Error Az.\r\n"
        "                       Axis           Axis\r\n" +
        (" C" + sp(21) + "0.012" + sp(11) + "0.005" + sp(11) + "028-38'52.4\"  \r\n") +
        (" W" + sp(21) + "0.020" + sp(11) + "0.010" + sp(11) + "114-35'29.6\"  \r\n");
    EXPECT_EQ(testsupport::readBytes(folder / "net1.RPT"), want);
}

TEST_F(EllipseFile, WritesTheProjectFileAndItsTemporaryCopy) {
    writeEelFile(ellipses, (folder / "tmp").string() + "/");
    EXPECT_EQ(testsupport::readBytes(folder / "net1.EEL"), wantedFile());
    EXPECT_EQ(testsupport::readBytes(folder / "tmp" / "TARNWELL.EEL"), wantedFile());
}

TEST_F(EllipseFile, OnlyFixedPointsGiveZeroEllipses) {
    pointList2D.clear();
    distanceList2D.clear();
    angleList2D.clear();
    azimuthList2D.clear();
    projectVars.HorizUnits = 0;
    EXPECT_EQ(eelFileText({}), "H1,HUMETERS,CI95,PR" + projectVars.projectFileName +
                                   "\r\n"
                                   "EE,PNA,N 1000.000,E 1000.000,MA0.0,MI0.0,AZ0.0\r\n"
                                   "EE,PNZ,N 900.000,E 900.000,MA0.0,MI0.0,AZ0.0\r\n");
}

// Fault mended: when the temporary copy could not be created the project's
// .EEL was left empty.
TEST_F(EllipseFile, ProjectFileIsWrittenWhenTheTemporaryCopyCannotBe) {
    testsupport::writeBytes(folder / "blocked", "a file, not a folder");
    writeEelFile(ellipses, (folder / "blocked").string() + "/");
    EXPECT_EQ(testsupport::readBytes(folder / "net1.EEL"), wantedFile());
}

TEST_F(EllipseFile, TextDoesNotFollowTheLocale) {
    const std::string plain = eelFileText(ellipses);
    testsupport::CommaLocale comma;
    TARNWELL_REQUIRE_COMMA(comma);
    EXPECT_EQ(eelFileText(ellipses), plain);
}
