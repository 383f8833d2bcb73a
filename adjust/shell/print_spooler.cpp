#include "shell/print_spooler.hpp"

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

extern char** environ;

namespace {

constexpr const char* spooler = "lp";
constexpr std::size_t reasonLimit = 4096;

// What the spooler wrote to its error output, up to `reasonLimit` bytes.
std::string drain(int fd) {
    std::string text;
    char buffer[512];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        if (text.size() < reasonLimit)
            text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
}

// The first line of the spooler's complaint, without its line end.
std::string firstLine(const std::string& text) {
    std::string line = text.substr(0, text.find('\n'));
    while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    return line;
}

// A job name on one line: line ends and other control characters become blanks.
std::string oneLine(std::string title) {
    std::replace_if(
        title.begin(), title.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; },
        ' ');
    return title;
}

} // namespace

std::optional<std::string> sendToDefaultPrinter(const std::filesystem::path& file,
                                                const std::string& title) {
    int errors[2];
    if (::pipe2(errors, O_CLOEXEC) != 0)
        return std::string("Nothing was printed: the printing system could not be started.");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, errors[1], STDERR_FILENO);
    const std::string name = oneLine(title);
    const std::string path = file.string();
    std::vector<char*> argv{const_cast<char*>(spooler),      const_cast<char*>("-t"),
                            const_cast<char*>(name.c_str()), const_cast<char*>("--"),
                            const_cast<char*>(path.c_str()), nullptr};
    pid_t child = 0;
    const int started = ::posix_spawnp(&child, spooler, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(errors[1]);
    if (started != 0) {
        ::close(errors[0]);
        return std::string("Nothing was printed: no printing system is installed "
                           "(the lp command was not found).");
    }
    const std::string said = drain(errors[0]);
    ::close(errors[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return std::nullopt;
    const std::string reason = firstLine(said);
    return "Nothing was printed: " +
           (reason.empty() ? std::string("the printing system refused the job.") : reason);
}
