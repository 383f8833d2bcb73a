#pragma once
// A project in a temporary folder for the GPS readers: fresh settings and
// lists, a recording shell behind the run context, files written by name.

#include "model/program_lists.hpp"
#include "model/run_context.hpp"
#include "model/settings/global_vars.hpp"
#include "support/project_vars_guard.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace gpstest {

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

    std::vector<gpsVectorRec> vectors() const {
        std::vector<gpsVectorRec> out;
        gpsVectorRec v;
        for (int i = 0; gpsVectorList.getAt(i, v) == 0; ++i)
            out.push_back(v);
        return out;
    }

    testsupport::ProjectVarsGuard settings;
    testsupport::TempFolder folder{"gps"};
    RecordingShell shell;
    RunContext context{shell};
};

} // namespace gpstest
