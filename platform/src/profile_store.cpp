#include "platform/profile_store.hpp"

#include "platform/c_locale_text.hpp"
#include "platform/file_replace.hpp"
#include "platform/line_reader.hpp"

#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace platform {
namespace {

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return home;
    if (const passwd* account = ::getpwuid(::getuid()); account != nullptr)
        return account->pw_dir;
    return ".";
}

std::string escapeValue(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string unescapeValue(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

bool isSectionLine(const std::string& line) {
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

} // namespace

std::filesystem::path userConfigFolder() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/')
        return xdg;
    return std::filesystem::path(homeFolder()) / ".config";
}

ProfileStore::ProfileStore(const std::string& key) : path_(userConfigFolder() / (key + ".ini")) {}

bool ProfileStore::load(std::string& error) {
    sections_.clear();
    std::error_code ec;
    if (!std::filesystem::exists(path_, ec))
        return true;
    TextFileReader reader(path_);
    if (!reader.isOpen()) {
        error = "cannot read " + path_.string();
        return false;
    }
    std::string line;
    std::string section;
    while (reader.next(line)) {
        if (isSectionLine(line)) {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        sections_[section][line.substr(0, equals)] = unescapeValue(line.substr(equals + 1));
    }
    return true;
}

bool ProfileStore::save(std::string& error) const {
    std::error_code ec;
    std::filesystem::create_directories(path_.parent_path(), ec);
    if (ec) {
        error = "cannot create " + path_.parent_path().string() + ": " + ec.message();
        return false;
    }
    std::string text;
    for (const auto& [section, values] : sections_) {
        text += "[" + section + "]\n";
        for (const auto& [name, value] : values)
            text += name + "=" + escapeValue(value) + "\n";
    }
    return replaceFile(path_, text, error);
}

std::optional<std::string> ProfileStore::value(const std::string& section,
                                               const std::string& name) const {
    const auto s = sections_.find(section);
    if (s == sections_.end())
        return std::nullopt;
    const auto v = s->second.find(name);
    if (v == s->second.end())
        return std::nullopt;
    return v->second;
}

std::string ProfileStore::getString(const std::string& section, const std::string& name,
                                    const std::string& fallback) const {
    return value(section, name).value_or(fallback);
}

int ProfileStore::getInt(const std::string& section, const std::string& name, int fallback) const {
    const auto text = value(section, name);
    if (!text)
        return fallback;
    const auto number = parseLong(*text);
    if (!number || *number < INT_MIN || *number > INT_MAX)
        return fallback;
    return static_cast<int>(*number);
}

void ProfileStore::setString(const std::string& section, const std::string& name,
                             const std::string& text) {
    sections_[section][name] = text;
}

void ProfileStore::setInt(const std::string& section, const std::string& name, int number) {
    sections_[section][name] = formatC("%d", number);
}

} // namespace platform
