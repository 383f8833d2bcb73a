// Runs of the horizontal adjustment: equivalent inputs, failures and their
// messages, the convergence rule, the ellipse orientation and the blunder
// passes.

#include "engine/best_solutions.hpp"
#include "engine/horizontal_adjustment_engine.hpp"
#include "engine/horizontal_adjustment_networks.hpp"
#include "engine/relative_error_ellipse.hpp"
#include "model/angle_text.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/length_units.hpp"
#include "platform/shell_services.hpp"
#include "reports/alta_report.hpp"
#include "reports/report_files.hpp"
#include "run/horizontal_adjustment.hpp"
#include "support/project_vars_guard.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

using namespace testnet;

namespace {

class HorizontalRun : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = setActiveShell(&shell);
        projectVars.projectFileName = (folder / "net1.prj").string();
        context.temporaryFolder = folder.path().string() + "/";
        projectVars.confidenceInterval = 95.0;
        projectVars.maxIterations = 10;
        projectVars.convergeLimit = 1e-6;
        projectVars.coordPrec = 3;
        projectVars.distPrec = 3;
        projectVars.directionPrec = 1;
        openRptFile(startNewFile);
        openErrFile(startNewFile);
    }
    void TearDown() override {
        closeRptFile();
        closeErrFile();
        setActiveShell(previous_);
    }
    // A fresh report, error report and list of message boxes for the next
    // case of a table.
    void startCase() {
        shell.boxes.clear();
        openRptFile(startNewFile);
        openErrFile(startNewFile);
    }
    std::string report() {
        closeRptFile();
        return testsupport::readBytes(folder / "net1.RPT");
    }
    std::string errors() {
        closeErrFile();
        return testsupport::readBytes(folder / "net1.ERR");
    }
    std::vector<std::string> boxes() const {
        std::vector<std::string> texts;
        for (const auto& box : shell.boxes)
            texts.push_back(box.text);
        return texts;
    }

    testsupport::ProjectVarsGuard guard;
    testsupport::TempFolder folder{"adjust2d"};
    RecordingShell shell;
    RunContext context{shell};

private:
    ShellServices* previous_ = nullptr;
};

// Four points and no control: translation and rotation are free (a datum
// defect of 3), so with eight unknowns the first dependent one is column
// 8 - 3 = 5, the northing of the third point.
Network withoutControl() {
    Network n = bracedQuadrilateral();
    for (Point& p : n.points)
        p.type = 0;
    return n;
}

// P is tied to the fixed points by one distance only: it may slide across
// that line, so its northing (the unknown after its easting) depends.
Network pointOnOneDistance() {
    Network n;
    n.points = {fixedAt("A", 1000, 1000), fixedAt("B", 1300, 1000),
                unknownAt("P", 1150, 1200, 0.1, 0.1)};
    n.obs = {dist("A", "P"), dist("A", "B"), dist("B", "A")};
    return n;
}

} // namespace

TEST_F(HorizontalRun, SingularNormalEquationsNameThePointAndCoordinateAndPrintNoNumbers) {
    struct Row {
        const char* name;
        Network (*network)();
        const char* message;
    };
    const Row rows[] = {
        {"datum defect", withoutControl,
         "N matrix not positive definite. The solution broke down at the northing of point C."},
        {"undetermined point", pointOnOneDistance,
         "N matrix not positive definite. The solution broke down at the northing of point P."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        startCase();
        fillLists(row.network());
        EXPECT_EQ(adjust2D(context), adjustment2DOverflow);
        EXPECT_EQ(boxes(), std::vector<std::string>{row.message});
        EXPECT_EQ(errors(), std::string(row.message) + "\r\n");
        EXPECT_EQ(report(), "");
        EXPECT_EQ(varCovMatrix, nullptr);
        EXPECT_EQ(errEllipseCount, 0);
    }
}

TEST_F(HorizontalRun, FailuresEndWithTheirMessage) {
    struct Row {
        const char* name;
        int maxIterations;
        int cancelAfterPumps;
        const char* message;
    };
    const Row rows[] = {
        {"budget used up", 1, -1, "Solution did not converge within 0.000001 in  1 iteration"},
        {"cancelled", 10, 1, "The user aborted processing."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        shell.pumps = 0;
        shell.cancelAfterPumps = row.cancelAfterPumps;
        startCase();
        projectVars.maxIterations = row.maxIterations;
        fillLists(bracedQuadrilateral());
        EXPECT_EQ(adjust2D(context), adjustment2DFailed);
        EXPECT_EQ(boxes(), std::vector<std::string>{row.message});
        EXPECT_EQ(errors(), std::string(row.message) + "\r\n");
        EXPECT_EQ(report(), "");
        EXPECT_FALSE(shell.cancelShown);
    }
}

TEST_F(HorizontalRun, IterationsShowTheirNumber) {
    projectVars.maxIterations = 2;
    fillLists(bracedQuadrilateral());
    adjust2D(context);
    EXPECT_EQ(shell.messages, (std::vector<std::string>{"Iteration:  1", "Iteration:  2"}));
    EXPECT_FALSE(shell.percents.empty());
    EXPECT_EQ(shell.percents.back(), 100);
}

namespace {

// A shell whose clock moves a second on every reading, so each long step
// posts and asks at its first chance; it cancels at the given pump after
// the statistics start.
class TickingShell : public RecordingShell {
public:
    std::chrono::system_clock::time_point now() override {
        return clock += std::chrono::seconds(1);
    }
    void pump() override {
        RecordingShell::pump();
        if (!messages.empty() && messages.back() == "Solution converged, Computing statistics.")
            ++pumpsInStatistics;
    }
    bool cancelled() override { return pumpsInStatistics >= cancelAtPump; }

    int pumpsInStatistics = 0;
    int cancelAtPump = 0;
};

} // namespace

// The selected inversion and the standard deviations ask once each on a
// network this small, then the listings between their sections: a cancel
// in either step ends the run as a cancelled one, keeps no results, and
// leaves the report without the sections still to come.
TEST_F(HorizontalRun, ACancelDuringTheStatisticsOrTheListingsEndsTheRun) {
    struct Row {
        const char* name;
        int cancelAtPump;
        bool coordinatesListed;
    };
    const Row rows[] = {
        {"selected inversion", 1, false}, {"standard deviations", 2, false}, {"listings", 3, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TickingShell ticking;
        ticking.cancelAtPump = row.cancelAtPump;
        openRptFile(startNewFile);
        openErrFile(startNewFile);
        fillLists(bracedQuadrilateral());
        EXPECT_EQ(adjust2D(RunContext{ticking}), adjustment2DFailed);
        EXPECT_EQ(ticking.boxTexts(), std::vector<std::string>{"The user aborted processing."});
        EXPECT_EQ(ticking.pumpsInStatistics, row.cancelAtPump);
        EXPECT_EQ(varCovMatrix, nullptr);
        EXPECT_EQ(errEllipseCount, 0);
        const std::string rpt = report();
        EXPECT_EQ(rpt.find("Adjusted Coordinates\r\n") != std::string::npos, row.coordinatesListed);
        EXPECT_EQ(rpt.find("Adjusted Observations"), std::string::npos);
        EXPECT_FALSE(ticking.cancelShown);
    }
}

TEST_F(HorizontalRun, AnObservationOfAPointWithoutCoordinatesStopsTheRun) {
    fillLists(bracedQuadrilateral());
    distanceObs2D d;
    setPointName(d.from, "A");
    setPointName(d.to, "GHOST");
    d.distance = 10.0;
    d.stdErrDist = 0.01;
    distanceList2D.append(d);
    EXPECT_EQ(adjust2D(context), adjustment2DFailed);
    EXPECT_EQ(boxes(),
              std::vector<std::string>{"Point GHOST of an observation has no coordinates."});
}

TEST_F(HorizontalRun, NothingToAdjustReturnsQuietly) {
    fillLists(bracedQuadrilateral());
    obsCount = 0;
    EXPECT_EQ(adjust2D(context), adjustment2DFailed);
    EXPECT_TRUE(boxes().empty());
}

// Fault mended: the last iteration of the budget could never converge, so
// with maxIterations 1 no run converged. Exact observations from the true
// positions converge in the first iteration; a start 0.3 m off converges in
// the second.
TEST(HorizontalConvergence, ConvergenceOnTheLastAllowedIterationCounts) {
    testsupport::ProjectVarsGuard guard;
    projectVars.confidenceInterval = 95.0;
    Network exact = bracedQuadrilateral();
    exact.noiseScale = 0.0;
    for (Point& p : exact.points)
        p.startE = p.startN = 0.0;
    fillLists(exact);
    EngineResult got = runEngine(1, 1e-6);
    EXPECT_EQ(got.status, SolveStatus::converged);
    EXPECT_EQ(got.iterations, 1);

    exact.points[2].startE = 0.003;
    fillLists(exact);
    got = runEngine(2, 1e-3);
    EXPECT_EQ(got.status, SolveStatus::converged);
    EXPECT_EQ(got.iterations, 2);
}

// Fault mended: with equal variances the orientation came out 0 or pi
// whatever the covariance, and the "semi-major" axis was then the smaller.
// The semi-major axis points where the variance is largest: for
// Q = [[1, c], [c, 1]] along the diagonal NE (c > 0) or SE (c < 0), with
// variance 1 + |c|, the minor 1 - |c|.
TEST(PointErrorEllipse, EqualVariancesOrientTheAxisAlongTheCovariance) {
    struct Row {
        double qEE, qNN, qEN;
        double orientation, major, minor;
    };
    const double pi = testsupport::pi;
    const Row rows[] = {
        {1.0, 1.0, 0.5, pi / 4, std::sqrt(1.5), std::sqrt(0.5)},
        {1.0, 1.0, -0.5, 3 * pi / 4, std::sqrt(1.5), std::sqrt(0.5)},
        {1.0, 4.0, 0.0, 0.0, 2.0, 1.0},
        {4.0, 1.0, 0.0, pi / 2, 2.0, 1.0},
        // Q = [[3, 1], [1, 3]] rotated: eigenvalues 4 and 2 at 45 degrees.
        {3.0, 3.0, 1.0, pi / 4, 2.0, std::sqrt(2.0)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.qEN);
        const errEllipseRec e = pointErrorEllipse(row.qEE, row.qNN, row.qEN, 1.0, 1.0);
        EXPECT_NEAR(e.orientation, row.orientation, 1e-12);
        EXPECT_NEAR(e.semiMajor, row.major, 1e-12);
        EXPECT_NEAR(e.semiMinor, row.minor, 1e-12);
        EXPECT_NEAR(e.sigmaE, std::sqrt(row.qEE), 1e-12);
        EXPECT_NEAR(e.sigmaN, std::sqrt(row.qNN), 1e-12);
    }
}

TEST(HorizontalEquivalence, DegreesAndGradsGiveTheSameCoordinates) {
    testsupport::ProjectVarsGuard guard;
    projectVars.confidenceInterval = 95.0;
    std::vector<double> results[2];
    for (const int angleType : {0, 1}) {
        fillLists(bracedQuadrilateral());
        projectVars.angleType = angleType;
        // Each angle as a surveyor types it: dd.mmss with seconds to 1e-6,
        // or grads to 1e-10 grad.
        std::vector<angleObs2D> typed;
        angleObs2D a;
        for (int i = 0; angleList2D.getAt(i, a) == 0; ++i) {
            const double degrees = a.angle * 180.0 / pi;
            if (angleType == 0) {
                const double d = std::floor(degrees), m = std::floor((degrees - d) * 60.0);
                const double s = std::round(((degrees - d) * 60.0 - m) * 60.0 * 1e6) / 1e6;
                a.angle = angleToRadians(d + m / 100.0 + s / 10000.0);
            } else {
                a.angle = angleToRadians(std::round(a.angle * 200.0 / pi * 1e10) / 1e10);
            }
            typed.push_back(a);
        }
        angleList2D.clear();
        for (const angleObs2D& t : typed)
            angleList2D.append(t);
        const EngineResult got = runEngine();
        ASSERT_EQ(got.status, SolveStatus::converged);
        results[angleType] = got.coordinates;
    }
    ASSERT_EQ(results[0].size(), results[1].size());
    for (std::size_t i = 0; i < results[0].size(); ++i)
        EXPECT_NEAR(results[0][i], results[1][i], 1e-6);
}

TEST(HorizontalEquivalence, MetresAndUsSurveyFeetGiveTheSamePositions) {
    testsupport::ProjectVarsGuard guard;
    projectVars.confidenceInterval = 95.0;
    for (Network (*network)() : {traverseBetweenControl, weightedControl, gpsVectors}) {
        Network net = network();
        fillLists(net);
        const EngineResult metres = runEngine();
        net.lengthScale = units::usSurveyFootMetres;
        fillLists(net);
        const EngineResult feet = runEngine();
        ASSERT_EQ(metres.status, SolveStatus::converged);
        ASSERT_EQ(feet.status, SolveStatus::converged);
        for (std::size_t i = 0; i < metres.coordinates.size(); ++i) {
            EXPECT_NEAR(feet.coordinates[i] * units::usSurveyFootMetres, metres.coordinates[i],
                        1e-6);
            EXPECT_NEAR(feet.statistics.unknownSigmas[i] * units::usSurveyFootMetres,
                        metres.statistics.unknownSigmas[i], 1e-9);
        }
        EXPECT_NEAR(feet.statistics.referenceVariance, metres.statistics.referenceVariance, 1e-9);
    }
}

TEST(HorizontalEquivalence, RenamedPointsGiveTheSameCoordinates) {
    testsupport::ProjectVarsGuard guard;
    projectVars.confidenceInterval = 95.0;
    Network net = azimuths();
    fillLists(net);
    const EngineResult original = runEngine();
    // New names, and the observations name the points in another letter case.
    for (Point& p : net.points)
        p.name = "Stn-" + p.name + "x";
    for (Obs& o : net.obs)
        for (std::string& name : o.at) {
            name = "Stn-" + name + "x";
            for (char& c : name)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    fillLists(net);
    const EngineResult renamed = runEngine();
    ASSERT_EQ(original.status, SolveStatus::converged);
    ASSERT_EQ(renamed.status, SolveStatus::converged) << renamed.problem;
    ASSERT_EQ(original.coordinates.size(), renamed.coordinates.size());
    for (std::size_t i = 0; i < original.coordinates.size(); ++i)
        EXPECT_NEAR(renamed.coordinates[i], original.coordinates[i], 1e-9);
    EXPECT_EQ(std::string(renamed.ellipses[0].name), "Stn-Px");
}

TEST(BestSolutions, KeepTheSmallestInAscendingOrder) {
    struct Row {
        const char* name;
        int size;
        std::vector<std::pair<int, double>> inserts;
        std::vector<int> indices; // the first slots, -1 empty
    };
    const Row rows[] = {
        {"ascending", 3, {{0, 5.0}, {1, 2.0}, {2, 9.0}, {3, 1.0}}, {3, 1, 0, -1}},
        {"equal goes behind", 3, {{0, 2.0}, {1, 2.0}}, {0, 1, -1}},
        {"size 0 keeps one", 0, {{0, 5.0}, {1, 2.0}, {2, 3.0}}, {1, -1}},
        {"larger than a full table", 2, {{0, 1.0}, {1, 2.0}, {2, 3.0}}, {0, 1, -1}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        resetBestSolutions();
        for (const auto& [index, value] : row.inserts)
            insertBestSolution(index, value, row.size);
        for (std::size_t i = 0; i < row.indices.size(); ++i)
            EXPECT_EQ(bestSolutions[i].index, row.indices[i]) << i;
    }
}

// A braced quadrilateral with a 0.10 m blunder in its third distance (row 2):
// floating that row gives by far the smallest reference variance. The passes
// keep the three best in ascending order and run them again with their
// listing in the error report, smallest reference variance first, the
// floated row marked. Fault mended: the first pass restored the weight of
// row -1, outside W.
TEST_F(HorizontalRun, FloatPassesFindThePlantedBlunder) {
    fillLists(bracedQuadrilateral());
    distanceObs2D d;
    distanceList2D.getAt(2, d);
    d.distance += 0.10;
    distanceList2D.seekCursor(2);
    distanceList2D.replaceAtCursor(d);
    EXPECT_EQ(adjust2DBlunderPasses(context, 3), 1);
    EXPECT_EQ(bestSolutions[0].index, 2);
    for (int i = 0; i < 3; ++i)
        EXPECT_NE(bestSolutions[i].index, -1) << i;
    EXPECT_LT(bestSolutions[0].referenceVariance, bestSolutions[1].referenceVariance);
    EXPECT_LE(bestSolutions[1].referenceVariance, bestSolutions[2].referenceVariance);
    EXPECT_EQ(bestSolutions[3].index, -1);
    const std::string err = errors();
    std::vector<double> variances;
    for (std::size_t at = 0; (at = err.find(" Reference variance:", at)) != std::string::npos; ++at)
        variances.push_back(std::stod(err.substr(at + 20)));
    ASSERT_EQ(variances.size(), 3u);
    EXPECT_LE(variances[0], variances[1]);
    EXPECT_LE(variances[1], variances[2]);
    EXPECT_NE(err.find(" **\r\n"), std::string::npos);
    EXPECT_NE(err.find("The blunder is most likely in the measurement containing the "),
              std::string::npos);
}

TEST_F(HorizontalRun, ConvergedRunWritesItsSectionsAndKeepsItsResults) {
    fillLists(bracedQuadrilateral());
    EXPECT_EQ(adjust2D(context), adjustment2DConverged);
    const std::string rpt = report();
    std::size_t at = 0;
    for (const char* section :
         {"Adjusted Coordinates\r\n", "Adjusted Local Coordinates\r\n",
          "Adjusted Coordinates Error Ellipses, 95% CI\r\n", "Adjusted Observations\r\n",
          "Statistics\r\n", " Solution converged in "}) {
        SCOPED_TRACE(section);
        at = rpt.find(section, at);
        EXPECT_NE(at, std::string::npos);
    }
    EXPECT_TRUE(std::filesystem::exists(folder / "net1.EEL"));
    EXPECT_EQ(testsupport::readBytes(folder / "TARNWELL.EEL"),
              testsupport::readBytes(folder / "net1.EEL"));
    ASSERT_NE(varCovMatrix, nullptr);
    EXPECT_EQ(errEllipseCount, 2);
    EXPECT_GT(referenceStdDev, 0.0);
    // The listing stored each point's standard deviations into its record.
    coordRec c;
    pointList2D.getAt(0, c);
    EXPECT_NEAR(c.stdErrE, std::sqrt(varCovMatrix->at(0, 0)) * referenceStdDev, 1e-12);
    EXPECT_EQ(shell.messages.back(), "Solution converged, Computing statistics.");
}

// With two passes the first is listed (the pass after which one remains): it
// runs with the a-priori weights, so its reference variance is that of the
// plain adjustment. With one pass only the closing note is written.
TEST_F(HorizontalRun, ReweightingListsThePassBeforeTheLast) {
    fillLists(bracedQuadrilateral());
    const EngineResult plain = runEngine(10, 1e-6);
    ASSERT_EQ(plain.status, SolveStatus::converged);
    fillLists(bracedQuadrilateral());
    EXPECT_EQ(adjust2DRepeated(context, 2), adjustmentPassConverged);
    std::string err = errors();
    EXPECT_NE(
        err.find(platform::formatC(" Reference variance:%.2f", plain.statistics.referenceVariance)),
        std::string::npos);
    EXPECT_EQ(err.find("Statistics"), err.rfind("Statistics"));
    EXPECT_NE(err.find("Adjusted Coordinates Error Ellipses"), std::string::npos);

    openErrFile(startNewFile);
    fillLists(bracedQuadrilateral());
    EXPECT_EQ(adjust2DRepeated(context, 1), adjustmentPassConverged);
    err = errors();
    EXPECT_EQ(err.find("Adjusted"), std::string::npos);
    EXPECT_NE(err.find("The blunder is most likely"), std::string::npos);
}

// Mode 11 ends at a pass that fails: a singular N is said in the error
// report and a message box (-4), a pass that does not converge in the report
// alone (0). Neither writes the closing note, and the pass weights are
// released.
TEST_F(HorizontalRun, ReweightingEndsAtAFailedPass) {
    const std::string singular =
        "N matrix not positive definite. The solution broke down at the northing of point C.";
    const std::string notConverged = "Solution did not converge within 0.000001 in  1 iteration";
    struct Row {
        const char* name;
        Network (*network)();
        int maxIterations;
        int result;
        std::vector<std::string> boxes;
        std::string errors;
        std::string report;
    };
    const Row rows[] = {
        {"singular", withoutControl, 10, adjustmentPassOverflow, {singular}, singular + "\r\n", ""},
        {"budget used up", bracedQuadrilateral, 1, adjustmentPassFailed, {}, "",
         "\r\n" + notConverged + "\r\n\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        startCase();
        projectVars.maxIterations = row.maxIterations;
        fillLists(row.network());
        EXPECT_EQ(adjust2DRepeated(context, 3), row.result);
        EXPECT_EQ(boxes(), row.boxes);
        EXPECT_EQ(errors(), row.errors);
        EXPECT_EQ(report(), row.report);
        EXPECT_EQ(lsqWeights2D.rows(), 0u);
        EXPECT_FALSE(shell.cancelShown);
    }
}

namespace {

// Correlated GPS vectors (a full 2 x 2 weight block each) from a weighted
// control point, a distance before the control rows, and a 0.30 m blunder in
// the easting component of the vector G1-G2. Rows: the distance (0), the
// control (1, 2), the vectors two rows each (G1-G2's easting is row 5).
Network gpsVectorsWithABlunder() {
    Network n;
    n.points = {controlAt("G0", 10000, 20000, 0.005, 0.002, -0.003, 0.01, -0.02),
                unknownAt("G1", 10500, 20300, 0.2, -0.2), unknownAt("G2", 10200, 20800, -0.1, 0.3),
                unknownAt("G3", 9700, 20450, 0.3, 0.1)};
    Obs blundered = gps("G1", "G2", 0.015, 0.01, -0.6);
    blundered.blunder = 0.30;
    n.obs = {dist("G1", "G2", 0.01),
             gps("G0", "G1", 0.01, 0.012, 0.4),
             blundered,
             gps("G0", "G2", 0.012, 0.012, 0.2),
             gps("G2", "G3", 0.01, 0.014, 0.7),
             gps("G0", "G3", 0.012, 0.01, -0.5),
             gps("G1", "G3", 0.011, 0.013, 0.3)};
    n.seed = 66;
    return n;
}
constexpr int blunderedGpsRow = 5;
constexpr int gpsNetworkFloatingRows = 13; // 15 rows but the 2 control rows

// D W D with D = diag(sqrt(wanted_r / W_rr)): every row gets its wanted
// weight and a GPS vector's block is scaled as a whole, so it stays positive
// definite and keeps its correlation.
ReferenceWeights withDiagonal(const ReferenceWeights& w, const std::vector<Real>& wanted) {
    std::vector<Real> d;
    for (std::size_t r = 0; r < w.diagonal.size(); ++r)
        d.push_back(std::sqrt(wanted[r] / w.diagonal[r]));
    ReferenceWeights scaled = w;
    for (std::size_t r = 0; r < w.diagonal.size(); ++r) {
        scaled.diagonal[r] = wanted[r];
        scaled.next[r] = r + 1 < d.size() ? w.next[r] * d[r] * d[r + 1] : 0;
    }
    return scaled;
}

// W with row r floated: the adjustment's floated weight is per listing unit
// squared.
ReferenceWeights withRowFloated(const ReferenceSolver& reference, const ReferenceWeights& w,
                                std::size_t r) {
    std::vector<Real> wanted = w.diagonal;
    const Real unit = reference.listingUnit(r);
    wanted[r] = Real(floatedWeight) * unit * unit;
    return withDiagonal(w, wanted);
}

// W of the next reweighting pass: 1/s^2 with s = (|v| + sigma of the
// adjusted observation) / 2 of `pass`.
ReferenceWeights reweighted(const ReferenceSolver& reference, const ReferenceWeights& w,
                            const Reference& pass) {
    std::vector<Real> wanted;
    for (std::size_t r = 0; r < w.diagonal.size(); ++r) {
        const Real s = (std::fabs(Real(pass.residuals[r])) + Real(pass.observationSigmas[r])) / 2 /
                       reference.listingUnit(r);
        wanted.push_back(1 / (s * s));
    }
    return withDiagonal(w, wanted);
}

std::vector<double> adjustedCoordinates() {
    std::vector<double> coordinates;
    for (const coordRec& p : recordsOf(pointList2D)) {
        coordinates.push_back(p.easting);
        coordinates.push_back(p.northing);
    }
    return coordinates;
}

void expectCoordinates(const std::vector<double>& got, const std::vector<double>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], want[i], 1e-6) << "coordinate " << i;
}

} // namespace

// Mode 11 reweights every row from the pass before, a GPS vector's component
// too: its 2 x 2 weight block is scaled as a whole, keeping its correlation.
// Each pass count ends on the positions and reference variance of a
// weighted least-squares solution with such blocks. Fault mended: the
// components' weights were set alone, the block's coupling left as it was,
// so a down-weighted component left its vector wrongly correlated and its
// block indefinite.
TEST_F(HorizontalRun, ReweightingScalesAGpsVectorsWeightBlockAsAWhole) {
    projectVars.maxIterations = 30;
    projectVars.convergeLimit = 1e-10;
    const Network net = gpsVectorsWithABlunder();
    const ReferenceSolver reference(net);
    for (const int passes : {2, 3, 5}) {
        SCOPED_TRACE(passes);
        ReferenceWeights w = reference.aprioriWeights();
        Reference last;
        for (int pass = 0; pass < passes; ++pass) {
            last = reference.solve(w);
            w = reweighted(reference, w, last);
        }
        fillLists(net);
        EXPECT_EQ(adjust2DRepeated(context, passes), adjustmentPassConverged);
        expectCoordinates(adjustedCoordinates(), last.coordinates);
        EXPECT_NEAR(referenceStdDev * referenceStdDev, last.referenceVariance,
                    1e-6 * last.referenceVariance);
    }
}

// Mode 10 floats every row but the weighted control, each GPS component
// too, its block scaled as a whole: every pass kept has the reference
// variance of a weighted least-squares solution with that row so floated,
// the blundered component's the smallest, and the last rerun leaves the
// positions of its pass. Faults mended: the passes stopped at the control
// rows, so no GPS component ever floated; floating one alone would have
// left its block indefinite.
TEST_F(HorizontalRun, FloatPassesFloatGpsComponentsWithTheirBlockScaled) {
    projectVars.maxIterations = 30;
    projectVars.convergeLimit = 1e-10;
    const Network net = gpsVectorsWithABlunder();
    const ReferenceSolver reference(net);
    const ReferenceWeights apriori = reference.aprioriWeights();
    fillLists(net);
    EXPECT_EQ(adjust2DBlunderPasses(context, 10), 1);
    EXPECT_NE(std::find(shell.messages.begin(), shell.messages.end(),
                        platform::formatC("0 of %d passes.", gpsNetworkFloatingRows)),
              shell.messages.end());
    EXPECT_EQ(bestSolutions[0].index, blunderedGpsRow);
    for (const bestSolutionRec& slot : bestSolutions) {
        SCOPED_TRACE(slot.index);
        ASSERT_GE(slot.index, 0);
        EXPECT_TRUE(slot.index < 1 || slot.index > 2) << "a control row floated";
        const Reference want =
            reference.solve(withRowFloated(reference, apriori, std::size_t(slot.index)));
        EXPECT_NEAR(slot.referenceVariance, want.referenceVariance, 1e-6 * want.referenceVariance);
    }
    const Reference lastRerun =
        reference.solve(withRowFloated(reference, apriori, std::size_t(bestSolutions[9].index)));
    expectCoordinates(adjustedCoordinates(), lastRerun.coordinates);
}

namespace {

// The braced quadrilateral adjusted, its results kept as a converged run keeps them.
class RelativeEllipse : public HorizontalRun {
protected:
    void SetUp() override {
        HorizontalRun::SetUp();
        fillLists(bracedQuadrilateral());
        EngineResult got = runEngine();
        ASSERT_EQ(got.status, SolveStatus::converged);
        ownEllipses = got.ellipses;
        referenceStdDev = std::sqrt(got.statistics.referenceVariance);
        varCovMatrix = std::move(got.statistics.cofactors);
    }
    void TearDown() override {
        releaseAdjustmentResults();
        HorizontalRun::TearDown();
    }
    int relative(const char* first, const char* second, int show = 1) {
        setPointName(one.name, first);
        setPointName(two.name, second);
        return relErrEllipse2D(&one, &two, &major, &minor, &orientation, 1, show);
    }

    std::vector<errEllipseRec> ownEllipses;
    coordRec one, two;
    double major = 0, minor = 0, orientation = 0;
};

} // namespace

TEST_F(RelativeEllipse, AgreesWithTheReferenceCovarianceOfTheDifferences) {
    ASSERT_EQ(relative("C", "D"), relativeEllipseComputed);
    const Reference want = ReferenceSolver(bracedQuadrilateral()).solve();
    // Unknowns: C (columns 0, 1), D (2, 3). Cov(D - C) = C_CC - C_CD - C_DC + C_DD.
    const auto& c = want.covariance;
    const auto rel = [&](int i, int j) {
        return c[i][j] - c[i][2 + j] - c[2 + i][j] + c[2 + i][2 + j];
    };
    const Reference::Ellipse e = ellipseOf(rel(0, 0), rel(0, 1), rel(1, 1),
                                           confidenceScale95(Real(obsCount - unknownCount)));
    EXPECT_NEAR(major, e.major, 1e-6);
    EXPECT_NEAR(minor, e.minor, 1e-6);
    EXPECT_NEAR(orientation, e.orientation, 1e-6);
    EXPECT_EQ(one.pointType, ptUnknown); // the records were filled
    EXPECT_NEAR(two.easting, want.coordinates[2], 1e-6);
}

TEST_F(RelativeEllipse, AgainstAFixedPointIsTheAdjustedPointsOwnEllipse) {
    for (const auto& [first, second] : {std::pair{"A", "C"}, std::pair{"C", "B"}}) {
        SCOPED_TRACE(std::string(first) + second);
        ASSERT_EQ(relative(first, second), relativeEllipseComputed);
        EXPECT_NEAR(major, ownEllipses[0].semiMajor, 1e-12);
        EXPECT_NEAR(minor, ownEllipses[0].semiMinor, 1e-12);
        EXPECT_NEAR(orientation, ownEllipses[0].orientation, 1e-12);
    }
}

TEST_F(RelativeEllipse, SideshotsAndUnknownPointsHaveNone) {
    coordRec sideshot;
    setPointName(sideshot.name, "SS1");
    sideshot.pointType = ptSideshot;
    pointList2D.append(sideshot);
    EXPECT_EQ(relative("C", "SS1"), relativeEllipseFailed);
    EXPECT_EQ(relative("NOPE", "C"), relativeEllipseFailed);
    EXPECT_EQ(relative("NOPE", "C", 0), relativeEllipseFailed);
    EXPECT_EQ(boxes(), (std::vector<std::string>{
                           "Pt. SS1 is a sideshot and was not included in the adjustment.",
                           "Pt. NOPE does not exist."}));
}

// The ALTA report's line for C-D carries the ellipse of the reference
// covariance of the differences, the distance between the adjusted points,
// allowable = tolerance + d ppm / 1e6 and their ratio.
TEST_F(RelativeEllipse, TheAltaReportTestsTheReferenceEllipseOfAPair) {
    testsupport::writeBytes(folder / "net1.alt", "REL_ERR_PAIRS c-d\r\n");
    projectVars.relativeErrFileNm = (folder / "net1.alt").string();
    projectVars.altaTolerance = 0.001;
    projectVars.altaPPM = 5;
    projectVars.ALTARptOn = 0;
    writeAltaReport(rptFile);

    const Reference want = ReferenceSolver(bracedQuadrilateral()).solve();
    const auto& c = want.covariance;
    const auto rel = [&](int i, int j) {
        return c[i][j] - c[i][2 + j] - c[2 + i][j] + c[2 + i][2 + j];
    };
    const Reference::Ellipse e = ellipseOf(rel(0, 0), rel(0, 1), rel(1, 1),
                                           confidenceScale95(Real(obsCount - unknownCount)));
    const double dE = want.coordinates[2] - want.coordinates[0];
    const double dN = want.coordinates[3] - want.coordinates[1];
    const double distance = std::hypot(dE, dN);
    const double allowable = 0.001 + distance * 5 / 1e6;
    const auto f = [](double v) { return platform::formatC("%9.3f", v); };
    const std::string line = " C          D           " + f(distance) + "   " + f(e.major) +
                             "    " + f(allowable) + "   " + f(e.major / allowable) +
                             "         " + f(e.minor) + "       " + directionToText(e.orientation);
    const std::string rpt = report();
    EXPECT_NE(rpt.find(line + "\r\n"), std::string::npos) << line << "\n" << rpt;
    EXPECT_NE(rpt.find("Alta Tolerance Report ,Specific Connections, 95% Confidence Interval\r\n"),
              std::string::npos);
}
