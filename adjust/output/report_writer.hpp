#pragma once
// Writes the lines of one report section in order and stops at the first
// failed write: the lines after it are not written (the failure has been
// shown by writeLine).

#include "output/line_buffer.hpp"
#include "output/report_lines.hpp"

#include <optional>
#include <string>

class ReportWriter {
public:
    // `inBlocks`: the lines go to the file in blocks (output/line_buffer.hpp),
    // for a long section that nothing else writes to while the writer lives;
    // the last block when it ends (a failure of that one is noted, as every
    // failed write is, but failed() and result() know only the blocks before).
    enum class Lines { eachWritten, inBlocks };

    explicit ReportWriter(int handle, Lines lines = Lines::eachWritten) : handle_(handle) {
        if (lines == Lines::inBlocks)
            blocks_.emplace(handle);
    }

    ReportWriter& line(const std::string& text) {
        if (!failed_)
            failed_ = blocks_ ? !blocks_->line(text) : writeLine(handle_, text) != 0;
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
    std::optional<LineBuffer> blocks_;
};

// A row of `count` '=' characters after `indent` blanks.
inline std::string ruleLine(int indent, int count) {
    return std::string(static_cast<std::size_t>(indent), ' ') +
           std::string(static_cast<std::size_t>(count), '=');
}
