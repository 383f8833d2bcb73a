#pragma once
// What the fuzz targets share: the input as text, its lines, and a private
// file holding it for readers that take a path.

#include "support/temp_folder.hpp"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fuzzinput {

inline std::string textOf(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line.push_back(c);
        }
    }
    lines.push_back(line);
    return lines;
}

// A file of the process's own folder named `name`, holding the input; the
// folder is emptied when it goes, and removed when the process ends: every
// corpus replay left an empty one behind.
class InputFile {
public:
    InputFile(const std::string& text, const std::string& name) {
        static const testsupport::TempFolder folder("fuzz");
        path_ = folder.path() / name;
        std::ofstream(path_, std::ios::binary | std::ios::trunc) << text;
    }
    ~InputFile() {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(path_.parent_path(), ec))
            std::filesystem::remove(entry.path(), ec);
    }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    std::string path() const { return path_.string(); }
    std::string folder() const { return path_.parent_path().string(); }

private:
    std::filesystem::path path_;
};

} // namespace fuzzinput
