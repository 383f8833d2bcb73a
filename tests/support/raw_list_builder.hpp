#pragma once
// Raw records built by hand for the tests of the observation builders, and a
// test base that gives each test empty program lists, a fresh `projectVars`,
// known standard errors in force and report files whose text it can read back.

#include "model/program_lists.hpp"
#include "model/raw_record.hpp"
#include "model/reader_std_errs.hpp"
#include "output/report_lines.hpp"
#include "support/project_vars_guard.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace testsupport {

// A setup at `station` with its backsight and, when given, the backsight's
// circle reading and face.
inline rawRec setupRecord(std::string_view station, std::string_view backsight,
                          double reading_rad = notComputed, int face = faceUnknown) {
    rawRec record;
    initRawSetup(record);
    setPointName(record.stationName, station);
    setPointName(record.backsightName, backsight);
    record.bsHorizontalReading = reading_rad;
    record.face = face;
    return record;
}

inline rawRec foresightRecord(std::string_view point, double reading_rad = notComputed,
                              int face = faceUnknown) {
    rawRec record;
    initRawForesight(record);
    setPointName(record.foresightName, point);
    record.horizontalReading = reading_rad;
    record.face = face;
    return record;
}

inline rawRec coordRecord(std::string_view point, double northing, double easting) {
    rawRec record;
    initRawCoord(record);
    setPointName(record.pointName, point);
    record.northing = northing;
    record.easting = easting;
    return record;
}

inline rawRec azimuthRecord(std::string_view from, std::string_view to, double azimuth_rad) {
    rawRec record;
    initRawAzimuth(record);
    setPointName(record.fromName, from);
    setPointName(record.toName, to);
    record.azimuth = azimuth_rad;
    return record;
}

// A standard-error record with every field unset; the test sets the ones it changes.
inline rawRec stdErrRecord() {
    rawRec record;
    initRawStdErrs(record);
    return record;
}

// The reduced sight of a setup (to its backsight) or of a foresight: its
// horizontal distance with its error and, when `heightDiff` is set, the
// height difference with its error, counted as running mark to mark.
inline rawRec withSight(rawRec record, double horizDistance, double distErr,
                        double heightDiff = notComputed, double heightDiffErr = notComputed) {
    record.horizDistance = horizDistance;
    record.distStdErr = distErr;
    record.vertDifference = heightDiff;
    record.vertDiffStdErr = heightDiffErr;
    record.heightsApplied = isSet(heightDiff) ? 1 : 0;
    return record;
}

// The HI of a setup record, and the target height of its backsight or of a foresight.
inline rawRec withHeights(rawRec record, double hi, double targetHeight) {
    if (record.kind == rawSetup) {
        record.instrumentHeight = hi;
        record.bsTargetHeight = targetHeight;
    } else {
        record.targetHeight = targetHeight;
    }
    return record;
}

// The whole raw list, in order.
inline std::vector<rawRec> rawRecords() {
    std::vector<rawRec> all;
    rawRec r;
    for (int end = rawDataList.seek(0); end == 0; end = rawDataList.advance()) {
        rawDataList.get(r);
        all.push_back(r);
    }
    return all;
}

inline void appendRaw(std::initializer_list<rawRec> records) {
    for (const rawRec& record : records)
        rawDataList.append(record);
}

// Empty lists, fresh settings, report files to read back.
class RawListTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetProgramLists();
        readerStdErrs = {};
        savedReaderStdErrs = {};
        rptFile = ::open((folder / "t.RPT").c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
        errFile = ::open((folder / "t.ERR").c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    }
    void TearDown() override {
        for (int* handle : {&rptFile, &errFile}) {
            if (*handle > 0)
                ::close(*handle);
            *handle = 0;
        }
        resetProgramLists();
    }
    // The error report's text, after checking that the report holds the same.
    std::string warnings() {
        const std::string err = readBytes(folder / "t.ERR");
        EXPECT_EQ(readBytes(folder / "t.RPT"), err);
        return err;
    }

    ProjectVarsGuard guard;
    TempFolder folder{"rawlist"};
};

} // namespace testsupport
