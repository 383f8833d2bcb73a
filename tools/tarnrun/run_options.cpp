#include "run_options.hpp"

#include "platform/c_locale_text.hpp"

#include <string_view>

namespace {

constexpr int floatMode = 10;
constexpr int reweightMode = 11;
constexpr int mostFloatedSolutions = 10;

// check:PROX, the preprocessing run with its proximity distance.
bool parseBlunderCheck(std::string_view value, RunOptions& options, std::string& error) {
    const std::optional<double> proximity = platform::parseDouble(value);
    if (!proximity || !(*proximity >= 0.0)) {
        error = "--blunder=check:PROX takes a proximity distance of 0 or more";
        return false;
    }
    options.blunderCheck = true;
    options.proximity = *proximity;
    return true;
}

bool parseBlunder(std::string_view value, RunOptions& options, std::string& error) {
    const auto colon = value.find(':');
    const std::string_view kind = value.substr(0, colon);
    if (kind == "check" && colon != std::string_view::npos)
        return parseBlunderCheck(value.substr(colon + 1), options, error);
    // A count that is missing or no number is as wrong as one below 1.
    const long count = colon == std::string_view::npos
                           ? 0
                           : platform::parseLong(value.substr(colon + 1)).value_or(0);
    if ((kind != "float" && kind != "reweight") || count < 1) {
        error = "--blunder takes check:PROX, float:N or reweight:N with N of 1 or more";
        return false;
    }
    if (kind == "float" && count > mostFloatedSolutions) {
        error = "--blunder=float:N keeps at most 10 solutions";
        return false;
    }
    options.mode = kind == "float" ? floatMode : reweightMode;
    options.count = static_cast<int>(count);
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

bool takeProject(std::string_view arg, RunOptions& options, std::string& error) {
    if (!options.projectPath.empty()) {
        error = "only one project can be run at a time";
        return false;
    }
    options.projectPath = std::string(arg);
    return true;
}

} // namespace

const char* runUsage() {
    return "usage: tarnrun [options] PROJECT.prj\n"
           "Runs the project's network adjustment without a window. Progress goes to\n"
           "stderr; the report (.RPT), error report (.ERR), coordinate listings (.NEZ,\n"
           ".OUT) and ellipse file (.EEL) are written beside PROJECT.prj, and stdout\n"
           "says where each report went.\n"
           "\n"
           "options:\n"
           "  --preprocess            preliminary coordinates and reductions, no adjustment\n"
           "  --blunder=check:PROX    blunder detection by preprocessing: the raw data\n"
           "                          checked, observations against preliminary\n"
           "                          coordinates, points closer than PROX to each\n"
           "                          other; all in the .ERR\n"
           "  --blunder=float:N       blunder detection, one observation floated at a time\n"
           "                          (N solutions kept, 1 to 10)\n"
           "  --blunder=reweight:N    blunder detection, N reweighting passes\n"
           "  --answer=yes|no         answer to the run's questions (default: the answer\n"
           "                          that loses no data)\n"
           "  --overwrite=all|keep|cancel\n"
           "                          points already in the project's coordinate file:\n"
           "                          replace them, keep them, or store nothing (default:\n"
           "                          all after an adjustment, keep after --preprocess)\n"
           "  --tmp DIR               temporary folder (default: TMPDIR of TARNWELL.INI,\n"
           "                          else a private folder of the user's own)\n"
           "  --geoid-dir DIR         folder of the geoid grid files\n"
           "  --quiet                 no progress lines\n"
           "  -h, --help              print this text and exit\n"
           "  --version               print the version and exit\n"
           "  --                      what follows is the project, even if it starts with -\n"
           "\n"
           "exit status:\n"
           "  0  the run reached its end and the adjustment converged (or preprocessing\n"
           "     completed)\n"
           "  1  the run stopped early, or points were not stored in the coordinate file;\n"
           "     the message is printed and written to the .ERR\n"
           "  2  the adjustment failed or was cancelled (Ctrl-C)\n"
           "  3  usage error, a folder that does not exist, an unreadable project, or a\n"
           "     project setting refused (the reason also goes to the .ERR)\n";
}

std::optional<RunOptions> parseRunOptions(int argc, const char* const* argv, std::string& error) {
    RunOptions options;
    bool overwriteGiven = false;
    bool optionsEnded = false;
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
        if (optionsEnded || !arg.starts_with("-"))
            ok = takeProject(arg, options, error);
        else if (arg == "--")
            optionsEnded = true;
        else if (arg == "-h" || arg == "--help") {
            options.request = RunOptions::Request::help;
            return options;
        } else if (arg == "--version") {
            options.request = RunOptions::Request::version;
            return options;
        } else if (arg == "--preprocess")
            options.preprocess = true;
        else if (arg == "--quiet")
            options.policy.quiet = true;
        else if (arg.starts_with("--blunder="))
            ok = parseBlunder(valueOf("--blunder="), options, error);
        else if (arg.starts_with("--answer="))
            ok = parseAnswer(valueOf("--answer="), options, error);
        else if (arg.starts_with("--overwrite=")) {
            ok = parseOverwrite(valueOf("--overwrite="), options, error);
            overwriteGiven = true;
        } else if (arg == "--tmp")
            ok = folderArgument(options.tmpDir);
        else if (arg == "--geoid-dir")
            ok = folderArgument(options.geoidDir);
        else {
            error = "unknown option " + std::string(arg);
            ok = false;
        }
        if (!ok)
            return std::nullopt;
    }
    if (options.projectPath.empty()) {
        error = "no project given";
        return std::nullopt;
    }
    if (options.preprocess && (options.mode != 0 || options.blunderCheck)) {
        error = "--preprocess and --blunder cannot be combined";
        return std::nullopt;
    }
    if (options.preprocess && !overwriteGiven)
        options.policy.overwrite = ConsolePolicy::Overwrite::keep;
    return options;
}
