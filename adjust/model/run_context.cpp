#include "model/run_context.hpp"

#include "ptbank/crd_overwrite_rec.h"

Answer policyAnswer(const AnswerPolicy& policy, MessageKind kind) {
    const bool yes = policy.answers == AnswerPolicy::Answers::yes;
    switch (kind) {
    case MessageKind::yesNo:
    case MessageKind::yesNoCancel:
        return yes ? Answer::yes : Answer::no;
    case MessageKind::okCancel:
        return yes ? Answer::ok : Answer::cancel;
    case MessageKind::ok:
        break;
    }
    return Answer::ok;
}

int policyOverwriteAnswer(const AnswerPolicy& policy) {
    switch (policy.overwrite) {
    case AnswerPolicy::Overwrite::all:
        return VKCRD_ANSWER_OVERWRITE;
    case AnswerPolicy::Overwrite::keep:
        return VKCRD_ANSWER_KEEP;
    case AnswerPolicy::Overwrite::cancel:
        return VKCRD_ANSWER_CANCEL;
    }
    return VKCRD_ANSWER_OVERWRITE;
}

const char* answerWord(Answer answer) {
    switch (answer) {
    case Answer::yes:
        return "yes";
    case Answer::no:
        return "no";
    case Answer::ok:
        return "ok";
    case Answer::cancel:
        return "cancel";
    }
    return "cancel";
}

Answer RunContext::ask(const std::string& text, MessageKind kind) const {
    if (!answers.unattended)
        return shell.ask(text, kind);
    const Answer answer = policyAnswer(answers, kind);
    shell.message(text + "\n  (answered: " + answerWord(answer) + ")", MessageKind::ok);
    return answer;
}

int RunContext::overwritePrompt(crdOverwriteRec& request) const {
    return answers.unattended ? policyOverwriteAnswer(answers) : shell.overwritePrompt(request);
}
