#pragma once
// The line writers of the report (.RPT) and error report (.ERR) of a run.
// Both files stay open for the length of a run behind program-wide handles;
// every line ends in CR LF so the files read the same on every system.

#include <string>
#include <vector>

// Handle of the open report file; 0 when none is open, -1 after a failed open.
extern int rptFile;
// Handle of the open error report file; 0 when none is open, -1 after a failed open.
extern int errFile;

// Writes `text` (when not empty) and CR LF to `handle`. A handle of 0 or less
// writes nothing and returns 0. A failed write is noted (below) and returns
// 1; otherwise returns 0.
int writeLine(int handle, const std::string& text);

// Writes `text` as it is: lines already ended in CR LF. Handles, failures and
// the result as writeLine.
int writeText(int handle, const std::string& text);

// Writes the same line to the report and to the error report, each only when
// open. Returns 1 after a failed write (with the same message), else 0.
int writeRptErrLine(const std::string& text);

// Output files written through a buffer: from startBufferedOutput(handle)
// on, what the writers above send to the handle gathers in memory and goes
// to the file in blocks of 64 KiB (a system call per line was a large part
// of a big run). A failed block is noted as a failed line is, once, and the
// writes after it return 1 and are dropped. endBufferedOutput writes what is
// pending and forgets the handle (before it is closed: the number may come
// back for another file); 1 when that write failed, else 0.
void startBufferedOutput(int handle);
int endBufferedOutput(int handle);
// Writes what is pending for every buffered handle, so each file holds every
// line written so far (before another reader opens it); 1 when a write
// failed, else 0.
int flushBufferedOutput();

// Notes a failed write of an output file: "Error writing output to <path>:
// <reason>" (the system's reason), shown and written to the open error report (when
// that is not the file that failed), once per file and reason.
void noteOutputWriteFailure(const std::string& path, const std::string& reason);
// As noteOutputWriteFailure, for a caller that has shown its own message:
// nothing is shown. False when the same failure was already recorded.
bool recordOutputWriteFailure(const std::string& path, const std::string& reason);
// The failures noted since the last clear, in order; optionally only those
// that could not be written to the error report (it was closed, or failed).
std::vector<std::string> outputWriteFailures(bool onlyOutsideErrorReport = false);
void clearOutputWriteFailures();

// The text from its first character that is not a blank (' ').
std::string skipLeadingBlanks(const std::string& text);
