// The ALTA report of the 3D adjustment: relative ellipses from the stations'
// blocks of the cofactor matrix, description entries matched against the 3D
// stations, and distances and axes in the project's unit like the tolerance.

#include "reports/alta_report.hpp"

#include "engine/adjustment_results.hpp"
#include "engine/point_error_ellipses.hpp"
#include "model/angle_text.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/length_units.hpp"
#include "support/hand_made_cofactors.hpp"
#include "support/project_vars_guard.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fcntl.h>
#include <map>
#include <unistd.h>

namespace {

using testsupport::HandEllipse;

stationRec station(const char* name, double north, double east, const char* description) {
    stationRec s;
    initStationRec(s);
    setPointName(s.name, name);
    s.northing = north;
    s.easting = east;
    s.description = description;
    return s;
}

class AltaReport3D : public ::testing::Test {
protected:
    void SetUp() override {
        resetProgramLists();
        projectVars.geodeticModel = 1;
        projectVars.HorizUnits = units::usSurveyFeet;
        projectVars.distPrec = 4;
        projectVars.directionType = 1;
        projectVars.directionPrec = 1;
        projectVars.confidenceInterval = 95.0;
        projectVars.altaTolerance = 0.001; // feet: every connection fails
        projectVars.altaPPM = 50;
        projectVars.ALTARptOn = 1;
        projectVars.relativeErrFileNm = (folder / "p.alt").string();
        stationList.append(station("P1", 100.0, 200.0, "iron"));
        stationList.append(station("P2", 300.0, 250.0, "IRON"));
        stationList.append(station("P3", 150.0, 400.0, "PIPE"));
        varCovMatrix = testsupport::handMadeCofactors();
        referenceStdDev = 1.3;
        unknownCount = 9;
        obsCount = 21;
        handle = ::open((folder / "t.RPT").c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    }
    void TearDown() override {
        ::close(handle);
        releaseAdjustmentResults();
        resetProgramLists();
    }
    // The report line of a connection, from the hand-made block.
    std::string line(const char* from, int i, const char* to, int j, double distanceMetres) {
        const double f = units::metreInUsSurveyFeet;
        const HandEllipse e = testsupport::relativeByHand(
            testsupport::cofactorsByHand(), i, j,
            referenceStdDev * ellipseConfidenceFactor(obsCount - unknownCount) * f);
        const double distance = distanceMetres * f;
        const double allowable = 0.001 + distance * 50 / 1e6;
        const auto text = [](double v) { return platform::formatC("%9.4f", v); };
        ratios[std::string(from) + to] = e.semiMajor / allowable;
        return platform::formatC(" %-10.10s %-10.10s  %s   %s    %s   %s         %s       %s", from,
                                 to, text(distance).c_str(), text(e.semiMajor).c_str(),
                                 text(allowable).c_str(), text(e.semiMajor / allowable).c_str(),
                                 text(e.semiMinor).c_str(), directionToText(e.azimuth).c_str());
    }
    testsupport::ProjectVarsGuard guard;
    testsupport::TempFolder folder{"alta3d"};
    int handle = -1;
    std::map<std::string, double> ratios;
};

TEST_F(AltaReport3D, SpecificAndAllConnectionsFromTheStationsBlocks) {
    testsupport::writeBytes(folder / "p.alt",
                            "RPT_ALL_MAX_PTS 2\nREL_ERR_PAIRS P1-P2\nREL_ERR_ALL DESC:IRON,P3\n");
    writeAltaReport3D(handle);
    const std::string report = testsupport::readBytes(folder / "t.RPT");
    const std::string p1p2 = line("P1", 0, "P2", 3, std::hypot(200.0, 50.0));
    const std::string p1p3 = line("P1", 0, "P3", 6, std::hypot(50.0, 200.0));
    const std::string p2p3 = line("P2", 3, "P3", 6, std::hypot(150.0, 150.0));
    EXPECT_NE(report.find("Alta Tolerance Report ,Specific Connections, 95% Confidence "
                          "Interval\r\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("\r\n" + p1p2 + "\r\n"), std::string::npos) << report << p1p2;
    // All connections: the two largest of the three ratios, largest first.
    std::vector<std::pair<double, std::string>> rows = {
        {ratios["P1P2"], p1p2}, {ratios["P1P3"], p1p3}, {ratios["P2P3"], p2p3}};
    std::ranges::sort(rows, std::greater<>());
    const std::string all = "Alta Tolerance Report ,All Connections,95% Confidence Interval\r\n";
    const std::size_t heading = report.find(all);
    ASSERT_NE(heading, std::string::npos) << report;
    const std::string tail = report.substr(heading);
    EXPECT_NE(tail.find(rows[0].second + "\r\n" + rows[1].second + "\r\n"), std::string::npos)
        << tail;
    EXPECT_EQ(tail.find(rows[2].second), std::string::npos) << tail;
}

TEST_F(AltaReport3D, OneEntryPassesAfterAnEmptyLine) {
    testsupport::writeBytes(folder / "p.alt", "REL_ERR_ALL DESC:PIPE\n");
    writeAltaReport3D(handle);
    const std::string report = testsupport::readBytes(folder / "t.RPT");
    EXPECT_NE(report.find("Semi Minor  Max. Err. Az.\r\n\r\n All connection combinations "
                          "passed the tolerance test\r\n"),
              std::string::npos)
        << report;
}

} // namespace
