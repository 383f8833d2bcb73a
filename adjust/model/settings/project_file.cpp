#include "model/settings/project_file.hpp"

#include "model/settings/global_vars.hpp"
#include "model/settings/project_keys.hpp"
#include "model/settings/setting_ranges.hpp"
#include "model/settings/text_fields.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/file_replace.hpp"
#include "platform/paths.hpp"
#include "platform/record_fields.hpp"

#include <fstream>
#include <limits>
#include <optional>
#include <vector>

using platform::formatC;
using projectKeys::ValueKind;

namespace {

std::string lineTrimmed(const std::string& text) {
    return trimmedOf(text, " \t\r\n");
}

constexpr std::string_view versionKey = "TARNWELL_PROJECT_VERSION";

std::string valueText(const globalVars& g, int id) {
    const projectKeys::Key& key = projectKeys::table()[static_cast<std::size_t>(id)];
    if (id == projectKeys::versionLineId || id == projectKeys::versionId)
        return formatC("%d", projectFileVersion);
    switch (key.kind) {
    case ValueKind::text:
        return g.*key.text;
    case ValueKind::integer:
        return formatC("%d", g.*key.integer);
    case ValueKind::real:
        return formatC("%f", g.*key.real);
    case ValueKind::real9:
        return formatC("%.9f", g.*key.real);
    }
    return {};
}

bool isFileList(std::string globalVars::*member) {
    return member == &globalVars::pInputFileName || member == &globalVars::pGPSFileName;
}

// The version line and the `version` key both give the file's format
// version: the key, when the file has it, comes after the line and holds.
const projectKeys::Key& storedKeyOf(int id) {
    return projectKeys::table()[static_cast<std::size_t>(
        id == projectKeys::versionLineId ? projectKeys::versionId : id)];
}

void setText(globalVars& g, const projectKeys::Key& key, const std::string& value) {
    g.*key.text = value;
    // The trimming of the line took the LF after the last name.
    if (isFileList(key.text) && !value.empty() && value.back() != '\n')
        g.*key.text += '\n';
}

void setNumber(globalVars& g, const projectKeys::Key& key, double number) {
    if (key.kind == ValueKind::integer)
        g.*key.integer = static_cast<int>(number);
    else
        g.*key.real = number;
}

// The key of a line that starts with one of the table's keys and "=", else -1.
int knownKeyOf(const std::string& line) {
    const auto equals = line.find('=');
    return equals == std::string::npos ? -1 : projectKeys::idOf(line.substr(0, equals));
}

// Reads a project file line by line, counting lines for messages.
struct ProjectLines {
    std::istream& file;
    int lineNumber = 0;
    // The line last read ended with CR LF (or was the last line of the file),
    // the end of a value in the files this program writes.
    bool valueEnded = true;

    // A physical line: bytes up to a LF, a CR LF or a CR alone, without
    // them. A lone LF or CR ends a line but not a value: an editor that
    // rewrote every line end as one of them left the file lists to run on
    // to the next key line. False at the end of the file.
    bool next(std::string& line) {
        line.clear();
        bool any = false;
        valueEnded = true;
        for (int c = file.get(); c != std::char_traits<char>::eof(); c = file.get()) {
            any = true;
            if (c == '\r' && file.peek() == '\n') {
                file.get();
                break;
            }
            if (c == '\n' || c == '\r') {
                valueEnded = file.peek() == std::char_traits<char>::eof();
                break;
            }
            line.push_back(static_cast<char>(c));
        }
        lineNumber += any ? 1 : 0;
        return any;
    }

    // A file list is stored one name a line, each ended by a lone LF, the
    // list by CR LF; an editor that ends every line with LF (or CR) alone
    // leaves only the next key line to end the list. So the list goes on
    // while the line before ended with a lone LF or CR and up to a line that starts with a
    // known key: a name is a name whatever it holds ("=" included), and a
    // stray line after the CR LF is no name. Empty lines add none.
    void appendListContinuation(std::string& value) {
        while (!valueEnded) {
            const std::istream::pos_type start = file.tellg();
            std::string line;
            if (start == std::istream::pos_type(-1) || !next(line))
                return;
            line = lineTrimmed(line);
            if (knownKeyOf(line) >= 0) {
                file.clear();
                file.seekg(start);
                --lineNumber;
                return;
            }
            if (!line.empty())
                value += (value.empty() ? "" : "\n") + line;
        }
    }
};

int readKeyLineFrom(ProjectLines& lines, int& id, std::string& value) {
    std::string line;
    if (!lines.next(line))
        return globalVars::projectFileEnd;
    line = lineTrimmed(line);
    const auto equals = line.find('=');
    if (equals == std::string::npos)
        return globalVars::projectLineWithoutEquals;
    const int found = projectKeys::idOf(line.substr(0, equals));
    if (found < 0)
        return globalVars::unknownProjectKey;
    id = found;
    value = line.substr(equals + 1);
    const projectKeys::Key& key = projectKeys::table()[static_cast<std::size_t>(found)];
    if (key.kind == ValueKind::text && isFileList(key.text))
        lines.appendListContinuation(value);
    return found;
}

} // namespace

int renumberedControlFormat(int olderCode) {
    switch (olderCode) {
    case 0:
        return 1;
    case 1:
        return 2;
    case 4:
        return 3;
    case 5:
        return 4;
    case 6:
        return 5;
    case 7:
        return 6;
    default:
        return 0;
    }
}

bool isTextProjectFile(const std::string& path) {
    std::ifstream file(platform::pathFromText(path), std::ios::binary);
    std::string head(versionKey.size(), '\0');
    return file.read(head.data(), static_cast<std::streamsize>(head.size())) && head == versionKey;
}

int globalVars::writeProjectFile(const std::string& path) const {
    std::string text;
    for (int id = 0; id < projectKeys::keyCount; ++id)
        text += std::string(projectKeys::table()[static_cast<std::size_t>(id)].name) + "=" +
                valueText(*this, id) + "\r\n";
    std::string error;
    return platform::replaceFile(platform::pathFromText(path), text, error) ? 1 : 0;
}

int globalVars::readKeyLine(std::istream& file, int& id, std::string& value) {
    ProjectLines lines{file};
    return readKeyLineFrom(lines, id, value);
}

int globalVars::readProjectFile(const std::string& path) {
    std::vector<std::string> refusals;
    return readProjectFile(path, refusals);
}

int globalVars::readProjectFile(const std::string& path, std::vector<std::string>& refusals) {
    std::ifstream file(platform::pathFromText(path), std::ios::binary);
    if (!file.is_open())
        return 0;
    ProjectLines lines{file};
    int id = 0;
    std::string value;
    for (int result; (result = readKeyLineFrom(lines, id, value)) != projectFileEnd;) {
        if (result == unknownProjectKey || result == projectLineWithoutEquals)
            continue;
        if (id == projectKeys::reportFileNameId)
            continue;
        const projectKeys::Key& key = storedKeyOf(id);
        if (key.kind == ValueKind::text) {
            setText(*this, key, value);
            continue;
        }
        double number = 0.0;
        if (const std::string reason = settingTextRefusal(key, value, number); !reason.empty()) {
            refusals.push_back(formatC("Project file %s, line %d: %s=%s refused (%s)", path.c_str(),
                                       lines.lineNumber,
                                       projectKeys::table()[static_cast<std::size_t>(id)].name,
                                       platform::recordExcerpt(value).c_str(), reason.c_str()));
            continue;
        }
        setNumber(*this, key, number);
    }
    if (version <= 6)
        nezFileFmtType = renumberedControlFormat(nezFileFmtType);
    return 1;
}
