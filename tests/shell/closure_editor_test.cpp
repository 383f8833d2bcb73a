// The closure definition editor: a new file with its one default row, the
// check-box and combo cells written back, rows that are left empty, and the
// File menu and settings page commands that open it.

#include "gridctrl/check_combo_cells.hpp"
#include "gui_test_support.hpp"
#include "shell/command_ids.hpp"
#include "shell/settings/settings_ids.hpp"
#include "shell/settings/settings_page.hpp"
#include "shell/settings/settings_sheet.hpp"
#include "shell/tools/closure_editor.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <wx/app.h>

namespace {

using guitest::ChooseFile;
using guitest::ExpectMessage;
using guitest::OnDialog;
using guitest::ShellTest;
namespace fs = std::filesystem;

const fs::path screenshots = fs::path(TARNWELL_BINARY_DIR) / "screenshots";

gridctrl::CGridCellCheck* checkCell(trvClose& editor, int row, int col) {
    auto* cell = dynamic_cast<gridctrl::CGridCellCheck*>(editor.grid().GetCell(row, col));
    EXPECT_NE(cell, nullptr) << row << ", " << col;
    return cell;
}

using ClosureEditor = ShellTest;

} // namespace

TEST_F(ClosureEditor, ANewFileGetsOneDefaultRowAndKeepsWhatIsEdited) {
    CMainFrame& frame = openMainWindow();
    const std::string path = file("loops.cls").string();
    {
        trvClose editor(&frame, path);
        ASSERT_TRUE(fs::exists(path)) << "the file is created";
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        EXPECT_EQ(editor.GetTitle(), "Traverse Closure File: " + path);
        gridctrl::CGridCtrl& grid = editor.grid();
        ASSERT_EQ(grid.GetRowCount(), 2);
        EXPECT_EQ(grid.GetColumnCount(), 5);
        EXPECT_EQ(grid.GetCellText(0, 1), "Ordered Traverse Point list");
        EXPECT_EQ(grid.GetColumnWidth(1), 320);
        EXPECT_EQ(grid.GetCellText(1, 0), "1");
        EXPECT_EQ(grid.GetCellText(1, 1), "");
        EXPECT_TRUE(checkCell(editor, 1, 2)->GetCheck());
        EXPECT_TRUE(checkCell(editor, 1, 3)->GetCheck());
        EXPECT_EQ(grid.GetCellText(1, 4), "LOOP_INTERIOR_REF");
        auto* combo = dynamic_cast<gridctrl::CGridCellCombo*>(grid.GetCell(1, 4));
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(combo->GetOptions(),
                  (std::vector<std::string>{"LOOP_INTERIOR_REF", "LOOP_EXTERIOR_REF", "PT_TO_PT",
                                            "GPS_LOOP"}));

        grid.SetCellText(1, 1, "1,2,3,4,cp9");
        checkCell(editor, 1, 2)->SetCheck(false);
        grid.SetCellText(1, 4, "PT_TO_PT");
        editor.appendDefinitionRow();
        editor.appendDefinitionRow();
        ASSERT_EQ(grid.GetRowCount(), 4);
        EXPECT_EQ(grid.GetCellText(3, 0), "3");
        grid.SetCellText(3, 1, "g1-g3,g1");
        checkCell(editor, 3, 3)->SetCheck(false);
        grid.SetCellText(3, 4, "GPS_LOOP");
        editor.Show();
        guitest::waitForFirstPaint(&editor);
        EXPECT_TRUE(guitest::saveScreenshot(&editor, screenshots / "closure_editor.png"));
        ASSERT_TRUE(editor.writeClosureFile());
    }
    // The empty second row is not written; names come back upper-case and
    // consecutive numbers as a range.
    EXPECT_EQ(testsupport::readBytes(path),
              "VERT_CLOSURE OFF\r\nANG_CLOSURE ON\r\nTRAV_TYPE PT_TO_PT\r\n"
              "TRAV_LIST 1,2,3,4,cp9\r\nTRAV_END\r\n"
              "VERT_CLOSURE ON\r\nANG_CLOSURE OFF\r\nTRAV_TYPE GPS_LOOP\r\n"
              "TRAV_LIST g1-g3,g1\r\nTRAV_END\r\n");
    trvClose reopened(&frame, path);
    gridctrl::CGridCtrl& grid = reopened.grid();
    ASSERT_EQ(grid.GetRowCount(), 3);
    EXPECT_EQ(grid.GetCellText(1, 1), "1-4,CP9");
    EXPECT_FALSE(checkCell(reopened, 1, 2)->GetCheck());
    EXPECT_TRUE(checkCell(reopened, 1, 3)->GetCheck());
    EXPECT_EQ(grid.GetCellText(1, 4), "PT_TO_PT");
    EXPECT_EQ(grid.GetCellText(2, 1), "G1-G3,G1");
    EXPECT_EQ(grid.GetCellText(2, 4), "GPS_LOOP");

    // Delete Current Row renumbers the rows below.
    reopened.setCurrentRow(1);
    reopened.deleteCurrentRow();
    ASSERT_EQ(grid.GetRowCount(), 2);
    EXPECT_EQ(grid.GetCellText(1, 0), "1");
    EXPECT_EQ(grid.GetCellText(1, 1), "G1-G3,G1");
    reopened.setCurrentRow(0);
    reopened.deleteCurrentRow();
    EXPECT_EQ(grid.GetRowCount(), 2) << "no row is current";
}

// Delete Current Row removes the row the user clicked (or the rows of a
// shift-click selection), and OK writes what is left.
TEST_F(ClosureEditor, DeleteRemovesTheClickedRowsAndOkWritesTheRest) {
    CMainFrame& frame = openMainWindow();
    const std::string path = file("four.cls").string();
    const auto definition = [](const char* list) {
        return std::string("VERT_CLOSURE ON\r\nANG_CLOSURE ON\r\nTRAV_TYPE PT_TO_PT\r\n") +
               "TRAV_LIST " + list + "\r\nTRAV_END\r\n";
    };
    testsupport::writeBytes(path, definition("1,5") + definition("2,6") + definition("3,7") +
                                      definition("4,8"));
    trvClose editor(&frame, path);
    const auto tool = [&editor](int id) {
        wxCommandEvent event(wxEVT_TOOL, id);
        event.SetEventObject(&editor);
        editor.ProcessWindowEvent(event);
    };
    int answer = 0;
    editor.CallAfter([&] {
        guitest::waitForFirstPaint(&editor);
        gridctrl::CGridCtrl& grid = editor.grid();
        guitest::clickCell(grid, 2, 1);
        EXPECT_EQ(editor.currentRow(), 2);
        tool(closureid::deleteRowTool);
        ASSERT_EQ(grid.GetRowCount(), 4);
        EXPECT_EQ(grid.GetCellText(2, 0), "2");
        EXPECT_EQ(grid.GetCellText(2, 1), "3,7");
        guitest::clickCell(grid, 2, 0);
        guitest::clickCell(grid, 3, 0, true);
        tool(closureid::deleteRowTool);
        ASSERT_EQ(grid.GetRowCount(), 2);
        EXPECT_EQ(grid.GetCellText(1, 1), "1,5");
        wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
        ok.SetEventObject(editor.FindWindow(wxID_OK));
        editor.ProcessWindowEvent(ok);
    });
    {
        guitest::RealDialogsAllowed shown;
        answer = editor.ShowModal();
    }
    EXPECT_EQ(answer, wxID_OK);
    EXPECT_EQ(testsupport::readBytes(path), definition("1,5"));
}

// Escape in a cell's editor ends the edit only: the dialog stays open and
// the cell keeps its text.
TEST_F(ClosureEditor, EscapeInACellLeavesTheEditOnly) {
    CMainFrame& frame = openMainWindow();
    const std::string path = file("one.cls").string();
    testsupport::writeBytes(path, "TRAV_TYPE PT_TO_PT\r\nTRAV_LIST 1,5\r\nTRAV_END\r\n");
    trvClose editor(&frame, path);
    bool editing = false;
    bool stillEditing = true;
    bool open = false;
    editor.CallAfter([&] {
        guitest::waitForFirstPaint(&editor);
        gridctrl::CGridCtrl& grid = editor.grid();
        guitest::clickCell(grid, 1, 1);
        guitest::pressKey(&grid, 'X');
        if (wxWindow* cellEditor = grid.GetCell(1, 1)->GetEditWindow()) {
            editing = true;
            guitest::pressKey(cellEditor, WXK_ESCAPE);
            wxTheApp->ProcessPendingEvents();
        }
        stillEditing = grid.IsCellEditing(1, 1);
        open = editor.IsModal();
        editor.EndModal(wxID_CANCEL);
    });
    {
        guitest::RealDialogsAllowed shown;
        editor.ShowModal();
    }
    EXPECT_TRUE(editing) << "the typed key started an edit";
    EXPECT_FALSE(stillEditing);
    EXPECT_TRUE(open) << "Escape left the dialog open";
    EXPECT_EQ(editor.grid().GetCellText(1, 1), "1,5");
}

// A line the editor cannot read is named; a last line without its line end
// still counts; a file that cannot be written is named and left as it was.
TEST_F(ClosureEditor, ErrorsAreNamedAndNothingIsLost) {
    CMainFrame& frame = openMainWindow();
    const std::string path = file("old.cls").string();
    const std::string previous = "what is this\r\nANG_CLOSURE ON\r\nTRAV_LIST 7,9\r\nTRAV_END";
    testsupport::writeBytes(path, previous);
    std::unique_ptr<trvClose> editor;
    wxTEST_DIALOG(editor = std::make_unique<trvClose>(&frame, path),
                  ExpectMessage("Error parsing record: WHAT IS THIS\r\nFile: " + path +
                                    ", line 1: The keyword is missing.",
                                wxOK));
    ASSERT_EQ(editor->grid().GetRowCount(), 2);
    EXPECT_EQ(editor->grid().GetCellText(1, 1), "7,9");
    // Files of this process may not grow past 16 bytes: the new contents
    // cannot be written anywhere.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 16;
    editor->grid().SetCellText(1, 1, "1,2,3,4,5,6,7,8,9,10,11,12");
    setrlimit(RLIMIT_FSIZE, &small);
    bool written = true;
    wxTEST_DIALOG(written = editor->writeClosureFile(),
                  guitest::OnDialog<wxMessageDialog>([&](wxMessageDialog& box) {
                      EXPECT_EQ(box.GetMessage().utf8_string().rfind("Error opening " + path, 0),
                                0u);
                      return wxID_OK;
                  }));
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(written);
    EXPECT_EQ(testsupport::readBytes(path), previous);
}

TEST_F(ClosureEditor, TheFileCommandsOpenIt) {
    CMainFrame& frame = openMainWindow();
    const auto command = [&frame](int id) {
        wxCommandEvent event(wxEVT_MENU, id);
        frame.ProcessWindowEvent(event);
    };
    wxTEST_DIALOG(command(shellid::newClosureFile),
                  ChooseFile(file("made.cls"), "New Traverse Closure File"),
                  OnDialog<trvClose>([](trvClose& editor) {
                      editor.grid().SetCellText(1, 1, "5,6");
                      EXPECT_TRUE(editor.writeClosureFile());
                      return wxID_OK;
                  }));
    EXPECT_EQ(testsupport::readBytes(file("made.cls")),
              "VERT_CLOSURE ON\r\nANG_CLOSURE ON\r\nTRAV_TYPE LOOP_INTERIOR_REF\r\n"
              "TRAV_LIST 5,6\r\nTRAV_END\r\n");
    wxTEST_DIALOG(command(shellid::openClosureFile), ChooseFile(file("made.cls")),
                  OnDialog<trvClose>([](trvClose& editor) {
                      EXPECT_EQ(editor.grid().GetCellText(1, 1), "5-6");
                      return wxID_CANCEL;
                  }));
}

// The Preprocessing page's Edit/Create button opens the editor on the
// page's closure file.
TEST_F(ClosureEditor, ThePreprocessingPageOpensItOnItsFile) {
    const std::string path = file("page.cls").string();
    guitest::writeProject(file("site.prj"), {"includeClosure=1", "pClosureFileName=" + path});
    CMainFrame& frame = openMainWindow();
    wxTEST_DIALOG(frame.openProject(), ChooseFile(file("site.prj")));
    std::string title;
    wxTEST_DIALOG(frame.editProjectSettings(),
                  OnDialog<CSettingsPropSht>([](CSettingsPropSht& sheet) {
                      wxWindow* page = &sheet.page(settingsid::preprocessingPage);
                      wxWindow* button = page->FindWindow(settingsid::closureEditButton);
                      EXPECT_TRUE(button->IsEnabled());
                      wxCommandEvent click(wxEVT_BUTTON, settingsid::closureEditButton);
                      click.SetEventObject(button);
                      button->ProcessWindowEvent(click);
                      return wxID_CANCEL;
                  }),
                  OnDialog<trvClose>([&title](trvClose& editor) {
                      title = editor.GetTitle().utf8_string();
                      return wxID_CANCEL;
                  }));
    EXPECT_EQ(title, "Traverse Closure File: " + path);
    EXPECT_TRUE(fs::exists(path));
}
