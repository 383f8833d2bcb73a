#include "shell/progress_dialog.hpp"

#include <algorithm>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace {

constexpr int fullBar = 100;
constexpr int margin = 10;
constexpr int messageWidth = 320;
constexpr int barHeight = 18;

} // namespace

// The bar is drawn here: the toolkit's own is a thin line in some themes.
// An outlined box, filled from the left in the selection colour.
class ProgressBar : public wxWindow {
public:
    explicit ProgressBar(wxWindow* parent)
        : wxWindow(parent, progressid::bar, wxDefaultPosition, wxSize(messageWidth, barHeight),
                   wxFULL_REPAINT_ON_RESIZE) {
        SetMinSize(wxSize(messageWidth, barHeight));
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        Bind(wxEVT_PAINT, &ProgressBar::onPaint, this);
    }

    void setValue(int percent) {
        const int value = std::clamp(percent, 0, fullBar);
        if (value == value_)
            return;
        value_ = value;
        Refresh();
    }
    int value() const { return value_; }

private:
    void onPaint(wxPaintEvent&) {
        wxPaintDC dc(this);
        const wxSize size = GetClientSize();
        dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW)));
        dc.SetBrush(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW)));
        dc.DrawRectangle(0, 0, size.x, size.y);
        const int filled = (size.x - 2) * value_ / fullBar;
        if (filled <= 0)
            return;
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT)));
        dc.DrawRectangle(1, 1, filled, size.y - 2);
    }

    int value_ = 0;
};

// The message line across the top, the bar under it and Cancel below,
// centred. Cancel keeps its room while it is hidden, so that the dialog
// never changes its size during a run.
CProgress::CProgress(wxWindow* parent)
    : wxDialog(parent, progressid::dialog, "Adjustment Progress", wxDefaultPosition, wxDefaultSize,
               wxCAPTION) {
    SetName("ProgressDialog");
    message_ =
        new wxStaticText(this, progressid::messageLine, "Progress Message", wxDefaultPosition,
                         wxDefaultSize, wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
    message_->SetMinSize(wxSize(messageWidth, message_->GetBestSize().y));
    bar_ = new ProgressBar(this);
    cancel_ = new wxButton(this, progressid::cancelButton, "Cancel");
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(message_, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT | wxTOP, margin));
    column->Add(bar_, wxSizerFlags().Expand().Border(wxALL, margin));
    column->Add(cancel_, wxSizerFlags()
                             .Center()
                             .Border(wxLEFT | wxRIGHT | wxBOTTOM, margin)
                             .ReserveSpaceEvenIfHidden());
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
    bar_->setValue(percent);
}

int CProgress::position() const {
    return bar_->value();
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

// GTK paints at its own pace; what changed in the dialog is painted before
// the run goes back to work, so that it never looks frozen. A look costs a
// few milliseconds, and a big network's statistics ask thousands of times a
// second: the events get one look per interval, far more often than anyone
// can see or press a key.
void CProgress::pumpMessages() {
    constexpr auto interval = std::chrono::milliseconds(20);
    const auto now = std::chrono::steady_clock::now();
    if (now - lastLook_ < interval)
        return;
    lastLook_ = now;
    if (!HasFocus() && !IsDescendant(FindFocus()))
        SetFocus();
    if (!cancelled_)
        wxTheApp->Yield(true);
    Update();
}
