#include "platform/shell_services.hpp"

namespace {

Answer safeAnswer(MessageKind kind) {
    return kind == MessageKind::yesNo ? Answer::no : Answer::cancel;
}

constexpr int overwriteAnswerOverwrite = 181;

ShellServices* installed = nullptr;

} // namespace

Answer SilentShell::ask(const std::string&, MessageKind kind) {
    return kind == MessageKind::ok ? Answer::ok : safeAnswer(kind);
}

int SilentShell::overwritePrompt(crdOverwriteRec&) {
    return overwriteAnswerOverwrite;
}

Answer RecordingShell::ask(const std::string& text, MessageKind kind) {
    boxes.push_back({text, kind, true});
    if (answers.empty())
        return kind == MessageKind::ok ? Answer::ok : safeAnswer(kind);
    const Answer answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

ShellServices& activeShell() {
    static SilentShell silent;
    return installed ? *installed : silent;
}

ShellServices* setActiveShell(ShellServices* shell) {
    ShellServices* previous = installed;
    installed = shell;
    return previous;
}
