// The closures section of the report: the title, wrapped point lists, the
// options lines, the result lines of a traverse and of a GPS loop, and what
// an exact closure prints. Every line goes to the report and to the error
// report alike. Expected lines were rendered by hand from the formats of the
// listing (lengths "%9.3f", angles " DDD-MM'SS.S\"" padded to 14, directions
// right-aligned in 15).

#include "reports/closure_listing.hpp"
#include "run_files_fixture.hpp"
#include "sideshot_settings.hpp"
#include "support/angles.hpp"

using testsupport::radiansOf;

namespace {

class ClosureListing : public RunFiles {
protected:
    void SetUp() override {
        RunFiles::SetUp();
        useSideshotListingSettings(); // azimuths, 0.1", three decimals
    }
    // The report's lines, checked to be the error report's too.
    std::vector<std::string> lines() {
        const std::vector<std::string> rpt = crlfLines(report());
        EXPECT_EQ(crlfLines(errors()), rpt);
        return rpt;
    }
};

TEST_F(ClosureListing, APointListWrapsAtTheFirstCommaFromThe128thCharacter) {
    std::string list;
    for (int i = 0; i < 300; ++i)
        list += i % 11 == 10 ? ',' : static_cast<char>('A' + i % 11);
    writeRptTraversePoints(list);
    // Commas end characters 11, 22, ...; 132 = 12 x 11 is the first at or past 128.
    EXPECT_EQ(lines(), (std::vector<std::string>{"", "Traverse points:", list.substr(0, 132),
                                                 list.substr(132, 132), list.substr(264), ""}));
}

TEST_F(ClosureListing, TitleAndOptionsOfEachType) {
    writeRptClosuresTitle();
    writeRptGpsLoopPoints("G1-G3,G1");
    writeRptClosureOptions(3, 1, 1);
    writeRptClosureOptions(0, 1, 0);
    writeRptClosureOptions(1, 0, 1);
    writeRptClosureOptions(2, 0, 0);
    writeRptClosureOptions(7, 1, 1);
    EXPECT_EQ(lines(),
              (std::vector<std::string>{"",
                                        "Traverse Closures",
                                        "=================",
                                        "",
                                        "",
                                        "",
                                        "GPS Loop Points:",
                                        "G1-G3,G1",
                                        "",
                                        "GPS Loop Closure;",
                                        "",
                                        "Loop Traverse; Interior direction reference;",
                                        "Compute angle closure.",
                                        "Do not compute vertical closure.",
                                        "",
                                        "Loop Traverse; Exterior direction reference;",
                                        "Do not compute angle closure.",
                                        "Compute vertical closure.",
                                        "",
                                        "Traverse starting and ending on different points;",
                                        "Do not compute angle closure.",
                                        "Do not compute vertical closure.",
                                        "",
                                        "",
                                        "Compute angle closure.",
                                        "Compute vertical closure.",
                                        ""}));
}

TEST_F(ClosureListing, TraverseLinesOfBothPasses) {
    TraverseClosure c;
    c.listed = true;
    c.verticalShown = true;
    c.measured.legs = {{"4", "1", "2", radiansOf(90, 0, 10), false, 100.0, 1.0},
                       {"1", "2", "3", radiansOf(90), false, 99.96, std::nullopt}};
    c.measured.azimuths =
        TraversePass::Azimuths{radiansOf(90), radiansOf(90, 0, 20), radiansOf(0, 0, 20), 4, 0.0};
    // Computed minus correct: N -0.004853, E +0.070000, total 0.0701677,
    // direction back to the correct point atan2(-0.07, 0.004853) = 273d57'57.2";
    // 399.99 / 0.0701677 = 5700.49.
    c.measured.linear =
        TraversePass::Linear{1000.0, 1000.0, 999.995147015065, 1000.069999647246, 399.99};
    c.measured.vertical = TraversePass::Vertical{50.0, 50.05};
    c.balanced = TraversePass{};
    c.balanced->legs = {{"2", "3", "B", radiansOf(179, 59, 58), true, 0.0, std::nullopt}};
    c.balanced->azimuths = TraversePass::Azimuths{radiansOf(90), radiansOf(90), 0.0, 4, 0.0};
    c.balanced->linear = TraversePass::Linear{1000.0, 1200.0, 1000.0, 1200.0, 200.01};
    writeRptTraverseClosure(c);
    EXPECT_EQ(lines(),
              (std::vector<std::string>{
                  " BS         IP         FS             Angle          FS H. Dist.    FS V. Dist.",
                  " 4          1          2              090-00'10.0\"      100.000       1.000",
                  " 1          2          3              090-00'00.0\"       99.960   ",
                  "",
                  "Closing Az:            090-00'00.0\" ",
                  "Computed Closing Az:   090-00'20.0\" ",
                  "",
                  "Total angular error:      000-00'20.0\" ",
                  "Angular error per point:  000-00'05.0\" ",
                  "",
                  "",
                  "Correct Ending Coordinates, North:  1000.000 East:  1000.000",
                  "Ending Coordinates, North:   999.995 East:  1000.070",
                  "Error, N: -0.005 E: 0.070 Total: 0.070 Brg:   273-57'57.2\" ",
                  "Distance Traversed:   399.990 Closure: 1:5700",
                  "",
                  "Correct Ending Elevation:    50.000",
                  "Ending Elevation:            50.050",
                  "Elevation Error:              0.050",
                  "",
                  "",
                  "Closure After Angle Adjustment",
                  "",
                  " 2          3          B              179-59'58.0\" ",
                  "",
                  "Closing Az:            090-00'00.0\" ",
                  "Computed Closing Az:   090-00'00.0\" ",
                  "",
                  "Total angular error:      000-00'00.0\" ",
                  "Angular error per point:  000-00'00.0\" ",
                  "",
                  "Correct Ending Coordinates, North:  1000.000 East:  1200.000",
                  "Ending Coordinates, North:  1000.000 East:  1200.000",
                  "Error, N: 0.000 E: 0.000 Total: 0.000 Brg:   000-00'00.0\" ",
                  "Distance Traversed:   200.010 Closure: 1:Exact",
                  ""}));
}

TEST_F(ClosureListing, GpsLoopLinesAndAnExactLoop) {
    // Error sqrt(0.01^2 + 0.02^2) = 0.0223607; 494.3256 / 0.0223607 = 22106.9.
    writeGpsLoopClosure(-0.01, 0.0, 0.02, 494.325571717287);
    writeGpsLoopClosure(0.0, 0.0, 0.0, 300.0);
    EXPECT_EQ(lines(),
              (std::vector<std::string>{"  Misclosure, X:   -0.010   Y:    0.000   Z:    0.020",
                                        "  Closure error:     0.022   Perimeter:   494.326",
                                        "  Precision: 1:22107", "",
                                        "  Misclosure, X:    0.000   Y:    0.000   Z:    0.000",
                                        "  Closure error:     0.000   Perimeter:   300.000",
                                        "  Precision: 1:Exact", ""}));
}

TEST_F(ClosureListing, AnErrorTooSmallToShowPrintsExact) {
    EXPECT_EQ(precisionRatioText(200.0, 0.0), "Exact");
    EXPECT_EQ(precisionRatioText(200.0, 0.0004), "Exact");
    EXPECT_EQ(precisionRatioText(200.0, 0.0006), "333333");
    projectVars.distPrec = 5;
    EXPECT_EQ(precisionRatioText(200.0, 0.0004), "500000");
}

} // namespace
