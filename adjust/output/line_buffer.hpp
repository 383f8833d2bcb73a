#pragma once
// The lines of a long report section (a line per observation or point),
// gathered and written to the file in large blocks: a system call per line
// was much of the time of a large adjustment's listings. While lines are
// pending nothing else may write to the same file; flush() before it does.

#include <string>

class LineBuffer {
public:
    explicit LineBuffer(int handle) : handle_(handle) {}
    // Writes the lines still pending (a failure is noted as writeLine notes it).
    ~LineBuffer() { flush(); }
    LineBuffer(const LineBuffer&) = delete;
    LineBuffer& operator=(const LineBuffer&) = delete;

    // Adds `text` and CR LF, and writes the pending lines once they fill a
    // block. A handle of 0 or less gathers nothing. False once a write failed.
    bool line(const std::string& text);
    // Writes the pending lines. False once a write failed.
    bool flush();

private:
    int handle_;
    std::string pending_;
    bool failed_ = false;
};
