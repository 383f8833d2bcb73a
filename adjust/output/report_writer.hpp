#pragma once
// Writes the lines of one report section in order and stops at the first
// failed write: the lines after it are not written (the failure has been
// shown by writeLine).

#include "output/report_lines.hpp"

#include <string>

class ReportWriter {
public:
    explicit ReportWriter(int handle) : handle_(handle) {}

    ReportWriter& line(const std::string& text) {
        if (!failed_ && writeLine(handle_, text) != 0)
            failed_ = true;
        return *this;
    }
    ReportWriter& blank() { return line(std::string()); }

    int handle() const { return handle_; }
    bool failed() const { return failed_; }
    // 0, or 1 after a failed write.
    int result() const { return failed_ ? 1 : 0; }

private:
    int handle_;
    bool failed_ = false;
};

// A row of `count` '=' characters after `indent` blanks.
inline std::string ruleLine(int indent, int count) {
    return std::string(static_cast<std::size_t>(indent), ' ') +
           std::string(static_cast<std::size_t>(count), '=');
}
