#pragma once
// The per-user profile: named values in sections, kept per key (for example
// "Velmora Software/Tarnwell") in one INI-style file under the user's
// configuration folder. The file is replaced by temporary file and rename, so
// a crash or a full disk never leaves it half-written.
//
// File layout: "[section]" lines, then "name=value" lines, LF line ends. A
// backslash, CR or LF inside a value is written as "\\", "\r" or "\n".

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace platform {

// $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config (the home
// folder of the user's account when HOME is not set).
std::filesystem::path userConfigFolder();

class ProfileStore {
public:
    // The store of `key`: "<config>/<key>.ini", the key's "/" making folders.
    explicit ProfileStore(const std::string& key);

    const std::filesystem::path& path() const { return path_; }

    // Reads the file, replacing what the store held. A missing file is an
    // empty store. Returns false (store empty, reason in `error`) when the
    // file exists but cannot be read.
    bool load(std::string& error);

    // Writes the whole store, creating the folders it needs. Returns false
    // with the reason in `error` on failure; the previous file is then intact.
    bool save(std::string& error) const;

    std::optional<std::string> value(const std::string& section, const std::string& name) const;
    // The stored text, or `fallback` when the value is missing.
    std::string getString(const std::string& section, const std::string& name,
                          const std::string& fallback) const;
    // The stored integer, or `fallback` when the value is missing or is not
    // one whole decimal integer in the range of int.
    int getInt(const std::string& section, const std::string& name, int fallback) const;

    void setString(const std::string& section, const std::string& name, const std::string& text);
    void setInt(const std::string& section, const std::string& name, int number);

private:
    std::filesystem::path path_;
    std::map<std::string, std::map<std::string, std::string>> sections_;
};

} // namespace platform
