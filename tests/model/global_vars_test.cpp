#include "model/settings/global_vars.hpp"
#include "platform/program_folder.hpp"

#include <gtest/gtest.h>

TEST(GlobalVars, FreshObjectHasTheDefaults) {
    const globalVars g;
    const double fiveSeconds = 5.0 * 3.14159265358979323846 / 648000.0;
    EXPECT_DOUBLE_EQ(g.hAngTol, fiveSeconds);
    EXPECT_DOUBLE_EQ(g.vAngTol, fiveSeconds);
    EXPECT_EQ(g.SF, 1.0);
    EXPECT_EQ(g.nullElev, "-99999999.0");
    EXPECT_EQ(g.convergeLimit, 0.001);
    EXPECT_EQ(g.maxIterations, 10);
    EXPECT_EQ(g.vertAdjust, 1);
    EXPECT_EQ(g.curvRefract, 1);
    EXPECT_EQ(g.includeRawData, 1);
    EXPECT_EQ(g.crdFileType, 1);
    EXPECT_EQ(g.confidenceInterval, 95.0);
    EXPECT_EQ(g.diffLevRodRead, 0.0001);
    EXPECT_EQ(g.altaPPM, 50);
    EXPECT_EQ(g.altaTolerance, 0.07);
    EXPECT_EQ(g.stErrZ, 0.02);
    EXPECT_EQ(g.gridZone, 0);
    EXPECT_EQ(g.glSettingsView, nullptr);
    EXPECT_EQ(g.projectFileName, "");
    EXPECT_EQ(g.udp.ProjName, "");
}

TEST(GlobalVars, SetDefaultsKeepsWhatIsNotADefault) {
    globalVars g;
    g.pInputFileName = "a.rw5\n";
    g.crdFileName = "site.crd";
    g.gridZone = 3702;
    g.version = 6;
    g.nezFileFmtType = 2;
    g.geoidModelType = 1;
    g.gpsFileFmtType = 3;
    g.tmpDir = "/tmp/";
    g.projectFileName = "site.prj";
    g.maxIterations = 25;
    g.UDPFilePath = "x.udp";
    g.nullElev = "";
    g.setDefaults();
    EXPECT_EQ(g.pInputFileName, "a.rw5\n");
    EXPECT_EQ(g.crdFileName, "site.crd");
    EXPECT_EQ(g.gridZone, 3702);
    EXPECT_EQ(g.version, 6);
    EXPECT_EQ(g.nezFileFmtType, 2);
    EXPECT_EQ(g.geoidModelType, 1);
    EXPECT_EQ(g.gpsFileFmtType, 3);
    EXPECT_EQ(g.tmpDir, "/tmp/");
    EXPECT_EQ(g.projectFileName, "site.prj");
    EXPECT_EQ(g.maxIterations, 10);
    EXPECT_EQ(g.UDPFilePath, "");
    EXPECT_EQ(g.nullElev, "-99999999.0");
}

TEST(GlobalVars, GeoidFolder) {
    globalVars g;
    EXPECT_EQ(g.getGeoidFolder(), platform::programFolder() + "/Geoid/");
    g.exeDir = "/opt/tarnwell/";
    EXPECT_EQ(g.getGeoidFolder(), "/opt/tarnwell/");
}
