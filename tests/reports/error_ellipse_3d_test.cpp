// The error-ellipse listing and the .EEL file of the 3D adjustment: metres
// shown in the project's unit, the elevation column, the NG records.

#include "model/program_lists.hpp"
#include "output/report_lines.hpp"
#include "platform/shell_services.hpp"
#include "reports/error_ellipse_file.hpp"
#include "reports/report_files.hpp"
#include "support/project_vars_guard.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>

namespace {

constexpr double usFeet = 3.2808333333333333;

std::string fmt(const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

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

stationRec station(const char* name, int type, double e, double n, double sigmaZ = 0.0) {
    stationRec s;
    setPointName(s.name, name);
    s.pointType = type;
    s.easting = e;
    s.northing = n;
    s.stdErrZ = sigmaZ;
    return s;
}

class EllipseFile3D : public ::testing::Test {
protected:
    void SetUp() override {
        projectVars.projectFileName = (folder / "net3.prj").string();
        std::filesystem::create_directories(folder / "tmp");
        projectVars.geodeticModel = 1;
        projectVars.coordPrec = 3;
        projectVars.directionPrec = 1;
        projectVars.directionType = 1;
        projectVars.angleType = 0;
        projectVars.confidenceInterval = 95.0;
        projectVars.HorizUnits = 1;
        resetProgramLists();
        stationList.append(station("C", ptUnknown, 1290.123456, 1310.5, 0.004));
        stationList.append(station("S", ptSideshot, 1100, 1200));
        stationList.append(station("X", ptCarried, 1111, 1222));
        stationList.append(station("W", ptWeightedControl, 2000, 2100, 0.010));
        fixedStationList.append(station("A", ptFixed, 1000, 1000));
        fixedStationList.append(station("Z", ptAzimuthDummy, 900, 900));
        distanceObs d;
        setPointName(d.from, "A");
        setPointName(d.to, "C");
        distanceList.append(d);
        angleObs a;
        setPointName(a.backsight, "A");
        setPointName(a.instrument, "C");
        setPointName(a.foresight, "W");
        angleList.append(a);
        azimuthObs z;
        setPointName(z.from, "A");
        setPointName(z.to, "C");
        azimuthList.append(z);
        for (const auto& [from, to] : {std::pair{"A", "C"}, std::pair{"C", "W"}}) {
            gpsVectorRec g;
            setPointName(g.from, from);
            setPointName(g.to, to);
            gpsVectorList.append(g);
        }
    }

    // 0.5 rad = 28 deg 38' 52.40" -> 28.3852; 2.0 rad = 114 deg 35' 29.61" ->
    // 114.3530. W's semi-minor axis arrives negative: written as its size.
    const std::vector<errEllipseRec> ellipses = {ellipse("C", 0.0123, 0.0046, 0.5),
                                                 ellipse("W", 0.02, -0.01, 2.0)};

    static std::string ne(double n, double e) {
        return fmt("N %.3f,E %.3f", n * usFeet, e * usFeet);
    }

    std::string wantedFile() const {
        return "H1,HUUSFEET,CI95,PR" + projectVars.projectFileName + "\r\n" + "EE,PNC," +
               ne(1310.5, 1290.123456) + fmt(",MA%.3f,MI%.3f,AZ28.3852\r\n", 0.0123 * usFeet,
                                             0.0046 * usFeet) +
               "EE,PNW," + ne(2100, 2000) +
               fmt(",MA%.3f,MI%.3f,AZ114.3530\r\n", 0.02 * usFeet, 0.01 * usFeet) + "EE,PNA," +
               ne(1000, 1000) + ",MA0.0,MI0.0,AZ0.0\r\n" + "EE,PNZ," + ne(900, 900) +
               ",MA0.0,MI0.0,AZ0.0\r\n" + "EE,PNS," + ne(1200, 1100) +
               ",MA0.0,MI0.0,AZ0.0\r\n"
               "ND,T,PFA,PTC\r\n"
               "NA,T,PBA,PIC,PTW\r\n"
               "NZ,T,PIA,PTC\r\n"
               "NG,PFA,PTC\r\n"
               "NG,PFC,PTW\r\n";
    }

    testsupport::ProjectVarsGuard guard;
    testsupport::TempFolder folder{"ellipse-file-3d"};
};

} // namespace

TEST_F(EllipseFile3D, ListsAxesInTheProjectUnitWithTheElevationError) {
    openRptFile(startNewFile);
    const double multiplier = 2.4477;
    EXPECT_EQ(writeRptErrorEllipses3D(rptFile, ellipses, multiplier), 0);
    closeRptFile();
    // " %-10.10s          %s         %s          %s    %s": "%7.3f" axes in
    // US feet, the direction padded to 15, the elevation error sigma x
    // factor x multiplier.
    auto row = [&](const char* name, double major, double minor, const char* direction,
                   double sigmaZ) {
        return fmt(" %-10.10s          %7.3f         %7.3f          %s    %7.3f\r\n", name,
                   major * usFeet, minor * usFeet, direction, sigmaZ * usFeet * multiplier);
    };
    const std::string want =
        "\r\n\r\nAdjusted XYZ Coordinates Error Ellipses, 95% CI\r\n"
        " Sta.               Semi Major     Semi Minor      Max. Error Az.        Elev.\r\n"
        "                       Axis           Axis\r\n" +
        row("C", 0.0123, 0.0046, " 028-38'52.4\"  ", 0.004) +
        row("W", 0.02, 0.01, " 114-35'29.6\"  ", 0.010);
    EXPECT_EQ(testsupport::readBytes(folder / "net3.RPT"), want);
    EXPECT_NE(want.find(sp(11) + "0.033"), std::string::npos) << "0.01 m is 0.033 US ft";
}

TEST_F(EllipseFile3D, WritesFeetAndTheGpsConnectionsToBothFiles) {
    writeEelFile3D(ellipses, (folder / "tmp").string() + "/");
    EXPECT_EQ(testsupport::readBytes(folder / "net3.EEL"), wantedFile());
    EXPECT_EQ(testsupport::readBytes(folder / "tmp" / "TARNWELL.EEL"), wantedFile());
}

TEST_F(EllipseFile3D, MetresAreWrittenAsHeld) {
    projectVars.HorizUnits = 0;
    const std::string text = eelFileText3D(ellipses);
    EXPECT_EQ(text.substr(0, text.find("\r\n")), "H1,HUMETERS,CI95,PR" + projectVars.projectFileName);
    EXPECT_NE(text.find("EE,PNC,N 1310.500,E 1290.123,MA0.012,MI0.005,AZ28.3852\r\n"),
              std::string::npos);
}

TEST_F(EllipseFile3D, AFailedWriteStopsTheListing) {
    RecordingShell shell;
    const ActiveShellScope active(shell);
    clearOutputWriteFailures();
    const int closed = 987654; // a descriptor that is not open
    EXPECT_EQ(writeRptErrorEllipses3D(closed, ellipses, 1.0), 1);
    EXPECT_EQ(shell.boxes.size(), 1u) << "nothing is written after the first failure";
    clearOutputWriteFailures();
}
