// The Graphics command: the project's raw files are checked before the
// graphics library is asked for its window, which opens as a child of the
// main window and is refreshed, not doubled, by a second command.

#include "gui_test_support.hpp"

#include "shell/about_dialog.hpp"
#include "shell/command_ids.hpp"

#include <wx/mdi.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>

namespace {

using guitest::ExpectMessage;

int graphicsWindowCount(CMainFrame& main) {
    int count = 0;
    for (wxWindow* child : main.GetClientWindow()->GetChildren()) {
        auto* frame = wxDynamicCast(child, wxMDIChildFrame);
        if (frame != nullptr && frame->GetTitle().StartsWith("Network Graphics: "))
            ++count;
    }
    return count;
}

// The graphics window's tool bar and picture, children of its frame (beside
// its status bar).
struct GraphicsParts {
    wxToolBar* tools = nullptr;
    wxWindow* picture = nullptr;
};

GraphicsParts graphicsParts(CMainFrame& main) {
    GraphicsParts parts;
    for (wxWindow* child : main.GetClientWindow()->GetChildren()) {
        auto* frame = wxDynamicCast(child, wxMDIChildFrame);
        if (frame == nullptr || !frame->GetTitle().StartsWith("Network Graphics: "))
            continue;
        for (wxWindow* inner : frame->GetChildren()) {
            if (auto* bar = dynamic_cast<wxToolBar*>(inner))
                parts.tools = bar;
            else if (dynamic_cast<wxStatusBar*>(inner) == nullptr)
                parts.picture = inner;
        }
    }
    return parts;
}

class GraphicsCommand : public guitest::ShellTest {
protected:
    GraphicsCommand() {
        testsupport::writeBytes(file("first.vkr"), "");
        projectVars.includeRawData = 0; // a model with nothing to read
    }

    // The first raw file's graphics window, once its picture is drawn.
    GraphicsParts showDrawnGraphics(CMainFrame& main) {
        projectVars.pInputFileName = file("first.vkr").string() + "\n";
        main.showGraphics();
        const GraphicsParts parts = graphicsParts(main);
        if (parts.picture != nullptr)
            guitest::waitForFirstPaint(parts.picture);
        return parts;
    }
};

TEST_F(GraphicsCommand, AMissingRawFileStopsTheCommandBeforeTheLibrary) {
    CMainFrame& main = openMainWindow();
    const std::string missing = file("second.vkr").string();
    projectVars.pInputFileName = file("first.vkr").string() + "\n" + missing + "\n";
    wxTEST_DIALOG(main.showGraphics(), ExpectMessage("Invalid Raw File: " + missing, wxOK));
    EXPECT_EQ(main.graphicsWindowId(), GraphicsLibrary::noWindow);
    EXPECT_EQ(graphicsWindowCount(main), 0);
}

TEST_F(GraphicsCommand, TheWindowOpensOnceAndIsFoundAgain) {
    CMainFrame& main = openMainWindow();
    projectVars.pInputFileName = file("first.vkr").string() + "\n";
    main.showGraphics();
    const std::uint16_t id = main.graphicsWindowId();
    EXPECT_NE(id, GraphicsLibrary::noWindow);
    EXPECT_EQ(graphicsWindowCount(main), 1);

    main.refreshOpenGraphics();
    EXPECT_EQ(main.graphicsWindowId(), id);
    EXPECT_EQ(graphicsWindowCount(main), 1);
}

// A project names its raw files relative to its own folder, wherever the
// program was started from.
TEST_F(GraphicsCommand, RawFileNamesAreTakenFromTheProjectFolder) {
    CMainFrame& main = openMainWindow();
    ASSERT_NE(std::filesystem::current_path(), folder());
    projectVars.projectFileName = file("site.prj").string();
    projectVars.pInputFileName = "first.vkr\n";
    main.showGraphics();
    EXPECT_NE(main.graphicsWindowId(), GraphicsLibrary::noWindow);
    EXPECT_EQ(graphicsWindowCount(main), 1);
}

// While the pointer rests on a tool, of the main window or of the graphics
// window, the status bar names the tool (it stood empty, so after a click on
// Graphics the bar was blank until the pointer moved on); once it leaves,
// "Ready" is back.
TEST_F(GraphicsCommand, TheStatusBarNamesTheToolUnderThePointer) {
    CMainFrame& main = openMainWindow();
    const GraphicsParts parts = showDrawnGraphics(main);
    ASSERT_NE(parts.tools, nullptr);
    wxToolBar* graphics = parts.tools;
    struct Hover {
        wxToolBar* bar;
        int tool;
        const char* text;
    };
    const Hover hovers[] = {
        {main.GetToolBar(), shellid::graphicsButton, "Graphics"},
        {main.GetToolBar(), shellid::networkAdjustmentButton, "Network Adjustment"},
        {graphics, graphics->GetToolByPos(1)->GetId(), "Zoom In"},
        {graphics, graphics->GetToolByPos(6)->GetId(), "Graphic Settings"},
    };
    wxStatusBar* status = main.GetStatusBar();
    for (const Hover& hover : hovers) {
        SCOPED_TRACE(hover.text);
        hover.bar->OnMouseEnter(hover.tool);
        EXPECT_EQ(status->GetStatusText(0), hover.text);
        hover.bar->OnMouseEnter(wxID_ANY);
        EXPECT_EQ(status->GetStatusText(0), "Ready");
    }
}

// The graphics window, active, takes its own tools and hands every other
// menu command on to the main window.
TEST_F(GraphicsCommand, MenuCommandsReachTheMainWindowWhileTheGraphicsAreActive) {
    CMainFrame& main = openMainWindow();
    ASSERT_NE(showDrawnGraphics(main).picture, nullptr);
    ASSERT_NE(main.GetActiveChild(), nullptr);
    ASSERT_TRUE(main.GetActiveChild()->GetTitle().StartsWith("Network Graphics: "));
    wxTEST_DIALOG(command(main, shellid::about),
                  guitest::OnDialog<CAboutDlg>([](CAboutDlg&) { return wxID_OK; }));
}

TEST(GraphicsLibraryLoad, ALibraryThatIsNotThereShowsNothing) {
    GraphicsLibrary absent("libtarnwell-no-such-library.so");
    EXPECT_FALSE(absent.loaded());
    std::uint16_t id = GraphicsLibrary::noWindow;
    globalVars settings;
    EXPECT_EQ(absent.show(&id, nullptr, settings, nullptr, 0), 0);
    EXPECT_FALSE(absent.isWindowOpen(id));
}

} // namespace
