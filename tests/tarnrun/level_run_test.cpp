// The example project with a level file beside its traverse: a differential
// (.LEV) and a trigonometric (.tlv) file, each with two benchmarks and a
// loop over two new points. The run writes the unadjusted level report and
// the vertical sections, and the adjusted elevations reach .NEZ and .OUT.
// They are checked against a weighted least-squares solution (weights
// 1/sigma^2) computed here; the level points share no observation with the
// traverse, so their normal equations stand apart from its elevations.

#include "damaged_field_run.hpp"
#include "site_copy_run.hpp"
#include "support/report_text.hpp"

#include <array>
#include <cmath>
#include <numbers>
#include <sstream>
#include <tuple>

namespace {

constexpr int exitConverged = 0;
constexpr int exitAdjustmentFailed = 2;

// Standard error of a levelled difference over n setups, with the project's
// defaults: sight length D 50, rod reading 0.0001 per 100, collimation 3".
double levelSigma(int n) {
    const double r = 0.0001 / 100.0;
    const double c = 3.0 * std::numbers::pi / 648000.0;
    return 50.0 * std::sqrt(2.0 * n * (r * r + c * c));
}

// Unknowns in this order.
enum Point { BM1, BM2, L1, L2, pointCount };
constexpr std::array<const char*, pointCount> names = {"BM1", "BM2", "L1", "L2"};

struct Difference {
    Point from, to;
    double dh;
    int setups;
};

// Elevations by weighted least squares: the differences and the two weighted
// benchmarks (sigma 0.02, the example's stErrZ), normal equations solved by
// Gauss elimination.
std::array<double, pointCount> solve(const std::vector<Difference>& differences, double bm1,
                                     double bm2) {
    double N[pointCount][pointCount] = {};
    double u[pointCount] = {};
    auto addRow = [&](const std::array<double, pointCount>& a, double l, double sigma) {
        const double w = 1.0 / (sigma * sigma);
        for (int i = 0; i < pointCount; ++i) {
            u[i] += a[i] * w * l;
            for (int j = 0; j < pointCount; ++j)
                N[i][j] += a[i] * w * a[j];
        }
    };
    for (const Difference& d : differences) {
        std::array<double, pointCount> a{};
        a[d.to] = 1.0;
        a[d.from] = -1.0;
        addRow(a, d.dh, levelSigma(d.setups));
    }
    addRow({1, 0, 0, 0}, bm1, 0.02);
    addRow({0, 1, 0, 0}, bm2, 0.02);
    for (int k = 0; k < pointCount; ++k)
        for (int i = k + 1; i < pointCount; ++i) {
            const double f = N[i][k] / N[k][k];
            for (int j = k; j < pointCount; ++j)
                N[i][j] -= f * N[k][j];
            u[i] -= f * u[k];
        }
    std::array<double, pointCount> x{};
    for (int i = pointCount - 1; i >= 0; --i) {
        double s = u[i];
        for (int j = i + 1; j < pointCount; ++j)
            s -= N[i][j] * x[j];
        x[i] = s / N[i][i];
    }
    return x;
}

// Runs the example with the level file, the settings as `change` leaves
// them; its exit status.
int runWithLevels(const testsupport::TempFolder& folder, const std::string& levelName,
                  const std::string& levelText, int format, void (*change)(globalVars&) = nullptr) {
    testsupport::writeBytes(folder / levelName, levelText);
    globalVars settings = sitecopy::exampleSettings();
    if (change != nullptr)
        change(settings);
    settings.vertAdjust = 1;
    settings.includeLevData = 1;
    settings.pLevRawFileName = (folder / levelName).string();
    settings.levelFileFmtType = format;
    settings.zOutPrec = 6;
    return sitecopy::run(folder, settings,
                         testsupport::readBytes(sitecopy::exampleFile("site.vkr")));
}

// The whitespace-separated fields of the first line after `after` that
// starts with `start`.
std::vector<std::string> fieldsOf(const std::string& text, const std::string& after,
                                  const std::string& start) {
    std::vector<std::string> fields;
    const std::size_t from = text.find(after);
    if (from == std::string::npos)
        return fields;
    for (const std::string& line : sitecopy::lines(text.substr(from)))
        if (line.rfind(start, 0) == 0) {
            std::istringstream words(line);
            for (std::string w; words >> w;)
                fields.push_back(w);
            break;
        }
    return fields;
}

void expectVerticalSections(const std::string& report, const std::string& levelReport) {
    for (const std::string& title :
         {levelReport, std::string("VERTICAL BENCHMARKS"), std::string("POINTS TO BE ADJUSTED"),
          std::string("MEASUREMENT SUMMARY"), std::string("ADJUSTED ELEVATIONS"),
          std::string("ADJUSTED MEASUREMENT SUMMARY")})
        EXPECT_NE(report.find(title + "\r\n"), std::string::npos) << title << "\n" << report;
}

// Elevations in .NEZ (6 decimals) and .OUT (3 decimals; the level points
// have no code, so the elevation is the fourth field), and the adjusted
// elevations and residuals of the report (4 decimals), against `x`.
void expectElevations(const testsupport::TempFolder& folder,
                      const std::array<double, pointCount>& x,
                      const std::vector<Difference>& report) {
    const auto nez = sitecopy::readNez(folder / "site.NEZ");
    const std::string out = testsupport::readBytes(folder / "site.OUT");
    const std::string rpt = testsupport::readBytes(folder / "site.RPT");
    for (int p = 0; p < pointCount; ++p) {
        SCOPED_TRACE(names[p]);
        ASSERT_EQ(nez.count(names[p]), 1u);
        EXPECT_NEAR(nez.at(names[p]).elevation, x[p], 1e-6);
        const std::vector<std::string> outLine =
            fieldsOf(out, "Pt.No.", names[p] + std::string(" "));
        ASSERT_FALSE(outLine.empty()) << out;
        EXPECT_NEAR(platform::atofC(outLine[3]), x[p], 0.0005);
        const std::vector<std::string> adjusted =
            fieldsOf(rpt, "ADJUSTED ELEVATIONS", "     " + std::string(names[p]) + " ");
        ASSERT_EQ(adjusted.size(), 3u) << rpt;
        EXPECT_NEAR(platform::atofC(adjusted[1]), x[p], 0.00005);
    }
    for (const Difference& d : report) {
        SCOPED_TRACE(std::string(names[d.from]) + " " + names[d.to]);
        const std::vector<std::string> line = fieldsOf(
            rpt, "ADJUSTED MEASUREMENT SUMMARY",
            "     " + std::string(names[d.from]) +
                std::string(10 - std::string(names[d.from]).size() + 3, ' ') + names[d.to] + " ");
        ASSERT_EQ(line.size(), 5u) << rpt;
        const double adjustedDh = x[d.to] - x[d.from];
        EXPECT_NEAR(platform::atofC(line[2]), adjustedDh, 0.00005);
        EXPECT_NEAR(platform::atofC(line[3]), adjustedDh - d.dh, 0.00005);
    }
}

// The differential level file of the tests below, lines ending in CR LF.
// Run 1: HI 101.5 on BM1; L1 = 101.5 - 0.8 = 100.7 (n 1); an unnamed
// turning point (100.4), then L2 = 101.5 - 1.3 = 100.2 (n 2); back to
// BM1: 101.5 - 1.503 - 100.2 = -0.203 (n 1). Run 2: BM2 -> L2 =
// 101.3 - 1.098 - 100.3 = -0.098 (n 1). Run 3: L2 -> BM2 over an unnamed
// turning point: 101.3 - 1.005 - 100.2 = 0.095 (n 2), the same line
// reversed, combined with run 2 as a weighted mean.
std::string differentialLevelText() {
    return "SR,PNBM1,BS1.500,FS,FE100.000,--bench one\r\n"
           "TP,PNL1,BS1.200,FS0.800,--\r\n"
           "TP,PN,BS1.100,FS1.500,--\r\n"
           "TP,PNL2,BS1.300,FS1.300,--\r\n"
           "ER,PNBM1,BS,FS1.503,--\r\n"
           "SR,PNBM2,BS1.000,FS,FE100.300,--bench two\r\n"
           "ER,PNL2,BS,FS1.098,--\r\n"
           "SR,PNL2,BS1.200,FS,EL100.200,--\r\n"
           "TP,PN,BS1.000,FS1.100,--\r\n"
           "ER,PNBM2,BS,FS1.005,--\r\n";
}

// The trigonometric level file of the tests below, lines ending in CR LF.
std::string trigonometricLevelText() {
    return "BM,PNBM1,EL100.000\r\n"
           "LS,HR1.500\r\n"
           "BS,PNBM1,VD-0.200\r\n"
           "FS,PNL1,VD0.400\r\n"
           "BS,PNL1,VD-0.300\r\n"
           "FS,PNL2,VD0.100\r\n"
           "BS,PNL2,VD-0.250\r\n"
           "FS,PNBM1,VD-1.253\r\n"
           "BM,PNBM2,EL99.000\r\n"
           "BS,PNBM2,VD0.100\r\n"
           "FS,PNL2,VD0.102\r\n";
}

// The text with every CR LF replaced by `lineEnd`.
std::string withLineEnds(std::string text, const std::string& lineEnd) {
    return testsupport::replaceAll(std::move(text), "\r\n", lineEnd);
}

} // namespace

TEST(LevelRun, DifferentialLevelFileAdjustsTheElevations) {
    testsupport::TempFolder folder("level-run-lev");
    const std::string lev = differentialLevelText();
    ASSERT_EQ(runWithLevels(folder, "site.lev", lev, 0), exitConverged);
    const std::vector<Difference> observed = {{BM1, L1, 0.700, 1},
                                              {L1, L2, -0.500, 2},
                                              {L2, BM1, -0.203, 1},
                                              {BM2, L2, -0.098, 1},
                                              {BM2, L2, -0.095, 2}};
    const std::array<double, pointCount> x = solve(observed, 100.000, 100.300);

    const double w1 = 1.0 / std::pow(levelSigma(1), 2);
    const double w2 = 1.0 / std::pow(levelSigma(2), 2);
    const Difference combined{BM2, L2, (-0.098 * w1 - 0.095 * w2) / (w1 + w2), 1};
    const std::string rpt = testsupport::readBytes(folder / "site.RPT");
    expectVerticalSections(rpt, "Unadjusted Level Report");
    const std::vector<std::string> summary = fieldsOf(
        rpt, "\r\n                                MEASUREMENT SUMMARY", "     BM2           L2 ");
    ASSERT_EQ(summary.size(), 4u) << rpt;
    EXPECT_NEAR(platform::atofC(summary[2]), combined.dh, 0.00005);
    EXPECT_NEAR(platform::atofC(summary[3]), 1.0 / std::sqrt(w1 + w2), 0.00005);
    expectElevations(folder, x, {observed[0], observed[1], observed[2], combined});
}

TEST(LevelRun, TrigonometricLevelFileAdjustsTheElevations) {
    testsupport::TempFolder folder("level-run-tlv");
    // Each difference is the backsight's vertical value less the
    // foresight's: BM1 -> L1 -0.2 - 0.4 (n 1), L1 -> L2 -0.3 - 0.1 (n 3),
    // L2 -> BM1 -0.25 + 1.253 (n 5): the setup count runs on from the
    // benchmark. BM2 -> L2 0.1 - 0.102 (n 1).
    const std::string tlv = trigonometricLevelText();
    ASSERT_EQ(runWithLevels(folder, "site.tlv", tlv, 1), exitConverged);
    const std::vector<Difference> observed = {
        {BM1, L1, -0.600, 1}, {L1, L2, -0.400, 3}, {L2, BM1, 1.003, 5}, {BM2, L2, -0.002, 1}};
    const std::array<double, pointCount> x = solve(observed, 100.000, 99.000);
    expectVerticalSections(testsupport::readBytes(folder / "site.RPT"),
                           "Unadjusted Trigonometric Level Report");
    expectElevations(folder, x, observed);
}

// A level file whose lines end in CR alone (or LF alone) reads as the same
// file with CR LF does: the same adjusted elevations, never an empty read.
TEST(LevelRun, LevelFileWithCrOrLfLineEndsReadsLikeCrLf) {
    testsupport::TempFolder crLf("level-run-crlf");
    ASSERT_EQ(runWithLevels(crLf, "site.lev", differentialLevelText(), 0), exitConverged);
    const std::string expected = testsupport::readBytes(crLf / "site.NEZ");
    ASSERT_NE(expected.find("L2"), std::string::npos);
    for (const char* lineEnd : {"\r", "\n"}) {
        SCOPED_TRACE(lineEnd[0] == '\r' ? "CR" : "LF");
        testsupport::TempFolder folder("level-run-line-ends");
        ASSERT_EQ(
            runWithLevels(folder, "site.lev", withLineEnds(differentialLevelText(), lineEnd), 0),
            exitConverged);
        EXPECT_EQ(testsupport::readBytes(folder / "site.NEZ"), expected);
    }
}

// A vertical adjustment that fails ends the run (exit 2) without new
// coordinates: the level points have no elevations to write, so the .NEZ
// and .OUT of the run before stay as they were, byte for byte, and the error
// report says so. Points levelled among themselves are tied to no benchmark,
// whether they close a loop of their own (L5, L6, L7), are levelled out and
// back between two of them (the two runs make one line: each point has a
// single height difference, as a vertical sideshot has), run in an open
// line, or hang off such a loop (L8); each is named. In a project of levels
// alone such points leave nothing to adjust, or no benchmark at all, and are
// named after the reason the adjustment did not run. A sight length of 0
// gives every difference a standard error of 0.
TEST(LevelRun, AFailedVerticalAdjustmentKeepsThePreviousCoordinateFiles) {
    struct Row {
        const char* what;
        std::string levelText;
        void (*change)(globalVars&);
        const char* reason;
    };
    const std::string untiedLoop = "SR,PNL5,BS1.000,FS,EL50.000,--\r\n"
                                   "TP,PNL6,BS1.100,FS1.200,--\r\n"
                                   "TP,PNL7,BS1.300,FS1.000,--\r\n"
                                   "ER,PNL5,BS,FS1.198,--\r\n";
    // No traverse: the level file's differences are the whole vertical network.
    const auto levelsAlone = [](globalVars& s) {
        s.includeRawData = 0;
        s.horizAdjust = 0;
    };
    const Row rows[] = {
        {"points tied to no benchmark", differentialLevelText() + untiedLoop, nullptr,
         "No vertical benchmark is tied by height differences to:\nL5 L6 L7\n"},
        {"two points levelled out and back between themselves",
         differentialLevelText() + "SR,PNL5,BS1.000,FS,EL50.000,--\r\n"
                                   "TP,PNL6,BS1.100,FS1.200,--\r\n"
                                   "ER,PNL5,BS,FS0.902,--\r\n",
         nullptr, "No vertical benchmark is tied by height differences to:\nL5 L6\n"},
        {"an open line between points of no benchmark",
         differentialLevelText() + "SR,PNL5,BS1.000,FS,EL50.000,--\r\n"
                                   "TP,PNL6,BS1.100,FS1.200,--\r\n"
                                   "ER,PNL7,BS,FS0.900,--\r\n",
         nullptr, "No vertical benchmark is tied by height differences to:\nL5 L6 L7\n"},
        {"a point levelled once from points tied to no benchmark",
         differentialLevelText() + untiedLoop +
             "SR,PNL7,BS1.000,FS,EL50.000,--\r\n"
             "ER,PNL8,BS,FS1.400,--\r\n",
         nullptr, "No vertical benchmark is tied by height differences to:\nL5 L6 L7 L8\n"},
        {"two points levelled out and back in a project of levels alone",
         "SR,PNL5,BS1.000,FS,EL50.000,--\r\n"
         "TP,PNL6,BS1.100,FS1.200,--\r\n"
         "ER,PNL5,BS,FS0.902,--\r\n",
         levelsAlone,
         "No vertical redundancy.\nNo vertical least squares adjustment performed.\r\n"
         "No vertical benchmark is tied by height differences to:\nL5 L6\n"},
        {"a loop in a project of levels alone without a benchmark", untiedLoop, levelsAlone,
         "No vertical benchmarks found.\r\n"
         "No vertical benchmark is tied by height differences to:\nL5 L6 L7\n"},
        // The adjustment refuses a difference from a point to itself; the
        // traverse points kept their preliminary elevations, which no
        // difference entered, and were written as if adjusted.
        {"a loop from a benchmark back to it over unnamed turning points",
         differentialLevelText() + "SR,PNBM1,BS1.500,FS,FE100.000,--\r\n"
                                   "TP,PN,BS1.200,FS0.800,--\r\n"
                                   "ER,PNBM1,BS,FS1.900,--\r\n",
         nullptr,
         "BM1 cannot be both to and from station\r\n"
         "No height difference adjusted the elevations of:\n"},
        {"differences without a standard error", differentialLevelText(),
         [](globalVars& s) { s.diffLevDistBSFS = 0.0; },
         "Height difference BM1 to L1 has no standard error."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        testsupport::TempFolder folder("level-run-failed");
        ASSERT_EQ(runWithLevels(folder, "site.lev", differentialLevelText(), 0), exitConverged);
        const std::string nez = testsupport::readBytes(folder / "site.NEZ");
        const std::string out = testsupport::readBytes(folder / "site.OUT");
        ASSERT_NE(nez.find("L2"), std::string::npos);

        EXPECT_EQ(runWithLevels(folder, "site.lev", row.levelText, 0, row.change),
                  exitAdjustmentFailed);
        EXPECT_EQ(testsupport::readBytes(folder / "site.NEZ"), nez);
        EXPECT_EQ(testsupport::readBytes(folder / "site.OUT"), out);
        const std::string errors = testsupport::readBytes(folder / "site.ERR");
        EXPECT_NE(errors.find(row.reason), std::string::npos) << errors;
        EXPECT_NE(errors.find("are kept as the previous run left them"), std::string::npos)
            << errors;
    }
}

// A point levelled once from a benchmark, and one levelled once from that
// point, are vertical sideshots: left out of the adjustment, their
// elevations are carried from the benchmark afterwards. By hand: S1 =
// BM2 100.300 + 1.000 - 0.400 = 100.900 (BM2 weighted, so it is adjusted
// first); S2 = S1 + 1.200 - 1.700 = S1 - 0.500.
TEST(LevelRun, VerticalSideshotsOffABenchmarkGetTheirElevations) {
    testsupport::TempFolder folder("level-run-sideshots");
    ASSERT_EQ(runWithLevels(folder, "site.lev",
                            differentialLevelText() + "SR,PNBM2,BS1.000,FS,FE100.300,--\r\n"
                                                      "TP,PNS1,BS1.200,FS0.400,--\r\n"
                                                      "ER,PNS2,BS,FS1.700,--\r\n",
                            0),
              exitConverged);
    const std::vector<Difference> observed = {{BM1, L1, 0.700, 1},
                                              {L1, L2, -0.500, 2},
                                              {L2, BM1, -0.203, 1},
                                              {BM2, L2, -0.098, 1},
                                              {BM2, L2, -0.095, 2}};
    const double bm2 = solve(observed, 100.000, 100.300)[BM2];
    const auto nez = sitecopy::readNez(folder / "site.NEZ");
    ASSERT_EQ(nez.count("S1"), 1u);
    ASSERT_EQ(nez.count("S2"), 1u);
    EXPECT_NEAR(nez.at("S1").elevation, bm2 + 0.600, 1e-6);
    EXPECT_NEAR(nez.at("S2").elevation, bm2 + 0.100, 1e-6);
    const std::string rpt = testsupport::readBytes(folder / "site.RPT");
    const std::string sideshots = rpt.substr(rpt.find("\r\nVertical Sideshots\r\n"));
    EXPECT_NE(sideshots.find(" S1 "), std::string::npos) << rpt;
    EXPECT_NE(sideshots.find(" S2 "), std::string::npos) << rpt;
}

// A level file the project names but that is not there stops the run (exit
// 1) with the file named in the error report; a run without its level data
// would report elevations nobody measured as adjusted.
TEST(LevelRun, MissingLevelFileStopsTheRun) {
    testsupport::TempFolder folder("level-run-missing");
    for (const int format : {0, 1}) {
        SCOPED_TRACE(format);
        globalVars settings = sitecopy::exampleSettings();
        settings.vertAdjust = 1;
        settings.includeLevData = 1;
        settings.pLevRawFileName = (folder / "absent.lev").string();
        settings.levelFileFmtType = format;
        EXPECT_EQ(sitecopy::run(folder, settings,
                                testsupport::readBytes(sitecopy::exampleFile("site.vkr"))),
                  1);
        const std::string errors = testsupport::readBytes(folder / "site.ERR");
        EXPECT_NE(errors.find("Error opening " + (folder / "absent.lev").string()),
                  std::string::npos)
            << errors;
        EXPECT_FALSE(std::filesystem::exists(folder / "site.NEZ"));
    }
}

// Every field of a level record is read whole or the run stops naming the
// file, the line and the field; a damaged record is never left out with a
// warning while the records after it are reduced as if it had not been
// there (a turning point dropped moves every later elevation of its run).
TEST(LevelRun, ADamagedFieldStopsTheRunNamingFileLineAndField) {
    using damagedfield::Damage;
    const std::vector<Damage> differential = {
        {"decimal comma", "FS0.800", "FS0,800", 2, "FS0,800"},
        {"blank inside a number", "FS0.800", "FS0 .800", 2, "FS0 .800"},
        {"tab inside a number", "BS1.100", "BS1\t100", 3, "backsight \"1<TAB>100\""},
        {"name of 13 characters", "PNL2,BS1.300", "PNLEVELPOINT2,BS1.300", 4, "LEVELPOINT2"},
        {"damaged turning point", "FS1.300", "FS1.3x0", 4, "FS1.3x0"},
        {"decimal comma in a benchmark", "FE100.000", "FE100,000", 1, "FE100,000"},
        // A damaged code was no record: its readings went to the records after it.
        {"damaged turning point code", "TP,PNL1", "QP,PNL1", 2, "record code \"QP\""},
        {"damaged start of run code", "SR,PNBM2", "QR,PNBM2", 6, "record code \"QR\""},
        {"damaged end of run code", "ER,PNL2", "QR,PNL2", 7, "record code \"QR\""},
    };
    const std::vector<Damage> trigonometric = {
        {"decimal comma", "VD-0.300", "VD-0,300", 5, "VD-0,300"},
        {"blank inside a number", "EL99.000", "EL99 .000", 9, "EL99 .000"},
        {"NUL inside a number", "VD0.400", std::string("VD0") + '\0' + "400", 4,
         "vertical difference \"0<NUL>400\""},
        {"tab inside a number", "HR1.500", "HR1\t500", 2, "rod height \"1<TAB>500\""},
        {"name of 13 characters", "PNL1,VD-0.300", "PNLEVELPOINT1,VD-0.300", 5, "LEVELPOINT1"},
        {"damaged foresight code", "FS,PNL1", "QS,PNL1", 4, "record code \"QS\""},
        {"damaged benchmark code", "BM,PNBM2", "QM,PNBM2", 9, "record code \"QM\""},
    };
    const std::string tlv = trigonometricLevelText();
    for (const auto& [name, text, format, rows] :
         {std::tuple{"site.lev", differentialLevelText(), 0, differential},
          std::tuple{"site.tlv", tlv, 1, trigonometric}}) {
        SCOPED_TRACE(name);
        testsupport::TempFolder folder("level-run-damaged");
        damagedfield::expectEveryDamageStops(
            folder, folder / name, "site", text,
            [&, name = name, format = format](const std::string& levels) {
                return runWithLevels(folder, name, levels, format);
            },
            rows);
    }
}
