#pragma once
// The EDM calibration report and the object the calibration dialog owns: the
// records of one .edm file, the lines and results of the last computation
// and the report text.
//
// The report is plain text of CR LF lines: the header records, the table of
// observations, the scale and constant errors with their standard errors,
// the reference variance, the t-values and the decisions at the 1 percent
// level. The scale error and its standard error are printed in parts per
// million, as their label says; the t-value is the same in either unit.

#include "engine/edm_calibration.hpp"
#include "input/edm_file.hpp"

#include <filesystem>
#include <string>
#include <vector>

// The report of a computation from these records. A t-value whose size only
// equals the critical value does not reject the hypothesis.
std::string edmCalibrationReport(const std::vector<CALIBRATE_RAWREC>& records,
                                 const EdmCalibrationResults& results);

class cEdmCalibrate {
public:
    virtual ~cEdmCalibrate() = default;

    // Appends the file's records to the record array (the caller empties it
    // first) and counts them: 0; 1 with nothing changed when the file cannot
    // be opened; 2 with nothing changed and the file, line and field in
    // `error` when a number field holds no number.
    int readEdmFile(const std::filesystem::path& path);
    // Writes the record array: 0, or 1 when the file cannot be written (an
    // existing file is then left as it was).
    int writeEdmFile(const std::filesystem::path& path) const;
    // Computes from the record array and rebuilds the report: 0, or 1 with
    // the lines, results and report as they were and the cause in `error`.
    int computeCalibration();
    // Writes the report text unchanged: 0, or 1 when it cannot be written.
    int writeReportFile(const std::filesystem::path& path) const;

    std::vector<CALIBRATE_RAWREC> records;
    std::vector<compCalibRec> lines;
    EdmCalibrationResults results;
    std::string report;
    std::string error;        // why the last computation or read was refused
    int recordCount = 0;      // records of the last read
    int observationCount = 0; // OB records of the last read
};
