// The family's programs are started as processes of their own: the path is
// checked before anything is started, so that a program this machine does
// not have gives its message at once instead of a process that dies.

#include "shell/family_programs.hpp"

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <spawn.h>
#include <sstream>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/evtloopsrc.h>

const FamilyProgram familyEditor{
    "DUDezudi", "Tarnwell Editor",
    "The raw data editor DUDezudi is not installed.\n(Tried to start: %s)", true};
const FamilyProgram rw5Editor{
    "Fieldpad", "Velmora Raw Editor",
    "The Velmora raw data editor Fieldpad is not installed.\n(Tried to start: %s)", false};
const FamilyProgram familyTransfer{
    "vuvuz", "V&K Data Collector Transfer",
    "The data collector transfer program vuvuz is not installed.\n(Tried to start: %s)", true};
const FamilyProgram otherTransfer{
    "Linkwell", "Linkwell",
    "The Velmora data collector transfer program Linkwell is not installed.\n(Tried to start: "
    "%s)",
    true};

std::string stillRunningMessage(const std::vector<std::string>& programs) {
    std::string text = "Tarnwell cannot close while these programs that it started run:\n";
    for (const std::string& program : programs)
        text += program + "\n";
    return text + "They did not end when asked to. Close them, then close Tarnwell again.";
}

std::vector<std::string> listedNames(const std::string& list) {
    std::vector<std::string> names;
    std::size_t start = 0;
    for (std::size_t end = list.find('\n'); end != std::string::npos;
         start = end + 1, end = list.find('\n', start))
        names.push_back(list.substr(start, end - start));
    return names;
}

bool listWantsRw5Editor(const std::string& list) {
    std::string upper = list;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper.find(".RW5") != std::string::npos;
}

std::string familyCommandLine(const std::string& programPath, const std::string& file) {
    if (file.empty())
        return programPath;
    return programPath + " \"" + file + "\"";
}

namespace {

// Reaps one child from the event loop once it has ended, when its process
// descriptor becomes readable, and then calls `ended` (when given). The
// toolkit's own way, a SIGCHLD handler that writes to a wake-up pipe, is not
// safe when two children end together: GTK's threads take signals too, so
// the second handler can run on another thread while the first is still
// between its look at the pipe and its write; both write, and the toolkit
// asserts "Too many writes to wake-up pipe?" or misses a later end.
class ChildWatch : public wxEventLoopSourceHandler {
public:
    ChildWatch(pid_t pid, int descriptor, std::function<void()> ended)
        : pid_(pid), descriptor_(descriptor), ended_(std::move(ended)) {
        source_.reset(wxEventLoopBase::AddSourceForFD(descriptor_, this, wxEVENT_SOURCE_INPUT));
    }
    ~ChildWatch() override { ::close(descriptor_); }
    ChildWatch(const ChildWatch&) = delete;
    ChildWatch& operator=(const ChildWatch&) = delete;

    bool watching() const { return source_ != nullptr; }

    void OnReadWaiting() override {
        if (!source_ || ::waitpid(pid_, nullptr, WNOHANG) != pid_)
            return;
        source_.reset();
        if (ended_)
            ended_();
        // The toolkit still holds this handler until its call returns.
        wxTheApp->CallAfter([this] { delete this; });
    }
    void OnWriteWaiting() override {}
    void OnExceptionWaiting() override {}

private:
    pid_t pid_;
    int descriptor_;
    std::function<void()> ended_;
    std::unique_ptr<wxEventLoopSource> source_;
};

// Starts the program with the arguments one by one, so that blanks and
// quotes in a path reach it unchanged, with no descriptor of this process
// but the standard three, and watches it until it ends. The process id, 0
// on failure.
pid_t spawn(const std::vector<std::string>& arguments, std::function<void()> ended = {}) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    pid_t pid = 0;
    const int started = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0)
        return 0;
    // The C library's header of this call lacks its C linkage.
    const int descriptor = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    auto* watch = descriptor < 0 ? nullptr : new ChildWatch(pid, descriptor, std::move(ended));
    if (watch == nullptr || !watch->watching()) {
        // A child that nothing would reap is not left behind.
        delete watch;
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        return 0;
    }
    return pid;
}

// Whether the process has ended, also before its watch has reaped it: an
// ended child stays a zombie ('Z') until then.
bool processEnded(long pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return true;
    const auto nameEnd = line.rfind(')');
    if (nameEnd == std::string::npos || nameEnd + 2 >= line.size())
        return true;
    const char state = line[nameEnd + 2];
    return state == 'Z' || state == 'X';
}

bool isExecutableFile(const std::string& path) {
    return !path.empty() && ::access(path.c_str(), X_OK) == 0;
}

bool isProgram(const std::string& program) {
    if (program.find('/') != std::string::npos)
        return isExecutableFile(program);
    const char* searchPath = std::getenv("PATH");
    std::istringstream folders(searchPath == nullptr ? "" : searchPath);
    for (std::string folder; std::getline(folders, folder, ':');)
        if (!folder.empty() && isExecutableFile(folder + "/" + program))
            return true;
    return false;
}

} // namespace

std::vector<std::string> familyArguments(const std::string& programPath, const std::string& file) {
    std::vector<std::string> arguments{programPath};
    if (!file.empty())
        arguments.push_back(file);
    return arguments;
}

bool startDetached(const std::vector<std::string>& arguments) {
    return !arguments.empty() && isProgram(arguments.front()) && spawn(arguments) != 0;
}

FamilyProcesses::FamilyProcesses() : running_(std::make_shared<std::map<std::string, long>>()) {}

bool FamilyProcesses::start(const std::string& program, const std::vector<std::string>& arguments) {
    if (arguments.empty() || !isProgram(arguments.front()))
        return false;
    // Shared with the watch, which may outlive this object.
    std::shared_ptr<std::map<std::string, long>> running = running_;
    const pid_t pid = spawn(arguments, [running, program] { running->erase(program); });
    if (pid == 0)
        return false;
    (*running_)[program] = pid;
    return true;
}

bool FamilyProcesses::running(const std::string& program) const {
    return running_->count(program) != 0;
}

std::vector<std::string> FamilyProcesses::askToEnd(const std::vector<std::string>& programs,
                                                   std::chrono::milliseconds patience) const {
    std::vector<std::pair<std::string, long>> asked;
    for (const std::string& program : programs) {
        const auto entry = running_->find(program);
        if (entry == running_->end() || entry->second == 0)
            continue;
        ::kill(static_cast<pid_t>(entry->second), SIGTERM);
        asked.emplace_back(program, entry->second);
    }
    const auto stillRunning = [&asked] {
        std::vector<std::string> names;
        for (const auto& [program, pid] : asked)
            if (!processEnded(pid))
                names.push_back(program);
        return names;
    };
    constexpr auto step = std::chrono::milliseconds(10);
    const auto deadline = std::chrono::steady_clock::now() + patience;
    std::vector<std::string> left = stillRunning();
    while (!left.empty() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(step);
        left = stillRunning();
    }
    return left;
}

std::vector<std::string> editorCommand() {
    for (const char* variable : {"VISUAL", "EDITOR"}) {
        const char* value = std::getenv(variable);
        if (value == nullptr)
            continue;
        std::istringstream words(value);
        std::vector<std::string> command;
        for (std::string word; words >> word;)
            command.push_back(word);
        if (!command.empty())
            return command;
    }
    return {"xdg-open"};
}

std::string editorMissingMessage(const std::string& program) {
    for (const char* variable : {"VISUAL", "EDITOR"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && value[0] != '\0')
            return "The editor " + program + " named by " + variable + " was not found. Set " +
                   variable + " to an editor program that is installed.";
    }
    return "No editor program was found to open the file. Set VISUAL or EDITOR to your text "
           "editor.";
}

MarkerBlock::~MarkerBlock() {
    release();
}

bool MarkerBlock::write(const std::string& name) {
    release();
    const int fd = ::shm_open(name.c_str(), O_CREAT | O_RDWR, 0600);
    if (fd < 0)
        return false;
    void* view = MAP_FAILED;
    if (::ftruncate(fd, static_cast<off_t>(size)) == 0)
        view = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    if (view == MAP_FAILED) {
        ::shm_unlink(name.c_str());
        return false;
    }
    std::memset(view, 0, size);
    std::memcpy(view, marker, std::strlen(marker));
    view_ = view;
    name_ = name;
    return true;
}

void MarkerBlock::release() {
    if (view_ == nullptr)
        return;
    ::munmap(view_, size);
    ::shm_unlink(name_.c_str());
    view_ = nullptr;
    name_.clear();
}
