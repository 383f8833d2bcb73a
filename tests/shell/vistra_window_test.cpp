// The graphics library's entry points as the desktop program calls them:
// the built library is loaded, and its windows open as children of the main
// window, are found again by their ids and are forgotten once closed.

#include "gui_test_support.hpp"

#include "engine/adjustment_results.hpp"

#include <wx/mdi.h>

#include <dlfcn.h>

#include <cstdint>

namespace {

using IsWindowOpenFn = int (*)(std::uint16_t);
using ShowWithSettingsFn = int (*)(std::uint16_t*, void*, void*, const globalVars*, int,
                                   const errEllipseRec*, int);

// The graphics windows among the main window's children.
std::vector<wxMDIChildFrame*> graphicsWindows(CMainFrame& main) {
    std::vector<wxMDIChildFrame*> found;
    for (wxWindow* child : main.GetClientWindow()->GetChildren()) {
        auto* frame = wxDynamicCast(child, wxMDIChildFrame);
        if (frame != nullptr && frame->GetTitle().StartsWith("Network Graphics: "))
            found.push_back(frame);
    }
    return found;
}

class VistraWindow : public guitest::ShellTest {};

} // namespace

TEST_F(VistraWindow, OpensReusesAndForgetsAChildOfTheMainWindow) {
    CMainFrame& main = openMainWindow();
    void* library = dlopen(VISTRA_LIBRARY, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    ASSERT_NE(library, nullptr) << dlerror();
    auto isWindowOpen = reinterpret_cast<IsWindowOpenFn>(dlsym(library, "IsWindowOpen"));
    auto show = reinterpret_cast<ShowWithSettingsFn>(dlsym(library, "showZureruvuvLS"));
    ASSERT_NE(isWindowOpen, nullptr);
    ASSERT_NE(show, nullptr);
    void* parent = static_cast<wxObject*>(&main);

    globalVars settings;
    settings.pInputFileName = "first.vkr\nsecond.vkr\n";
    settings.includeRawData = 0; // a model with nothing to read
    std::uint16_t id = 0xFFFF;
    ASSERT_EQ(show(&id, nullptr, parent, &settings, 1, nullptr, 0), 1);
    ASSERT_NE(id, 0xFFFF);
    EXPECT_EQ(isWindowOpen(id), 1);
    auto windows = graphicsWindows(main);
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0]->GetTitle(), "Network Graphics: first.vkr");

    // The open window keeps the files it was made with.
    settings.pInputFileName = "other.vkr\n";
    const std::uint16_t opened = id;
    ASSERT_EQ(show(&id, nullptr, parent, &settings, 1, nullptr, 0), 1);
    EXPECT_EQ(id, opened);
    windows = graphicsWindows(main);
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0]->GetTitle(), "Network Graphics: first.vkr");

    windows[0]->Close(true);
    guitest::yieldUntil([&] { return isWindowOpen(opened) == 0; });
    EXPECT_EQ(isWindowOpen(opened), 0);
    ASSERT_EQ(show(&id, nullptr, parent, &settings, 1, nullptr, 0), 1);
    EXPECT_EQ(id, opened + 1) << "ids are never reused";
    windows = graphicsWindows(main);
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0]->GetTitle(), "Network Graphics: other.vkr");
}
