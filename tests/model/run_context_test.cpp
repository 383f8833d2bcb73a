// The questions of a run: an attended run asks the shell, an unattended one
// answers by its policy and tells the shell what it answered.

#include "model/run_context.hpp"
#include "ptbank/crd_overwrite_rec.h"

#include <gtest/gtest.h>

namespace {

TEST(RunContext, AnAttendedRunAsksTheShell) {
    RecordingShell shell;
    shell.answers = {Answer::yes};
    shell.overwriteAnswer = VKCRD_ANSWER_KEEP_ALL;
    const RunContext context(shell);
    EXPECT_EQ(context.ask("Go on?", MessageKind::yesNo), Answer::yes);
    crdOverwriteRec request{};
    EXPECT_EQ(context.overwritePrompt(request), VKCRD_ANSWER_KEEP_ALL);
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_TRUE(shell.boxes[0].question);
    EXPECT_EQ(shell.overwriteQuestions, 1);
}

TEST(RunContext, AnUnattendedRunAnswersByItsPolicyAndSaysSo) {
    using A = AnswerPolicy::Answers;
    using O = AnswerPolicy::Overwrite;
    struct Row {
        A answers;
        MessageKind kind;
        Answer expected;
        const char* said;
    };
    for (const Row& row : {Row{A::safe, MessageKind::yesNo, Answer::no, "no"},
                           Row{A::safe, MessageKind::okCancel, Answer::cancel, "cancel"},
                           Row{A::yes, MessageKind::yesNo, Answer::yes, "yes"},
                           Row{A::yes, MessageKind::okCancel, Answer::ok, "ok"},
                           Row{A::no, MessageKind::yesNo, Answer::no, "no"},
                           Row{A::no, MessageKind::ok, Answer::ok, "ok"}}) {
        RecordingShell shell;
        AnswerPolicy policy;
        policy.unattended = true;
        policy.answers = row.answers;
        const RunContext context(shell, "", "", policy);
        EXPECT_EQ(context.ask("Go on?", row.kind), row.expected);
        ASSERT_EQ(shell.boxes.size(), 1u);
        EXPECT_FALSE(shell.boxes[0].question) << "nobody is asked";
        EXPECT_EQ(shell.boxes[0].text, std::string("Go on?\n  (answered: ") + row.said + ")");
    }
    for (const auto& [overwrite, code] :
         {std::pair{O::all, VKCRD_ANSWER_OVERWRITE}, std::pair{O::keep, VKCRD_ANSWER_KEEP},
          std::pair{O::cancel, VKCRD_ANSWER_CANCEL}}) {
        RecordingShell shell;
        AnswerPolicy policy;
        policy.unattended = true;
        policy.overwrite = overwrite;
        crdOverwriteRec request{};
        EXPECT_EQ(RunContext(shell, "", "", policy).overwritePrompt(request), code);
        EXPECT_EQ(shell.overwriteQuestions, 0);
    }
}

} // namespace
