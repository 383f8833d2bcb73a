#include "platform/paths.hpp"

#include <algorithm>
#include <system_error>

namespace platform {
namespace {

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::filesystem::path pathFromText(std::string_view text) {
    std::string copy(text);
    std::replace(copy.begin(), copy.end(), '\\', '/');
    return std::filesystem::path(copy);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return asciiLower(x) == asciiLower(y);
           });
}

std::optional<std::filesystem::path> findFileIgnoringCase(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec))
        return path;
    const std::filesystem::path folder =
        path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    const std::string wanted = path.filename().string();
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (equalsIgnoringCase(it->path().filename().string(), wanted))
            return path.has_parent_path() ? it->path() : it->path().filename();
    }
    return std::nullopt;
}

std::string withTrailingSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

} // namespace platform
