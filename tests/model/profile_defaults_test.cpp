#include "model/settings/global_vars.hpp"
#include "model/settings/project_defaults.hpp"
#include "platform/profile_store.hpp"
#include "support/config_folder_guard.hpp"
#include "support/project_vars_guard.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <tuple>

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double secondsToRadians = pi / 648000.0;

// A fresh `projectVars` and a configuration folder of the test's own.
class ProfileDefaults : public ::testing::Test {
protected:
    static platform::ProfileStore storedProfile() {
        platform::ProfileStore profile("Velmora Software/Tarnwell");
        std::string error;
        EXPECT_TRUE(profile.load(error)) << error;
        return profile;
    }

    static void store(const std::string& name, const std::string& value) {
        platform::ProfileStore profile = storedProfile();
        profile.setString("Version 1.00", name, value);
        std::string error;
        ASSERT_TRUE(profile.save(error)) << error;
    }

    testsupport::ProjectVarsGuard guard;
    testsupport::TempFolder folder{"profile-defaults"};
    testsupport::ConfigFolderGuard config{folder.path()};
};

} // namespace

TEST_F(ProfileDefaults, AnEmptyProfileGivesTheFallbacks) {
    projectVars.gridZone = 3702;
    projectVars.geoidModelType = 5;
    projectVars.relativeErrFileNm = "old.alt";
    EXPECT_EQ(loadProjectDefaults(), std::vector<std::string>{});
    const globalVars& g = projectVars;
    // Where the fallback differs from setDefaults.
    EXPECT_EQ(g.gridZone, 0);
    EXPECT_EQ(g.convergeLimit, 0.002);
    EXPECT_EQ(g.rodStErr, 0.01);
    EXPECT_EQ(g.HIStErr, 0.01);
    EXPECT_EQ(g.neOutPrec, 2);
    EXPECT_EQ(g.zOutPrec, 2);
    EXPECT_EQ(g.distPrec, 2);
    EXPECT_EQ(g.coordPrec, 2);
    EXPECT_EQ(g.elevDispPrec, 1);
    EXPECT_DOUBLE_EQ(g.vAngTol, 7 * secondsToRadians);
    EXPECT_EQ(g.includeSS, 1);
    EXPECT_EQ(g.diffLevDistBSFS, 100.0);
    EXPECT_EQ(g.diffLevRodRead, 0.001);
    EXPECT_EQ(g.geoidModelType, 1);
    EXPECT_EQ(g.gpsFileFmtType, 0);
    EXPECT_EQ(g.nezFileFmtType, 1);
    EXPECT_EQ(g.defaultRawEditor, 1);
    EXPECT_EQ(g.relativeErrFileNm, "");
    // A few that equal setDefaults.
    EXPECT_EQ(g.SF, 1.0);
    EXPECT_EQ(g.nullElev, "-99999999.0");
    EXPECT_DOUBLE_EQ(g.hAngTol, 5 * secondsToRadians);
    EXPECT_EQ(g.confidenceInterval, 95.0);
    EXPECT_EQ(g.maxIterations, 10);
    // A new project's units agree, metres throughout (the total-station
    // distances are read in the horizontal unit), and its ellipsoid is WGS
    // 84's rather than the first entries of the list, which belong to the
    // British and Irish grids.
    EXPECT_EQ(g.HorizUnits, 0);
    EXPECT_EQ(g.ZUnits, 0);
    EXPECT_EQ(g.ttlStaUnits, 0);
    EXPECT_EQ(g.levelUnits, 0);
    EXPECT_EQ(g.ellipsoid, 15);
    EXPECT_EQ(globalVars().ellipsoid, 15);
    EXPECT_EQ(globalVars().ttlStaUnits, 0);
}

// Level files in feet under a project in metres would shift every level
// point: with no unit saved for them they take the project's.
TEST_F(ProfileDefaults, LevelUnitsWithoutASavedValueFollowTheHorizontalUnit) {
    for (const auto& [horizontal, saved, expected] :
         {std::tuple{"0", "", 0}, {"1", "", 1}, {"2", "", 2}, {"1", "0", 0}, {"0", "2", 2}}) {
        SCOPED_TRACE(std::string("HorizUnits=") + horizontal + " levelUnits=" + saved);
        std::filesystem::remove(platform::ProfileStore("Velmora Software/Tarnwell").path());
        store("HorizUnits", horizontal);
        if (*saved != '\0')
            store("levelUnits", saved);
        EXPECT_EQ(loadProjectDefaults(), std::vector<std::string>{});
        EXPECT_EQ(projectVars.levelUnits, expected);
    }
}

TEST_F(ProfileDefaults, SavedDefaultsReadBackInANewProject) {
    globalVars saved;
    saved.gridSystem = 4;
    saved.gridZone = 17;
    saved.convergeLimit = 0.0004;
    saved.stErrDistPPM = 3.5;
    saved.hAngTol = 12 * secondsToRadians;
    saved.vAngTol = 9 * secondsToRadians;
    saved.neOutPrec = 5;
    saved.includeLevData = 1;
    saved.nezFileFmtType = 4;
    saved.ellipsoid = 11;
    saved.nullElev = "-1";
    saved.UDPFilePath = "/data/Proj/Local.udp";
    saved.levelFileFmtType = 1;
    // Written, but a new project takes them from setDefaults.
    saved.PtSubstituteS = "@";
    saved.altaPPM = 20;
    saved.altaTolerance = 0.1;
    saved.Rw5GPSUnits = 2;
    saved.useRw5GPSVectors = 1;
    // Options that never become defaults.
    saved.includeClosure = 1;
    saved.ALTARptOn = 1;
    saved.relativeErrFileOn = 1;
    saved.relativeErrFileNm = "pairs.alt";
    ASSERT_EQ(saved.saveAsDefault(), 0);

    projectVars.setDefaults();
    ASSERT_EQ(loadProjectDefaults(), std::vector<std::string>{});
    const globalVars& g = projectVars;
    EXPECT_EQ(g.gridSystem, 4);
    EXPECT_EQ(g.gridZone, 17);
    EXPECT_EQ(g.convergeLimit, 0.0004);
    EXPECT_EQ(g.stErrDistPPM, 3.5);
    EXPECT_NEAR(g.hAngTol, 12 * secondsToRadians, 1e-15);
    EXPECT_NEAR(g.vAngTol, 9 * secondsToRadians, 1e-15);
    EXPECT_EQ(g.neOutPrec, 5);
    EXPECT_EQ(g.includeLevData, 1);
    EXPECT_EQ(g.nezFileFmtType, 4);
    EXPECT_EQ(g.ellipsoid, 11);
    EXPECT_EQ(g.nullElev, "-1");
    EXPECT_EQ(g.UDPFilePath, "/data/Proj/Local.udp");
    EXPECT_EQ(g.levelFileFmtType, 1);
    EXPECT_EQ(g.HorizUnits, 0) << "stored from the saved settings, not the fallback 1";
    EXPECT_EQ(g.PtSubstituteS, "");
    EXPECT_EQ(g.altaPPM, 50);
    EXPECT_EQ(g.altaTolerance, 0.07);
    EXPECT_EQ(g.Rw5GPSUnits, 0);
    EXPECT_EQ(g.useRw5GPSVectors, 0);
    EXPECT_EQ(g.includeClosure, 0);
    EXPECT_EQ(g.ALTARptOn, 0);
    EXPECT_EQ(g.relativeErrFileOn, 0);
    EXPECT_EQ(g.relativeErrFileNm, "");
}

TEST_F(ProfileDefaults, TheProfileHoldsTheNamedValuesInTheirForms) {
    globalVars saved;
    saved.convergeLimit = 0.0004;
    saved.hAngTol = 10 * secondsToRadians;
    saved.gridSystem = 2;
    saved.ellipsoid = 3;
    saved.includeClosure = 1;
    ASSERT_EQ(saved.saveAsDefault(), 0);
    const platform::ProfileStore profile = storedProfile();
    const char* const written[] = {
        "gridSys",
        "gridZone",
        "convergeLimit",
        "SF",
        "projZ",
        "ZUnits",
        "HorizUnits",
        "stErrDist",
        "stErrDistPPM",
        "stErrAz",
        "stErrX",
        "stErrY",
        "stErrZ",
        "stErrPoint",
        "stErrRead",
        "stErrTrgtCentering",
        "vStErrPoint",
        "vStErrRead",
        "rodStErr",
        "HIStErr",
        "stErrInstrCentering",
        "maxIterations",
        "neOutPrec",
        "zOutPrec",
        "useProjZ",
        "horizAdjust",
        "vertAdjust",
        "directionType",
        "angleType",
        "curvRefract",
        "dUnits",
        "NEDisplayType",
        "distPrec",
        "coordPrec",
        "directionPrec",
        "nullElev",
        "supplamentalNE",
        "wrtToCrd",
        "vDistTol",
        "hDistTol",
        "hAngTol",
        "vAngTol",
        "includeSS",
        "confidenceInterval",
        "PtSubstituteS",
        "includeRawData",
        "includeGPSVectors",
        "includeClosure",
        "includeLevelData",
        "diffLevCollimation",
        "diffLevDistBSFS",
        "diffLevRodRead",
        "geodeticModel",
        "geoidHt",
        "geoidModel",
        "geoidModelType",
        "gpsFileFmtType",
        "elevDispPrec",
        "asciiNEZType",
        "crdFileType",
        "controlCrdFileType",
        "GPSUnits",
        "levelUnits",
        "ttlStaUnits",
        "defaultRawEditor",
        "ALTARptOn",
        "relativeErrFileOn",
        "altaPPM",
        "altaTolerance",
        "Ellipsoid",
        "UDPFilePath",
        "levelFileFmtType",
        "Rw5GPSUnits",
        "useRw5GPSVectors",
    };
    ASSERT_EQ(std::size(written), 74u);
    for (const char* name : written) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(profile.value("Version 1.00", name).has_value());
    }
    EXPECT_FALSE(profile.value("Version 1.00", "relativeErrFileNm").has_value());
    EXPECT_FALSE(profile.value("Version 1.00", "gridSystem").has_value());
    EXPECT_FALSE(profile.value("Version 1.00", "ellipsoid").has_value());
    EXPECT_FALSE(profile.value("Version 1.00", "nezFileFmtType").has_value());
    EXPECT_EQ(profile.getString("Version 1.00", "convergeLimit", ""), "0.000400");
    EXPECT_EQ(profile.getString("Version 1.00", "SF", ""), "1.000000");
    EXPECT_EQ(profile.getString("Version 1.00", "hAngTol", ""), "10.000000");
    EXPECT_EQ(profile.getString("Version 1.00", "vAngTol", ""), "5.000000");
    EXPECT_EQ(profile.getInt("Version 1.00", "gridSys", -1), 2);
    EXPECT_EQ(profile.getInt("Version 1.00", "Ellipsoid", -1), 3);
    EXPECT_EQ(profile.getInt("Version 1.00", "includeClosure", -1), 0);
}

TEST_F(ProfileDefaults, StoredValuesAreCheckedAndConverted) {
    store("neOutPrec", "9");
    store("zOutPrec", "9");
    store("hAngTol", "10.0");
    store("stErrDistPPM", "3.5");
    store("Ellipsoid", "14");
    loadProjectDefaults();
    EXPECT_EQ(projectVars.neOutPrec, 2) << "outside 0 to 8";
    EXPECT_EQ(projectVars.zOutPrec, 9) << "only neOutPrec is checked";
    EXPECT_NEAR(projectVars.hAngTol, 10 * pi / 648000, 1e-18);
    EXPECT_EQ(projectVars.stErrDistPPM, 3.5);
    EXPECT_EQ(projectVars.ellipsoid, 14);
    store("neOutPrec", "-1");
    loadProjectDefaults();
    EXPECT_EQ(projectVars.neOutPrec, 2);
    store("neOutPrec", "8");
    loadProjectDefaults();
    EXPECT_EQ(projectVars.neOutPrec, 8);
}

// A stored number read as far as it went became a setting without a word:
// "0,015" a standard error of 0, "2abc" two iterations, "0x1p-3" 0.125. A
// value that is not wholly a number, or outside its setting's range, keeps
// the built-in default and is named.
TEST_F(ProfileDefaults, AValueThatIsNotWhollyANumberKeepsTheBuiltInDefault) {
    const struct {
        const char* name;
        const char* text;
        const char* reason;
        double read;
        double globalVars::*real;
        int globalVars::*integer;
    } rows[] = {
        {"stErrDist", "0,015", "not a number", 0.01, &globalVars::stErrDist, nullptr},
        {"convergeLimit", "0x1p-3", "not a number", 0.002, &globalVars::convergeLimit, nullptr},
        {"maxIterations", "2abc", "not a whole number", 10, nullptr, &globalVars::maxIterations},
        {"maxIterations", "1e1", "not a whole number", 10, nullptr, &globalVars::maxIterations},
        {"Ellipsoid", "42", "", 15, nullptr, &globalVars::ellipsoid},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.name) + "=" + row.text);
        store(row.name, row.text);
        const std::vector<std::string> refusals = loadProjectDefaults();
        ASSERT_EQ(refusals.size(), 1u);
        EXPECT_EQ(refusals[0].rfind(std::string("Profile defaults: ") + row.name + "=" + row.text +
                                        " refused (" + row.reason,
                                    0),
                  0u)
            << refusals[0];
        EXPECT_NE(refusals[0].find("; the built-in default "), std::string::npos);
        EXPECT_EQ(row.real ? projectVars.*row.real : projectVars.*row.integer, row.read);
        store(row.name, row.real ? "0.5" : "3");
        EXPECT_EQ(loadProjectDefaults(), std::vector<std::string>{});
    }
}

TEST_F(ProfileDefaults, SavingKeepsTheOtherValuesOfTheProfile) {
    store("vistraZoom", "3");
    platform::ProfileStore profile = storedProfile();
    profile.setInt("MainWindow", "x", 40);
    std::string error;
    ASSERT_TRUE(profile.save(error));
    ASSERT_EQ(globalVars().saveAsDefault(), 0);
    const platform::ProfileStore after = storedProfile();
    EXPECT_EQ(after.getString("Version 1.00", "vistraZoom", ""), "3");
    EXPECT_EQ(after.getInt("MainWindow", "x", 0), 40);
}

TEST_F(ProfileDefaults, AProfileThatCannotBeWrittenIsReported) {
    // A file where the vendor folder must go.
    testsupport::writeBytes(folder / "Velmora Software", "not a folder");
    EXPECT_EQ(globalVars().saveAsDefault(), 1);
}
