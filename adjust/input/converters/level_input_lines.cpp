#include "input/converters/level_input_lines.hpp"

#include "input/converters/converter_files.hpp"

namespace {

std::string keptCharacters(const std::string& line) {
    std::string kept;
    kept.reserve(line.size());
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\r' || (byte >= 0x20 && byte <= 0x7F))
            kept.push_back(c);
    }
    if (!kept.empty() && kept.back() == '\r')
        kept.pop_back();
    return kept;
}

} // namespace

bool readLevelInputLines(const std::string& path, std::vector<levelInputLine>& lines) {
    std::vector<std::string> raw;
    if (!readInputLines(path, raw))
        return false;
    lines.clear();
    for (std::size_t i = 0; i < raw.size(); ++i) {
        std::string text = keptCharacters(raw[i]);
        if (!text.empty())
            lines.push_back({static_cast<int>(i + 1), std::move(text)});
    }
    return true;
}
