#pragma once
// The small "key=value" settings files (.udp, .sef): one line per setting,
// CR LF line ends, keys compared case-sensitively.

#include <functional>
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

// What applying one line of a settings file came to.
enum class SettingLine {
    taken,       // a setting, its value set
    notASetting, // no "=", or a key the file does not have
    refused,     // a setting whose value is not wholly what it must be
};

// Applies one line; for a refused value, says why in `refusal` (a sentence
// naming the key and the value).
using SettingLineReader = std::function<SettingLine(const std::string& line, std::string& refusal)>;

// Hands the text of every line of `path` (LF, CR LF or CR ending it) to
// `applyLine`. A line that is no setting is reported as a parse error and
// reading goes on; so is a refused value, with the line and the reason, and
// the read then fails at the end: the file's settings are not what it says.
// False after reporting an empty path, a file that cannot be opened (with
// the system's reason; a missing file is never created) or a refused value.
bool readSettingsFile(const std::string& path, const SettingsFileMessages& messages,
                      const SettingLineReader& applyLine);

// A settings-file failure: the message goes to the error report of the run
// (when open) and to a message box.
void reportSettingsFileMessage(const std::string& message);

// "Error parsing record: %s\r\nFile: %s".
std::string parseErrorMessage(const std::string& lineText, const std::string& path);
