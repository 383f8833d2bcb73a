#include "model/reader_std_errs.hpp"
#include "model/settings/global_vars.hpp"

#include <gtest/gtest.h>

TEST(ReaderStdErrs, FilledFromTheProjectIn2D) {
    globalVars g;
    g.stErrX = 0.0;
    g.HorizUnits = 1; // the 2D chain keeps project units
    initReaderStdErrs(g);
    EXPECT_EQ(readerStdErrs[seAzimuth], 5.0);
    EXPECT_EQ(readerStdErrs[seHorizPointing], 3.0);
    EXPECT_EQ(readerStdErrs[seDistConstant], 0.01);
    EXPECT_EQ(readerStdErrs[seDistPpm], 5.0);
    EXPECT_EQ(readerStdErrs[seEasting], -2.0) << "0 means fixed";
    EXPECT_EQ(readerStdErrs[seNorthing], 0.01);
    EXPECT_EQ(readerStdErrs[seElevation], 0.02);
    EXPECT_EQ(readerStdErrs[seInstrumentHeight], 0.1);
    EXPECT_EQ(savedReaderStdErrs, readerStdErrs);
}

TEST(ReaderStdErrs, LengthsInMetresIn3D) {
    struct Row {
        int horizUnits;
        double distConstant; // 0.01 project units in metres
    };
    const Row rows[] = {{0, 0.01}, {1, 0.003048006096012192}, {2, 0.003048}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.horizUnits);
        globalVars g;
        g.geodeticModel = 1;
        g.HorizUnits = row.horizUnits;
        const stdErrBlock block = projectStdErrs(g);
        EXPECT_DOUBLE_EQ(block[seDistConstant], row.distConstant);
        EXPECT_DOUBLE_EQ(block[seTargetCentering], 0.5 * row.distConstant);
        EXPECT_EQ(block[seDistPpm], 5.0) << "ppm has no unit";
        EXPECT_EQ(block[seAzimuth], 5.0) << "seconds have no length unit";
    }
}

TEST(ReaderStdErrs, RestoreBringsBackTheSavedCopy) {
    globalVars g;
    initReaderStdErrs(g);
    readerStdErrs[seDistPpm] = 99.0;
    restoreReaderStdErrs();
    EXPECT_EQ(readerStdErrs[seDistPpm], 5.0);
}
