#include "console_shell.hpp"

#include <cstdio>

volatile std::sig_atomic_t ConsoleShell::cancelRequested = 0;

namespace {

const char* reportLabel(ReportKind kind) {
    switch (kind) {
    case ReportKind::report:
        return "report";
    case ReportKind::output:
        return "coordinates";
    case ReportKind::error:
        return "error report";
    }
    return "file";
}

} // namespace

void ConsoleShell::setMessage(const std::string& text) {
    lastTenth_ = -1;
    if (!policy_.quiet)
        std::fprintf(stderr, "%s\n", text.c_str());
}

void ConsoleShell::setPercent(int percent) {
    // One line per tenth keeps a long run readable in a log.
    const int tenth = percent / 10;
    if (policy_.quiet || tenth == lastTenth_)
        return;
    lastTenth_ = tenth;
    std::fprintf(stderr, "  %d%%\n", percent);
}

void ConsoleShell::message(const std::string& text, MessageKind) {
    messages_.push_back(text);
    std::fprintf(stderr, "%s\n", text.c_str());
}

Answer ConsoleShell::ask(const std::string& text, MessageKind kind) {
    const Answer answer = policyAnswer(policy_, kind);
    std::fprintf(stderr, "%s\n  (answered: %s)\n", text.c_str(), answerWord(answer));
    return answer;
}

void ConsoleShell::messageList(const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        std::fputs(line.c_str(), stderr);
    std::fputc('\n', stderr);
}

void ConsoleShell::showReport(const std::string& path, ReportKind kind) {
    std::printf("%s: %s\n", reportLabel(kind), path.c_str());
    std::fflush(stdout);
}

int ConsoleShell::overwritePrompt(crdOverwriteRec&) {
    return policyOverwriteAnswer(policy_);
}
