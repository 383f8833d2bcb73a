#include "input/converters/converter_files.hpp"

#include "platform/c_locale_text.hpp"
#include "platform/file_replace.hpp"
#include "platform/line_reader.hpp"
#include "platform/paths.hpp"
#include "platform/system_reason.hpp"

#include <cerrno>
#include <cmath>
#include <fstream>
#include <sstream>

bool readInputLines(const std::string& path, std::vector<std::string>& lines) {
    platform::TextFileReader reader(platform::pathFromText(path));
    if (!reader.isOpen())
        return false;
    lines.clear();
    std::string line;
    while (reader.next(line))
        lines.push_back(line);
    return true;
}

bool readInputBytes(const std::string& path, std::string& bytes) {
    std::ifstream in(platform::pathFromText(path), std::ios::binary);
    if (!in.is_open())
        return false;
    std::ostringstream all;
    all << in.rdbuf();
    bytes = all.str();
    return !in.bad();
}

bool writeConvertedFile(const std::string& path, const std::string& text) {
    std::string reason;
    return platform::replaceFile(platform::pathFromText(path), text, reason);
}

std::string fileFailure(const char* prefix, const std::string& path) {
    const int reason = errno;
    return platform::withSystemReason(prefix + path, reason);
}

std::string nothingFoundIn(const std::string& path, const char* what) {
    return std::string("No ") + what + " were found in " + path + ": nothing was written.";
}

std::string faultAtLine(const std::string& path, int line, const std::string& what) {
    return platform::formatC("%s, line %d: %s", path.c_str(), line, what.c_str());
}

std::string fieldFault(const platform::FieldError& error, std::string_view needs) {
    return error.fault == platform::FieldFault::missing ? std::string(needs) : error.sentence();
}

bool isBlankText(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}
