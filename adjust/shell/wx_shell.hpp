#pragma once
// ShellServices of the desktop program. Message boxes and questions are its
// own (caption "Tarnwell"); the progress dialog, the message list, the report
// windows and the point-overwrite question belong to the processing windows,
// which are plugged in through RunWindows. Until they are, progress is not
// shown and never cancels, reports are not shown, a message list appears as
// one message box, and the overwrite question gets the answer that the
// headless driver gives by default.

#include "platform/shell_services.hpp"

#include <functional>
#include <string>
#include <vector>

class wxDialog;
class wxWindow;

inline constexpr const char* programCaption = "Tarnwell";

// The windows of a processing run, as the shell hands calls on to them.
class RunWindows {
public:
    virtual ~RunWindows() = default;

    virtual void setMessage(const std::string& text) = 0;
    virtual void setPercent(int percent) = 0;
    virtual void showCancel(bool shown) = 0;
    virtual void pump() = 0;
    virtual bool cancelled() = 0;
    virtual void messageList(const std::vector<std::string>& lines) = 0;
    virtual void showReport(const std::string& path, ReportKind kind) = 0;
    virtual void activateReport(ReportKind kind) = 0;
    virtual void closeAllReports() = 0;
    virtual void appendToReport(const std::string& line) = 0;
    virtual int overwritePrompt(crdOverwriteRec& request) = 0;
};

class WxShell : public ShellServices {
public:
    // Boxes are shown over `parent` (may be null).
    explicit WxShell(wxWindow* parent) : parent_(parent) {}

    // Plugs in the processing windows (null: none); the caller keeps them alive.
    void setRunWindows(RunWindows* windows) { runWindows_ = windows; }
    bool hasRunWindows() const { return runWindows_ != nullptr; }

    void setMessage(const std::string& text) override;
    void setPercent(int percent) override;
    void showCancel(bool shown) override;
    void pump() override;
    bool cancelled() override;

    // OK and OK/Cancel boxes carry the exclamation icon, Yes/No the question mark.
    void message(const std::string& text, MessageKind kind) override;
    Answer ask(const std::string& text, MessageKind kind) override;
    void messageList(const std::vector<std::string>& lines) override;

    void showReport(const std::string& path, ReportKind kind) override;
    void activateReport(ReportKind kind) override;
    void closeAllReports() override;
    void appendToReport(const std::string& line) override;

    std::chrono::system_clock::time_point now() override {
        return std::chrono::system_clock::now();
    }

    int overwritePrompt(crdOverwriteRec& request) override;

private:
    wxWindow* parent_;
    RunWindows* runWindows_ = nullptr;
    SilentShell silent_;
};

// Before a window drops edits of the file at `path`: asks, over `owner`,
// "Save the changes to <path>?" with Yes, No and Cancel. Yes runs `save`;
// true when the window may close (saved, or No), false to keep it open
// (Cancel, or a save that failed and has said why).
bool mayDropEdits(wxWindow* owner, const std::string& path, const std::function<bool()>& save);

// Binds the buttons of a dialog that edits a file: OK ends it once `save`
// has written the file; Cancel (where Escape and the close button come too)
// ends it once `mayClose` allows.
void bindEditingButtons(wxDialog& dialog, std::function<bool()> save,
                        std::function<bool()> mayClose);

// Escape closes a modeless tool window the way its Exit button (wxID_CANCEL)
// does; an Escape that closes a drop-down list of the window first is the
// list's.
void closeOnEscape(wxDialog& dialog);
