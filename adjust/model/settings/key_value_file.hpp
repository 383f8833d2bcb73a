#pragma once
// The small "key=value" settings files (.udp, .sef): one line per setting,
// CR LF line ends, keys compared case-sensitively.

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// One line of a keyed file, trimmed at both ends (blanks, tabs, CR) with every
// run of blanks squeezed to one blank, split at its first "=".
struct KeyValueLine {
    std::string text;
    bool hasEquals = false;
    std::string key;
    std::string value;
};

KeyValueLine parseKeyValueLine(const std::string& rawLine);

// Every line of the file, or nullopt when it cannot be opened. A last line
// without a line end is read too.
std::optional<std::vector<KeyValueLine>> readKeyValueFile(const std::string& path);

// The file text: "key=value" and CR LF per entry.
std::string keyValueFileText(const std::vector<std::pair<std::string, std::string>>& entries);

// Texts of the messages of one kind of settings file.
struct SettingsFileMessages {
    const char* invalidPath;       // the path is empty
    const char* openFailedPrefix;  // followed by the path and the reason: cannot be read
    const char* writeFailedPrefix; // followed by the path and the reason: cannot be written
};

// Writes the entries to `path` by temporary file and rename. False after
// reporting the failure (empty path, file not written).
bool writeSettingsFile(const std::string& path,
                       const std::vector<std::pair<std::string, std::string>>& entries,
                       const SettingsFileMessages& messages);

// Hands the text of every line of `path` to `applyLine`; a line it refuses
// (returns false) is reported as a parse error and reading goes on. False
// after reporting an empty path or a file that cannot be opened (a missing
// file is never created).
bool readSettingsFile(const std::string& path, const SettingsFileMessages& messages,
                      const std::function<bool(const std::string&)>& applyLine);

// A settings-file failure: the message goes to the error report of the run
// (when open) and to a message box.
void reportSettingsFileMessage(const std::string& message);

// "Error parsing record: %s\r\nFile: %s".
std::string parseErrorMessage(const std::string& lineText, const std::string& path);
