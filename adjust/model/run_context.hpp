#pragma once
// What a processing run needs from whoever starts it: the shell it talks to,
// its folders and how its questions are answered. Every stage of a run takes
// the context instead of looking for a program-wide shell.

#include "platform/shell_services.hpp"

#include <string>
#include <utility>

// How the questions of a run are answered. An attended run asks the user
// through the shell; an unattended one (nobody at the screen) gives each
// question the answer set here and only tells the shell what it answered.
struct AnswerPolicy {
    bool unattended = false;
    // Yes/No and OK/Cancel questions; safe: the answer that loses no data.
    enum class Answers { safe, yes, no } answers = Answers::safe;
    // The point-overwrite question of the coordinate file.
    enum class Overwrite { all, keep, cancel } overwrite = Overwrite::all;
};

// The policy's answer to a question with the buttons of `kind`.
Answer policyAnswer(const AnswerPolicy& policy, MessageKind kind);
// The policy's answer code to the point-overwrite question.
int policyOverwriteAnswer(const AnswerPolicy& policy);
// "yes", "no", "ok" or "cancel".
const char* answerWord(Answer answer);

struct RunContext {
    explicit RunContext(ShellServices& runShell, std::string temporary = {}, std::string geoid = {},
                        AnswerPolicy policy = {})
        : shell(runShell), temporaryFolder(std::move(temporary)), geoidFolder(std::move(geoid)),
          answers(policy) {}

    ShellServices& shell;
    // Folder of the run's scratch files, with its trailing separator.
    std::string temporaryFolder;
    // Folder of the geoid grid files, with its trailing separator.
    std::string geoidFolder;
    AnswerPolicy answers;

    // A question of the run, answered as `answers` says.
    Answer ask(const std::string& text, MessageKind kind) const;
    // The point-overwrite question, answered as `answers` says.
    int overwritePrompt(crdOverwriteRec& request) const;
    // A message box with OK.
    void message(const std::string& text) const { shell.message(text, MessageKind::ok); }
};
