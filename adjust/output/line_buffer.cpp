#include "output/line_buffer.hpp"

#include "output/report_lines.hpp"

namespace {

constexpr std::size_t blockSize = 1 << 16;

} // namespace

bool LineBuffer::line(const std::string& text) {
    if (failed_ || handle_ <= 0)
        return !failed_;
    pending_.append(text).append("\r\n");
    return pending_.size() < blockSize || flush();
}

bool LineBuffer::flush() {
    if (!failed_ && !pending_.empty())
        failed_ = writeText(handle_, pending_) != 0;
    pending_.clear();
    return !failed_;
}
