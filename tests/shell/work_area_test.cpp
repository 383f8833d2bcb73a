// Windows inside the work area: the placement arithmetic, and the tool
// windows that opened partly off the screen with headings cut short.

#include "gui_test_support.hpp"
#include "shell/tools/closure_editor.hpp"
#include "shell/tools/edm_calibration_dialog.hpp"
#include "shell/work_area.hpp"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/display.h>

namespace {

using guitest::ShellTest;

TEST(WorkArea, AWindowIsMovedAndShrunkOnlyAsFarAsItMust) {
    const wxRect area(0, 30, 1024, 738); // a 1024 x 768 screen under a 30-pixel panel
    const struct {
        const char* name;
        wxRect window;
        wxRect expected;
    } cases[] = {
        {"inside already", {100, 100, 400, 300}, {100, 100, 400, 300}},
        {"bottom below the screen", {100, 600, 400, 300}, {100, 468, 400, 300}},
        {"right past the edge", {900, 100, 400, 300}, {624, 100, 400, 300}},
        {"above and left of it", {-50, 0, 400, 300}, {0, 30, 400, 300}},
        {"taller than the area", {100, 100, 400, 900}, {100, 30, 400, 738}},
        {"larger both ways", {-10, -10, 2000, 2000}, {0, 30, 1024, 738}},
        {"exactly the area", {0, 30, 1024, 738}, {0, 30, 1024, 738}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(placedInside(c.window, area), c.expected);
    }
}

// Every heading is shown whole: a column is at least as wide as its heading
// measured in the grid's own font.
void expectHeadingsFit(gridctrl::CGridCtrl& grid) {
    for (int col = 1; col < grid.GetColumnCount(); ++col) {
        SCOPED_TRACE(grid.GetCellText(0, col));
        EXPECT_GE(grid.GetColumnWidth(col), grid.GetCell(0, col)->MeasureCell(nullptr).cx);
    }
}

void expectInsideWorkArea(wxWindow& window) {
    const int display = wxDisplay::GetFromWindow(&window);
    const wxRect area = wxDisplay(display == wxNOT_FOUND ? 0u : unsigned(display)).GetClientArea();
    EXPECT_TRUE(area.Contains(window.GetScreenRect()))
        << "window " << window.GetScreenRect().x << "," << window.GetScreenRect().y << " "
        << window.GetScreenRect().width << "x" << window.GetScreenRect().height;
}

using ToolWindowPlacement = ShellTest;

TEST_F(ToolWindowPlacement, TheEdmWindowFitsTheScreenAndShowsItsHeadings) {
    auto* dialog = new CEdmCalibDlg();
    dialog->Show();
    guitest::waitForFirstPaint(dialog);
    expectInsideWorkArea(*dialog);
    expectHeadingsFit(dialog->grid());
    // The weather columns' headings too.
    auto* box = dynamic_cast<wxCheckBox*>(dialog->FindWindow(edmid::applyCorrectionCheck));
    ASSERT_NE(box, nullptr);
    box->SetValue(true);
    dialog->onCorrectionChanged();
    EXPECT_EQ(dialog->grid().GetColumnCount(), 12);
    expectHeadingsFit(dialog->grid());
    dialog->Destroy();
    wxTheApp->ProcessIdle();
}

TEST_F(ToolWindowPlacement, TheClosureEditorFitsTheScreenAndShowsItsHeadings) {
    CMainFrame& frame = openMainWindow();
    trvClose editor(&frame, file("loops.cls").string());
    editor.Show();
    guitest::waitForFirstPaint(&editor);
    expectInsideWorkArea(editor);
    expectHeadingsFit(editor.grid());
    editor.Hide();
}

// Each traverse type is shown whole in its column, and every column is in
// view without scrolling sideways: "LOOP_INTERIOR_REF" was cut to
// "LOOP_INTERIOR..." and the last column lay partly beyond the grid's edge.
TEST_F(ToolWindowPlacement, TheClosureEditorShowsEveryTraverseTypeWhole) {
    CMainFrame& frame = openMainWindow();
    trvClose editor(&frame, file("types.cls").string());
    editor.Show();
    guitest::waitForFirstPaint(&editor);
    gridctrl::CGridCtrl& grid = editor.grid();
    constexpr int typeColumn = 4;
    ASSERT_EQ(grid.GetCellText(0, typeColumn), "Traverse Type");
    ASSERT_GE(grid.GetRowCount(), 2);
    const std::string before = grid.GetCellText(1, typeColumn);
    for (const char* type : {"LOOP_INTERIOR_REF", "LOOP_EXTERIOR_REF", "PT_TO_PT", "GPS_LOOP"}) {
        SCOPED_TRACE(type);
        grid.SetCellText(1, typeColumn, type);
        EXPECT_GE(grid.GetColumnWidth(typeColumn),
                  grid.GetCell(1, typeColumn)->MeasureCell(nullptr).cx);
    }
    grid.SetCellText(1, typeColumn, before);
    EXPECT_LE(grid.GetTotalWidth(), grid.GetClientSize().x);
    expectInsideWorkArea(editor);
    editor.Hide();
}

} // namespace
