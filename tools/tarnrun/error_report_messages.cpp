#include "error_report_messages.hpp"

#include "platform/file_replace.hpp"

#include <fstream>
#include <sstream>

namespace {

std::string withCrLf(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out + "\r\n";
}

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

bool FileStamp::operator==(const FileStamp& other) const {
    return exists == other.exists && device == other.device && inode == other.inode &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec &&
           size == other.size;
}

FileStamp fileStamp(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {};
    return {true, info.st_dev, info.st_ino, info.st_mtim, info.st_size};
}

bool recordInErrorReport(const std::filesystem::path& errorReport, const FileStamp& before,
                         const std::vector<std::string>& messages, std::string& error) {
    if (messages.empty())
        return true;
    const FileStamp now = fileStamp(errorReport);
    const bool writtenByRun = now.exists && !(now == before);
    const std::string old = writtenByRun ? fileText(errorReport) : std::string();
    std::string text = old;
    for (const std::string& message : messages) {
        // A message the run wrote itself may keep its inner line ends bare.
        const std::string lines = withCrLf(message);
        if (text.find(lines) == std::string::npos &&
            text.find(message + "\r\n") == std::string::npos)
            text += lines;
    }
    if (writtenByRun && text == old)
        return true;
    return platform::replaceFile(errorReport, text, error);
}
