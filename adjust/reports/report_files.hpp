#pragma once
// The output files of a run, named from the open project file (`projectFileName`)
// with an upper-case extension: site.prj gives site.RPT, site.ERR, site.NEZ
// and site.OUT in the same folder.

#include <chrono>
#include <string>
#include <utility>
#include <vector>

// Modes of openRptFile / openErrFile.
inline constexpr int startNewFile = 1;
inline constexpr int appendToFile = 0;

// The project file's path with its extension replaced by `extension` (".RPT" …).
std::string projectOutputPath(const std::string& extension);

// Deletes the previous run's .RPT and .ERR; sets `reportFileName`. The
// coordinate outputs (.NEZ, .OUT) stay until new ones replace them
// (StagedOutput). A file that does not exist is no error. Returns 0.
int deleteOutputFiles();

// Opens the report file: mode 1 starts it anew, any other mode appends to an
// existing one (never creating it). Sets `reportFileName` and `rptFile`;
// returns the handle, or -1.
int openRptFile(int mode);
// Opens the error report beside the report file (or the project file when no
// report has been named). Sets `errFile`; returns the handle, or -1.
int openErrFile(int mode);
// The files below write their lines through a buffer (output/report_lines.hpp)
// until they are closed.
//
// Close the file and set its handle to 0. 0 when it was not open, else the
// result of the close, or 1 when the lines still pending could not be written.
int closeRptFile();
int closeErrFile();

// A file of its own for a writer beside the report (the coordinate files),
// written under a temporary name in the same folder and put in place of
// what stands at its name only by commit, so a run that fails or is
// cancelled before leaves the previous file as it was. The new file takes
// the mode a plain creation would give it.
class StagedOutput {
public:
    explicit StagedOutput(std::string path) : path_(std::move(path)) {}
    ~StagedOutput() { discard(); }
    StagedOutput(const StagedOutput&) = delete;
    StagedOutput& operator=(const StagedOutput&) = delete;

    // Creates the temporary file: a handle for writeLine (never 0), or -1
    // with errno set. Its lines go through a buffer until it is closed.
    int create();
    int handle() const { return handle_; }
    const std::string& path() const { return path_; }
    // Closes the temporary file and renames it over `path`: false, with
    // errno set and the temporary file removed, when that fails.
    bool commit();
    // Closes and removes the temporary file, if any.
    void discard();

private:
    std::string path_;
    std::string tempPath_;
    int handle_ = 0;
};

// The C library's fixed 24-character form of a local time:
// "Wed Dec  9 23:58:15 2026".
std::string ctimeText(std::chrono::system_clock::time_point when);

// Writes the error report's title block. 0, or 1 after a failed write.
int writeErrHeader(int handle);

// The observation files a run reads, as the report headers list them under
// "Input Raw Files:": the raw data files, then the GPS vector files when
// they are included, then the differential levelling files when those are.
std::vector<std::string> inputFileNames();
