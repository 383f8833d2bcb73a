#include "engine/vertical_adjustment.hpp"
#include "input/level_test_project.hpp"
#include "output/report_lines.hpp"
#include "reports/vertical_report.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <fcntl.h>
#include <functional>
#include <map>
#include <unistd.h>

using leveltest::crlfLines;
using leveltest::heightDiff2D;
using leveltest::point2D;
using leveltest::pointNamed;

namespace {

// A plain weighted least-squares solution of a levelling network, written
// for the test: unknown elevations in the order given, one row per height
// difference (H_to - H_from = dh, fixed elevations moved to the right) and
// per weighted benchmark (H = its elevation), weights 1/sigma^2, normal
// equations inverted by Gauss-Jordan with partial pivoting.
// The vertical step of a run: the adjustment, then its report sections.
void adjustVerticalAndReport(ShellServices& shell) {
    if (const std::optional<verticalAdjustment> adjusted = adjustVertical(RunContext(shell)))
        writeVerticalReport(adjusted->network, adjusted->solution);
}

struct IndependentLevelling {
    struct Row {
        std::vector<double> a;
        double l, weight;
    };
    std::vector<std::string> unknowns;
    std::map<std::string, double> fixedElevations;
    std::vector<Row> rows;
    std::vector<double> x, sd, adjusted, rowSd;
    double vtpv = 0, s0 = 0;

    int column(const std::string& name) const {
        for (std::size_t j = 0; j < unknowns.size(); ++j)
            if (unknowns[j] == name)
                return static_cast<int>(j);
        return -1;
    }
    void difference(const std::string& from, const std::string& to, double dh, double sigma) {
        Row row{std::vector<double>(unknowns.size(), 0.0), dh, 1 / (sigma * sigma)};
        if (column(from) >= 0)
            row.a[column(from)] = -1;
        else
            row.l += fixedElevations.at(from);
        if (column(to) >= 0)
            row.a[column(to)] = 1;
        else
            row.l -= fixedElevations.at(to);
        rows.push_back(row);
    }
    void weightedBenchmark(const std::string& name, double elevation, double sigma) {
        Row row{std::vector<double>(unknowns.size(), 0.0), elevation, 1 / (sigma * sigma)};
        row.a[column(name)] = 1;
        rows.push_back(row);
    }
    void solve() {
        const std::size_t u = unknowns.size();
        std::vector<std::vector<double>> n(u, std::vector<double>(2 * u, 0.0));
        std::vector<double> b(u, 0.0);
        for (const Row& r : rows)
            for (std::size_t i = 0; i < u; ++i) {
                b[i] += r.weight * r.a[i] * r.l;
                for (std::size_t j = 0; j < u; ++j)
                    n[i][j] += r.weight * r.a[i] * r.a[j];
            }
        for (std::size_t i = 0; i < u; ++i)
            n[i][u + i] = 1;
        for (std::size_t c = 0; c < u; ++c) {
            std::size_t pivot = c;
            for (std::size_t i = c + 1; i < u; ++i)
                if (std::fabs(n[i][c]) > std::fabs(n[pivot][c]))
                    pivot = i;
            std::swap(n[c], n[pivot]);
            const double p = n[c][c];
            for (double& e : n[c])
                e /= p;
            for (std::size_t i = 0; i < u; ++i)
                if (i != c) {
                    const double f = n[i][c];
                    for (std::size_t j = 0; j < 2 * u; ++j)
                        n[i][j] -= f * n[c][j];
                }
        }
        const auto q = [&](std::size_t i, std::size_t j) { return n[i][u + j]; };
        x.assign(u, 0.0);
        for (std::size_t i = 0; i < u; ++i)
            for (std::size_t j = 0; j < u; ++j)
                x[i] += q(i, j) * b[j];
        for (const Row& r : rows) {
            double ax = 0, aqa = 0;
            for (std::size_t i = 0; i < u; ++i) {
                ax += r.a[i] * x[i];
                for (std::size_t j = 0; j < u; ++j)
                    aqa += r.a[i] * q(i, j) * r.a[j];
            }
            vtpv += r.weight * (ax - r.l) * (ax - r.l);
            rowSd.push_back(aqa);
        }
        s0 = std::sqrt(vtpv / static_cast<double>(rows.size() - u));
        for (std::size_t i = 0; i < u; ++i)
            sd.push_back(std::sqrt(q(i, i)) * s0);
        for (double& r : rowSd)
            r = std::sqrt(r) * s0;
    }
};

struct LevelLine {
    const char* from;
    const char* to;
    double dh, sigma;
};

// BM1 fixed at 100.000; BM2 weighted 105.000 +- 0.010 (point list); BM9
// weighted 103.000 +- 0.020 (fixed-point list); P1, P2, P3 to adjust.
const LevelLine network[] = {
    {"BM1", "P1", 1.234, 0.005}, {"P1", "P2", 2.101, 0.007},   {"P2", "BM2", 1.670, 0.006},
    {"P2", "P3", -0.512, 0.004}, {"P3", "BM1", -2.830, 0.008}, {"BM1", "BM2", 5.004, 0.010},
    {"P1", "P3", 1.585, 0.005},  {"P3", "BM9", 0.180, 0.006},
};

class VerticalAdjustment : public leveltest::LevelProject {
protected:
    void fillNetwork(bool reversed = false) {
        pointList2D.append(point2D("BM2", vtWeightedElevation, 105.000, 0.010));
        pointList2D.append(point2D("Q", vtFreeElevation, 7.0)); // horizontal work only
        for (const char* p : {"P1", "P2", "P3"})
            pointList2D.append(point2D(p, vtFreeElevation, notComputed));
        pointList2D.append(point2D("R", vtNoVertical, notComputed));
        fixedPointList2D.append(point2D("BM1", vtFixedElevation, 100.000));
        fixedPointList2D.append(point2D("BM9", vtWeightedElevation, 103.000, 0.020));
        for (const LevelLine& l : network)
            distanceList2D.append(reversed ? heightDiff2D(l.to, l.from, -l.dh, l.sigma)
                                           : heightDiff2D(l.from, l.to, l.dh, l.sigma));
        distanceObs2D horizontal; // a distance without a height difference
        setPointName(horizontal.from, "Q");
        setPointName(horizontal.to, "R");
        horizontal.distance = 50.0;
        distanceList2D.append(horizontal);
    }

    IndependentLevelling independent() {
        IndependentLevelling lsq;
        lsq.unknowns = {"P1", "P2", "P3", "BM2", "BM9"};
        lsq.fixedElevations["BM1"] = 100.000;
        for (const LevelLine& l : network)
            lsq.difference(l.from, l.to, l.dh, l.sigma);
        lsq.weightedBenchmark("BM2", 105.000, 0.010);
        lsq.weightedBenchmark("BM9", 103.000, 0.020);
        lsq.solve();
        return lsq;
    }

    double adjustedElevation(const std::string& name) {
        coordRec p;
        if (pointList2D.find(name, p) < 0)
            fixedPointList2D.find(name, p);
        return p.elevation;
    }
};

} // namespace

TEST_F(VerticalAdjustment, AgreesWithAnIndependentSolutionWeightedByInverseVariances) {
    fillNetwork();
    const IndependentLevelling lsq = independent();

    const verticalNetwork net = verticalNetworkFromLists();
    EXPECT_EQ(net.freeCount, 3) << "Q has no height difference and takes no column";
    EXPECT_EQ(net.weightedCount, 2);
    EXPECT_EQ(net.fixedCount, 1);
    verticalSolution solution;
    ASSERT_EQ(solveVerticalNetwork(net, solution), verticalSolved);
    EXPECT_EQ(solution.degreesOfFreedom, 5);
    EXPECT_NEAR(solution.weightedSquares, lsq.vtpv, 1e-6);
    EXPECT_NEAR(solution.s0, lsq.s0, 1e-6);
    for (std::size_t i = 0; i < std::size(network); ++i) {
        SCOPED_TRACE(i);
        const double adjusted = solution.adjustedDiff[i];
        EXPECT_NEAR(solution.residual[i], adjusted - network[i].dh, 1e-12);
        const std::string from = network[i].from;
        const std::string to = network[i].to;
        const auto elevationOf = [&](const std::string& name) {
            const int c = lsq.column(name);
            return c >= 0 ? lsq.x[c] : lsq.fixedElevations.at(name);
        };
        EXPECT_NEAR(adjusted, elevationOf(to) - elevationOf(from), 1e-6);
        EXPECT_NEAR(solution.diffStdDev[i], lsq.rowSd[i], 1e-6);
    }

    adjustVerticalAndReport(shell);
    EXPECT_TRUE(shell.boxes.empty());
    for (std::size_t j = 0; j < lsq.unknowns.size(); ++j) {
        SCOPED_TRACE(lsq.unknowns[j]);
        coordRec p;
        if (pointList2D.find(lsq.unknowns[j], p) < 0) {
            ASSERT_GE(fixedPointList2D.find(lsq.unknowns[j], p), 0);
        }
        EXPECT_NEAR(p.elevation, lsq.x[j], 1e-6);
        EXPECT_NEAR(p.stdErrZ, lsq.sd[j], 1e-6);
    }
    EXPECT_DOUBLE_EQ(adjustedElevation("BM1"), 100.0);
    EXPECT_DOUBLE_EQ(adjustedElevation("Q"), 7.0);
}

TEST_F(VerticalAdjustment, LinesStoredInEitherDirectionGiveTheSameElevations) {
    fillNetwork(false);
    adjustVerticalAndReport(shell);
    std::vector<double> forward;
    for (const char* p : {"P1", "P2", "P3", "BM2", "BM9"})
        forward.push_back(adjustedElevation(p));
    resetProgramLists();
    fillNetwork(true);
    adjustVerticalAndReport(shell);
    int i = 0;
    for (const char* p : {"P1", "P2", "P3", "BM2", "BM9"})
        EXPECT_NEAR(adjustedElevation(p), forward[i++], 1e-9) << p;
}

TEST_F(VerticalAdjustment, AsManyDifferencesAsUnknownsGiveZeroStandardDeviations) {
    fixedPointList2D.append(point2D("BM1", vtFixedElevation, 100.0));
    pointList2D.append(point2D("P1", vtFreeElevation, notComputed));
    distanceList2D.append(heightDiff2D("BM1", "P1", 1.5, 0.01));
    adjustVerticalAndReport(shell);
    const coordRec p = pointNamed(pointList2D, "P1");
    EXPECT_NEAR(p.elevation, 101.5, 1e-9);
    EXPECT_EQ(p.stdErrZ, 0.0);
}

TEST_F(VerticalAdjustment, WritesTheFiveSectionsOfTheReport) {
    // P1 between fixed BM1 (100) and BM3 (102): 1.000 and 1.010, equal
    // weights: P1 = (101.000 + 100.990) / 2 = 100.995. The BM1 -> BM3 row has
    // no unknown: adjusted 2.000, residual -0.004. v'Wv = 10000 (0.005^2 x 2)
    // + 2500 x 0.004^2 = 0.54 over n - m0 = 2: s0 = sqrt(0.27). P1: sqrt(1 /
    // 20000) s0 = 0.0036742; BM2 (weighted, no difference): 0.02 s0 = 0.0103923.
    pointList2D.append(point2D("BM2", vtWeightedElevation, 101.5, 0.02));
    pointList2D.append(point2D("P1", vtFreeElevation, notComputed));
    fixedPointList2D.append(point2D("BM1", vtFixedElevation, 100.0));
    fixedPointList2D.append(point2D("BM3", vtFixedElevation, 102.0));
    distanceList2D.append(heightDiff2D("BM1", "P1", 1.000, 0.01));
    distanceList2D.append(heightDiff2D("P1", "BM3", 1.010, 0.01));
    distanceList2D.append(heightDiff2D("BM1", "BM3", 2.004, 0.02));
    adjustVerticalAndReport(shell);
    const auto b = [](int n) { return std::string(static_cast<std::size_t>(n), ' '); };
    const std::vector<std::string> expected = {
        "",
        "",
        b(31) + "VERTICAL BENCHMARKS",
        "",
        b(7) + "Station" + b(12) + "Elevation" + b(12) + "Std. Error",
        b(5) + "BM2       " + b(8) + "  101.5000" + b(14) + "0.020",
        b(5) + "BM1       " + b(8) + "  100.0000" + b(14) + " FIXED",
        b(5) + "BM3       " + b(8) + "  102.0000" + b(14) + " FIXED",
        "",
        "",
        b(28) + "POINTS TO BE ADJUSTED",
        "",
        b(7) + "Station",
        b(5) + "P1",
        "",
        "",
        b(32) + "MEASUREMENT SUMMARY",
        "",
        b(7) + "From" + b(10) + "To" + b(11) + "Elev. Diff.    StdErr",
        b(33) + "(unadjusted)",
        b(5) + "BM1           P1                1.0000      0.0100",
        b(5) + "P1            BM3               1.0100      0.0100",
        b(5) + "BM1           BM3               2.0040      0.0200",
        "",
        "",
        b(30) + "ADJUSTED ELEVATIONS",
        "",
        b(7) + "Station" + b(5) + "Adjusted Elev" + b(3) + "Standard Dev.",
        b(5) + "BM2             101.5000        0.01039",
        b(5) + "P1              100.9950        0.00367",
        "",
        "",
        b(24) + "ADJUSTED MEASUREMENT SUMMARY",
        "",
        b(7) + "From" + b(10) + "To" + b(10) + "Elev. Diff." + b(6) + "Residuals " + b(5) +
            " Std. Dev.",
        b(33) + "(adjusted)",
        b(5) + "BM1          P1                0.9950       -0.0050         0.004",
        b(5) + "P1           BM3               1.0050       -0.0050         0.004",
        b(5) + "BM1          BM3               2.0000       -0.0040         0.000",
        "",
    };
    EXPECT_EQ(crlfLines(reportText()), expected);
    const coordRec bm2 = pointNamed(pointList2D, "BM2");
    EXPECT_NEAR(bm2.stdErrZ, 0.010392304845413265, 1e-12);
}

TEST_F(VerticalAdjustment, ChecksStopBeforeAnythingChanges) {
    struct Case {
        const char* what;
        std::function<void()> setup;
        const char* message;
        // Differences that cannot be adjusted leave their points with the
        // elevations no difference entered: the second message names them.
        const char* unadjusted = nullptr;
    };
    const char* onlyP1Unadjusted =
        "No height difference adjusted the elevations of:\nP1\nNo vertical least squares "
        "adjustment performed.";
    const auto line = [](const char* from, const char* to, double sigma = 0.01) {
        distanceList2D.append(heightDiff2D(from, to, 1.0, sigma));
    };
    const Case cases[] = {
        {"no height difference", [] {},
         "No vertical redundancy.\nNo vertical least squares adjustment performed."},
        {"fewer rows than unknowns", [&] { line("P1", "P2"); },
         "There are too many unknowns (Not enough degrees of freedom),\nwhile attempting vertical "
         "adjustment"},
        {"no benchmark",
         [&] {
             fixedPointList2D.clear();
             line("P1", "P2");
             line("P2", "P3");
             line("P3", "P1");
         },
         "No vertical benchmarks found."},
        {"one point at both ends",
         [&] {
             line("BM1", "P1");
             line("P1", "p1");
         },
         "p1 cannot be both to and from station", onlyP1Unadjusted},
        {"unknown point",
         [&] {
             line("BM1", "P1");
             line("P1", "ZZ");
         },
         "either ZZ or P1 does'nt exist", onlyP1Unadjusted},
        {"point without vertical information",
         [&] {
             line("BM1", "P1");
             line("P1", "R");
         },
         "Error in elevation adjustment, creating A matrix", onlyP1Unadjusted},
        {"no standard error",
         [&] {
             line("BM1", "P1", 0.0);
             line("P1", "P2");
             line("P2", "BM1");
         },
         "Height difference BM1 to P1 has no standard error.\nNo vertical least squares "
         "adjustment performed."},
        {"weighted benchmark without standard error",
         [&] {
             pointList2D.append(point2D("BM2", vtWeightedElevation, 5.0, 0.0));
             line("BM2", "P1");
             line("P1", "BM1");
         },
         "Benchmark BM2 has no elevation standard error.\nNo vertical least squares adjustment "
         "performed."},
        {"points not tied to a benchmark",
         [&] {
             line("BM1", "P1");
             line("P5", "P6");
             line("P6", "P7");
             line("P7", "P5");
         },
         "No vertical benchmark is tied by height differences to:\nP5 P6 P7\nNo vertical least "
         "squares adjustment performed."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        resetProgramLists();
        shell.boxes.clear();
        fixedPointList2D.append(point2D("BM1", vtFixedElevation, 100.0));
        for (const char* p : {"P1", "P2", "P3", "P5", "P6", "P7"})
            pointList2D.append(point2D(p, vtFreeElevation, 50.0));
        pointList2D.append(point2D("R", vtNoVertical, notComputed));
        c.setup();
        adjustVerticalAndReport(shell);
        ASSERT_EQ(boxTexts().size(), c.unadjusted == nullptr ? 1u : 2u);
        EXPECT_EQ(boxTexts()[0], c.message);
        if (c.unadjusted != nullptr)
            EXPECT_EQ(boxTexts()[1], c.unadjusted);
        EXPECT_DOUBLE_EQ(pointNamed(pointList2D, "P1").elevation, 50.0);
    }
    EXPECT_EQ(reportText(), "") << "no section is written after a failed check";
}

TEST_F(VerticalAdjustment, ALongListOfPointsWrapsBefore78Characters) {
    std::string line;
    for (int i = 1; i <= 8; ++i)
        ASSERT_EQ(appendNameToLine(line, "PT0000000" + std::to_string(i)), 0);
    // Five blanks and six names of 10 with commas make 70 characters; the
    // seventh would pass 78, so the line is written and a new one starts.
    const std::string written = reportText();
    EXPECT_EQ(written,
              "     PT00000001,PT00000002,PT00000003,PT00000004,PT00000005,PT00000006\r\n");
    EXPECT_EQ(line, "     PT00000007,PT00000008");
}

TEST_F(VerticalAdjustment, AdjustedElevationsAreKeptWhenTheReportCannotBeWritten) {
    fixedPointList2D.append(point2D("BM1", vtFixedElevation, 100.0));
    pointList2D.append(point2D("P1", vtFreeElevation, notComputed));
    distanceList2D.append(heightDiff2D("BM1", "P1", 1.5, 0.01));
    const int reportHandle = rptFile;
    rptFile = ::open("/dev/full", O_WRONLY);
    ASSERT_GT(rptFile, 0);
    adjustVerticalAndReport(shell);
    ::close(rptFile);
    rptFile = reportHandle;
    EXPECT_EQ(boxTexts(), std::vector<std::string>{
                              "Error writing output to /dev/full: No space left on device"});
    clearOutputWriteFailures();
    EXPECT_NEAR(pointNamed(pointList2D, "P1").elevation, 101.5, 1e-9);
}

// A network that is there to adjust but yields no adjustment: standard
// errors so large that their weights vanish (no inverse), or so small that
// their weights overflow (no finite solution), or none at all. The caller
// learns that the adjustment failed, the points keep their values, and the
// error report holds the message the screen showed.
TEST_F(VerticalAdjustment, NetworksThatYieldNoAdjustmentAreAFailureInTheErrorReport) {
    const std::string notPerformed = "\nNo vertical least squares adjustment performed.";
    struct Row {
        const char* what;
        double stdErr;
        std::string message;
    };
    const Row rows[] = {{"weights that vanish", 1e200,
                         "The vertical normal equations are singular." + notPerformed},
                        {"weights that overflow", 1e-160,
                         "The vertical adjustment has no finite solution." + notPerformed},
                        {"no standard error", 0.0,
                         "Height difference BM1 to P1 has no standard error." + notPerformed}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        pointList2D.clear();
        fixedPointList2D.clear();
        distanceList2D.clear();
        fixedPointList2D.append(point2D("BM1", vtFixedElevation, 100.0));
        pointList2D.append(point2D("P1", vtFreeElevation, notComputed));
        distanceList2D.append(heightDiff2D("BM1", "P1", 1.5, row.stdErr));
        shell.boxes.clear();
        bool failed = false;
        EXPECT_FALSE(adjustVertical(RunContext(shell), &failed).has_value());
        EXPECT_TRUE(failed);
        EXPECT_EQ(pointNamed(pointList2D, "P1").elevation, notComputed);
        EXPECT_EQ(boxTexts(), std::vector<std::string>{row.message});
    }
    const std::string errors = errorText();
    for (const Row& row : rows)
        EXPECT_NE(errors.find(row.message), std::string::npos) << row.what;
}

// A benchmark weighted loosely on purpose (100 m) closes a loop of
// millimetre differences: its pivot is about 1e-11 of its diagonal element
// (1e-4 against 2e6), a network that is sound, not a singular one. By hand:
// the misclosure 1.000 + 0.500 - 1.502 = -0.002 goes in equal parts to the
// three equal differences, BM keeps 100 (nothing else weighs it): P1 =
// 101.000667, P2 = 101.501333. v'Wv = 3 (0.002 / 3)^2 1e6 = 4 / 3 over
// n - m0 = 1: s0 = 1.1547; every point moves with BM, Q = 1e4 (+ terms of
// 1e-6): standard deviations 100 s0 = 115.47. The elevations, unknowns of a
// normal matrix of condition 1e10, come out to a few tenths of a millimetre.
TEST_F(VerticalAdjustment, ALooselyWeightedBenchmarkIsNoSingularNetwork) {
    pointList2D.append(point2D("BM", vtWeightedElevation, 100.0, 100.0));
    for (const char* p : {"P1", "P2"})
        pointList2D.append(point2D(p, vtFreeElevation, notComputed));
    for (const LevelLine& l :
         {LevelLine{"BM", "P1", 1.000, 0.001}, LevelLine{"P1", "P2", 0.500, 0.001},
          LevelLine{"P2", "BM", -1.502, 0.001}})
        distanceList2D.append(heightDiff2D(l.from, l.to, l.dh, l.sigma));

    const verticalNetwork net = verticalNetworkFromLists();
    verticalSolution solution;
    ASSERT_EQ(solveVerticalNetwork(net, solution), verticalSolved);
    EXPECT_NEAR(solution.s0, 2.0 / std::sqrt(3.0), 1e-3);
    const std::pair<const char*, double> expected[] = {
        {"BM", 100.0}, {"P1", 101.0 + 0.002 / 3}, {"P2", 101.5 + 0.004 / 3}};
    for (const auto& [name, elevation] : expected) {
        SCOPED_TRACE(name);
        const int column = net.find(name)->column;
        EXPECT_NEAR(solution.elevation[column], elevation, 1e-3);
        EXPECT_NEAR(solution.stdDev[column], 100.0 * 2.0 / std::sqrt(3.0), 1e-2);
    }
}
