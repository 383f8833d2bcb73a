#include "model/angle_math.hpp"
#include "model/angle_sets.hpp"
#include "model/progress.hpp"
#include "platform/shell_services.hpp"
#include "support/angles.hpp"
#include "support/raw_list_builder.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace testsupport;

namespace {

constexpr double rho = 648000.0 / pi; // seconds of arc per radian

// The angle passes of both chains over the whole raw list, as the list
// builder drives them; each starts from the standard errors given.
void buildAngles(bool threeD, const stdErrBlock& errors) {
    readerStdErrs = errors;
    startProgress(rawDataList.count());
    rawDataList.seek(0);
    setupRec setup;
    int at = 0;
    if (threeD) {
        while (readNextSetup3D(setup, at) == setupRead)
            addAngleObs3D(setup, at);
    } else {
        while (readNextSetup2D(setup, at) == setupRead)
            addAngleObs2D(setup, at);
    }
}

struct angleRow {
    std::string backsight, instrument, foresight;
    double angle;
    double stdErr;
};

std::vector<angleRow> anglesOf3D() {
    std::vector<angleRow> rows;
    angleObs a;
    for (int i = 0; angleList.getAt(i, a) == 0; ++i) {
        rows.push_back({std::string(fixedText(a.backsight)), std::string(fixedText(a.instrument)),
                        std::string(fixedText(a.foresight)), a.angle, a.stdErr});
        EXPECT_EQ(a.status, 0);
        EXPECT_EQ(a.spareInt, 0);
    }
    return rows;
}

std::vector<angleRow> anglesOf2D() {
    std::vector<angleRow> rows;
    angleObs2D a;
    for (int i = 0; angleList2D.getAt(i, a) == 0; ++i) {
        rows.push_back({std::string(fixedText(a.backsight)), std::string(fixedText(a.instrument)),
                        std::string(fixedText(a.foresight)), a.angle, a.stdErr});
        EXPECT_EQ(a.arcToChord, 0.0);
        EXPECT_EQ(a.status, 0);
    }
    return rows;
}

// Builds the angles of both chains and checks each list against `expected`.
void expectAnglesOfBothChains(const stdErrBlock& errors, const std::vector<angleRow>& expected) {
    buildAngles(true, errors);
    buildAngles(false, errors);
    for (const auto& [chain, rows] :
         {std::pair{"3D", anglesOf3D()}, std::pair{"2D", anglesOf2D()}}) {
        SCOPED_TRACE(chain);
        ASSERT_EQ(rows.size(), expected.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(rows[i].backsight, expected[i].backsight);
            EXPECT_EQ(rows[i].instrument, expected[i].instrument);
            EXPECT_EQ(rows[i].foresight, expected[i].foresight);
            EXPECT_NEAR(rows[i].angle, expected[i].angle, 1e-12);
            EXPECT_NEAR(rows[i].stdErr, expected[i].stdErr, 1e-12);
        }
    }
}

// Horizontal pointing 2", reading 3", the rest 0.
stdErrBlock pointingAndReading() {
    stdErrBlock errors{};
    errors[seHorizPointing] = 2.0;
    errors[seHorizReading] = 3.0;
    return errors;
}

// One pair with pointing 2" and reading 3" on each reading and no sight
// lengths: sqrt(2^2 + 2^2) and sqrt(3^2 + 3^2) in quadrature.
const double onePairError = std::sqrt(8.0 + 18.0);

class AngleSets : public RawListTest {};

} // namespace

TEST_F(AngleSets, DirectAndReverseSetGivesMeanSpreadAndComposedError) {
    appendRaw({withSight(setupRecord("1", "2", radiansOf(0)), 100.0, 0.0),
               withSight(foresightRecord("3", radiansOf(45, 10, 20)), 200.0, 0.0),
               foresightRecord("2", radiansOf(180, 0, 4)),
               foresightRecord("3", radiansOf(225, 10, 30))});
    projectVars.hAngTol = radiansOf(0, 0, 5);
    stdErrBlock errors = pointingAndReading();
    errors[seTargetCentering] = 0.005;
    errors[seInstrumentCentering] = 0.003;

    // Unrecorded faces alternate: backsight readings D (setup) and R (record
    // 2), foresight readings D and R: balanced, paired in order.
    // D: 45°10'20" - 0° = 45°10'20"; R: 225°10'30" - 180°00'04" = 45°10'26".
    const double mean = radiansOf(45, 10, 23);
    // n = 2 pairs, four readings each with pointing 2" and reading 3":
    const double pointing = std::sqrt(4 * 4.0) / 2; // 2"
    const double reading = std::sqrt(4 * 9.0) / 2;  // 3"
    // Db = 100, Df = 200, mean target errors 0.005 each.
    const double target = rho * std::hypot(0.005 / 100.0, 0.005 / 200.0);
    const double dbf =
        std::sqrt(100.0 * 100.0 + 200.0 * 200.0 - 2 * 100.0 * 200.0 * std::cos(mean));
    const double instrument = rho * dbf / (std::sqrt(2.0) * 100.0 * 200.0) * 0.003;
    const double stdErr = std::sqrt(reading * reading + pointing * pointing + target * target +
                                    instrument * instrument);

    expectAnglesOfBothChains(errors, {{"2", "1", "3", mean, stdErr}});
    const std::string spread = "Horizontal Angle spread exceeds tolerance:\r\n"
                               "  IP: 1,  BS: 2,  FS: 3\r\n"
                               "  Low: 045-10'20.0\" ,  High: 045-10'26.0\" ,  Diff: 000-00'06.0\" "
                               "\r\n\r\n";
    EXPECT_EQ(warnings(), spread + spread);
}

TEST_F(AngleSets, SpreadBelowToleranceWritesNothing) {
    appendRaw({setupRecord("1", "2", radiansOf(0)), foresightRecord("3", radiansOf(45, 10, 20)),
               foresightRecord("2", radiansOf(180, 0, 4)),
               foresightRecord("3", radiansOf(225, 10, 30))});
    projectVars.hAngTol = radiansOf(0, 0, 6.5);
    buildAngles(false, pointingAndReading());
    EXPECT_EQ(angleList2D.count(), 1);
    EXPECT_EQ(warnings(), "");
}

TEST_F(AngleSets, UnpairedReadingsWarnAndAreSkipped) {
    appendRaw({setupRecord("1", "2", radiansOf(10), faceDirect),
               foresightRecord("3", radiansOf(50), faceDirect),
               foresightRecord("3", radiansOf(230, 0, 6), faceReverse),
               // A setup without a backsight reading gives no angle at all.
               setupRecord("5", "6"), foresightRecord("7", radiansOf(10))});
    projectVars.hAngTol = radiansOf(0, 0, 5);
    // The reverse foresight finds no reverse backsight reading: only the direct
    // pair counts, 50° - 10° = 40°, with the error of one pair.
    expectAnglesOfBothChains(pointingAndReading(), {{"2", "1", "3", radiansOf(40), onePairError}});
    const std::string expected = "Warning: Could not find appropriate backsight:\r\n"
                                 "  IP: 1,  BS: 2,  FS: 3\r\n\r\n"
                                 "Warning: Could not find appropriate backsight:\r\n"
                                 "  IP: 5,  BS: 6,  FS: 7\r\n\r\n"
                                 "Warning: No valid angle found for:\r\n"
                                 "  IP: 5,  BS: 6,  FS: 7\r\n\r\n";
    EXPECT_EQ(warnings(), expected + expected);
}

TEST_F(AngleSets, RecordedFaceRestartsTheAlternation) {
    appendRaw({setupRecord("1", "2", radiansOf(0)),                      // 0: backsight, becomes D
               foresightRecord("3", radiansOf(30)),                      // 1: becomes D
               foresightRecord("2", radiansOf(180)),                     // 2: backsight, becomes R
               foresightRecord("3", radiansOf(210, 0, 10), faceReverse), // 3: R as recorded
               foresightRecord("3", radiansOf(30, 0, 20))});             // 4: after an R, becomes D
    projectVars.hAngTol = radiansOf(1);
    // Foresights D, R, D against backsights D, R: not balanced, paired by face.
    // 1 (D) with 0: 30°; 3 (R) with 2: 210°00'10" - 180° = 30°00'10";
    // 4 (D) with 0: 30°00'20". Mean 30°00'10". Three pairs:
    // pointing sqrt(6 x 4) / 3, reading sqrt(6 x 9) / 3.
    const double stdErr = std::sqrt(24.0 / 9 + 54.0 / 9);
    expectAnglesOfBothChains(pointingAndReading(), {{"2", "1", "3", radiansOf(30, 0, 10), stdErr}});
}

TEST_F(AngleSets, BacksightReadingForEachForesightFace) {
    // Backsight readings: D at raw 0, R at raw 3, D at raw 5, R at raw 8.
    hzReadingList backsights;
    for (auto [face, index] : {std::pair{0, 0}, {1, 3}, {0, 5}, {1, 8}}) {
        hzReadingRec reading;
        reading.face = face;
        reading.rawIndex = index;
        backsights.append(reading);
    }
    struct Row {
        int face, rawIndex, expected;
    };
    for (const Row& row : {Row{0, 0, 0}, Row{0, 4, 0}, Row{0, 6, 2}, Row{0, 9, 2},
                           // a reverse foresight takes the first R from the direct one on,
                           // also after it
                           Row{1, 1, 1}, Row{1, 4, 1}, Row{1, 7, 3}, Row{1, 9, 3}}) {
        SCOPED_TRACE(::testing::Message() << "face " << row.face << " at " << row.rawIndex);
        EXPECT_EQ(findReadingByFace(row.face, row.rawIndex, backsights), row.expected);
    }
    hzReadingList reverseFirst; // R at 1, D at 2: nothing direct before raw 1, no R after raw 2
    for (auto [face, index] : {std::pair{1, 1}, {0, 2}}) {
        hzReadingRec reading;
        reading.face = face;
        reading.rawIndex = index;
        reverseFirst.append(reading);
    }
    EXPECT_EQ(findReadingByFace(0, 1, reverseFirst), -1);
    EXPECT_EQ(findReadingByFace(1, 1, reverseFirst), -1);
    EXPECT_EQ(findReadingByFace(1, 5, reverseFirst), -1);
}

TEST_F(AngleSets, SetStraddlingZeroAveragesToFullCircle) {
    appendRaw({setupRecord("1", "2", radiansOf(0)), foresightRecord("3", radiansOf(359, 59, 59)),
               foresightRecord("2", radiansOf(180)), foresightRecord("3", radiansOf(180, 0, 1))});
    projectVars.hAngTol = radiansOf(0, 0, 3);
    // 359°59'59" and 0°00'01"; the second is taken as 360°00'01": mean 360°.
    // The spread across zero is 2", under the 3" tolerance.
    expectAnglesOfBothChains(pointingAndReading(),
                             {{"2", "1", "3", 2 * pi, std::sqrt(26.0 / 4 + 26.0 / 4)}});
    EXPECT_EQ(warnings(), "");
}

TEST_F(AngleSets, SpreadAcrossZeroIsTestedAgainstTheTolerance) {
    appendRaw({setupRecord("1", "2", radiansOf(0)), foresightRecord("3", radiansOf(359, 59, 50)),
               foresightRecord("2", radiansOf(180)), foresightRecord("3", radiansOf(180, 0, 10))});
    projectVars.hAngTol = radiansOf(0, 0, 5);
    buildAngles(false, pointingAndReading());
    // 359°59'50" and 0°00'10" lie 20" apart across zero: over the 5" tolerance.
    EXPECT_EQ(warnings(),
              "Horizontal Angle spread exceeds tolerance:\r\n"
              "  IP: 1,  BS: 2,  FS: 3\r\n"
              "  Low: 000-00'10.0\" ,  High: 359-59'50.0\" ,  Diff: 000-00'20.0\" \r\n\r\n");
}

TEST_F(AngleSets, OneAnglePerPointAndSetup) {
    appendRaw({setupRecord("1", "2", radiansOf(0)), foresightRecord("3", radiansOf(30)),
               foresightRecord("2", notComputed), // a sight to the backsight without a reading
               foresightRecord("3", radiansOf(30, 0, 4), faceDirect),
               foresightRecord("4"), // no reading: no angle, no warning
               setupRecord("1", "2", radiansOf(90)), foresightRecord("3", radiansOf(120, 0, 6))});
    projectVars.hAngTol = radiansOf(1);
    // Setup 1: both readings to 3 are direct against the one direct backsight
    // reading: 30° and 30°00'04", mean 30°00'02", two pairs.
    // Setup 2: 120°00'06" - 90° = 30°00'06", one pair.
    expectAnglesOfBothChains(pointingAndReading(),
                             {{"2", "1", "3", radiansOf(30, 0, 2), onePairError / std::sqrt(2.0)},
                              {"2", "1", "3", radiansOf(30, 0, 6), onePairError}});
    EXPECT_EQ(warnings(), "");
}

// Standard errors in force: a standard-error record changes the errors of the
// readings after it only, also when it stands after the foresights of a setup
// (a reading pass over the whole setup must not apply it early).
TEST_F(AngleSets, StdErrRecordChangesOnlyTheReadingsAfterIt) {
    rawRec pointing4 = stdErrRecord();
    pointing4.stErrPoint = 4.0;
    rawRec pointing6 = stdErrRecord();
    pointing6.stErrPoint = 6.0;
    appendRaw({setupRecord("1", "2", radiansOf(0)), foresightRecord("3", radiansOf(40)), pointing4,
               foresightRecord("4", radiansOf(50)), pointing6, // closes setup 1
               setupRecord("3", "1", radiansOf(0)), foresightRecord("2", radiansOf(60))});
    projectVars.hAngTol = radiansOf(1);
    // 1-3: backsight and foresight with pointing 2": sqrt(4 + 4 + 9 + 9).
    // 1-4: backsight 2", foresight 4": sqrt(4 + 16 + 9 + 9).
    // 3-2: both 6": sqrt(36 + 36 + 9 + 9).
    expectAnglesOfBothChains(pointingAndReading(),
                             {{"2", "1", "3", radiansOf(40), std::sqrt(26.0)},
                              {"2", "1", "4", radiansOf(50), std::sqrt(38.0)},
                              {"1", "3", "2", radiansOf(60), std::sqrt(90.0)}});
}

TEST_F(AngleSets, InstrumentCentringInForceAtTheSetupRecord) {
    rawRec centring = stdErrRecord();
    centring.stErrInstrCentering = 0.002;
    // The file opens with a standard-error record; sight lengths from coordinates.
    appendRaw({centring, coordRecord("1", 0, 0), coordRecord("2", 100, 0), coordRecord("3", 0, 100),
               setupRecord("1", "2", radiansOf(0)), foresightRecord("3", radiansOf(90))});
    projectVars.hAngTol = radiansOf(1);
    // Db = Df = 100, Dbf = 100 sqrt(2); target centring 0.
    const double instrument = rho * 100 * std::sqrt(2.0) / (std::sqrt(2.0) * 100 * 100) * 0.002;
    expectAnglesOfBothChains(pointingAndReading(), {{"2", "1", "3", radiansOf(90),
                                                     std::hypot(onePairError, instrument)}});
}

TEST_F(AngleSets, SightLengthsFromDistancesEitherWayElseCoordinates) {
    appendRaw({coordRecord("1", 0, 0), coordRecord("2", 100, 0), coordRecord("3", 0, 200)});
    double db = 0, df = 0, dbf = 0;
    angleSightLengths(db, df, dbf, "2", "3", "1", pi / 2);
    EXPECT_NEAR(db, 100.0, 1e-12);
    EXPECT_NEAR(df, 200.0, 1e-12);
    EXPECT_NEAR(dbf, std::sqrt(100.0 * 100 + 200.0 * 200), 1e-9); // cos 90° = 0

    // Distances win over coordinates, measured either way; the last one stands.
    appendRaw(
        {withSight(setupRecord("2", "1"), 99.0, 0.0), withSight(foresightRecord("3"), 250.0, 0.0),
         withSight(setupRecord("1", "4"), 0.0, 0.0), withSight(foresightRecord("2"), 99.5, 0.0)});
    angleSightLengths(db, df, dbf, "2", "3", "1", pi);
    EXPECT_EQ(db, 99.5);
    EXPECT_EQ(df, 200.0) << "the sight 2-3 is not the line 1-3";
    EXPECT_NEAR(dbf, 299.5, 1e-12); // a straight angle: Db + Df

    rawDataList.clear();
    angleSightLengths(db, df, dbf, "2", "3", "1", pi);
    EXPECT_EQ(db, 0.0);
    EXPECT_EQ(df, 0.0);
    EXPECT_EQ(dbf, 0.0);
}

TEST_F(AngleSets, ReadingProgressAndCancel) {
    appendRaw({setupRecord("1", "2", radiansOf(0)), foresightRecord("3", radiansOf(10)),
               setupRecord("3", "1", radiansOf(0)), foresightRecord("2", radiansOf(20))});
    RecordingShell shell;
    ShellServices* previous = setActiveShell(&shell);
    startProgress(rawDataList.count());
    rawDataList.seek(0);
    setupRec setup;
    int at = -1;
    EXPECT_EQ(readNextSetup2D(setup, at), setupRead);
    EXPECT_EQ(at, 0);
    EXPECT_EQ(shell.percents, (std::vector<int>{25, 50, 75}));
    EXPECT_EQ(shell.pumps, 3);

    addAngleObs2D(setup, at);
    EXPECT_EQ(progressDone, 1);
    shell.cancelAfterPumps = shell.pumps + 1; // the next record asks to stop
    EXPECT_EQ(readNextSetup2D(setup, at), noSetupLeft);
    setActiveShell(previous);
    EXPECT_EQ(angleList2D.count(), 1);
}

TEST_F(AngleSets, ForesightsBeforeTheFirstSetupBelongToNoSetup) {
    appendRaw({foresightRecord("2", radiansOf(5)), foresightRecord("3", radiansOf(7)),
               setupRecord("1", "2", radiansOf(0)), foresightRecord("3", radiansOf(10))});
    expectAnglesOfBothChains(pointingAndReading(), {{"2", "1", "3", radiansOf(10), onePairError}});
}
