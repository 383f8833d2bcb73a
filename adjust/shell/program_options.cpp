#include "shell/program_options.hpp"

#include "model/settings/global_vars.hpp"
#include "model/settings/project_defaults.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/record_fields.hpp"

#include <charconv>
#include <climits>

namespace {

constexpr int defaultBlunderIterations = 4;
constexpr int defaultBlunderFloatShoTtl = 5;
constexpr const char* defaultBlunderProximity = "0.1";

// The fewest digits that read back as the same double: a proximity of a
// fraction of a millimetre must not come back as 0 at the next start.
std::string roundTripText(double value) {
    char digits[32];
    const std::to_chars_result written = std::to_chars(digits, digits + sizeof digits, value);
    return std::string(digits, written.ptr);
}

// Reads the profile's options, a value that is not wholly what it must be
// giving way to its built-in default and being named.
class OptionReader {
public:
    OptionReader(const platform::ProfileStore& profile, std::vector<std::string>& refusals)
        : profile_(profile), refusals_(refusals) {}

    int whole(const char* name, int fallback) const {
        const std::string text =
            profile_.getString(defaultsSection, name, std::to_string(fallback));
        const platform::FieldValue<long> read = platform::readWholeNumber(text, name);
        if (read && *read >= INT_MIN && *read <= INT_MAX)
            return static_cast<int>(*read);
        refusals_.push_back(
            profileRefusal(name, text, "not a whole number", std::to_string(fallback)));
        return fallback;
    }

    double number(const char* name, const char* fallback) const {
        const std::string text = profile_.getString(defaultsSection, name, fallback);
        if (const platform::FieldValue<double> read = platform::readNumber(text, name))
            return *read;
        refusals_.push_back(profileRefusal(name, text, "not a number", fallback));
        return *platform::readNumber(fallback, name);
    }

private:
    const platform::ProfileStore& profile_;
    std::vector<std::string>& refusals_;
};

} // namespace

WindowPlacement readWindowPlacement(const platform::ProfileStore& profile, int screenWidth,
                                    int screenHeight) {
    WindowPlacement placement;
    placement.x = profile.getInt(mainWindowSection, "X", 0);
    placement.y = profile.getInt(mainWindowSection, "Y", 0);
    placement.cx = profile.getInt(mainWindowSection, "CX", screenWidth * 2 / 3);
    placement.cy = profile.getInt(mainWindowSection, "CY", screenHeight * 2 / 3);
    placement.show = profile.getInt(mainWindowSection, "SHOW", showNormal);
    if (placement.show == showMinimized || placement.show == showMinimize)
        placement.show = showNormal;
    return placement;
}

void writeWindowPlacement(platform::ProfileStore& profile, const WindowPlacement& placement) {
    profile.setInt(mainWindowSection, "X", placement.x);
    profile.setInt(mainWindowSection, "Y", placement.y);
    profile.setInt(mainWindowSection, "CX", placement.cx);
    profile.setInt(mainWindowSection, "CY", placement.cy);
    profile.setInt(mainWindowSection, "SHOW", placement.show);
}

std::string readProgramOptions(const platform::ProfileStore& profile, globalVars& settings,
                               std::vector<std::string>& refusals) {
    const OptionReader option(profile, refusals);
    settings.blunderIterations = option.whole("blunderIterations", defaultBlunderIterations);
    settings.blunderFloatShoTtl = option.whole("blunderFloatShoTtl", defaultBlunderFloatShoTtl);
    settings.blunderFloatShoType = option.whole("blunderFloatShoType", 0);
    settings.blunderMethod = option.whole("blunderMethod", 0);
    settings.blunderProximity = option.number("blunderProximity", defaultBlunderProximity);
    settings.showStartUpDialog = option.whole("ShowStartUPDialog", 1);
    settings.useVkTool = option.whole("useVkTool", 1);
    return profile.getString(defaultsSection, "MRUProject", "");
}

namespace {

constexpr int olderRecentProjects = 3;

std::string olderRecentName(int i) {
    return "MRUProject" + std::to_string(i + 2);
}

} // namespace

std::vector<std::string> readOlderRecentProjects(const platform::ProfileStore& profile) {
    std::vector<std::string> older;
    for (int i = 0; i < olderRecentProjects; ++i)
        if (std::string path = profile.getString(defaultsSection, olderRecentName(i), "");
            !path.empty())
            older.push_back(std::move(path));
    return older;
}

void writeOlderRecentProjects(platform::ProfileStore& profile,
                              const std::vector<std::string>& recent) {
    std::vector<std::string> older = recent;
    std::erase(older, profile.getString(defaultsSection, "MRUProject", ""));
    for (int i = 0; i < olderRecentProjects; ++i)
        profile.setString(defaultsSection, olderRecentName(i),
                          i < static_cast<int>(older.size()) ? older[static_cast<size_t>(i)] : "");
}

void writeProgramOptions(platform::ProfileStore& profile, const globalVars& settings,
                         const std::string& openProjectFile) {
    if (!openProjectFile.empty())
        profile.setString(defaultsSection, "MRUProject", openProjectFile);
    profile.setInt(defaultsSection, "blunderIterations", settings.blunderIterations);
    profile.setInt(defaultsSection, "blunderFloatShoTtl", settings.blunderFloatShoTtl);
    profile.setInt(defaultsSection, "blunderFloatShoType", settings.blunderFloatShoType);
    profile.setInt(defaultsSection, "blunderMethod", settings.blunderMethod);
    profile.setString(defaultsSection, "blunderProximity",
                      roundTripText(settings.blunderProximity));
    profile.setInt(defaultsSection, "useVkTool", settings.useVkTool);
    profile.setInt(defaultsSection, "ShowStartUPDialog", settings.showStartUpDialog);
}

void tellProfileRefusals(ShellServices& shell, const std::vector<std::string>& refusals) {
    std::string text;
    for (const std::string& refusal : refusals)
        text += (text.empty() ? "" : "\n") + refusal;
    if (!text.empty())
        shell.message(text, MessageKind::ok);
}
