// The Graphics command: the project's raw files are checked before the
// graphics library is asked for its window, which opens as a child of the
// main window and is refreshed, not doubled, by a second command.

#include "gui_test_support.hpp"

#include <wx/mdi.h>

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

class GraphicsCommand : public guitest::ShellTest {
protected:
    GraphicsCommand() {
        testsupport::writeBytes(file("first.vkr"), "");
        projectVars.includeRawData = 0; // a model with nothing to read
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

TEST(GraphicsLibraryLoad, ALibraryThatIsNotThereShowsNothing) {
    GraphicsLibrary absent("libtarnwell-no-such-library.so");
    EXPECT_FALSE(absent.loaded());
    std::uint16_t id = GraphicsLibrary::noWindow;
    globalVars settings;
    EXPECT_EQ(absent.show(&id, nullptr, settings, nullptr, 0), 0);
    EXPECT_FALSE(absent.isWindowOpen(id));
}

} // namespace
