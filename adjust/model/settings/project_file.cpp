#include "model/settings/project_file.hpp"

#include "model/settings/global_vars.hpp"
#include "model/settings/project_keys.hpp"
#include "model/settings/setting_ranges.hpp"
#include "model/settings/text_fields.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/file_replace.hpp"
#include "platform/paths.hpp"

#include <fstream>
#include <vector>

using platform::atofC;
using platform::atoiC;
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

void setValue(globalVars& g, const projectKeys::Key& key, const std::string& value) {
    switch (key.kind) {
    case ValueKind::text:
        g.*key.text = value;
        // The trimming of the line took the LF after the last name.
        if (isFileList(key.text) && !value.empty() && value.back() != '\n')
            g.*key.text += '\n';
        break;
    case ValueKind::integer:
        g.*key.integer = atoiC(value);
        break;
    case ValueKind::real:
    case ValueKind::real9:
        g.*key.real = atofC(value);
        break;
    }
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

    // A physical line: bytes up to a LF, without it and the CR before it.
    // False at the end of the file.
    bool next(std::string& line) {
        line.clear();
        bool any = false;
        bool lineFeed = false;
        for (int c = file.get(); c != std::char_traits<char>::eof(); c = file.get()) {
            any = true;
            if (c == '\n') {
                lineFeed = true;
                break;
            }
            line.push_back(static_cast<char>(c));
        }
        valueEnded = !lineFeed || (!line.empty() && line.back() == '\r');
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lineNumber += any ? 1 : 0;
        return any;
    }

    // A file list is stored one name a line, each ended by a lone LF, the
    // list by CR LF; an editor that ends every line with LF alone leaves
    // only the next key line to end the list. So the list goes on while the
    // line before ended with a lone LF and up to a line that starts with a
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

// Why a setting's text cannot be taken, or empty when it can.
std::string refusalOf(const projectKeys::Key& key, const std::string& value) {
    if (key.kind == ValueKind::text)
        return {};
    if (platform::startsWithNonDataNumber(value))
        return "not a usable number";
    const double number =
        key.kind == ValueKind::integer ? static_cast<double>(platform::atolC(value)) : atofC(value);
    return settingRefusal(key, number);
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
        if (id == projectKeys::versionLineId || id == projectKeys::reportFileNameId)
            continue;
        const projectKeys::Key& key = projectKeys::table()[static_cast<std::size_t>(id)];
        if (const std::string reason = refusalOf(key, value); !reason.empty()) {
            refusals.push_back(formatC("Project file %s, line %d: %s=%s refused (%s); the value "
                                       "in force is kept.",
                                       path.c_str(), lines.lineNumber, key.name, value.c_str(),
                                       reason.c_str()));
            continue;
        }
        setValue(*this, key, value);
    }
    if (version <= 6)
        nezFileFmtType = renumberedControlFormat(nezFileFmtType);
    return 1;
}
