// The grid control in a window, as it edits: in-place editors and their
// ending keys, the owner's veto, check-box and combo cells, clipboard text,
// drag-and-drop and printing.

#include "grid_window_fixture.hpp"

#include <memory>

namespace gridtest {

TEST_F(GridWindowTest, TypingStartsAnEditThatEnterCompletes) {
    CGridCtrl& grid = makeGrid(3, 3, 1, 1);
    grid.SetCellText(1, 1, "old");
    grid.SetFocusCell(1, 1);
    typeChar(WXK_ESCAPE);
    EXPECT_FALSE(grid.IsCellEditing(1, 1)) << "Escape starts no edit";
    typeChar('7');
    auto* editor = dynamic_cast<wxTextCtrl*>(grid.GetCell(1, 1)->GetEditWindow());
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(grid.IsCellEditing(1, 1));
    EXPECT_EQ(editor->GetValue(), "7") << "a typed character replaces the text";
    key(editor, wxEVT_CHAR, WXK_RETURN);
    settle();
    EXPECT_FALSE(grid.IsCellEditing(1, 1));
    EXPECT_EQ(grid.GetCellText(1, 1), "7");
    EXPECT_TRUE(grid.IsModified(1, 1));
    ASSERT_NE(lastNotice(GRIDN_ENDEDIT), nullptr);
    EXPECT_EQ(lastNotice(GRIDN_ENDEDIT)->text, "7");
}

TEST_F(GridWindowTest, EditEndingKeysAndTheOwnersVeto) {
    const struct {
        const char* name;
        unsigned firstChar;
        int endKey;
        int veto;
        const char* expectedText;
        CCellID expectedFocus;
    } cases[] = {
        {"Esc restores", 'x', WXK_ESCAPE, 0, "old", {1, 1}},
        {"Tab moves on", 'x', WXK_TAB, 0, "x", {1, 2}},
        {"arrow ends a typed edit", 'x', WXK_DOWN, 0, "x", {2, 1}},
        {"refused by the owner", 'x', WXK_RETURN, GRIDN_ENDEDIT, "old", {1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CGridCtrl& grid = makeGrid(3, 3, 1, 1);
        grid.SetCellText(1, 1, "old");
        grid.SetModified(false);
        grid.SetFocusCell(1, 1);
        vetoCode_ = c.veto;
        int endingKey = -1;
        grid.Bind(
            EVT_GRIDN_ENDEDIT,
            [&endingKey](CGridNotifyEvent& event) {
                if (endingKey < 0)
                    endingKey = static_cast<int>(event.GetItem().data);
                event.Skip();
            },
            IDC_INPLACE_CONTROL);
        grid.OnEditCell(1, 1, wxPoint(-1, -1), c.firstChar);
        wxWindow* editor = grid.GetCell(1, 1)->GetEditWindow();
        ASSERT_NE(editor, nullptr);
        key(editor, c.endKey == WXK_DOWN ? wxEVT_KEY_DOWN : wxEVT_CHAR, c.endKey);
        settle();
        EXPECT_EQ(endingKey, c.endKey) << "the editor reports the key that ended it";
        EXPECT_EQ(grid.GetCellText(1, 1), c.expectedText);
        EXPECT_EQ(grid.IsModified(1, 1), std::string(c.expectedText) != "old");
        EXPECT_EQ(grid.GetFocusCell(), c.expectedFocus);
        EXPECT_EQ(grid.IsCellEditing(c.expectedFocus.row, c.expectedFocus.col),
                  c.endKey == WXK_TAB || c.endKey == WXK_DOWN)
            << "a navigation key carries the edit on to the next cell";
        grid.EndEditing();
        settle();
        frame_->Destroy();
        wxTheApp->ProcessIdle();
        frame_ = nullptr;
        notices_.clear();
    }
}

TEST_F(GridWindowTest, AMouseEditKeepsArrowsForTheCaret) {
    CGridCtrl& grid = makeGrid(3, 3, 1, 1);
    grid.SetCellText(1, 1, "abc");
    click(centreOf(1, 1));
    click(centreOf(1, 1));
    auto* editor = dynamic_cast<wxTextCtrl*>(grid.GetCell(1, 1)->GetEditWindow());
    ASSERT_NE(editor, nullptr) << "a click on the focus cell's text edits on release";
    EXPECT_EQ(editor->GetValue(), "abc");
    EXPECT_EQ(editor->GetInsertionPoint(), 3);
    key(editor, wxEVT_KEY_DOWN, WXK_RIGHT);
    EXPECT_TRUE(grid.IsCellEditing(1, 1)) << "Right moves the caret";
    key(editor, wxEVT_KEY_DOWN, WXK_RIGHT, false, true);
    settle();
    EXPECT_FALSE(grid.IsCellEditing(1, 1)) << "Ctrl+Right ends the edit";
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 2));
}

TEST_F(GridWindowTest, BeginEditVetoAndReadOnlyCellsKeepTheirText) {
    CGridCtrl& grid = makeGrid(3, 3, 1, 1);
    grid.SetCellText(1, 1, "a");
    grid.SetCellText(1, 2, "b");
    grid.SetFocusCell(1, 1);
    vetoCode_ = GRIDN_BEGINEDIT;
    typeChar('z');
    EXPECT_FALSE(grid.IsCellEditing(1, 1));
    grid.SetSelectedRange(1, 1, 1, 2);
    pressKey(WXK_DELETE);
    EXPECT_EQ(grid.GetCellText(1, 1), "a") << "a cut refused by the owner";
    vetoCode_ = 0;
    grid.SetCellState(1, 2, grid.GetCellState(1, 2) | GRIDSTATE_READONLY);
    pressKey(WXK_DELETE);
    EXPECT_EQ(grid.GetCellText(1, 1), "");
    EXPECT_EQ(grid.GetCellText(1, 2), "b");
}

TEST_F(GridWindowTest, CheckCellsToggleOnlyInTheirBoxWhenEditable) {
    CGridCtrl& grid = makeGrid(3, 3, 1, 1, wxSize(420, 300));
    grid.SetRowHeight(1, 30);
    grid.SetColumnWidth(1, 120);
    ASSERT_TRUE(grid.SetCellType(1, 1, cellClass<CGridCellCheck>()));
    grid.SetCellText(1, 1, "label");
    render();
    auto* check = dynamic_cast<CGridCellCheck*>(grid.GetCell(1, 1));
    ASSERT_NE(check, nullptr);
    const GridRect box = check->GetCheckBoxRect();
    GridRect cell;
    grid.GetCellRect(1, 1, &cell);
    click(wxPoint(cell.right - 5, (cell.top + cell.bottom) / 2));
    EXPECT_FALSE(check->GetCheck()) << "the text part does not toggle";
    const wxPoint inBox((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    click(inBox);
    EXPECT_TRUE(check->GetCheck());
    grid.SetCellState(1, 1, grid.GetCellState(1, 1) | GRIDSTATE_READONLY);
    click(inBox);
    EXPECT_TRUE(check->GetCheck()) << "a read-only cell keeps its state";
    grid.SetCellState(1, 1, grid.GetCellState(1, 1) & ~GRIDSTATE_READONLY);
    grid.options().editable = false;
    click(inBox);
    EXPECT_TRUE(check->GetCheck()) << "so does a read-only grid";
}

TEST_F(GridWindowTest, ComboCellsEditThroughAList) {
    CGridCtrl& grid = makeGrid(3, 3, 1, 1);
    grid.SetColumnWidth(1, 120);
    ASSERT_TRUE(grid.SetCellType(1, 1, cellClass<CGridCellCombo>()));
    auto* combo = dynamic_cast<CGridCellCombo*>(grid.GetCell(1, 1));
    combo->SetOptions({"Traverse", "Loop", "a much longer option that would need many pixels"});
    combo->SetStyle(CBS_DROPDOWNLIST);
    grid.SetCellText(1, 1, "Loop");
    grid.SetFocusCell(1, 1);
    grid.OnEditCell(1, 1, wxPoint(-1, -1), EDIT_BY_MOUSE);
    ASSERT_TRUE(combo->IsEditing());
    EXPECT_EQ(combo->GetEditWindow(), nullptr) << "a pick-only list has no edit window";
    auto* list = dynamic_cast<CInPlaceList*>(combo->CGridCell::GetEditWindow());
    ASSERT_NE(list, nullptr);
    EXPECT_LE(list->GetDropWidth(), 200);
    list->SetSelection(0);
    key(list, wxEVT_KEY_DOWN, WXK_ESCAPE);
    settle();
    EXPECT_FALSE(combo->IsEditing());
    EXPECT_EQ(grid.GetCellText(1, 1), "Loop") << "Esc puts the text back";
    grid.OnEditCell(1, 1, wxPoint(-1, -1), EDIT_BY_MOUSE);
    list = dynamic_cast<CInPlaceList*>(combo->CGridCell::GetEditWindow());
    ASSERT_NE(list, nullptr);
    list->SetSelection(0);
    key(list, wxEVT_KEY_DOWN, WXK_RETURN);
    settle();
    EXPECT_EQ(grid.GetCellText(1, 1), "Traverse");
}

TEST_F(GridWindowTest, ClipboardRoundTripAndPasteTarget) {
    CGridCtrl& grid = makeGrid(4, 4, 1, 1);
    grid.SetCellText(1, 1, "a");
    grid.SetCellText(1, 2, "b");
    grid.SetSelectedRange(1, 1, 1, 2);
    grid.SetFocusCell(1, 1);
    pressKey('C', false, true);
    grid.SetSelectedRange(-1, -1, -1, -1);
    grid.SetFocusCell(3, 2);
    pressKey('V', false, true);
    EXPECT_EQ(grid.GetCellText(3, 2), "a");
    EXPECT_EQ(grid.GetCellText(3, 3), "b");
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellSpan(3, 2, 3, 3));
}

// A move within one grid empties the dragged cells; the drop once cleared
// the selection first, so the move left them as a copy would.
TEST_F(GridWindowTest, AMoveWithinOneGridEmptiesTheSource) {
    CGridCtrl& grid = makeGrid(5, 4, 1, 1);
    grid.options().dragAndDrop = true;
    grid.SetCellText(1, 1, "x");
    grid.SetCellText(2, 1, "y");
    grid.SetSelectedRange(1, 1, 2, 1);
    std::string text;
    ASSERT_TRUE(grid.CopyText(text));
    const std::vector<CCellID> dragged{{1, 1}, {2, 1}};
    EXPECT_EQ(grid.OnDragEnter(centreOf(2, 1), wxDragMove), wxDragMove);
    EXPECT_EQ(grid.OnDragOver(centreOf(2, 1), wxDragMove), wxDragMove);
    EXPECT_EQ(grid.GetDropTargetCell(), CCellID(2, 1));
    ASSERT_TRUE(grid.OnDrop(centreOf(2, 1), text));
    grid.FinishDrag(wxDragMove, dragged);
    EXPECT_EQ(grid.GetCellText(1, 1), "") << "the moved-from cell";
    EXPECT_EQ(grid.GetCellText(2, 1), "x") << "written by the drop, kept";
    EXPECT_EQ(grid.GetCellText(3, 1), "y");
    EXPECT_EQ(grid.GetCellState(2, 1) & GRIDSTATE_DROPHILITED, 0u);
}

// The drag picture is the focus cell as the grid draws it, the default
// background masked out: drawn over magenta, every pixel that the grid
// paints in the background colour shows magenta, every other one its own.
TEST_F(GridWindowTest, TheDragImageIsTheFocusCellOverAMaskedBackground) {
    CGridCtrl& grid = makeGrid(4, 4, 1, 1);
    wxPoint hotspot(-1, -1);
    EXPECT_EQ(grid.CreateDragImage(&hotspot), nullptr) << "no focus cell yet";
    grid.SetCellText(2, 2, "Wx");
    grid.SetFocusCell(2, 2);
    GridRect cell;
    ASSERT_TRUE(grid.GetCellRect(2, 2, &cell));
    std::unique_ptr<wxDragImage> image(grid.CreateDragImage(&hotspot));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(hotspot, wxPoint(cell.Width(), cell.Height()));
    EXPECT_EQ(image->GetImageRect(wxPoint(0, 0)).GetSize(), wxSize(cell.Width(), cell.Height()));

    const wxColour magenta(255, 0, 255);
    wxBitmap canvas(cell.Width(), cell.Height(), 24);
    {
        wxMemoryDC dc(canvas);
        dc.SetBackground(wxBrush(magenta));
        dc.Clear();
        image->DoDrawImage(dc, wxPoint(0, 0));
    }
    const wxImage dragged = canvas.ConvertToImage();
    const wxImage shown = render();
    const COLORREF background = grid.GetDefaultCell(false, false)->GetBackColour();
    int masked = 0;
    int drawn = 0;
    for (int y = 1; y < cell.Height() - 1; ++y) {
        for (int x = 1; x < cell.Width() - 1; ++x) {
            const COLORREF own = pixelAt(shown, cell.left + x, cell.top + y);
            const COLORREF expected = own == background ? rgb(255, 0, 255) : own;
            ASSERT_EQ(pixelAt(dragged, x, y), expected) << x << ", " << y;
            ++(own == background ? masked : drawn);
        }
    }
    EXPECT_GT(masked, 0);
    EXPECT_GT(drawn, 0) << "the text shows";
}

TEST_F(GridWindowTest, DropTargetsRefuseReadOnlyCellsAndCopyWithCtrl) {
    CGridCtrl& grid = makeGrid(4, 4, 1, 1);
    grid.options().dragAndDrop = true;
    grid.SetCellState(2, 2, GRIDSTATE_READONLY);
    EXPECT_EQ(grid.OnDragOver(centreOf(2, 2), wxDragMove), wxDragNone);
    EXPECT_EQ(grid.OnDragOver(centreOf(1, 1), wxDragCopy), wxDragCopy);
    EXPECT_EQ(grid.GetCellState(1, 1) & GRIDSTATE_DROPHILITED, GRIDSTATE_DROPHILITED);
    EXPECT_EQ(grid.OnDragOver(centreOf(0, 0), wxDragMove), wxDragNone) << "no fixed cells";
    EXPECT_EQ(grid.GetCellState(1, 1) & GRIDSTATE_DROPHILITED, 0u);
    grid.FinishDrag(wxDragCopy, {{1, 1}});
    grid.options().dragAndDrop = false;
    EXPECT_EQ(grid.OnDragEnter(centreOf(1, 1), wxDragMove), wxDragNone);
}

// A printed cell with its own background but no text colour of its own
// prints in its default cell's text colour, not in the marker's black.
TEST_F(GridWindowTest, PrintedTextColourNeverTakesTheDefaultMarker) {
    CGridCtrl& grid = makeGrid(2, 2, 0, 0);
    grid.GetDefaultCell(false, false)->SetTextColour(rgb(255, 0, 0));
    grid.SetCellText(1, 1, "MMMM");
    grid.SetCellBkColor(1, 1, rgb(255, 255, 0));
    wxBitmap bitmap(80, 30, 24);
    wxImage image;
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        ASSERT_TRUE(grid.GetCell(1, 1)->DrawForPrint(&dc, 1, 1, GridRect{0, 0, 79, 29}));
    }
    image = bitmap.ConvertToImage();
    int red = 0;
    int black = 0;
    for (int x = 0; x < 80; ++x) {
        for (int y = 0; y < 30; ++y) {
            const COLORREF c = pixelAt(image, x, y);
            red += redOf(c) > 150 && greenOf(c) < 100 && blueOf(c) < 100;
            black += redOf(c) < 60 && greenOf(c) < 60 && blueOf(c) < 60;
        }
    }
    EXPECT_GT(red, 10);
    EXPECT_EQ(black, 0);
}

TEST_F(GridWindowTest, PrintoutPagesAFileOfRows) {
    CGridCtrl& grid = makeGrid(200, 4, 1, 1);
    for (int row = 1; row < 200; ++row)
        grid.SetCellText(row, 1, std::to_string(row));
    CGridPrintout printout(grid);
    wxBitmap page(850, 1100, 24);
    wxMemoryDC dc(page);
    printout.SetDC(&dc);
    printout.SetPageSizePixels(850, 1100);
    printout.SetPPIPrinter(100, 100);
    printout.SetPPIScreen(100, 100);
    printout.OnPreparePrinting();
    EXPECT_GT(printout.layout().pageCount(), 1);
    EXPECT_EQ(printout.layout().pagesAcross(), 1);
    EXPECT_TRUE(printout.OnPrintPage(1));
    EXPECT_TRUE(printout.OnPrintPage(printout.layout().pageCount()));
    EXPECT_FALSE(printout.HasPage(printout.layout().pageCount() + 1));
}

TEST_F(GridWindowTest, TheEditorWidensWithItsTextUpToTheGridEdge) {
    CGridCtrl& grid = makeGrid(3, 3, 1, 1, wxSize(400, 200));
    grid.SetColumnWidth(1, 60);
    grid.SetFocusCell(1, 1);
    grid.OnEditCell(1, 1, wxPoint(-1, -1), 'a');
    auto* editor = dynamic_cast<wxTextCtrl*>(grid.GetCell(1, 1)->GetEditWindow());
    ASSERT_NE(editor, nullptr);
    const wxRect start = editor->GetRect();
    editor->ChangeValue("abcdefgh");
    key(editor, wxEVT_CHAR, 'h');
    settle();
    EXPECT_GT(editor->GetRect().width, start.width) << "a text wider than the cell";
    editor->ChangeValue(std::string(200, 'w'));
    key(editor, wxEVT_CHAR, 'w');
    settle();
    EXPECT_EQ(editor->GetRect().GetRight() + 1, grid.GetClientSize().x)
        << "no further than the grid's right edge";
    grid.EndEditing();
    settle();
}

// The X server of the tests has no window manager to move the focus, so the
// loss of focus is sent to the editor as the toolkit would send it.
TEST_F(GridWindowTest, LosingTheFocusEndsAnEditWithKeyZero) {
    CGridCtrl& grid = makeGrid(3, 3, 1, 1);
    grid.SetFocusCell(1, 1);
    int endingKey = -1;
    grid.Bind(
        EVT_GRIDN_ENDEDIT,
        [&endingKey](CGridNotifyEvent& event) {
            endingKey = static_cast<int>(event.GetItem().data);
            event.Skip();
        },
        IDC_INPLACE_CONTROL);
    grid.OnEditCell(1, 1, wxPoint(-1, -1), 'q');
    wxWindow* editor = grid.GetCell(1, 1)->GetEditWindow();
    ASSERT_NE(editor, nullptr);
    wxFocusEvent lost(wxEVT_KILL_FOCUS, editor->GetId());
    lost.SetEventObject(editor);
    editor->ProcessWindowEvent(lost);
    settle();
    EXPECT_FALSE(grid.IsCellEditing(1, 1));
    EXPECT_EQ(endingKey, 0);
    EXPECT_EQ(grid.GetCellText(1, 1), "q");
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 1)) << "no key, no move";
}

// The same editing through the X server: real pointer clicks and key
// presses, so the toolkit's own order of focus, size and key events is met.
TEST_F(GridWindowTest, RealClicksAndKeysEditCells) {
    CGridCtrl& grid = makeGrid(4, 3, 1, 1);
    frame_->Raise();
    wxUIActionSimulator user;
    // Runs the events until `done` holds or the X server has long answered.
    user.MouseMove(grid.ClientToScreen(centreOf(2, 1)));
    user.MouseClick();
    if (!runUntil([&] { return grid.GetFocusCell() == CCellID(2, 1); }))
        GTEST_SKIP() << "the X server delivered no click";
    user.MouseClick();
    ASSERT_TRUE(runUntil([&] { return grid.IsCellEditing(2, 1); }))
        << "a second click on the focus cell edits it";
    user.Char('5');
    user.Char(WXK_RETURN);
    if (!runUntil([&] { return !grid.IsCellEditing(2, 1); }))
        GTEST_SKIP() << "the X server gave the editor no keys";
    EXPECT_EQ(grid.GetCellText(2, 1), "5");
    user.Char(WXK_DOWN);
    ASSERT_TRUE(runUntil([&] { return grid.GetFocusCell() == CCellID(3, 1); }));
    user.Char('8');
    user.Char(WXK_TAB);
    ASSERT_TRUE(runUntil([&] { return grid.IsCellEditing(3, 2); }))
        << "Tab carries the edit on to the next cell";
    EXPECT_EQ(grid.GetCellText(3, 1), "8");
    user.Char('9');
    user.Char(WXK_ESCAPE);
    ASSERT_TRUE(runUntil([&] { return !grid.IsCellEditing(3, 2); }));
    EXPECT_EQ(grid.GetCellText(3, 2), "");
    settle();
}

TEST_F(GridWindowTest, RealClicksPickFromAComboAndTickACheckBox) {
    CGridCtrl& grid = makeGrid(3, 3, 1, 1);
    grid.SetColumnWidth(1, 120);
    grid.SetRowHeight(1, 26);
    grid.SetCellType(1, 1, cellClass<CGridCellCombo>());
    auto* combo = dynamic_cast<CGridCellCombo*>(grid.GetCell(1, 1));
    combo->SetOptions({"Traverse", "Loop", "Sideshot"});
    combo->SetStyle(CBS_DROPDOWNLIST);
    grid.SetCellText(1, 1, "Traverse");
    grid.SetCellType(1, 2, cellClass<CGridCellCheck>());
    auto* check = dynamic_cast<CGridCellCheck*>(grid.GetCell(1, 2));
    frame_->Raise();
    grid.Refresh();
    guitest::waitForFirstPaint(grid_);
    wxUIActionSimulator user;
    user.MouseMove(grid.ClientToScreen(centreOf(1, 1)));
    user.MouseClick();
    if (!runUntil([&] { return grid.GetFocusCell() == CCellID(1, 1); }))
        GTEST_SKIP() << "the X server delivered no click";
    user.MouseClick();
    ASSERT_TRUE(runUntil([&] { return combo->IsEditing(); }));
    // Down and Enter pick the next option; while the list is dropped the
    // first Enter only closes it.
    user.Char(WXK_DOWN);
    user.Char(WXK_RETURN);
    if (!runUntil([&] { return !combo->IsEditing(); })) {
        user.Char(WXK_RETURN);
        runUntil([&] { return !combo->IsEditing(); });
    }
    EXPECT_FALSE(combo->IsEditing());
    EXPECT_EQ(grid.GetCellText(1, 1), "Loop");
    const GridRect box = check->GetCheckBoxRect();
    user.MouseMove(
        grid.ClientToScreen(wxPoint((box.left + box.right) / 2, (box.top + box.bottom) / 2)));
    user.MouseClick();
    EXPECT_TRUE(runUntil([&] { return check->GetCheck(); })) << "a click in the box ticks it";
    settle();
}

} // namespace gridtest
