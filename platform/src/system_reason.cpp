#include "platform/system_reason.hpp"

#include <cstring>

namespace platform {

std::string systemReason(int error) {
    char buffer[256];
    // The GNU form returns the text, which may or may not live in the buffer.
    return ::strerror_r(error, buffer, sizeof buffer);
}

std::string withSystemReason(const std::string& text, int error) {
    return text + ": " + systemReason(error);
}

} // namespace platform
