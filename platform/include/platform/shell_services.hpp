#pragma once
// What computing code may ask of whoever runs it: the desktop shell, the
// console driver, or a test. Nothing here depends on a GUI toolkit.

#include <chrono>
#include <string>
#include <vector>

struct crdOverwriteRec;

// Buttons of a message box.
enum class MessageKind { ok, okCancel, yesNo, yesNoCancel };

// The button the user chose.
enum class Answer { ok, cancel, yes, no };

// Report windows, by the kind of file they show.
enum class ReportKind { report = 0, output = 1, error = 2 };

class ShellServices {
public:
    virtual ~ShellServices() = default;

    // Progress dialog: message line, bar (0-100), Cancel button.
    virtual void setMessage(const std::string& text) = 0;
    virtual void setPercent(int percent) = 0;
    virtual void showCancel(bool shown) = 0;
    // Lets waiting events run, so Escape and Cancel can be noticed.
    virtual void pump() = 0;
    virtual bool cancelled() = 0;

    // Message boxes with the caller's texts.
    virtual void message(const std::string& text, MessageKind kind) = 0;
    virtual Answer ask(const std::string& text, MessageKind kind) = 0;
    // The modal message-list dialog.
    virtual void messageList(const std::vector<std::string>& lines) = 0;

    // Report windows.
    virtual void showReport(const std::string& path, ReportKind kind) = 0;
    virtual void activateReport(ReportKind kind) = 0;
    virtual void closeAllReports() = 0;
    virtual void appendToReport(const std::string& line) = 0;

    // The clock behind report headers.
    virtual std::chrono::system_clock::time_point now() = 0;

    // The coordinate library's point-overwrite question; returns its answer code.
    virtual int overwritePrompt(crdOverwriteRec& request) = 0;
};

// Shows nothing, never cancels, answers every question with the button that
// loses no data (Cancel or No) and every overwrite question with "overwrite".
class SilentShell : public ShellServices {
public:
    void setMessage(const std::string&) override {}
    void setPercent(int) override {}
    void showCancel(bool) override {}
    void pump() override {}
    bool cancelled() override { return false; }
    void message(const std::string&, MessageKind) override {}
    Answer ask(const std::string&, MessageKind kind) override;
    void messageList(const std::vector<std::string>&) override {}
    void showReport(const std::string&, ReportKind) override {}
    void activateReport(ReportKind) override {}
    void closeAllReports() override {}
    void appendToReport(const std::string&) override {}
    std::chrono::system_clock::time_point now() override {
        return std::chrono::system_clock::now();
    }
    int overwritePrompt(crdOverwriteRec&) override;
};

// Records every call for tests; answers and the clock are set by the test.
class RecordingShell : public ShellServices {
public:
    struct Box {
        std::string text;
        MessageKind kind;
        bool question;
    };

    void setMessage(const std::string& text) override { messages.push_back(text); }
    void setPercent(int percent) override { percents.push_back(percent); }
    void showCancel(bool shown) override { cancelShown = shown; }
    void pump() override { ++pumps; }
    bool cancelled() override { return cancelAfterPumps >= 0 && pumps >= cancelAfterPumps; }
    void message(const std::string& text, MessageKind kind) override {
        boxes.push_back({text, kind, false});
    }
    Answer ask(const std::string& text, MessageKind kind) override;
    void messageList(const std::vector<std::string>& lines) override {
        messageLists.push_back(lines);
    }
    void showReport(const std::string& path, ReportKind kind) override {
        shownReports.push_back({path, kind});
    }
    void activateReport(ReportKind kind) override { activated.push_back(kind); }
    void closeAllReports() override { ++reportClosings; }
    void appendToReport(const std::string& line) override { appended.push_back(line); }
    std::chrono::system_clock::time_point now() override { return clock; }
    int overwritePrompt(crdOverwriteRec&) override {
        ++overwriteQuestions;
        return overwriteAnswer;
    }

    // The texts of the message boxes and questions, in order.
    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const Box& box : boxes)
            texts.push_back(box.text);
        return texts;
    }

    std::vector<std::string> messages;
    std::vector<int> percents;
    bool cancelShown = false;
    int pumps = 0;
    // cancelled() turns true once this many pumps have run; -1 never.
    int cancelAfterPumps = -1;
    std::vector<Box> boxes;
    std::vector<Answer> answers; // consumed in order by ask(); empty -> loses no data
    std::vector<std::vector<std::string>> messageLists;
    std::vector<std::pair<std::string, ReportKind>> shownReports;
    std::vector<ReportKind> activated;
    int reportClosings = 0;
    std::vector<std::string> appended;
    std::chrono::system_clock::time_point clock{};
    int overwriteQuestions = 0;
    int overwriteAnswer = 181;
};

// The shell of the run in progress, for the few low-level writers whose
// interface carries no context (a failed report write shows a box). Always
// valid: a SilentShell until a program installs its own.
ShellServices& activeShell();
// Installs `shell` (nullptr restores the silent one) and returns the previous one.
ShellServices* setActiveShell(ShellServices* shell);

// Installs a shell as the active one for the scope's life, then puts the
// previous one back.
class ActiveShellScope {
public:
    explicit ActiveShellScope(ShellServices& shell) : previous_(setActiveShell(&shell)) {}
    ~ActiveShellScope() { setActiveShell(previous_); }
    ActiveShellScope(const ActiveShellScope&) = delete;
    ActiveShellScope& operator=(const ActiveShellScope&) = delete;

private:
    ShellServices* previous_;
};
