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
    o = parse({"--blunder=check:0.25", "p.prj"}, error);
    ASSERT_TRUE(o) << error;
    EXPECT_TRUE(o->blunderCheck);
    EXPECT_EQ(o->proximity, 0.25);
    o = parse({"--preprocess", "p.prj"}, error);
    ASSERT_TRUE(o);
    EXPECT_TRUE(o->preprocess);
    EXPECT_EQ(o->policy.answers, ConsolePolicy::Answers::safe);
    o = parse({"--", "-odd.prj"}, error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->projectPath, "-odd.prj");
}

// What a command line asks for: a run (with the overwrite policy; without
// --overwrite, preliminary coordinates never replace stored points), or the
// help or version text, which wins over everything else on the line.
TEST(RunOptions, RequestsAndTheOverwriteDefault) {
    using O = ConsolePolicy::Overwrite;
    using R = RunOptions::Request;
    struct Row {
        std::vector<const char*> args;
        R request;
        O overwrite;
    };
    const Row rows[] = {
        {{"p.prj"}, R::run, O::all},
        {{"--preprocess", "p.prj"}, R::run, O::keep},
        {{"--overwrite=all", "--preprocess", "p.prj"}, R::run, O::all},
        {{"--preprocess", "--overwrite=cancel", "p.prj"}, R::run, O::cancel},
        {{"--overwrite=keep", "p.prj"}, R::run, O::keep},
        {{"--help"}, R::help, O::all},
        {{"-h"}, R::help, O::all},
        {{"--quiet", "--help", "--nonsense"}, R::help, O::all},
        {{"--version"}, R::version, O::all},
        {{"p.prj", "--version"}, R::version, O::all},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args.front());
        std::string error;
        const auto o = parse(row.args, error);
        ASSERT_TRUE(o) << error;
        EXPECT_EQ(o->request, row.request);
        if (row.request == R::run) {
            EXPECT_EQ(o->policy.overwrite, row.overwrite);
        }
    }
}

TEST(RunOptions, UsageNamesEveryOptionAndExitStatus) {
    const std::string usage = runUsage();
    for (const char* word :
         {"--preprocess", "--blunder=check:PROX", "--blunder=float:N", "--blunder=reweight:N",
          "--answer=yes|no", "--overwrite=all|keep|cancel", "--tmp DIR", "--geoid-dir DIR",
          "--quiet", "--help", "--version", "exit status", "  0 ", "  1 ", "  2 ", "  3 ", ".RPT",
          ".ERR"}) {
        SCOPED_TRACE(word);
        EXPECT_NE(usage.find(word), std::string::npos);
    }
}

TEST(RunOptions, UsageErrors) {
    const std::vector<std::vector<const char*>> bad = {
        {},
        {"--blunder=float:11", "p.prj"},
        {"--blunder=float:0", "p.prj"},
        {"--blunder=float", "p.prj"},
        {"--blunder=reweight:two", "p.prj"},
        {"--blunder=check", "p.prj"},
        {"--answer=maybe", "p.prj"},
        {"--overwrite=some", "p.prj"},
        {"--tmp"},
        {"--nonsense", "p.prj"},
        {"-x", "p.prj"},
        {"-", "p.prj"},
        {"a.prj", "b.prj"},
        {"--preprocess", "--blunder=reweight:2", "p.prj"},
        {"--preprocess", "--blunder=check:0.1", "p.prj"},
        {"--blunder=check:-1", "p.prj"},
        {"--blunder=check:", "p.prj"},
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
