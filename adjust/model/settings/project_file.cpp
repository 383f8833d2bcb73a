#include "model/settings/project_file.hpp"

#include "model/settings/global_vars.hpp"
#include "model/settings/project_keys.hpp"
#include "model/settings/text_fields.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/file_replace.hpp"
#include "platform/paths.hpp"

#include <fstream>

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

// A physical line of the project file: bytes up to a CR LF, which is not part
// of it; a lone LF stays inside. False at the end of the file.
bool readProjectLine(std::istream& file, std::string& line) {
    line.clear();
    bool any = false;
    for (int c = file.get(); c != std::char_traits<char>::eof(); c = file.get()) {
        any = true;
        if (c == '\n' && !line.empty() && line.back() == '\r') {
            line.pop_back();
            return true;
        }
        line.push_back(static_cast<char>(c));
    }
    return any;
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
    std::string line;
    if (!readProjectLine(file, line))
        return projectFileEnd;
    line = lineTrimmed(line);
    const auto equals = line.find('=');
    if (equals == std::string::npos)
        return projectLineWithoutEquals;
    const int found = projectKeys::idOf(line.substr(0, equals));
    if (found < 0)
        return unknownProjectKey;
    id = found;
    value = line.substr(equals + 1);
    return found;
}

int globalVars::readProjectFile(const std::string& path) {
    std::ifstream file(platform::pathFromText(path), std::ios::binary);
    if (!file.is_open())
        return 0;
    int id = 0;
    std::string value;
    for (int result; (result = readKeyLine(file, id, value)) != projectFileEnd;) {
        if (result == unknownProjectKey || result == projectLineWithoutEquals)
            continue;
        if (id == projectKeys::versionLineId || id == projectKeys::reportFileNameId)
            continue;
        setValue(*this, projectKeys::table()[static_cast<std::size_t>(id)], value);
    }
    if (version <= 6)
        nezFileFmtType = renumberedControlFormat(nezFileFmtType);
    return 1;
}
