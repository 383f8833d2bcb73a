#include "input/converters/level_input_lines.hpp"

#include "input/converters/converter_files.hpp"

bool readLevelInputLines(const std::string& path, std::vector<levelInputLine>& lines) {
    std::vector<std::string> raw;
    if (!readInputLines(path, raw))
        return false;
    lines.clear();
    for (std::size_t i = 0; i < raw.size(); ++i)
        if (!raw[i].empty())
            lines.push_back({static_cast<int>(i + 1), std::move(raw[i])});
    return true;
}
