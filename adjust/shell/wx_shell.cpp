#include "shell/wx_shell.hpp"

#include <wx/dialog.h>
#include <wx/msgdlg.h>

namespace {

long boxStyle(MessageKind kind) {
    switch (kind) {
    case MessageKind::ok:
        return wxOK | wxICON_EXCLAMATION;
    case MessageKind::okCancel:
        return wxOK | wxCANCEL | wxICON_EXCLAMATION;
    case MessageKind::yesNo:
        return wxYES_NO | wxICON_QUESTION;
    case MessageKind::yesNoCancel:
        return wxYES_NO | wxCANCEL | wxICON_QUESTION;
    }
    return wxOK;
}

Answer answerOf(int button) {
    switch (button) {
    case wxYES:
        return Answer::yes;
    case wxNO:
        return Answer::no;
    case wxCANCEL:
        return Answer::cancel;
    default:
        return Answer::ok;
    }
}

} // namespace

void WxShell::setMessage(const std::string& text) {
    runWindows_ ? runWindows_->setMessage(text) : silent_.setMessage(text);
}

void WxShell::setPercent(int percent) {
    runWindows_ ? runWindows_->setPercent(percent) : silent_.setPercent(percent);
}

void WxShell::showCancel(bool shown) {
    runWindows_ ? runWindows_->showCancel(shown) : silent_.showCancel(shown);
}

void WxShell::pump() {
    runWindows_ ? runWindows_->pump() : silent_.pump();
}

bool WxShell::cancelled() {
    return runWindows_ ? runWindows_->cancelled() : silent_.cancelled();
}

void WxShell::message(const std::string& text, MessageKind kind) {
    ask(text, kind);
}

Answer WxShell::ask(const std::string& text, MessageKind kind) {
    return answerOf(
        wxMessageBox(wxString::FromUTF8(text), programCaption, boxStyle(kind), parent_));
}

void WxShell::messageList(const std::vector<std::string>& lines) {
    if (runWindows_) {
        runWindows_->messageList(lines);
        return;
    }
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    message(text, MessageKind::ok);
}

void WxShell::showReport(const std::string& path, ReportKind kind) {
    runWindows_ ? runWindows_->showReport(path, kind) : silent_.showReport(path, kind);
}

void WxShell::activateReport(ReportKind kind) {
    runWindows_ ? runWindows_->activateReport(kind) : silent_.activateReport(kind);
}

void WxShell::closeAllReports() {
    runWindows_ ? runWindows_->closeAllReports() : silent_.closeAllReports();
}

void WxShell::appendToReport(const std::string& line) {
    runWindows_ ? runWindows_->appendToReport(line) : silent_.appendToReport(line);
}

int WxShell::overwritePrompt(crdOverwriteRec& request) {
    return runWindows_ ? runWindows_->overwritePrompt(request) : silent_.overwritePrompt(request);
}

bool mayDropEdits(wxWindow* owner, const std::string& path, const std::function<bool()>& save) {
    switch (WxShell(owner).ask("Save the changes to " + path + "?", MessageKind::yesNoCancel)) {
    case Answer::yes:
        return save();
    case Answer::no:
        return true;
    default:
        return false;
    }
}

void bindEditingButtons(wxDialog& dialog, std::function<bool()> save,
                        std::function<bool()> mayClose) {
    const auto endWhen = [&dialog](std::function<bool()> allowed, int answer) {
        return [&dialog, allowed = std::move(allowed), answer](wxCommandEvent&) {
            if (allowed())
                dialog.EndModal(answer);
        };
    };
    dialog.Bind(wxEVT_BUTTON, endWhen(std::move(save), wxID_OK), wxID_OK);
    dialog.Bind(wxEVT_BUTTON, endWhen(std::move(mayClose), wxID_CANCEL), wxID_CANCEL);
}

void closeOnEscape(wxDialog& dialog) {
    dialog.Bind(wxEVT_CHAR_HOOK, [&dialog](wxKeyEvent& event) {
        wxWindow* exit = dialog.FindWindow(wxID_CANCEL);
        if (event.GetKeyCode() != WXK_ESCAPE || event.GetModifiers() != wxMOD_NONE ||
            exit == nullptr || !exit->IsEnabled()) {
            event.Skip();
            return;
        }
        wxCommandEvent click(wxEVT_BUTTON, wxID_CANCEL);
        click.SetEventObject(exit);
        exit->ProcessWindowEvent(click);
    });
}
