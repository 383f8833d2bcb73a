#include "run_options.hpp"

#include "platform/c_locale_text.hpp"

#include <string_view>

namespace {

constexpr int floatMode = 10;
constexpr int reweightMode = 11;
constexpr int mostFloatedSolutions = 10;

bool parseBlunder(std::string_view value, RunOptions& options, std::string& error) {
    const auto colon = value.find(':');
    const std::string_view kind = value.substr(0, colon);
    const auto count = colon == std::string_view::npos
                           ? std::nullopt
                           : platform::parseLong(value.substr(colon + 1));
    if ((kind != "float" && kind != "reweight") || !count || *count < 1) {
        error = "--blunder takes float:N or reweight:N with N of 1 or more";
        return false;
    }
    if (kind == "float" && *count > mostFloatedSolutions) {
        error = "--blunder=float:N keeps at most 10 solutions";
        return false;
    }
    options.mode = kind == "float" ? floatMode : reweightMode;
    options.count = static_cast<int>(*count);
    return true;
}

bool parseAnswer(std::string_view value, RunOptions& options, std::string& error) {
    if (value == "yes")
        options.policy.answers = ConsolePolicy::Answers::yes;
    else if (value == "no")
        options.policy.answers = ConsolePolicy::Answers::no;
    else {
        error = "--answer takes yes or no";
        return false;
    }
    return true;
}

bool parseOverwrite(std::string_view value, RunOptions& options, std::string& error) {
    using O = ConsolePolicy::Overwrite;
    if (value == "all")
        options.policy.overwrite = O::all;
    else if (value == "keep")
        options.policy.overwrite = O::keep;
    else if (value == "cancel")
        options.policy.overwrite = O::cancel;
    else {
        error = "--overwrite takes all, keep or cancel";
        return false;
    }
    return true;
}

} // namespace

const char* runUsage() {
    return "usage: tarnrun [options] PROJECT.prj\n"
           "  --preprocess            preliminary coordinates and reductions, no adjustment\n"
           "  --blunder=float:N       blunder detection, one observation floated at a time\n"
           "  --blunder=reweight:N    blunder detection, N reweighting passes\n"
           "  --answer=yes|no         answer to questions (default: the one that loses no data)\n"
           "  --overwrite=all|keep|cancel  points already in the coordinate file (default all)\n"
           "  --tmp DIR               temporary folder\n"
           "  --geoid-dir DIR         folder of the geoid grid files\n"
           "  --quiet                 no progress lines\n";
}

std::optional<RunOptions> parseRunOptions(int argc, const char* const* argv, std::string& error) {
    RunOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const auto valueOf = [&](std::string_view prefix) { return arg.substr(prefix.size()); };
        const auto folderArgument = [&](std::string& target) {
            if (i + 1 >= argc) {
                error = std::string(arg) + " needs a folder";
                return false;
            }
            target = argv[++i];
            return true;
        };
        bool ok = true;
        if (arg == "--preprocess")
            options.preprocess = true;
        else if (arg == "--quiet")
            options.policy.quiet = true;
        else if (arg.starts_with("--blunder="))
            ok = parseBlunder(valueOf("--blunder="), options, error);
        else if (arg.starts_with("--answer="))
            ok = parseAnswer(valueOf("--answer="), options, error);
        else if (arg.starts_with("--overwrite="))
            ok = parseOverwrite(valueOf("--overwrite="), options, error);
        else if (arg == "--tmp")
            ok = folderArgument(options.tmpDir);
        else if (arg == "--geoid-dir")
            ok = folderArgument(options.geoidDir);
        else if (arg.starts_with("--")) {
            error = "unknown option " + std::string(arg);
            ok = false;
        } else if (options.projectPath.empty())
            options.projectPath = std::string(arg);
        else {
            error = "only one project can be run at a time";
            ok = false;
        }
        if (!ok)
            return std::nullopt;
    }
    if (options.projectPath.empty()) {
        error = "no project given";
        return std::nullopt;
    }
    if (options.preprocess && options.mode != 0) {
        error = "--preprocess and --blunder cannot be combined";
        return std::nullopt;
    }
    return options;
}
