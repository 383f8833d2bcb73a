#include "platform/line_reader.hpp"

namespace platform {

bool LineReader::next(std::string& line) {
    line.clear();
    if (!std::getline(*in_, line)) {
        if (line.empty())
            return false;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    ++lineNumber_;
    return true;
}

} // namespace platform
