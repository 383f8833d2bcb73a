#include "gridctrl/title_tip.hpp"

#include "gridctrl/toolkit_seams.hpp"
#include "gridctrl/wx_conversions.hpp"

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/settings.h>
#include <wx/time.h>

namespace gridctrl {

std::function<bool()>& CTitleTip::applicationHasFocus() {
    static std::function<bool()> probe = [] { return wxTheApp != nullptr && wxTheApp->IsActive(); };
    return probe;
}

CTitleTip::CTitleTip(wxWindow* parent) : wxPopupWindow(parent, wxBORDER_SIMPLE), owner_(parent) {
    Hide();
    Bind(wxEVT_PAINT, &CTitleTip::onPaint, this);
    Bind(wxEVT_LEFT_DOWN, &CTitleTip::onMouseDown, this);
    Bind(wxEVT_RIGHT_DOWN, &CTitleTip::onMouseDown, this);
    Bind(wxEVT_MIDDLE_DOWN, &CTitleTip::onMouseDown, this);
    Bind(wxEVT_KEY_DOWN, &CTitleTip::onKeyDown, this);
}

void CTitleTip::ShowTip(const GridRect& titleRect, const std::string& text, int offset,
                        const GridRect* hoverRect, const CellFont* font, COLORREF textColour,
                        COLORREF backColour) {
    if (titleRect.IsEmpty() || IsShown())
        return;
    hover_ = hoverRect != nullptr ? *hoverRect : titleRect;
    hover_.Grow();
    if (!applicationHasFocus()())
        return;
    font_ = font != nullptr ? fontObjectOf(*font) : owner_->GetFont();
    wxClientDC dc(owner_);
    dc.SetFont(font_);
    const wxString shown = " " + wxString::FromUTF8(text) + " ";
    const wxSize extent = dc.GetTextExtent(shown);
    if (titleRect.left + extent.x + 2 * offset <= titleRect.right - offset)
        return;
    text_ = text;
    textColour_ =
        colourOf(textColour != CLR_DEFAULT ? textColour : systemColour(SystemColour::infoText));
    backColour_ = colourOf(backColour != CLR_DEFAULT ? backColour
                                                     : systemColour(SystemColour::infoBackground));
    const wxPoint topLeft = owner_->ClientToScreen(wxPoint(titleRect.left + offset, titleRect.top));
    SetSize(topLeft.x, topLeft.y, extent.x + offset + 2, titleRect.Height() + 1);
    Show();
    Refresh();
}

void CTitleTip::HideTip() {
    if (IsShown())
        Hide();
}

void CTitleTip::onPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    dc.SetBackground(wxBrush(backColour_));
    dc.Clear();
    dc.SetFont(font_);
    dc.SetTextForeground(textColour_);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    const wxString shown = " " + wxString::FromUTF8(text_) + " ";
    dc.DrawText(shown, 0, (GetClientSize().y - dc.GetCharHeight()) / 2);
}

// A press on the tip belongs to the cell underneath: the tip hides and the
// press goes to the grid at the same screen point; a second left press
// within the double-click time arrives as a double click.
void CTitleTip::onMouseDown(wxMouseEvent& event) {
    HideTip();
    wxMouseEvent forwarded(event);
    forwarded.SetEventObject(owner_);
    forwarded.SetPosition(owner_->ScreenToClient(ClientToScreen(event.GetPosition())));
    if (event.GetEventType() == wxEVT_LEFT_DOWN) {
        const long now = wxGetLocalTimeMillis().ToLong();
        const long doubleClick_ms = wxSystemSettings::GetMetric(wxSYS_DCLICK_MSEC);
        if (lastLeftPress_ms_ >= 0 && now - lastLeftPress_ms_ <= doubleClick_ms)
            forwarded.SetEventType(wxEVT_LEFT_DCLICK);
        lastLeftPress_ms_ = now;
    }
    owner_->GetEventHandler()->ProcessEvent(forwarded);
}

void CTitleTip::onKeyDown(wxKeyEvent& event) {
    HideTip();
    wxKeyEvent forwarded(event);
    forwarded.SetEventObject(owner_);
    owner_->GetEventHandler()->ProcessEvent(forwarded);
}

} // namespace gridctrl
