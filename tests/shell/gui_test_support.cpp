#include "gui_test_support.hpp"

#include "model/settings/project_defaults.hpp"

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/statusbr.h>
#include <wx/window.h>

namespace guitest {

namespace {

int realDialogPermits = 0;

// Enough rounds for the X server to answer; a window that has not painted
// by then will not paint at all.
constexpr int paintRounds = 100000;

} // namespace

RealDialogsAllowed::RealDialogsAllowed() {
    ++realDialogPermits;
}

RealDialogsAllowed::~RealDialogsAllowed() {
    --realDialogPermits;
}

bool realDialogsAllowed() {
    return realDialogPermits > 0;
}

void waitForFirstPaint(wxWindow* window) {
    bool painted = false;
    auto onPaint = [&painted](wxPaintEvent& event) {
        painted = true;
        event.Skip();
    };
    window->Bind(wxEVT_PAINT, onPaint);
    window->Refresh();
    for (int round = 0; round < paintRounds && !painted; ++round)
        wxYield();
    window->Unbind(wxEVT_PAINT, onPaint);
    EXPECT_TRUE(painted) << "the window never painted";
    window->Update();
    wxYield();
}

bool saveScreenshot(wxWindow* window, const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    window->Refresh();
    window->Update();
    wxYield();
    const wxRect area = window->GetScreenRect();
    wxBitmap shot(area.width, area.height, 24);
    {
        wxScreenDC screen;
        wxMemoryDC memory(shot);
        if (!memory.Blit(0, 0, area.width, area.height, &screen, area.x, area.y))
            return false;
    }
    return shot.SaveFile(path.string(), wxBITMAP_TYPE_PNG);
}

bool commandEnabled(wxWindow* window, int id) {
    wxUpdateUIEvent event(id);
    event.SetEventObject(window);
    window->ProcessWindowEvent(event);
    return !event.GetSetEnabled() || event.GetEnabled();
}

int ExpectMessage::OnInvoked(wxMessageDialog* dialog) const {
    EXPECT_EQ(dialog->GetMessage().utf8_string(), text_);
    EXPECT_EQ(dialog->GetTitle().utf8_string(), programCaption);
    switch (button_) {
    case wxYES:
        return wxID_YES;
    case wxNO:
        return wxID_NO;
    case wxCANCEL:
        return wxID_CANCEL;
    default:
        return wxID_OK;
    }
}

// GTK's chooser takes a path given to it only once its events have run.
int ChooseFile::OnInvoked(wxFileDialog* dialog) const {
    if (!title_.empty())
        EXPECT_EQ(dialog->GetTitle().utf8_string(), title_);
    if (path_.empty())
        return wxID_CANCEL;
    const wxString path = wxString::FromUTF8(path_.string());
    dialog->SetPath(path);
    for (int round = 0; round < paintRounds && dialog->GetPath() != path; ++round)
        wxYield();
    EXPECT_EQ(dialog->GetPath(), path);
    return wxID_OK;
}

ShellTest::ShellTest() : folder_("shell"), config_(folder_ / "config") {}

ShellTest::~ShellTest() {
    destroyMainWindow();
}

platform::ProfileStore ShellTest::profile() const {
    platform::ProfileStore store(programProfileKey);
    std::string error;
    EXPECT_TRUE(store.load(error)) << error;
    return store;
}

void ShellTest::storeProfile(const std::string& section, const std::string& name,
                             const std::string& value) const {
    platform::ProfileStore store = profile();
    store.setString(section, name, value);
    std::string error;
    EXPECT_TRUE(store.save(error)) << error;
}

CMainFrame& ShellTest::openMainWindow() {
    frame_ = new CMainFrame;
    frame_->Show();
    waitForFirstPaint(frame_->GetStatusBar());
    return *frame_;
}

void ShellTest::destroyMainWindow() {
    if (frame_ == nullptr)
        return;
    frame_->Destroy();
    frame_ = nullptr;
    wxTheApp->ProcessIdle();
}

void writeProject(const std::filesystem::path& path, const std::vector<std::string>& changes) {
    globalVars settings;
    ASSERT_NE(settings.writeProjectFile(path.string()), 0);
    std::string text = testsupport::readBytes(path);
    for (const std::string& change : changes)
        text += change + "\r\n";
    testsupport::writeBytes(path, text);
}

} // namespace guitest
