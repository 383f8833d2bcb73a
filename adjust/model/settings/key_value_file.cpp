#include "model/settings/key_value_file.hpp"

#include "output/report_lines.hpp"
#include "platform/file_replace.hpp"
#include "platform/line_reader.hpp"
#include "platform/paths.hpp"
#include "platform/shell_services.hpp"
#include "platform/system_reason.hpp"

#include <cerrno>

namespace {

std::string trimEnds(const std::string& text) {
    const char* blanks = " \t\r";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

std::string squeezeBlankRuns(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == ' ' && !out.empty() && out.back() == ' ')
            continue;
        out.push_back(c);
    }
    return out;
}

} // namespace

KeyValueLine parseKeyValueLine(const std::string& rawLine) {
    KeyValueLine line;
    line.text = squeezeBlankRuns(trimEnds(rawLine));
    const auto equals = line.text.find('=');
    line.hasEquals = equals != std::string::npos;
    if (line.hasEquals) {
        line.key = line.text.substr(0, equals);
        line.value = line.text.substr(equals + 1);
    }
    return line;
}

std::optional<std::vector<KeyValueLine>> readKeyValueFile(const std::string& path) {
    platform::TextFileReader reader(platform::pathFromText(path));
    if (!reader.isOpen())
        return std::nullopt;
    std::vector<KeyValueLine> lines;
    std::string raw;
    while (reader.next(raw))
        lines.push_back(parseKeyValueLine(raw));
    return lines;
}

std::string keyValueFileText(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::string text;
    for (const auto& [key, value] : entries)
        text += key + "=" + value + "\r\n";
    return text;
}

// No run context reaches the settings-file readers and writers (also used outside any run): their
// interface has none, so the shell is the active one (the run installs its own for its length).
void reportSettingsFileMessage(const std::string& message) {
    writeLine(errFile, message);
    activeShell().message(message, MessageKind::ok);
}

std::string parseErrorMessage(const std::string& lineText, const std::string& path) {
    return "Error parsing record: " + lineText + "\r\nFile: " + path;
}

bool writeSettingsFile(const std::string& path,
                       const std::vector<std::pair<std::string, std::string>>& entries,
                       const SettingsFileMessages& messages) {
    if (path.empty()) {
        reportSettingsFileMessage(messages.invalidPath);
        return false;
    }
    std::string error;
    if (!platform::replaceFile(platform::pathFromText(path), keyValueFileText(entries), error)) {
        const int reason = errno;
        reportSettingsFileMessage(
            platform::withSystemReason(messages.writeFailedPrefix + path, reason));
        return false;
    }
    return true;
}

bool readSettingsFile(const std::string& path, const SettingsFileMessages& messages,
                      const std::function<bool(const std::string&)>& applyLine) {
    if (path.empty()) {
        reportSettingsFileMessage(messages.invalidPath);
        return false;
    }
    const auto lines = readKeyValueFile(path);
    if (!lines) {
        const int reason = errno;
        reportSettingsFileMessage(
            platform::withSystemReason(messages.openFailedPrefix + path, reason));
        return false;
    }
    for (const KeyValueLine& line : *lines) {
        if (!applyLine(line.text))
            reportSettingsFileMessage(parseErrorMessage(line.text, path));
    }
    return true;
}
