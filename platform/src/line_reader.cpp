#include "platform/line_reader.hpp"

#include "platform/input_file.hpp"
#include "platform/system_reason.hpp"

#include <cerrno>
#include <exception>

namespace platform {

TextFileReader::TextFileReader(const std::filesystem::path& path, LineEnds ends)
    : problem_(inputFileProblem(path)), reader_(file_, ends) {
    if (!problem_.empty())
        return;
    file_.open(path, std::ios::binary);
    if (!file_.is_open())
        problem_ = systemReason(errno);
}

bool LineReader::next(std::string& line) {
    try {
        return readLine(line);
    } catch (const std::exception&) {
        // The stream buffer throws where the system refuses a read (a
        // folder, an I/O error): the caller sees a bad stream instead.
        line.clear();
        in_->setstate(std::ios::badbit);
        return false;
    }
}

// Read byte by byte from the stream buffer, so that CR can end a line and
// the count of bytes read stays exact for progress reports.
bool LineReader::readLine(std::string& line) {
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
