#include "shell/report_window.hpp"

#include "model/settings/global_vars.hpp"

#include <fstream>
#include <iterator>
#include <sstream>

#include <wx/dcclient.h>
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

} // namespace

// Paints the lines in view, one row per line, in the fixed-pitch font.
class ReportView : public wxVScrolledWindow {
public:
    explicit ReportView(CChildFrame* owner)
        : wxVScrolledWindow(owner, wxID_ANY, wxDefaultPosition, reportSize,
                            wxVSCROLL | wxFULL_REPAINT_ON_RESIZE),
          owner_(owner) {
        SetMinSize(wxSize(-1, viewMinHeight));
        SetFont(wxFont(wxFontInfo().Family(wxFONTFAMILY_TELETYPE)));
        SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW));
        lineHeight_ = GetCharHeight();
        Bind(wxEVT_PAINT, &ReportView::onPaint, this);
    }

    void showLines(int count) {
        SetRowCount(static_cast<size_t>(count));
        ScrollToRow(0);
        Refresh();
    }

private:
    wxCoord OnGetRowHeight(size_t) const override { return lineHeight_; }

    void onPaint(wxPaintEvent&) {
        wxPaintDC dc(this);
        dc.SetFont(GetFont());
        dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT));
        const ReportText::Range range = owner_->linesInView();
        const ReportText& text = owner_->text();
        const int first = static_cast<int>(GetVisibleRowsBegin());
        const int end = static_cast<int>(GetVisibleRowsEnd());
        for (int row = first; row < end && row < range.count; ++row)
            dc.DrawText(wxString::From8BitData(text.line(range.first + row).c_str()), 0,
                        (row - first) * lineHeight_);
    }

    CChildFrame* owner_;
    int lineHeight_;
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
        tabs_->AddPage(new wxPanel(tabs_, wxID_ANY, wxDefaultPosition, wxSize(0, 0)),
                       sectionTabLabel(section));
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

int CChildFrame::topLine() const {
    return static_cast<int>(view_->GetVisibleRowsBegin());
}

void CChildFrame::activate() {
    Activate();
}
