#include "shell/main_frame.hpp"
#include "shell/work_area.hpp"

#include "engine/adjustment_results.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/project_defaults.hpp"
#include "shell/command_ids.hpp"
#include "shell/family_window_mark.hpp"
#include "shell/first_allocation.hpp"
#include "shell/main_menu.hpp"
#include "shell/program_icon.hpp"

#include <wx/display.h>
#include <wx/icon.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

namespace {

constexpr int statusPaneCount = 4;
constexpr int indicatorWidth = 48;
constexpr int iconSize = 32;
const wxSize minimumSize(560, 400);

// Three panes after the message pane show the lock keys that are on.
struct KeyIndicator {
    wxKeyCode key;
    const char* text;
};
constexpr KeyIndicator keyIndicators[] = {
    {WXK_CAPITAL, "CAP"},
    {WXK_NUMLOCK, "NUM"},
    {WXK_SCROLL, "SCRL"},
};

platform::ProfileStore loadedProfile(bool& readable) {
    platform::ProfileStore profile(programProfileKey);
    std::string error;
    readable = profile.load(error);
    return profile;
}

} // namespace

CMainFrame::CMainFrame() : shell_(this), runWindows_(*this, [this] { state_.lastRunResult = 0; }) {
    bool readable = false;
    const platform::ProfileStore profile = loadedProfile(readable);
    const wxRect screen = wxGetClientDisplayRect();
    const WindowPlacement placement = readWindowPlacement(profile, screen.width, screen.height);
    initialShow_ = placement.show == showMaximized ? showMaximized : showNormal;
    normalRect_ = wxRect(placement.x, placement.y, placement.cx, placement.cy);

    Create(nullptr, wxID_ANY, programCaption, normalRect_.GetPosition(), normalRect_.GetSize(),
           wxDEFAULT_FRAME_STYLE | wxFRAME_NO_WINDOW_MENU);
    wxIcon icon;
    icon.CopyFromBitmap(programIconBitmap(iconSize));
    SetIcon(icon);
    markAsFamilyWindow(*this);
    SetMenuBar(buildMainMenu());
    createBars();
    // Below this GTK cannot fit a report window's tabs and scroll bar under
    // the bars, and warns about every one it has to squeeze.
    SetMinSize(FromDIP(minimumSize));
    // A placement stored on a larger screen, or with another screen beside
    // this one, would put the window out of reach.
    keepInsideWorkArea(*this);
    previousShell_ = setActiveShell(&shell_);
    shell_.setRunWindows(&runWindows_);

    updateTitle();
    std::vector<std::string> refusals = loadProjectDefaults();
    if (const std::string recent = readProgramOptions(profile, projectVars, refusals);
        !recent.empty()) {
        recentProjects_ = readOlderRecentProjects(profile);
        rememberRecentProject(recent);
    }
    tellProfileRefusals(shell_, refusals);

    bindCommands();
    bindCommandStates();
    Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::onClose, this);
    Bind(wxEVT_QUERY_END_SESSION, [this](wxCloseEvent& event) {
        if (closeAllChildren() == 0)
            event.Veto();
    });
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        rememberNormalRect();
        event.Skip();
    });
    Bind(wxEVT_MOVE, [this](wxMoveEvent& event) {
        rememberNormalRect();
        event.Skip();
    });
    Bind(wxEVT_IDLE, [this](wxIdleEvent& event) {
        updateKeyIndicators();
        event.Skip();
    });
}

CMainFrame::~CMainFrame() {
    bool readable = false;
    platform::ProfileStore profile = loadedProfile(readable);
    // An unreadable profile is left alone rather than replaced by these few values.
    if (readable) {
        WindowPlacement placement{normalRect_.x, normalRect_.y, normalRect_.width,
                                  normalRect_.height, showNormal};
        if (IsMaximized())
            placement.show = showMaximized;
        else if (IsIconized())
            placement.show = showMinimized;
        writeWindowPlacement(profile, placement);
        writeProgramOptions(profile, projectVars, state_.projectFile);
        writeOlderRecentProjects(profile, recentProjects_);
        std::string error;
        profile.save(error);
    }
    releaseAdjustmentResults();
    setActiveShell(previousShell_);
}

bool CMainFrame::Show(bool show) {
    if (show && !IsShown())
        allocateBeforeFirstShow(*this);
    return wxMDIParentFrame::Show(show);
}

void CMainFrame::createBars() {
    buildMainToolBar(CreateToolBar(wxTB_HORIZONTAL | wxTB_FLAT));
    wxStatusBar* status = CreateStatusBar(statusPaneCount);
    const int widths[statusPaneCount] = {-1, indicatorWidth, indicatorWidth, indicatorWidth};
    status->SetStatusWidths(statusPaneCount, widths);
    status->SetStatusText("Ready", 0);
}

// A command that ran its own windows (the progress dialog, the graphics
// window) leaves the message pane as those windows' help texts left it.
void CMainFrame::showReady() {
    if (wxStatusBar* status = GetStatusBar())
        status->SetStatusText("Ready", 0);
}

namespace {

// wxWidgets' status bar paints a new text at once, also while GTK still owes
// a window that was just opened (a report, the graphics window) its size:
// GTK then draws that window's tabs unallocated and warns. Here a new text
// is painted with everything else.
class CStatusBar : public wxStatusBar {
public:
    CStatusBar(wxWindow* parent, wxWindowID id, long style, const wxString& name)
        : wxStatusBar(parent, id, style, name) {}

protected:
    void DoUpdateStatusText(int number) override {
        wxRect field;
        if (GetFieldRect(number, field))
            Refresh(true, &field);
    }
};

} // namespace

wxStatusBar* CMainFrame::OnCreateStatusBar(int number, long style, wxWindowID id,
                                           const wxString& name) {
    auto* bar = new CStatusBar(this, id, style, name);
    bar->SetFieldsCount(number);
    return bar;
}

void CMainFrame::updateKeyIndicators() {
    wxStatusBar* status = GetStatusBar();
    if (status == nullptr)
        return;
    for (int i = 0; i < statusPaneCount - 1; ++i) {
        const wxString text = wxGetKeyState(keyIndicators[i].key) ? keyIndicators[i].text : "";
        if (status->GetStatusText(i + 1) != text)
            status->SetStatusText(text, i + 1);
    }
}

void CMainFrame::rememberNormalRect() {
    if (!IsMaximized() && !IsIconized())
        normalRect_ = GetRect();
}

void CMainFrame::updateTitle() {
    std::string title = programCaption;
    if (!state_.projectName.empty())
        title += " - Project: " + state_.projectName;
    SetTitle(wxString::FromUTF8(title));
}

int CMainFrame::closeAllChildren() {
    while (wxMDIChildFrame* child = GetActiveChild()) {
        child->Close();
        if (GetActiveChild() == child)
            return 0;
    }
    return 1;
}

void CMainFrame::onClose(wxCloseEvent& event) {
    const bool mayStay = event.CanVeto();
    if (runWindows_.running() && mayStay) {
        event.Veto();
        return;
    }
    if (!endFamilyPrograms() && mayStay) {
        event.Veto();
        return;
    }
    if (state_.projectOpen && !askToSave(changedProjectQuestion()) && mayStay) {
        event.Veto();
        return;
    }
    if (closeAllChildren() == 0 && mayStay) {
        event.Veto();
        return;
    }
    Destroy();
}
