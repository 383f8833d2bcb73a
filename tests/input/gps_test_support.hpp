#pragma once
// A project in a temporary folder for the GPS readers: fresh settings and
// lists, a recording shell behind the run context, files written by name.

#include "model/program_lists.hpp"
#include "model/run_context.hpp"
#include "model/settings/global_vars.hpp"
#include "support/project_vars_guard.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace gpstest {

// The .GPS file keeps six significant digits of every weight.
inline void expectWeight(double actual, double expected) {
    EXPECT_NEAR(actual, expected, std::abs(expected) * 1e-6 + 1e-18);
}

struct Expected {
    const char* from;
    const char* to;
    double d[3];
    double var[3]; // X, Y, Z
    double cov[3]; // XY, XZ, YZ
};

// The vector as read back from a .GPS file: components to 1e-8, weights to
// their printed digits.
inline void expectVector(const gpsVectorRec& v, const Expected& e) {
    EXPECT_EQ(fixedText(v.from), e.from);
    EXPECT_EQ(fixedText(v.to), e.to);
    EXPECT_NEAR(v.dX, e.d[0], 1e-8);
    EXPECT_NEAR(v.dY, e.d[1], 1e-8);
    EXPECT_NEAR(v.dZ, e.d[2], 1e-8);
    expectWeight(v.varX, e.var[0]);
    expectWeight(v.varY, e.var[1]);
    expectWeight(v.varZ, e.var[2]);
    expectWeight(v.covXY, e.cov[0]);
    expectWeight(v.covXZ, e.cov[1]);
    expectWeight(v.covYZ, e.cov[2]);
}

class GpsTest : public ::testing::Test {
protected:
    GpsTest() {
        projectVars.setDefaults();
        projectVars.projectFileName = (folder / "gps.prj").string();
        projectVars.geodeticModel = 1;
        projectVars.stErrGPSCentering = 0.0;
        projectVars.stErrGPSMultFactor = 0.0;
        projectVars.GPSUnits = 0;
        projectVars.gpsFileFmtType = 0;
        resetProgramLists();
    }
    ~GpsTest() override { resetProgramLists(); }

    // Writes `bytes` as `name` in the project folder; returns the name.
    std::string write(const std::string& name, const std::string& bytes) const {
        testsupport::writeBytes(folder / name, bytes);
        return name;
    }
    std::string path(const std::string& name) const { return (folder / name).string(); }

    std::vector<gpsVectorRec> vectors() const { return vectorsOf(gpsVectorList); }
    static std::vector<gpsVectorRec> vectorsOf(const seqList<gpsVectorRec>& list) {
        std::vector<gpsVectorRec> out;
        gpsVectorRec v;
        for (int i = 0; list.getAt(i, v) == 0; ++i)
            out.push_back(v);
        return out;
    }

    testsupport::ProjectVarsGuard settings;
    testsupport::TempFolder folder{"gps"};
    RecordingShell shell;
    RunContext context{shell};
};

// A GpsTest whose run has a temporary folder of its own, where the
// converted files go.
class GpsRouteTest : public GpsTest {
protected:
    GpsRouteTest() {
        std::filesystem::create_directory(runFolder);
        context.temporaryFolder = runFolder.string();
    }
    std::filesystem::path runFolder = folder / "run";
};

// The bytes of a converter fixture (tests/fixtures/input/converters).
inline std::string converterFixture(const std::string& name) {
    return testsupport::readBytes(std::string(TARNWELL_FIXTURES) + "/input/converters/" + name);
}

} // namespace gpstest
