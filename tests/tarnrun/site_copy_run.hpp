#pragma once
// The example project copied into a temporary folder, its settings changed
// through the project file, and tarnrun started on it as a user starts it;
// plus readers for the comma-separated .NEZ it writes.

#include "model/settings/global_vars.hpp"
#include "platform/c_locale_text.hpp"
#include "support/temp_folder.hpp"
#include "tarnrun_command.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace sitecopy {

inline std::string exampleFile(const std::string& name) {
    return std::string(TARNWELL_FIXTURES) + "/../../examples/site/" + name;
}

// The example's raw file as it stands.
inline std::string exampleRaw() {
    return testsupport::readBytes(exampleFile("site.vkr"));
}

// The example's settings as its project file holds them.
inline globalVars exampleSettings() {
    globalVars settings;
    settings.setDefaults();
    EXPECT_EQ(settings.readProjectFile(exampleFile("site.prj")), 1);
    return settings;
}

// Writes `settings` as site.prj and `raw` as site.vkr into the folder with
// the example's closure file, runs tarnrun with `options` and returns its
// exit status.
inline int run(const testsupport::TempFolder& folder, const globalVars& settings,
               const std::string& raw, const std::string& options = "") {
    EXPECT_EQ(settings.writeProjectFile((folder / "site.prj").string()), 1);
    testsupport::writeBytes(folder / "site.vkr", raw);
    std::filesystem::copy_file(exampleFile("site.cls"), folder / "site.cls",
                               std::filesystem::copy_options::overwrite_existing);
    return tarnruntest::runQuiet(folder / "site.prj", folder / "console.txt", options);
}

// The lines of a CR LF text.
inline std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    for (std::size_t at = 0, end; at < text.size(); at = end + 2) {
        end = text.find("\r\n", at);
        if (end == std::string::npos)
            end = text.size();
        out.push_back(text.substr(at, end - at));
    }
    return out;
}

struct NezPoint {
    double northing = 0.0;
    double easting = 0.0;
    double elevation = 0.0;
};

// The points of a .NEZ in layout 0 (name,N,E,Z,code,description) by name.
inline std::map<std::string, NezPoint> readNez(const std::filesystem::path& path) {
    std::map<std::string, NezPoint> points;
    for (const std::string& line : lines(testsupport::readBytes(path))) {
        std::vector<std::string> fields;
        for (std::size_t at = 0, end; at <= line.size(); at = end + 1) {
            end = line.find(',', at);
            if (end == std::string::npos)
                end = line.size();
            fields.push_back(line.substr(at, end - at));
        }
        if (fields.size() < 4)
            continue;
        std::string name = fields[0].substr(0, fields[0].find(' '));
        points[name] = {platform::atofC(fields[1].c_str()), platform::atofC(fields[2].c_str()),
                        platform::atofC(fields[3].c_str())};
    }
    return points;
}

} // namespace sitecopy
