#pragma once
// The small "key=value" settings files (.udp, .sef): one line per setting,
// CR LF line ends, keys compared case-sensitively.

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

// A settings-file failure: the message goes to the error report of the run
// (when open) and to a message box.
void reportSettingsFileMessage(const std::string& message);

// "Error parsing record: %s\r\nFile: %s".
std::string parseErrorMessage(const std::string& lineText, const std::string& path);
