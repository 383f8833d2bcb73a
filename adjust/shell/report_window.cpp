#include "shell/report_window.hpp"

#include "model/settings/global_vars.hpp"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include <wx/clipbrd.h>
#include <wx/dcclient.h>
#include <wx/menu.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/vscroll.h>

namespace {

constexpr int threeDModel = 1;
const wxSize reportSize(760, 520);
// GTK cannot fit a scroll bar into less than its arrows and thumb: the text
// panel starts at the window's size and never gets shorter than this.
constexpr int viewMinHeight = 80;

bool readFile(const std::string& path, std::string& bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream all;
    all << file.rdbuf();
    bytes = all.str();
    return !file.bad();
}

// A section tab's page: empty, since the tabs only choose what the view
// shows. wxGTK gives the keyboard focus to each page it selects, and with it
// brings the page's top-level window to the front: a line appended from a
// tool window (which rebuilds the tabs) took the keyboard away from that tool.
class SectionPage : public wxPanel {
public:
    explicit SectionPage(wxWindow* tabs)
        : wxPanel(tabs, wxID_ANY, wxDefaultPosition, wxSize(0, 0)) {}
    void SetFocus() override {}
};

} // namespace

// Paints the lines in view, one row per line, in the fixed-pitch font, and
// lets the user select text with the mouse (or all of it with Ctrl+A) and
// copy it with Ctrl+C or the context menu.
class ReportView : public wxVScrolledWindow {
public:
    explicit ReportView(CChildFrame* owner)
        : wxVScrolledWindow(owner, wxID_ANY, wxDefaultPosition, reportSize,
                            wxVSCROLL | wxFULL_REPAINT_ON_RESIZE | wxWANTS_CHARS),
          owner_(owner) {
        SetMinSize(wxSize(-1, viewMinHeight));
        SetFont(wxFont(wxFontInfo().Family(wxFONTFAMILY_TELETYPE)));
        SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW));
        lineHeight_ = GetCharHeight();
        charWidth_ = std::max(1, GetTextExtent("M").x);
        SetCursor(wxCursor(wxCURSOR_IBEAM));
        // A window without children is not given the keyboard focus by GTK
        // unless it asks for it: its Ctrl+C and Ctrl+A went nowhere.
        SetCanFocus(true);
        Bind(wxEVT_PAINT, &ReportView::onPaint, this);
        Bind(wxEVT_LEFT_DOWN, &ReportView::onLeftDown, this);
        Bind(wxEVT_MOTION, &ReportView::onMotion, this);
        Bind(wxEVT_LEFT_UP, [this](wxMouseEvent&) { endDrag(); });
        Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { endDrag(); });
        Bind(wxEVT_KEY_DOWN, &ReportView::onKey, this);
        Bind(wxEVT_CONTEXT_MENU, &ReportView::onContextMenu, this);
        Bind(
            wxEVT_MENU, [this](wxCommandEvent&) { copySelection(); }, wxID_COPY);
        Bind(
            wxEVT_MENU, [this](wxCommandEvent&) { selectAll(); }, wxID_SELECTALL);
    }

    void showLines(int count) {
        anchor_ = caret_ = {};
        SetRowCount(static_cast<size_t>(count));
        ScrollToRow(0);
        Refresh();
    }

    // The place (row of the view, column) nearest to a point of the window.
    ReportTextPlace placeAt(wxPoint point) const {
        const int count = owner_->linesInView().count;
        if (count == 0)
            return {};
        const int row =
            std::clamp(static_cast<int>(GetVisibleRowsBegin()) + std::max(0, point.y) / lineHeight_,
                       0, count - 1);
        const int length = static_cast<int>(lineOf(row).size());
        return {row, std::clamp((point.x + charWidth_ / 2) / charWidth_, 0, length)};
    }

    void select(ReportTextPlace anchor, ReportTextPlace caret) {
        anchor_ = anchor;
        caret_ = caret;
        Refresh();
    }

    void selectAll() {
        const int count = owner_->linesInView().count;
        if (count > 0)
            select({0, 0}, {count - 1, static_cast<int>(lineOf(count - 1).size())});
    }

    std::string selectedText() const {
        return textBetween(owner_->text(), owner_->linesInView(), anchor_, caret_);
    }

    // The selection on the clipboard; false when nothing is selected or the
    // clipboard cannot be opened.
    bool copySelection() {
        const std::string text = selectedText();
        if (text.empty() || !wxTheClipboard->Open())
            return false;
        wxTheClipboard->SetData(new wxTextDataObject(wxString::From8BitData(text.c_str())));
        wxTheClipboard->Close();
        return true;
    }

private:
    wxCoord OnGetRowHeight(size_t) const override { return lineHeight_; }

    const std::string& lineOf(int row) const {
        return owner_->text().line(owner_->linesInView().first + row);
    }

    void onPaint(wxPaintEvent&) {
        wxPaintDC dc(this);
        dc.SetFont(GetFont());
        const wxColour text = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT);
        const wxColour marked = wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHTTEXT);
        const wxColour markedBack = wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT);
        const ReportText::Range range = owner_->linesInView();
        const auto [from, to] = ordered(anchor_, caret_);
        const int first = static_cast<int>(GetVisibleRowsBegin());
        const int end = static_cast<int>(GetVisibleRowsEnd());
        for (int row = first; row < end && row < range.count; ++row) {
            const std::string& line = lineOf(row);
            const int y = (row - first) * lineHeight_;
            dc.SetTextForeground(text);
            dc.DrawText(wxString::From8BitData(line.c_str()), 0, y);
            if (row < from.row || row > to.row || from == to)
                continue;
            const int begin = row == from.row ? from.column : 0;
            const int stop = row == to.row ? to.column : static_cast<int>(line.size());
            // A selection that runs on past a line's end takes its line end too.
            const int width = (stop - begin + (row < to.row ? 1 : 0)) * charWidth_;
            dc.SetBrush(wxBrush(markedBack));
            dc.SetPen(*wxTRANSPARENT_PEN);
            dc.DrawRectangle(begin * charWidth_, y, width, lineHeight_);
            dc.SetTextForeground(marked);
            const auto part = line.substr(static_cast<size_t>(std::min<int>(begin, line.size())),
                                          static_cast<size_t>(std::max(0, stop - begin)));
            dc.DrawText(wxString::From8BitData(part.c_str()), begin * charWidth_, y);
        }
    }

    void onLeftDown(wxMouseEvent& event) {
        SetFocus();
        const ReportTextPlace place = placeAt(event.GetPosition());
        select(event.ShiftDown() ? anchor_ : place, place);
        if (!HasCapture())
            CaptureMouse();
        dragging_ = true;
    }

    void onMotion(wxMouseEvent& event) {
        if (!dragging_ || !event.LeftIsDown())
            return;
        wxPoint point = event.GetPosition();
        // Dragging past the top or bottom edge scrolls on.
        if (point.y < 0)
            ScrollRows(-1);
        else if (point.y >= GetClientSize().y)
            ScrollRows(1);
        select(anchor_, placeAt(point));
    }

    void endDrag() {
        dragging_ = false;
        if (HasCapture())
            ReleaseMouse();
    }

    void onKey(wxKeyEvent& event) {
        const bool control = event.GetModifiers() == wxMOD_CONTROL;
        const int key = event.GetKeyCode();
        if ((control && (key == 'C' || key == WXK_INSERT)))
            copySelection();
        else if (control && key == 'A')
            selectAll();
        else
            event.Skip();
    }

    void onContextMenu(wxContextMenuEvent&) {
        wxMenu menu;
        menu.Append(wxID_COPY, "&Copy\tCtrl+C");
        menu.Append(wxID_SELECTALL, "Select &All\tCtrl+A");
        menu.Enable(wxID_COPY, !(anchor_ == caret_));
        PopupMenu(&menu);
    }

    CChildFrame* owner_;
    int lineHeight_;
    int charWidth_;
    ReportTextPlace anchor_;
    ReportTextPlace caret_;
    bool dragging_ = false;
};

std::string reportCaption(ReportKind kind, const std::string& path) {
    switch (kind) {
    case ReportKind::report:
        return "Lst. Sq. Reduction Report: " + path;
    case ReportKind::output:
        return "Lst. Sq. Coordinate Listing: " + path;
    case ReportKind::error:
        return "Lst. Sq. Error Report: " + path;
    }
    return path;
}

CChildFrame::CChildFrame(wxMDIParentFrame* parent, const std::string& path, ReportKind kind,
                         std::function<void(CChildFrame*)> gone)
    : wxMDIChildFrame(parent, wxID_ANY, wxString::FromUTF8(reportCaption(kind, path)),
                      wxDefaultPosition, reportSize),
      kind_(kind), gone_(std::move(gone)) {
    auto* column = new wxBoxSizer(wxVERTICAL);
    if (kind_ == ReportKind::report) {
        tabs_ = new wxNotebook(this, sectionTabsId);
        tabs_->Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, &CChildFrame::onTabChanged, this);
        column->Add(tabs_, wxSizerFlags().Expand());
    }
    view_ = new ReportView(this);
    column->Add(view_, wxSizerFlags(1).Expand());
    SetSizer(column);
    // The keys of the window are the text's: the focus the frame gets goes on to it.
    Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent&) { view_->SetFocus(); });
    readText(path, "Error opening " + path);
    buildTabs();
    showSection(0);
}

CChildFrame::~CChildFrame() {
    if (gone_)
        std::exchange(gone_, nullptr)(this);
}

bool CChildFrame::Destroy() {
    if (gone_)
        std::exchange(gone_, nullptr)(this);
    return wxMDIChildFrame::Destroy();
}

bool CChildFrame::readText(const std::string& path, const std::string& failure) {
    std::string bytes;
    if (!readFile(path, bytes)) {
        text_.clear();
        activeShell().message(failure, MessageKind::ok);
        return false;
    }
    text_.assign(bytes);
    if (kind_ == ReportKind::report)
        text_.findSections(projectVars.geodeticModel == threeDModel);
    return true;
}

void CChildFrame::reload(const std::string& path) {
    SetTitle(wxString::FromUTF8(reportCaption(kind_, path)));
    readText(path, kind_ == ReportKind::output ? "Error opening: " + path
                                               : "Error opening " + path + ".");
    buildTabs();
    showSection(currentTab_ < static_cast<int>(tabSections_.size()) ? currentTab_ : 0);
}

// The notebook's pages are empty: the tabs only choose what the view shows.
void CChildFrame::buildTabs() {
    if (tabs_ == nullptr) {
        tabSections_ = {entireReport};
        return;
    }
    tabSections_ = text_.tabSections();
    const int keep = currentTab_;
    tabs_->Unbind(wxEVT_NOTEBOOK_PAGE_CHANGED, &CChildFrame::onTabChanged, this);
    tabs_->DeleteAllPages();
    for (int section : tabSections_)
        tabs_->AddPage(new SectionPage(tabs_), sectionTabLabel(section));
    currentTab_ = keep < static_cast<int>(tabSections_.size()) ? keep : 0;
    tabs_->SetSelection(static_cast<size_t>(currentTab_));
    tabs_->Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, &CChildFrame::onTabChanged, this);
    tabs_->SetMinSize(wxSize(-1, tabs_->GetBestSize().y));
    Layout();
}

void CChildFrame::onTabChanged(wxBookCtrlEvent& event) {
    showSection(event.GetSelection());
}

void CChildFrame::showSection(int tab) {
    if (tab < 0 || tab >= static_cast<int>(tabSections_.size()))
        return;
    currentTab_ = tab;
    if (tabs_ != nullptr && tabs_->GetSelection() != tab)
        tabs_->ChangeSelection(static_cast<size_t>(tab));
    inView_ = text_.section(tabSections_[static_cast<size_t>(tab)]);
    view_->showLines(inView_.count);
}

void CChildFrame::appendText(const std::string& text) {
    text_.append(text);
    if (kind_ == ReportKind::report)
        text_.findSections(projectVars.geodeticModel == threeDModel);
    buildTabs();
    showSection(0);
    view_->ScrollToRow(static_cast<size_t>(inView_.count - 1));
    view_->Refresh();
}

std::vector<std::string> CChildFrame::tabLabels() const {
    std::vector<std::string> labels;
    if (tabs_ != nullptr)
        for (size_t i = 0; i < tabs_->GetPageCount(); ++i)
            labels.push_back(tabs_->GetPageText(i).utf8_string());
    return labels;
}

wxWindow* CChildFrame::view() const {
    return view_;
}

ReportTextPlace CChildFrame::placeAt(wxPoint point) const {
    return view_->placeAt(point);
}

void CChildFrame::selectAll() {
    view_->selectAll();
}

std::string CChildFrame::selectedText() const {
    return view_->selectedText();
}

bool CChildFrame::copySelection() {
    return view_->copySelection();
}

int CChildFrame::topLine() const {
    return static_cast<int>(view_->GetVisibleRowsBegin());
}

void CChildFrame::activate() {
#ifdef __WXGTK__
    // GTK brings a child window just made to the front at the next idle
    // time, over every activation asked for before it: a run that opened the
    // listing last and then activated its report left the listing in front.
    // That pending step is taken now, so this activation is the last word.
    if (wxMDIParentFrame* parent = GetMDIParent(); parent != nullptr && parent->m_justInserted)
        parent->OnInternalIdle();
#endif
    Activate();
    view_->SetFocus();
}
