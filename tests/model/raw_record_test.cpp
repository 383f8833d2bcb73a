#include "input/raw_text.hpp"
#include "model/raw_record.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr double unset = -999999999.0;

// A record with every field filled, as a reader might leave it before the
// record is used again for another kind.
rawRec fullRecord() {
    rawRec r;
    r.kind = rawForesight;
    setPointName(r.stationName, "IP1");
    setPointName(r.backsightName, "BS1");
    setPointName(r.foresightName, "FS1");
    setPointName(r.pointName, "CP1");
    setPointName(r.fromName, "AZ1");
    setPointName(r.toName, "AZ2");
    setFixedText(r.description, "IRON PIN");
    setFixedText(r.code, "IP");
    for (double* v : {&r.instrumentHeight,
                      &r.bsTargetHeight,
                      &r.bsHorizontalReading,
                      &r.targetHeight,
                      &r.horizontalReading,
                      &r.zenithOrVertDiff,
                      &r.distance,
                      &r.horizDistance,
                      &r.vertDifference,
                      &r.vertDiffStdErr,
                      &r.distStdErr,
                      &r.zenithStdErr,
                      &r.markZenith,
                      &r.markSlopeDistance,
                      &r.northing,
                      &r.easting,
                      &r.elevation,
                      &r.azimuth,
                      &r.stErrAz,
                      &r.stErrPoint,
                      &r.stErrRead,
                      &r.vStErrPoint,
                      &r.vStErrRead,
                      &r.stErrTrgtCentering,
                      &r.stErrInstrCentering,
                      &r.stErrX,
                      &r.stErrY,
                      &r.stErrZ,
                      &r.stErrDist,
                      &r.stErrDistPPM,
                      &r.HIStErr,
                      &r.rodStErr})
        *v = 1.5;
    r.face = faceReverse;
    r.heightsApplied = 1;
    return r;
}

} // namespace

TEST(RawRecord, NewRecordHasNoKindAndBlankFields) {
    const rawRec r;
    EXPECT_EQ(r.kind, -1);
    EXPECT_STREQ(r.stationName, "");
    EXPECT_STREQ(r.description, "");
    for (double v : {r.instrumentHeight, r.distance, r.markZenith, r.northing, r.azimuth, r.stErrAz,
                     r.rodStErr})
        EXPECT_EQ(v, unset);
    EXPECT_EQ(r.face, -1);
    EXPECT_EQ(r.heightsApplied, 0);
}

TEST(RawRecord, InitialisersGiveTheKindAndABlankPayload) {
    struct Row {
        const char* label;
        rawRec& (*init)(rawRec&);
        int kind;
    };
    const Row rows[] = {{"setup", initRawSetup, 0},
                        {"foresight", initRawForesight, 1},
                        {"coordinate", initRawCoord, 2},
                        {"standard errors", initRawStdErrs, 5}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        rawRec r = fullRecord();
        rawRec& returned = row.init(r);
        EXPECT_EQ(&returned, &r);
        rawRec expected;
        expected.kind = row.kind;
        EXPECT_EQ(r, expected) << "every name and text empty, every double unset, face -1";
    }
}

TEST(RawRecord, AzimuthPresetsOneRadianAndKeepsTheNames) {
    rawRec r = fullRecord();
    initRawAzimuth(r);
    EXPECT_EQ(r.kind, 4);
    EXPECT_EQ(r.azimuth, 1.0) << "preset to 1.0, not to the unset value";
    EXPECT_STREQ(r.fromName, "AZ1");
    EXPECT_STREQ(r.toName, "AZ2");
    EXPECT_STREQ(r.stationName, "");
    EXPECT_EQ(r.distance, unset);
}

TEST(RawRecord, IgnoredRecordsStoreNothing) {
    rawRec r = fullRecord();
    const rawRec before = r;
    EXPECT_EQ(ignoreRawRecord("S some sub-record", r), 1);
    EXPECT_EQ(r, before);
}

TEST(RawText, TrimsAsTheReadersNeed) {
    struct Row {
        const char* in;
        const char* leading;
        const char* rawLine;
        int lastKept;
        const char* both;
    };
    const Row rows[] = {
        {"", "", "", -1, ""},
        {"   ", "", " ", 0, ""},
        {"A", "A", "A", 0, "A"},
        {"  A B  \r\n", "A B  \r\n", "  A B", 4, "A B  \r\n"},
        {"X\r\n \n", "X\r\n \n", "X", 0, "X\r\n \n"},
        {"\n", "\n", "\n", 0, "\n"}, // the first character always stays
        {"2,PT1 ", "2,PT1 ", "2,PT1", 4, "2,PT1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.in);
        std::string text = row.in;
        trimLeadingBlanks(text);
        EXPECT_EQ(text, row.leading);
        text = row.in;
        EXPECT_EQ(trimRawLine(text), row.lastKept);
        EXPECT_EQ(text, row.rawLine);
        text = row.in;
        trimBlanks(text);
        EXPECT_EQ(text, row.both);
    }
}
