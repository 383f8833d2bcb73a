// The main window's placement and the program options as the profile keeps them.

#include "gui_test_support.hpp"
#include "model/settings/project_defaults.hpp"
#include "shell/program_options.hpp"

#include <gtest/gtest.h>

namespace {

using guitest::ShellTest;

class ProgramOptions : public ShellTest {};

TEST_F(ProgramOptions, MissingPlacementTakesTwoThirdsOfTheScreen) {
    // 1280 * 2 / 3 = 853.3 and 1024 * 2 / 3 = 682.7, cut to whole pixels.
    const WindowPlacement placement = readWindowPlacement(profile(), 1280, 1024);
    EXPECT_EQ(placement.x, 0);
    EXPECT_EQ(placement.y, 0);
    EXPECT_EQ(placement.cx, 853);
    EXPECT_EQ(placement.cy, 682);
    EXPECT_EQ(placement.show, showNormal);
}

TEST_F(ProgramOptions, AWindowSavedMinimisedOpensNormally) {
    const struct {
        const char* saved;
        int opened;
    } cases[] = {{"1", showNormal}, {"2", showNormal}, {"3", showMaximized}, {"6", showNormal}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.saved);
        storeProfile(mainWindowSection, "SHOW", c.saved);
        EXPECT_EQ(readWindowPlacement(profile(), 1280, 1024).show, c.opened);
    }
}

TEST_F(ProgramOptions, MissingOptionsTakeTheirDefaults) {
    globalVars settings;
    std::vector<std::string> refusals;
    EXPECT_EQ(readProgramOptions(profile(), settings, refusals), "");
    EXPECT_TRUE(refusals.empty());
    EXPECT_EQ(settings.blunderIterations, 4);
    EXPECT_EQ(settings.blunderFloatShoTtl, 5);
    EXPECT_EQ(settings.blunderFloatShoType, 0);
    EXPECT_EQ(settings.blunderMethod, 0);
    EXPECT_DOUBLE_EQ(settings.blunderProximity, 0.1);
    EXPECT_EQ(settings.showStartUpDialog, 1);
    EXPECT_EQ(settings.useVkTool, 1);
}

TEST_F(ProgramOptions, OptionsComeBackAsWritten) {
    globalVars written;
    written.blunderIterations = 7;
    written.blunderFloatShoTtl = 2;
    written.blunderFloatShoType = 1;
    written.blunderMethod = 1;
    written.blunderProximity = 0.25;
    written.showStartUpDialog = 0;
    written.useVkTool = 0;
    platform::ProfileStore store = profile();
    writeProgramOptions(store, written, "/jobs/site.prj");
    EXPECT_EQ(store.getString(defaultsSection, "blunderProximity", ""), "0.25");

    globalVars read;
    std::vector<std::string> refusals;
    EXPECT_EQ(readProgramOptions(store, read, refusals), "/jobs/site.prj");
    EXPECT_TRUE(refusals.empty());
    EXPECT_EQ(read.blunderIterations, 7);
    EXPECT_EQ(read.blunderFloatShoTtl, 2);
    EXPECT_EQ(read.blunderFloatShoType, 1);
    EXPECT_EQ(read.blunderMethod, 1);
    EXPECT_DOUBLE_EQ(read.blunderProximity, 0.25);
    EXPECT_EQ(read.showStartUpDialog, 0);
    EXPECT_EQ(read.useVkTool, 0);
}

// Three decimals stored 0.0004 as "0.000", read back as 0.
TEST_F(ProgramOptions, TheBlunderProximityComesBackEqual) {
    for (const double proximity : {0.0004, 0.1, 1.0 / 3.0, 12.5, 2.5e-7}) {
        SCOPED_TRACE(proximity);
        globalVars written;
        written.blunderProximity = proximity;
        platform::ProfileStore store = profile();
        writeProgramOptions(store, written, "");
        globalVars read;
        std::vector<std::string> refusals;
        readProgramOptions(store, read, refusals);
        EXPECT_EQ(read.blunderProximity, proximity);
    }
}

// "0,05" was read as far as it went: a proximity of 0 flagged every point.
// A value that is not wholly a number keeps its default and is named.
TEST_F(ProgramOptions, AnOptionThatIsNotWhollyANumberKeepsItsDefault) {
    const struct {
        const char* name;
        const char* text;
        const char* defaultText;
        const char* refusal;
    } rows[] = {
        {"blunderProximity", "0,05", "0.1",
         "Profile defaults: blunderProximity=0,05 refused (not a number); the built-in default "
         "0.1 is used."},
        {"blunderIterations", "4x", "4",
         "Profile defaults: blunderIterations=4x refused (not a whole number); the built-in "
         "default 4 is used."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        storeProfile(defaultsSection, row.name, row.text);
        globalVars read;
        read.blunderProximity = 7.0;
        read.blunderIterations = 9;
        std::vector<std::string> refusals;
        readProgramOptions(profile(), read, refusals);
        EXPECT_EQ(refusals, std::vector<std::string>{row.refusal});
        EXPECT_DOUBLE_EQ(read.blunderProximity, 0.1);
        EXPECT_EQ(read.blunderIterations, 4);
        storeProfile(defaultsSection, row.name, row.defaultText);
    }
}

TEST_F(ProgramOptions, TheRecentProjectIsKeptWhenNoProjectIsOpen) {
    storeProfile(defaultsSection, "MRUProject", "/jobs/older.prj");
    platform::ProfileStore store = profile();
    writeProgramOptions(store, globalVars(), "");
    EXPECT_EQ(store.getString(defaultsSection, "MRUProject", ""), "/jobs/older.prj");
}

} // namespace
