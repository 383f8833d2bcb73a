#include "model/raw_record.hpp"
#include "model/reader_std_errs.hpp"

#include <gtest/gtest.h>

namespace {

// A block whose element i holds 100 + i, so a changed element shows.
stdErrBlock numberedBlock() {
    stdErrBlock block{};
    for (int i = 0; i < readerStdErrCount; ++i)
        block[i] = 100.0 + i;
    return block;
}

} // namespace

TEST(RawStdErrRecord, EachSetFieldReplacesItsOwnElementOnly) {
    struct Row {
        const char* field;
        double rawRec::*member;
        int element;
    };
    const Row rows[] = {
        {"azimuth", &rawRec::stErrAz, 0},
        {"horizontal pointing", &rawRec::stErrPoint, 1},
        {"horizontal reading", &rawRec::stErrRead, 2},
        {"vertical pointing", &rawRec::vStErrPoint, 10},
        {"vertical reading", &rawRec::vStErrRead, 11},
        {"target centering", &rawRec::stErrTrgtCentering, 3},
        {"instrument centering", &rawRec::stErrInstrCentering, 4},
        {"easting", &rawRec::stErrX, 5},
        {"northing", &rawRec::stErrY, 6},
        {"elevation", &rawRec::stErrZ, 7},
        {"distance constant", &rawRec::stErrDist, 8},
        {"ppm", &rawRec::stErrDistPPM, 9},
        {"instrument height", &rawRec::HIStErr, 12},
        {"rod height", &rawRec::rodStErr, 13},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.field);
        readerStdErrs = numberedBlock();
        rawRec record;
        initRawStdErrs(record);
        record.*(row.member) = 7.25;
        applyRawStdErrRec(record);
        stdErrBlock expected = numberedBlock();
        expected[row.element] = 7.25;
        EXPECT_EQ(readerStdErrs, expected);
    }
}

TEST(RawStdErrRecord, MarkersAreValuesButUnsetFieldsKeepTheirElements) {
    readerStdErrs = numberedBlock();
    const stdErrBlock saved = numberedBlock();
    savedReaderStdErrs = saved;
    rawRec record;
    initRawStdErrs(record);
    applyRawStdErrRec(record);
    EXPECT_EQ(readerStdErrs, numberedBlock()) << "an all-unset record changes nothing";

    record.stErrX = -2.0; // fixed
    record.stErrY = -1.0; // free
    record.stErrZ = -999999998.0;
    applyRawStdErrRec(record);
    EXPECT_EQ(readerStdErrs[seEasting], -2.0);
    EXPECT_EQ(readerStdErrs[seNorthing], -1.0);
    EXPECT_EQ(readerStdErrs[seElevation], -999999998.0) << "greater than the unset mark: set";
    EXPECT_EQ(savedReaderStdErrs, saved) << "only the block in force changes";
}
