#pragma once
// Shared by the exported functions: bounded copies into the callers'
// buffers and the trimming every name passes through.

#include "ptbank/crd_text.hpp"
#include "ptbank/vk_crd_api.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace ptbank {

// Copies the text into a caller's buffer of `size` bytes, cut to fit.
inline void copyToCaller(char* out, std::string_view text, std::size_t size) {
    if (!out)
        return;
    const std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
}

inline void copyNameToCaller(char* out, std::string_view text) {
    copyToCaller(out, text, VKCRD_NAME_SIZE);
}

inline void copyPathToCaller(char* out, std::string_view text) {
    copyToCaller(out, text, VKCRD_PATH_SIZE);
}

// Leading blanks, trailing blanks and line ends removed in the caller's buffer.
inline void trimCallerName(char* name) {
    if (name)
        trimText(name, 0);
}

} // namespace ptbank
