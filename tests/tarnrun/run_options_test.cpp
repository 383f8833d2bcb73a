#include "run_options.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::optional<RunOptions> parse(std::vector<const char*> args, std::string& error) {
    args.insert(args.begin(), "tarnrun");
    return parseRunOptions(static_cast<int>(args.size()), args.data(), error);
}

} // namespace

TEST(RunOptions, ModesAndPolicies) {
    std::string error;
    auto o = parse({"--blunder=reweight:3", "--answer=yes", "--overwrite=keep", "--tmp", "/t",
                    "--quiet", "site.prj"},
                   error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->projectPath, "site.prj");
    EXPECT_EQ(o->mode, 11);
    EXPECT_EQ(o->count, 3);
    EXPECT_EQ(o->policy.answers, ConsolePolicy::Answers::yes);
    EXPECT_EQ(o->policy.overwrite, ConsolePolicy::Overwrite::keep);
    EXPECT_EQ(o->tmpDir, "/t");
    EXPECT_TRUE(o->policy.quiet);

    o = parse({"--blunder=float:10", "p.prj"}, error);
    ASSERT_TRUE(o);
    EXPECT_EQ(o->mode, 10);
    o = parse({"--preprocess", "p.prj"}, error);
    ASSERT_TRUE(o);
    EXPECT_TRUE(o->preprocess);
    EXPECT_EQ(o->policy.answers, ConsolePolicy::Answers::safe);
    EXPECT_EQ(o->policy.overwrite, ConsolePolicy::Overwrite::all);
}

TEST(RunOptions, UsageErrors) {
    const std::vector<std::vector<const char*>> bad = {
        {},
        {"--blunder=float:11", "p.prj"},
        {"--blunder=float:0", "p.prj"},
        {"--blunder=check", "p.prj"},
        {"--answer=maybe", "p.prj"},
        {"--overwrite=some", "p.prj"},
        {"--tmp"},
        {"--nonsense", "p.prj"},
        {"a.prj", "b.prj"},
        {"--preprocess", "--blunder=reweight:2", "p.prj"},
    };
    for (const auto& args : bad) {
        std::string error;
        EXPECT_FALSE(parse(args, error)) << (args.empty() ? "(none)" : args.back());
        EXPECT_FALSE(error.empty());
    }
}

TEST(ConsoleShell, InterruptIsTheCancelButton) {
    ConsoleShell shell({});
    ConsoleShell::cancelRequested = 0;
    EXPECT_FALSE(shell.cancelled());
    ConsoleShell::cancelRequested = 1;
    EXPECT_TRUE(shell.cancelled());
    ConsoleShell::cancelRequested = 0;
}

TEST(ConsoleShell, QuestionsFollowThePolicy) {
    ConsolePolicy safe;
    ConsoleShell s(safe);
    EXPECT_EQ(s.ask("Overwrite?", MessageKind::yesNo), Answer::no);
    EXPECT_EQ(s.ask("Go on?", MessageKind::okCancel), Answer::cancel);
    ConsolePolicy yes;
    yes.answers = ConsolePolicy::Answers::yes;
    ConsoleShell y(yes);
    EXPECT_EQ(y.ask("Overwrite?", MessageKind::yesNo), Answer::yes);
    EXPECT_EQ(y.ask("Go on?", MessageKind::okCancel), Answer::ok);
}
