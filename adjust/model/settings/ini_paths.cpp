#include "model/settings/ini_paths.hpp"

#include "model/settings/text_fields.hpp"
#include "platform/line_reader.hpp"
#include "platform/paths.hpp"
#include "platform/program_folder.hpp"

#include <array>
#include <fstream>

namespace {

std::string lineTrimmed(const std::string& text) {
    return trimmedOf(text, " \t\r\n");
}

constexpr const char* iniFileName = "TARNWELL.INI";

constexpr std::array<const char*, iniPaths::keyCount> iniKeys = {"EXEDIR", "TMPDIR", "HELPDIR",
                                                                 "HELPFILE", "HELPTOPIC"};

std::string upperAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// EXEDIR, TMPDIR and HELPDIR name folders.
constexpr int lastFolderKey = 2;

// An empty folder value stays empty, so that callers use the program's
// folder in its place rather than the root.
std::string folderValue(const std::string& value) {
    if (value.empty())
        return value;
    return platform::withTrailingSeparator(platform::pathFromText(value).string());
}

} // namespace

int iniPaths::readKeyLine(std::istream& file, int& index, std::string& value) {
    platform::LineReader reader(file);
    std::string line;
    if (!reader.next(line))
        return endOfFile;
    line = lineTrimmed(line);
    const auto equals = line.find('=');
    if (equals == std::string::npos)
        return lineWithoutEquals;
    const std::string key = upperAscii(lineTrimmed(line.substr(0, equals)));
    for (int i = 0; i < keyCount; ++i) {
        if (key == iniKeys[static_cast<std::size_t>(i)]) {
            index = i;
            value = lineTrimmed(line.substr(equals + 1));
            return i;
        }
    }
    return unknownKey;
}

int iniPaths::read(const std::string& folder) {
    const auto path = platform::findFileIgnoringCase(platform::pathFromText(folder) / iniFileName);
    iniFilePath = (platform::pathFromText(folder) / iniFileName).string();
    if (!path)
        return notRead;
    iniFilePath = path->string();
    std::ifstream file(*path, std::ios::binary);
    if (!file.is_open())
        return notRead;
    std::string* const values[keyCount] = {&exeDir, &tmpDir, &helpDir, &helpFile, &helpTopic};
    int index = 0;
    std::string value;
    for (int result; (result = readKeyLine(file, index, value)) != endOfFile;) {
        if (result == unknownKey || result == lineWithoutEquals)
            continue;
        *values[index] = index <= lastFolderKey ? folderValue(value) : value;
    }
    return ok;
}

std::string iniFolder(const std::string& commandLine) {
    return commandLine.empty() ? platform::programFolder() : commandLine;
}
