#include "gui_test_support.hpp"

#include "shell/message_list_dialog.hpp"

#include "model/settings/project_defaults.hpp"
#include "shell/first_paint.hpp"

#include <wx/app.h>
#include <wx/image.h>
#include <wx/statusbr.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <bit>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

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

void yieldUntil(const std::function<bool()>& done) {
    for (int round = 0; round < paintRounds && !done(); ++round)
        wxYield();
}

void settle() {
    Display* display = wxGetX11Display();
    for (int round = 0; round < paintRounds; ++round) {
        wxYield();
        wxTheApp->ProcessIdle();
        if (display != nullptr)
            XSync(display, False);
        if (!wxTheApp->Pending())
            return;
    }
}

namespace {

// Long enough for a loaded machine; a window that has not painted by then
// will not paint at all.
constexpr std::chrono::seconds paintPatience(20);

bool paintOnce(wxWindow* window) {
    return waitUntilDrawn(window, paintPatience);
}

// One colour channel of a true-colour pixel.
unsigned char channel(unsigned long pixel, unsigned long mask) {
    return static_cast<unsigned char>((pixel & mask) >> std::countr_zero(mask));
}

} // namespace

// The first paint can come before the window has its final size; the one
// after it shows the window as laid out.
void waitForFirstPaint(wxWindow* window) {
    EXPECT_TRUE(paintOnce(window) && paintOnce(window)) << "the window never painted";
}

void expectCentredOn(const wxWindow* dialog, const wxWindow* owner) {
    ASSERT_NE(dialog, nullptr);
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(dialog->GetParent(), owner);
    const wxRect inner = dialog->GetRect();
    const wxRect outer = owner->GetRect();
    EXPECT_NEAR(inner.x + inner.width / 2, outer.x + outer.width / 2, 1);
    EXPECT_NEAR(inner.y + inner.height / 2, outer.y + outer.height / 2, 1);
}

// GTK gives the focus to a top-level window of its own, or under a window
// manager to the manager's frame's child: the title is looked for from the
// focus window up.
std::string titleWithTheKeyboardFocus() {
    Display* display = wxGetX11Display();
    if (display == nullptr)
        return {};
    XSync(display, False);
    Window window = None;
    int revert = 0;
    XGetInputFocus(display, &window, &revert);
    while (window != None && window != PointerRoot && window != DefaultRootWindow(display)) {
        char* name = nullptr;
        if (XFetchName(display, window, &name) != 0 && name != nullptr) {
            std::string title = name;
            XFree(name);
            return title;
        }
        Window root = None;
        Window parent = None;
        Window* children = nullptr;
        unsigned count = 0;
        if (XQueryTree(display, window, &root, &parent, &children, &count) == 0)
            return {};
        if (children != nullptr)
            XFree(children);
        window = parent;
    }
    return {};
}

// The picture is read from the X server on the toolkit's own connection, so
// it comes after everything the toolkit has drawn. (GTK's screen device
// context keeps the picture of its first use.)
bool saveScreenshot(wxWindow* window, const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    Display* display = wxGetX11Display();
    if (display == nullptr)
        return false;
    XSync(display, False);
    const wxRect area = window->GetScreenRect();
    XImage* pixels = XGetImage(display, DefaultRootWindow(display), area.x, area.y,
                               static_cast<unsigned>(area.width),
                               static_cast<unsigned>(area.height), AllPlanes, ZPixmap);
    if (pixels == nullptr)
        return false;
    wxImage image(area.width, area.height);
    for (int y = 0; y < area.height; ++y) {
        for (int x = 0; x < area.width; ++x) {
            const unsigned long pixel = XGetPixel(pixels, x, y);
            image.SetRGB(x, y, channel(pixel, pixels->red_mask), channel(pixel, pixels->green_mask),
                         channel(pixel, pixels->blue_mask));
        }
    }
    XDestroyImage(pixels);
    return image.SaveFile(path.string(), wxBITMAP_TYPE_PNG);
}

void clickCell(gridctrl::CGridCtrl& grid, int row, int col, bool shift) {
    gridctrl::GridRect rect;
    ASSERT_TRUE(grid.GetCellRect(row, col, &rect)) << "cell " << row << ", " << col;
    const wxPoint middle((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    for (const wxEventType type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP}) {
        wxMouseEvent event(type);
        event.SetPosition(middle);
        event.SetShiftDown(shift);
        event.SetLeftDown(type == wxEVT_LEFT_DOWN);
        event.SetEventObject(&grid);
        grid.ProcessWindowEvent(event);
    }
}

void pressKey(wxWindow* window, int code, int modifiers) {
    const auto send = [&](wxEventType type) {
        wxKeyEvent event(type);
        event.m_keyCode = code;
        event.m_uniChar = code < WXK_START ? static_cast<wxChar>(code) : wxChar(WXK_NONE);
        event.m_controlDown = (modifiers & wxMOD_CONTROL) != 0;
        event.m_shiftDown = (modifiers & wxMOD_SHIFT) != 0;
        event.m_altDown = (modifiers & wxMOD_ALT) != 0;
        event.SetEventObject(window);
        return window->ProcessWindowEvent(event);
    };
    // The hook passes up to the top-level window; a handler that takes it
    // (does not skip it) keeps the key from going on.
    wxKeyEvent hook(wxEVT_CHAR_HOOK);
    hook.m_keyCode = code;
    hook.m_controlDown = (modifiers & wxMOD_CONTROL) != 0;
    hook.m_shiftDown = (modifiers & wxMOD_SHIFT) != 0;
    hook.m_altDown = (modifiers & wxMOD_ALT) != 0;
    hook.SetEventObject(window);
    hook.ResumePropagation(wxEVENT_PROPAGATE_MAX);
    const bool used = window->ProcessWindowEvent(hook);
    if (used && !hook.IsNextEventAllowed())
        return;
    if (!send(wxEVT_KEY_DOWN))
        send(wxEVT_CHAR);
}

bool commandEnabled(wxWindow* window, int id) {
    wxUpdateUIEvent event(id);
    event.SetEventObject(window);
    window->ProcessWindowEvent(event);
    return !event.GetSetEnabled() || event.GetEnabled();
}

int ExpectMessage::OnInvoked(wxMessageDialog* dialog) const {
    EXPECT_NE(dialog->GetParent(), nullptr) << "a box without its window";
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

namespace {

// What the chooser has selected; a dialog for several files answers only
// through GetPaths.
wxString chosenPath(wxFileDialog* dialog) {
    if (!dialog->HasFlag(wxFD_MULTIPLE))
        return dialog->GetPath();
    wxArrayString paths;
    dialog->GetPaths(paths);
    return paths.empty() ? wxString() : paths[0];
}

// GTK's chooser takes a path given to it only once it has loaded the path's
// folder, so the selection showing the path means the load has ended.
bool selectAndWait(wxFileDialog* dialog, const wxString& path) {
    dialog->SetPath(path);
    yieldUntil([&] { return chosenPath(dialog) == path; });
    return chosenPath(dialog) == path;
}

} // namespace

// A dialog ended while GTK still loads its folder leaves GTK's loader calling
// into the destroyed file list, a critical message in whichever test runs
// next. A cancelled dialog therefore waits for a load too: that of the
// folder it shows, selected in its parent folder (folders pass any filter).
int ChooseFile::OnInvoked(wxFileDialog* dialog) const {
    EXPECT_NE(dialog->GetParent(), nullptr) << "a file dialog without its window";
    if (!title_.empty()) {
        EXPECT_EQ(dialog->GetMessage().utf8_string(), title_);
    }
    if (path_.empty()) {
        const wxString folder = dialog->GetDirectory();
        selectAndWait(dialog, folder.empty() ? wxGetCwd() : folder);
        return wxID_CANCEL;
    }
    EXPECT_TRUE(selectAndWait(dialog, wxString::FromUTF8(path_.string())))
        << chosenPath(dialog).utf8_string();
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

CMainFrame& ShellTest::openExample() {
    const auto example =
        std::filesystem::path(TARNWELL_FIXTURES) / ".." / ".." / "examples" / "site";
    for (const char* name : {"site.prj", "site.vkr", "site.cls"})
        std::filesystem::copy_file(example / name, file(name));
    CMainFrame& frame = openMainWindow();
    wxTEST_DIALOG(frame.openProject(), ChooseFile(file("site.prj")));
    EXPECT_TRUE(frame.state().projectOpen);
    return frame;
}

void ShellTest::command(CMainFrame& frame, int id) {
    wxCommandEvent event(wxEVT_MENU, id);
    frame.ProcessWindowEvent(event);
}

void ShellTest::destroyMainWindow() {
    if (frame_ == nullptr)
        return;
    frame_->Destroy();
    frame_ = nullptr;
    wxTheApp->ProcessIdle();
}

void ShellTest::mainWindowClosed() {
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

int AnswerEveryBox::Enter(wxDialog* dialog) {
    if (auto* box = dynamic_cast<wxMessageDialog*>(dialog)) {
        EXPECT_NE(dynamic_cast<CMainFrame*>(box->GetParent()), nullptr);
        boxes.push_back(box->GetMessage().utf8_string());
        return wxID_OK;
    }
    if (auto* list = dynamic_cast<CDlgMsg*>(dialog)) {
        expectCentredOn(list, list->GetParent());
        EXPECT_NE(dynamic_cast<CMainFrame*>(list->GetParent()), nullptr);
        lists.push_back(list->lines());
        return wxID_OK;
    }
    return wxID_NONE;
}

std::vector<std::string> fileLines(const std::filesystem::path& path) {
    const std::string bytes = testsupport::readBytes(path);
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = bytes.find("\r\n"); end != std::string::npos;
         start = end + 2, end = bytes.find("\r\n", start))
        lines.push_back(bytes.substr(start, end - start));
    if (start < bytes.size())
        lines.push_back(bytes.substr(start));
    return lines;
}

std::vector<std::string> windowLines(const CChildFrame& window) {
    std::vector<std::string> lines;
    for (int i = 0; i < window.text().lineCount(); ++i)
        lines.push_back(window.text().line(i));
    return lines;
}

} // namespace guitest
