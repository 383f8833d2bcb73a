#include "platform/line_reader.hpp"

namespace platform {

// Read byte by byte from the stream buffer, so that CR can end a line and
// the count of bytes read stays exact for progress reports.
bool LineReader::next(std::string& line) {
    line.clear();
    std::streambuf* buffer = in_->rdbuf();
    if (!*in_ || buffer == nullptr)
        return false;
    using traits = std::char_traits<char>;
    for (;;) {
        const traits::int_type c = buffer->sbumpc();
        if (traits::eq_int_type(c, traits::eof())) {
            in_->setstate(std::ios::eofbit);
            if (line.empty()) {
                in_->setstate(std::ios::failbit);
                return false;
            }
            break;
        }
        ++bytesRead_;
        if (c == '\n')
            break;
        if (c == '\r') {
            const traits::int_type after = buffer->sgetc();
            if (after == '\n') {
                buffer->sbumpc();
                ++bytesRead_;
            }
            if (after == '\n' || traits::eq_int_type(after, traits::eof()) ||
                ends_ == LineEnds::crToo)
                break;
        }
        line += traits::to_char_type(c);
    }
    ++lineNumber_;
    return true;
}

} // namespace platform
