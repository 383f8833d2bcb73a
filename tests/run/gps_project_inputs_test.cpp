// A 3D project whose only input is a .GPS file: its vectors are read, its
// C line becomes a control point (once), the vector ends become stations,
// and the adjusted vectors are listed with their precision.

#include "engine/gps_vector_sigmas.hpp"
#include "model/program_lists.hpp"
#include "model/reader_std_errs.hpp"
#include "platform/shell_services.hpp"
#include "run/processing_driver.hpp"
#include "support/project_vars_guard.hpp"
#include "support/temp_folder.hpp"

#include <Eigen/Dense>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int utmGrid = 4;
constexpr int grs80Code = 9;

using Matrix3 = Eigen::Matrix3d;
using Vector3 = Eigen::Vector3d;

Matrix3 symmetric(double xx, double yy, double zz, double xy, double xz, double yz) {
    Matrix3 c;
    c << xx, xy, xz, xy, yy, yz, xz, yz, zz;
    return c;
}

struct Vector {
    const char* from;
    const char* to;
    int fromIndex, toIndex; // BASE 0, N1 1, N2 2
    Vector3 d;
    Matrix3 covariance;
};

// The vectors of site.gps as the file gives them (the third by standard
// errors 0.004, 0.005, 0.006 and correlations 0.2, -0.1, 0.3).
std::vector<Vector> siteVectors() {
    return {{"BASE", "N1", 0, 1, Vector3(-512.345678, 412.000123, -88.123456),
             symmetric(2.25e-5, 4e-5, 3.61e-5, 1.1e-6, -2.2e-6, 3.3e-6)},
            {"N1", "N2", 1, 2, Vector3(301.0, -99.5, 210.25),
             symmetric(1e-5, 1e-5, 1e-5, 0.0, 0.0, 0.0)},
            {"N2", "BASE", 2, 0, Vector3(211.345678, -312.500123, -122.126544),
             symmetric(0.004 * 0.004, 0.005 * 0.005, 0.006 * 0.006, 0.2 * 0.004 * 0.005,
                       -0.1 * 0.004 * 0.006, 0.3 * 0.005 * 0.006)}};
}

// Rows north, east, up of the local frame at (lat, lon) in earth-centred
// components.
Matrix3 localAxes(double lat, double lon) {
    const double sf = std::sin(lat), cf = std::cos(lat), sl = std::sin(lon), cl = std::cos(lon);
    Matrix3 r;
    r << -sf * cl, -sf * sl, cf, -sl, cl, 0.0, cf * cl, cf * sl, sf;
    return r;
}

// sigma(dX), sigma(dY), sigma(dZ) of each adjusted vector: the network in
// the nine earth-centred unknowns of BASE, N1 and N2, the vectors weighted
// by their inverse covariances, BASE held to its C line (45 N, 75 W) with
// 0.005 m north and east and 0.008 m up; s0^2 J N^-1 J^T.
std::vector<Vector3> referenceSigmas() {
    const std::vector<Vector> vectors = siteVectors();
    const Vector3 base(1169256.565887, -4363724.910974, 4487417.988062);
    Eigen::MatrixXd a = Eigen::MatrixXd::Zero(12, 9);
    Eigen::MatrixXd w = Eigen::MatrixXd::Zero(12, 12);
    Eigen::VectorXd l(12);
    for (std::size_t k = 0; k < vectors.size(); ++k) {
        const Vector& v = vectors[k];
        const int row = 3 * static_cast<int>(k);
        a.block<3, 3>(row, 3 * v.toIndex) = Matrix3::Identity();
        a.block<3, 3>(row, 3 * v.fromIndex) = -Matrix3::Identity();
        w.block<3, 3>(row, row) = v.covariance.inverse();
        l.segment<3>(row) = v.d;
    }
    const double pi = std::acos(-1.0);
    const Matrix3 axes = localAxes(45.0 * pi / 180.0, -75.0 * pi / 180.0);
    a.block<3, 3>(9, 0) = axes;
    w.block<3, 3>(9, 9) = Vector3(1 / 25e-6, 1 / 25e-6, 1 / 64e-6).asDiagonal();
    l.segment<3>(9) = axes * base;
    const Eigen::MatrixXd n = a.transpose() * w * a;
    const Eigen::MatrixXd q = n.inverse();
    const Eigen::VectorXd x = q * (a.transpose() * w * l);
    const Eigen::VectorXd residual = a * x - l;
    const double s0Squared = residual.dot(w * residual) / (12 - 9);
    std::vector<Vector3> sigmas;
    for (const Vector& v : vectors) {
        Eigen::MatrixXd j = Eigen::MatrixXd::Zero(3, 9);
        j.block<3, 3>(0, 3 * v.toIndex) = Matrix3::Identity();
        j.block<3, 3>(0, 3 * v.fromIndex) = -Matrix3::Identity();
        const Eigen::MatrixXd covariance = s0Squared * j * q * j.transpose();
        sigmas.push_back(covariance.diagonal().cwiseSqrt());
    }
    return sigmas;
}

// The StdDev column of the adjusted GPS vectors' listing, three a vector.
std::vector<double> listedStdDevs(const std::string& report) {
    const std::string header = "                    Delta Z    Residual    StdRes    StdDev\r\n";
    std::size_t at = report.find(header);
    std::vector<double> values;
    if (at == std::string::npos)
        return values;
    std::istringstream lines(report.substr(at + header.size()));
    std::string line;
    while (std::getline(lines, line) && values.size() < 9) {
        if (line.size() <= 1)
            continue;
        values.push_back(std::stod(line.substr(line.find_last_of(' ') + 1)));
    }
    return values;
}

class GpsProject : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = setActiveShell(&shell);
        projectVars.setDefaults();
        projectVars.projectFileName = (folder / "gps.prj").string();
        projectVars.geodeticModel = 1;
        projectVars.gridSystem = utmGrid;
        projectVars.gridZone = 18;
        projectVars.ellipsoid = grs80Code;
        projectVars.geoidModel = 0;
        projectVars.geoidHt = -30.0;
        projectVars.HorizUnits = 0;
        projectVars.includeRawData = 0;
        projectVars.includeGPSVectors = 1;
        projectVars.gpsFileFmtType = 0;
        projectVars.GPSUnits = 0;
        projectVars.pGPSFileName = "site.gps\n";
        std::filesystem::copy_file(std::string(TARNWELL_FIXTURES) + "/input/gps/site.gps",
                                   folder / "site.gps");
        resetProgramLists();
    }
    void TearDown() override {
        resetProgramLists();
        setActiveShell(previous_);
    }

    testsupport::ProjectVarsGuard guard;
    testsupport::TempFolder folder{"gps-project"};
    RecordingShell shell;
    RunContext context{shell};

private:
    ShellServices* previous_ = nullptr;
};

int coordinateRecordsOf(std::string_view name) {
    int count = 0;
    rawRec r;
    rawDataList.seek2(0);
    while (rawDataList.getNext2(r) == 0)
        count += r.kind == rawCoord && sameName(fixedText(r.pointName), name) ? 1 : 0;
    return count;
}

} // namespace

// BASE is 45 N, 75 W at ellipsoidal height 98.4 m; on UTM zone 18 (GRS 80)
// PROJ 9.1.1 puts it at E 500000.000000, N 4982950.400107
// (tests/fixtures/input/gps/utm_control.txt). Its orthometric height is
// 98.4 - (-30) with the project's geoid separation of -30 m, and the 3D
// station holds the ellipsoidal height again. Appended twice, its standard
// errors would come out as 0.005 / sqrt(2).
TEST_F(GpsProject, TheControlLineBecomesControlOnce) {
    ASSERT_EQ(loadProjectInputs(context), 0) << testing::PrintToString(shell.boxTexts());
    EXPECT_EQ(gpsVectorList.count(), 3);
    EXPECT_EQ(coordinateRecordsOf("BASE"), 1);

    stationRec base;
    ASSERT_GE(controlStationList.find("BASE", base), 0);
    EXPECT_NEAR(base.easting, 500000.000000, 1e-4);
    EXPECT_NEAR(base.northing, 4982950.400107, 1e-4);
    EXPECT_NEAR(base.elevation, 98.4, 1e-4);
    EXPECT_DOUBLE_EQ(base.stdErrE, 0.005);
    EXPECT_DOUBLE_EQ(base.stdErrN, 0.005);
    EXPECT_DOUBLE_EQ(base.stdErrZ, 0.008);
    ASSERT_GE(stationList.find("BASE", base), 0);
    EXPECT_EQ(base.description, "brass disk");

    for (const char* end : {"N1", "N2"}) {
        stationRec station;
        EXPECT_GE(stationList.find(end, station), 0) << end;
    }
}

// Control from a 2D project's GPS files is not read: the 2D road reads no
// vectors.
TEST_F(GpsProject, The2DModelTakesNoGpsControl) {
    projectVars.geodeticModel = 0;
    projectVars.gridSystem = 0;
    ASSERT_EQ(loadProjectInputs(context), 0);
    EXPECT_EQ(coordinateRecordsOf("BASE"), 0);
    EXPECT_TRUE(gpsXyzControlArray.empty());
    EXPECT_EQ(gpsVectorList.count(), 0);
}

TEST_F(GpsProject, AMalformedGpsFileStopsTheLoading) {
    testsupport::writeBytes(folder / "site.gps", "C BASE 1 2 x\r\n");
    EXPECT_EQ(loadProjectInputs(context), 1);
    EXPECT_EQ(shell.boxTexts(),
              (std::vector<std::string>{(folder / "site.gps").string() +
                                            ", line 1: The Z \"x\" is not a number. Record: "
                                            "C BASE 1 2 x",
                                        "error loading GPS vector file"}));
}

// A project whose GPS files are vector text files: each is converted into
// the run's temporary folder and its vectors are read (the same vectors as
// site.gps, standard errors and correlations as the text file holds them).
TEST_F(GpsProject, ConvertedVectorFilesAreReadFromTheTemporaryFolder) {
    std::filesystem::create_directory(folder / "run");
    context.temporaryFolder = (folder / "run").string();
    testsupport::writeBytes(folder / "site.tvf",
                            "VPP,BASE N1 -512.345678 412.000123 -88.123456 0.005 0.006 0.007 "
                            "0.1 0 0\r\n"
                            "VPP,N1 N2 301 -99.5 210.25 0.004 0.004 0.004 0 0 0\r\n"
                            "VPP,N2 BASE 211.345678 -312.500123 -122.126544 0.004 0.005 0.006 "
                            "0.2 -0.1 0.3\r\n");
    projectVars.gpsFileFmtType = 3;
    projectVars.pGPSFileName = "site.tvf\n";
    ASSERT_EQ(loadProjectInputs(context), 0) << testing::PrintToString(shell.boxTexts());
    EXPECT_EQ(gpsVectorList.count(), 3);
    EXPECT_TRUE(std::filesystem::exists(folder / "run" / "site.GPS"));
    EXPECT_FALSE(std::filesystem::exists(folder / "site.GPS"));
}

// The adjusted vectors against a least-squares solution of the same network
// written here with Eigen in earth-centred unknowns (BASE held to its C line).
// Fault mended: the StdDev column beside the adjusted Delta X, Y, Z held the
// standard deviations of the vector's north, east and up in the frame of
// its from station.
TEST_F(GpsProject, TheAdjustedVectorsStdDevsAreThoseOfTheAdjustedDeltaXYZ) {
    context.temporaryFolder = folder.path().string() + "/";
    projectVars.stErrGPSMultFactor = 0.0;
    projectVars.convergeLimit = 1e-7;
    const RunResult run = adjustNetwork(context, adjustmentRun, 0);
    ASSERT_EQ(run.adjustment, AdjustmentOutcome::converged)
        << testing::PrintToString(shell.boxTexts());
    const std::vector<Vector> vectors = siteVectors();
    const std::vector<Vector3> want = referenceSigmas();
    const std::vector<double> listed = listedStdDevs(testsupport::readBytes(folder / "gps.RPT"));
    ASSERT_EQ(listed.size(), 9u);
    const AdjustedGpsVectorSigmas adjusted;
    for (std::size_t k = 0; k < vectors.size(); ++k) {
        SCOPED_TRACE(std::string(vectors[k].from) + "-" + vectors[k].to);
        const std::optional<std::array<double, 3>> got =
            adjusted.of(vectors[k].from, vectors[k].to);
        ASSERT_TRUE(got.has_value());
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR((*got)[static_cast<std::size_t>(i)], want[k][i], 1e-8);
            EXPECT_NEAR(listed[3 * k + static_cast<std::size_t>(i)], want[k][i], 0.5e-4)
                << "printed to 0.1 mm";
        }
    }
}
