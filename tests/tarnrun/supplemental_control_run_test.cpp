// The example with a supplemental control file: its points the raw data
// uses become coordinate records of the run, with the file's standard
// errors; points nothing observes are left out.

#include "damaged_field_run.hpp"
#include "site_copy_run.hpp"

#include <gtest/gtest.h>

#include <tuple>

namespace {

struct SupplementalRun {
    int status = -1;
    std::string report;
    std::string errors;
};

SupplementalRun runWith(int format, const std::string& file) {
    testsupport::TempFolder folder("supp-run");
    globalVars settings = sitecopy::exampleSettings();
    settings.supplamentalNE = 1;
    settings.nezFileFmtType = format;
    // Named relative to the project's folder.
    settings.controlNEFileName = "control.nez";
    testsupport::writeBytes(folder / "control.nez", file);
    SupplementalRun run;
    run.status =
        sitecopy::run(folder, settings, testsupport::readBytes(sitecopy::exampleFile("site.vkr")));
    run.report = testsupport::readBytes(folder / "site.RPT");
    run.errors = testsupport::readBytes(folder / "site.ERR");
    return run;
}

TEST(SupplementalControlRun, TheFilesObservedPointsJoinTheRun) {
    // C as a text-format-5 point; ZZ is observed by nothing; the last line has no end.
    const SupplementalRun run = runWith(5, "ZZ 1 2 3 NONE X\nC,1050.420,1430.150,51.120,SUPPC,CP");
    ASSERT_EQ(run.status, 0) << run.errors;
    // The raw data's last standard errors (all fixed) are in force after it.
    EXPECT_NE(run.report.find(" C               1050.420      1430.150      FIXED     FIXED\r\n"),
              std::string::npos)
        << run.report;
    EXPECT_NE(run.report.find("    3 Fixed Points"), std::string::npos);
    EXPECT_EQ(run.report.find(" ZZ "), std::string::npos);
}

TEST(SupplementalControlRun, FormatSevenGivesThePointItsOwnStandardErrors) {
    const SupplementalRun run = runWith(7, "D,880.600,1210.330,49.870,0.015,0.025,0.02,SUPPD,DC\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.report.find("    1 Observed Points,    2 Fixed Points"), std::string::npos)
        << run.report;
    EXPECT_NE(run.report.find(" D                880.600      1210.330"), std::string::npos);
}

TEST(SupplementalControlRun, AFileThatCannotBeOpenedStopsTheRunNamingIt) {
    testsupport::TempFolder folder("supp-missing");
    globalVars settings = sitecopy::exampleSettings();
    settings.supplamentalNE = 1;
    settings.nezFileFmtType = 5;
    settings.controlNEFileName = (folder / "absent.nez").string();
    EXPECT_NE(
        sitecopy::run(folder, settings, testsupport::readBytes(sitecopy::exampleFile("site.vkr"))),
        0);
    const std::string console = testsupport::readBytes(folder / "console.txt");
    EXPECT_NE(console.find("Error opening " + (folder / "absent.nez").string()), std::string::npos)
        << console;
}

// A damaged number is never read as 0 (nor as its leading digits), which
// held D fixed at northing 0 and left the run to fail without a hint: the
// run stops naming the file, the line and the field.
TEST(SupplementalControlRun, ADamagedNumberStopsTheRunNamingFileLineAndField) {
    const SupplementalRun run = runWith(5, "C,1050.420,1430.150,51.120,SUPPC,CP\r\n"
                                           "D,N880.600,1210.330,49.870,SUPPD,DC\r\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("control.nez, line 2: The northing \"N880.600\" is not a number. "
                              "Record: D,N880.600,1210.330,49.870,SUPPD,DC\r\n"),
              std::string::npos)
        << run.errors;
}

// Every field of a control line is read whole or the run stops naming the
// file, the line and the field. A line that separates its fields by commas
// separates them by commas alone, so a decimal comma or a blank inside a
// number never shifts the fields after it (easting 1430, elevation 150).
TEST(SupplementalControlRun, ADamagedFieldStopsTheRunNamingFileLineAndField) {
    using damagedfield::Damage;
    const std::vector<Damage> nez = {
        {"decimal comma", "1430.150", "1430,150", 1, "1430,150"},
        {"decimal comma in a blank-separated line", "49.870 SUPPD", "49,870 SUPPD", 2, "49,870"},
        {"blank inside a number", "1430.150", "1430 .150", 1, "1430 .150"},
        {"tab inside a number", "51.120", "51\t120", 1, "elevation \"51<TAB>120\""},
        {"NUL inside a number", "880.600", std::string("880") + '\0' + ".600", 2,
         "northing \"880<NUL>.600\""},
        {"name of 13 characters", "C,1050", "CONTROLPOINT1,1050", 1, "CONTROLPOINT1"},
    };
    const std::vector<Damage> withStdErrs = {
        {"decimal comma in a standard error", "0.025", "0,025", 1, "0,025"},
    };
    for (const auto& [format, text, rows] :
         {std::tuple{5,
                     std::string("C,1050.420,1430.150,51.120,SUPPC,CP\r\n"
                                 "D 880.600 1210.330 49.870 SUPPD DC\r\n"),
                     nez},
          std::tuple{7, std::string("D,880.600,1210.330,49.870,0.015,0.025,0.02,SUPPD,DC\r\n"),
                     withStdErrs}}) {
        SCOPED_TRACE(format);
        testsupport::TempFolder folder("supp-run-damaged");
        globalVars settings = sitecopy::exampleSettings();
        settings.supplamentalNE = 1;
        settings.nezFileFmtType = format;
        settings.controlNEFileName = "control.nez";
        damagedfield::expectEveryDamageStops(
            folder, folder / "control.nez", "site", text,
            [&](const std::string& control) {
                testsupport::writeBytes(folder / "control.nez", control);
                return sitecopy::run(folder, settings, sitecopy::exampleRaw());
            },
            rows);
    }
}

// The console shows the whole message of a line with a NUL in a field: it
// was cut at the NUL, before the file and the line were named.
TEST(SupplementalControlRun, ANulInAFieldDoesNotCutTheConsoleMessage) {
    testsupport::TempFolder folder("supp-run-nul");
    globalVars settings = sitecopy::exampleSettings();
    settings.supplamentalNE = 1;
    settings.nezFileFmtType = 5;
    settings.controlNEFileName = "control.nez";
    testsupport::writeBytes(folder / "control.nez",
                            std::string("C,1050") + '\0' + ".420,1430.150,51.120,SUPPC,CP\r\n");
    EXPECT_EQ(sitecopy::run(folder, settings, sitecopy::exampleRaw()), 1);
    const std::string console = testsupport::readBytes(folder / "console.txt");
    EXPECT_NE(console.find((folder / "control.nez").string() + ", line 1"), std::string::npos)
        << console;
}

// Lines ending in a lone CR are lines: the file was read as one line, whose
// first field named a point nothing observes, and its control was lost.
TEST(SupplementalControlRun, LinesEndingInALoneCrAreRead) {
    const SupplementalRun run =
        runWith(5, "ZZ 1 2 3 NONE X\rC,1050.420,1430.150,51.120,SUPPC,CP\r");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.report.find(" C               1050.420      1430.150      FIXED     FIXED\r\n"),
              std::string::npos)
        << run.report;
}

} // namespace
