#pragma once
// The shell of the headless driver: progress on stderr, questions answered by
// the policy given on the command line, Ctrl-C as the Cancel button.

#include "model/run_context.hpp"
#include "platform/shell_services.hpp"

#include <csignal>
#include <string>

// The answers to the run's questions, and whether progress is printed.
struct ConsolePolicy : AnswerPolicy {
    bool quiet = false;
};

class ConsoleShell : public ShellServices {
public:
    explicit ConsoleShell(ConsolePolicy policy) : policy_(policy) {}

    void setMessage(const std::string& text) override;
    void setPercent(int percent) override;
    void showCancel(bool) override {}
    void pump() override {}
    bool cancelled() override { return cancelRequested != 0; }
    void message(const std::string& text, MessageKind kind) override;
    Answer ask(const std::string& text, MessageKind kind) override;
    void messageList(const std::vector<std::string>& lines) override;
    void showReport(const std::string& path, ReportKind kind) override;
    void activateReport(ReportKind) override {}
    void closeAllReports() override {}
    void appendToReport(const std::string&) override {}
    std::chrono::system_clock::time_point now() override {
        return std::chrono::system_clock::now();
    }
    int overwritePrompt(crdOverwriteRec& request) override;

    // Every message shown, in order; the last is the reason of an early stop.
    const std::vector<std::string>& messages() const { return messages_; }

    // Set by the SIGINT handler.
    static volatile std::sig_atomic_t cancelRequested;

private:
    ConsolePolicy policy_;
    int lastTenth_ = -1;
    std::vector<std::string> messages_;
};
