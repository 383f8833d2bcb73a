#include "shell/progress_dialog.hpp"

#include <algorithm>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/gauge.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace {

constexpr int fullBar = 100;
constexpr int margin = 10;
constexpr int messageWidth = 320;

} // namespace

CProgress::CProgress(wxWindow* parent)
    : wxDialog(parent, progressid::dialog, "Adjustment Progress", wxDefaultPosition, wxDefaultSize,
               wxCAPTION) {
    SetName("ProgressDialog");
    message_ = new wxStaticText(this, progressid::messageLine, "Progress Message",
                                wxDefaultPosition, wxSize(messageWidth, -1), wxST_NO_AUTORESIZE);
    bar_ = new wxGauge(this, progressid::bar, fullBar);
    cancel_ = new wxButton(this, progressid::cancelButton, "Cancel");
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(message_, wxSizerFlags().Expand().Border(wxALL, margin));
    column->Add(bar_, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT, margin));
    column->Add(cancel_, wxSizerFlags().Center().Border(wxALL, margin));
    SetSizerAndFit(column);
    CentreOnParent();

    cancel_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { setCancelled(); });
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
        if (event.GetKeyCode() == WXK_ESCAPE)
            setCancelled();
        else
            event.Skip();
    });
    // The window goes when the run ends; closing it asks the run to end.
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
        if (!event.CanVeto()) {
            event.Skip();
            return;
        }
        setCancelled();
        event.Veto();
    });
    hideCancel();
    Show();
}

void CProgress::setMessage(const std::string& text) {
    message_->SetLabel(wxString::FromUTF8(text));
    message_->Update();
}

void CProgress::setPosition(int percent) {
    bar_->SetValue(std::clamp(percent, 0, fullBar));
}

int CProgress::position() const {
    return bar_->GetValue();
}

void CProgress::showCancel() {
    cancel_->Show();
    redrawCancel();
}

void CProgress::hideCancel() {
    cancel_->Hide();
    redrawCancel();
}

void CProgress::redrawCancel() {
    Layout();
    cancel_->Refresh();
    Update();
}

void CProgress::pumpMessages() {
    if (!HasFocus() && !IsDescendant(FindFocus()))
        SetFocus();
    if (!cancelled_)
        wxTheApp->Yield(true);
}
