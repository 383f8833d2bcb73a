#include "model/settings/key_value_file.hpp"

#include "output/report_lines.hpp"
#include "platform/file_replace.hpp"
#include "platform/line_reader.hpp"
#include "platform/paths.hpp"
#include "platform/record_fields.hpp"
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

namespace {

std::string refusedLineMessage(const std::string& lineText, const std::string& path, int lineNumber,
                               const std::string& refusal) {
    return "Error parsing record: " + platform::recordExcerpt(lineText) + "\r\nFile: " + path +
           ", line " + std::to_string(lineNumber) + ": " + refusal;
}

} // namespace

bool readSettingsFile(const std::string& path, const SettingsFileMessages& messages,
                      const SettingLineReader& applyLine) {
    if (path.empty()) {
        reportSettingsFileMessage(messages.invalidPath);
        return false;
    }
    platform::TextFileReader reader(platform::pathFromText(path));
    if (!reader.isOpen()) {
        reportSettingsFileMessage(messages.openFailedPrefix + path + ": " + reader.problem());
        return false;
    }
    bool allTaken = true;
    std::string raw;
    while (reader.next(raw)) {
        const std::string text = parseKeyValueLine(raw).text;
        std::string refusal;
        switch (applyLine(text, refusal)) {
        case SettingLine::taken:
            break;
        case SettingLine::notASetting:
            reportSettingsFileMessage(parseErrorMessage(text, path));
            break;
        case SettingLine::refused:
            reportSettingsFileMessage(refusedLineMessage(text, path, reader.lineNumber(), refusal));
            allTaken = false;
            break;
        }
    }
    if (reader.readFailed()) {
        reportSettingsFileMessage(messages.openFailedPrefix + path +
                                  ": a read error stopped the reading before its end");
        return false;
    }
    return allTaken;
}
