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
#include <sstream>
#include <sys/mman.h>
#include <thread>
#include <unistd.h>
#include <wx/process.h>
#include <wx/utils.h>

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

// wxExecute takes the arguments one by one, so that blanks and quotes in a
// path reach the program unchanged; it reaps the process when it ends and
// then tells `process`, when there is one. The process id, 0 on failure.
long spawn(const std::vector<std::string>& arguments, wxProcess* process = nullptr) {
    std::vector<wxString> texts;
    for (const std::string& argument : arguments)
        texts.push_back(wxString::FromUTF8(argument));
    std::vector<const wchar_t*> argv;
    for (const wxString& text : texts)
        argv.push_back(text.wc_str());
    argv.push_back(nullptr);
    return wxExecute(argv.data(), wxEXEC_ASYNC, process);
}

// Takes its program off the running list when the process ends.
class WatchedProcess : public wxProcess {
public:
    WatchedProcess(std::shared_ptr<std::map<std::string, long>> running, std::string program)
        : running_(std::move(running)), program_(std::move(program)) {}

    void OnTerminate(int, int) override {
        running_->erase(program_);
        delete this;
    }

private:
    std::shared_ptr<std::map<std::string, long>> running_;
    std::string program_;
};

// Whether the process has ended, also before the toolkit has reaped it: an
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
    auto* watcher = new WatchedProcess(running_, program);
    // Listed before the start: a process that ends at once is taken off again.
    (*running_)[program] = 0;
    const long pid = spawn(arguments, watcher);
    if (pid == 0) {
        running_->erase(program);
        delete watcher;
        return false;
    }
    if (const auto entry = running_->find(program); entry != running_->end())
        entry->second = pid;
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
