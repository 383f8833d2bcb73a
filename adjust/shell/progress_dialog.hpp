#pragma once
// The modeless progress dialog of a processing run: what the engine is
// doing, how far it has come (0-100) and a Cancel button. While it is up,
// the run lets waiting events through it; Escape or Cancel asks the run to
// stop, and the run ends itself when it next looks.

#include <chrono>
#include <string>

#include <wx/dialog.h>

class ProgressBar;
class wxButton;
class wxStaticText;

namespace progressid {
inline constexpr int dialog = 136;
inline constexpr int bar = 1023;
inline constexpr int messageLine = 1024;
inline constexpr int cancelButton = 1041;
} // namespace progressid

class CProgress : public wxDialog {
public:
    // Created and shown over `parent`, the Cancel button hidden.
    explicit CProgress(wxWindow* parent);

    void setMessage(const std::string& text);
    void setPosition(int percent);
    int position() const;
    void showCancel();
    void hideCancel();
    bool isCancelled() const { return cancelled_; }
    void setCancelled() { cancelled_ = true; }
    // Takes the focus, then runs the waiting events until there are none or
    // the run has been asked to stop; at most once in 20 ms.
    void pumpMessages();

private:
    void redrawCancel();

    wxStaticText* message_;
    ProgressBar* bar_;
    wxButton* cancel_;
    bool cancelled_ = false;
    std::chrono::steady_clock::time_point lastLook_; // of pumpMessages
};
