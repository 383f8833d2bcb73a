// The grid control in a window: painting (checked in a memory bitmap drawn
// by the grid's own drawing routine), mouse and keys (synthetic events sent
// through the window's event handling), in-place editing, check-box and
// combo cells, sorting, clipboard, drag-and-drop, printing and a
// demonstration grid whose screenshot is kept.

#include "gridctrl/check_combo_cells.hpp"
#include "gridctrl/grid_ctrl.hpp"
#include "gridctrl/grid_printout.hpp"
#include "gridctrl/inplace_edit.hpp"
#include "gridctrl/title_tip.hpp"
#include "gridctrl/toolkit_seams.hpp"
#include "gui_test_support.hpp"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/settings.h>
#include <wx/uiaction.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace gridctrl;

namespace {

COLORREF pixelAt(const wxImage& image, int x, int y) {
    return rgb(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

struct Notice {
    int code;
    int row;
    int col;
    std::intptr_t data;
    std::string text;
};

class GridWindowTest : public ::testing::Test {
protected:
    ~GridWindowTest() override {
        if (frame_ != nullptr) {
            frame_->Destroy();
            wxTheApp->ProcessIdle();
        }
    }

    CGridCtrl& makeGrid(int rows, int cols, int fixedRows, int fixedCols,
                        wxSize size = wxSize(420, 300)) {
        frame_ = new wxFrame(nullptr, wxID_ANY, "Grid");
        grid_ = new CGridCtrl(rows, cols, fixedRows, fixedCols);
        grid_->Create(frame_, 1221, wxPoint(0, 0), size);
        frame_->SetClientSize(size);
        for (wxEventType type : {EVT_GRIDN_CLICK, EVT_GRIDN_DBLCLK, EVT_GRIDN_RCLICK,
                                 EVT_GRIDN_SELCHANGING, EVT_GRIDN_SELCHANGED, EVT_GRIDN_BEGINEDIT,
                                 EVT_GRIDN_ENDEDIT, EVT_GRIDN_BEGINDRAG, EVT_GRIDN_CACHEHINT})
            frame_->Bind(wxEventTypeTag<CGridNotifyEvent>(type), [this](CGridNotifyEvent& event) {
                notices_.push_back({event.GetCode(), event.GetRow(), event.GetColumn(),
                                    event.GetItem().data, event.GetItem().text});
                if (event.GetCode() == vetoCode_)
                    event.Veto();
            });
        frame_->Show();
        guitest::waitForFirstPaint(grid_);
        return *grid_;
    }

    // The grid's picture, drawn by its own drawing routine into a bitmap.
    wxImage render() {
        const wxSize size = grid_->GetClientSize();
        wxBitmap bitmap(size.x, size.y, 24);
        {
            wxMemoryDC dc(bitmap);
            grid_->OnDraw(dc);
        }
        return bitmap.ConvertToImage();
    }

    wxPoint centreOf(int row, int col) {
        GridRect rect;
        EXPECT_TRUE(grid_->GetCellRect(row, col, &rect));
        return wxPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }

    void mouse(wxEventType type, wxPoint point, bool shift = false, bool ctrl = false) {
        wxMouseEvent event(type);
        event.SetPosition(point);
        event.SetShiftDown(shift);
        event.SetControlDown(ctrl);
        event.SetLeftDown(type == wxEVT_LEFT_DOWN || type == wxEVT_MOTION);
        event.SetEventObject(grid_);
        grid_->ProcessWindowEvent(event);
    }

    // The pointer moving with no button held.
    void hover(wxPoint point) {
        wxMouseEvent event(wxEVT_MOTION);
        event.SetPosition(point);
        event.SetEventObject(grid_);
        grid_->ProcessWindowEvent(event);
    }

    void click(wxPoint point, bool shift = false, bool ctrl = false) {
        mouse(wxEVT_LEFT_DOWN, point, shift, ctrl);
        mouse(wxEVT_LEFT_UP, point, shift, ctrl);
    }

    static bool key(wxWindow* window, wxEventType type, int code, bool shift = false,
                    bool ctrl = false) {
        wxKeyEvent event(type);
        event.m_keyCode = code;
        event.m_uniChar =
            code < WXK_START ? static_cast<wxChar>(code) : static_cast<wxChar>(WXK_NONE);
        event.SetShiftDown(shift);
        event.SetControlDown(ctrl);
        event.SetEventObject(window);
        return window->ProcessWindowEvent(event);
    }

    // True when the grid used the key (it was not left to the dialog).
    bool pressKey(int code, bool shift = false, bool ctrl = false) {
        return key(grid_, wxEVT_KEY_DOWN, code, shift, ctrl);
    }

    void typeChar(int code) { key(grid_, wxEVT_CHAR, code); }

    std::vector<int> codes() const {
        std::vector<int> seen;
        for (const Notice& notice : notices_)
            seen.push_back(notice.code);
        return seen;
    }

    const Notice* lastNotice(int code) const {
        for (auto it = notices_.rbegin(); it != notices_.rend(); ++it)
            if (it->code == code)
                return &*it;
        return nullptr;
    }

    // Lets the windows that editors closed go away.
    static void settle() {
        for (int round = 0; round < 5; ++round) {
            wxTheApp->ProcessPendingEvents();
            wxTheApp->ProcessIdle();
        }
    }

    wxFrame* frame_ = nullptr;
    CGridCtrl* grid_ = nullptr;
    std::vector<Notice> notices_;
    int vetoCode_ = 0;
};

} // namespace

TEST_F(GridWindowTest, SelectionFocusFrameGridLinesAndOutsideArea) {
    CGridCtrl& grid = makeGrid(4, 3, 1, 1);
    grid.SetFocusCell(1, 1);
    grid.SetSelectedRange(1, 1, 2, 2);
    const wxImage image = render();
    GridRect selected;
    ASSERT_TRUE(grid.GetCellRect(2, 2, &selected));
    EXPECT_EQ(pixelAt(image, selected.left + 5, selected.top + 5),
              systemColour(SystemColour::highlight))
        << "a selected cell that is not focused fills with the highlight";
    GridRect focus;
    ASSERT_TRUE(grid.GetCellRect(1, 1, &focus));
    EXPECT_EQ(pixelAt(image, focus.left, focus.top + 5), systemColour(SystemColour::highlightText))
        << "the focus frame of a selected focus cell takes the highlighted text colour";
    GridRect plain;
    ASSERT_TRUE(grid.GetCellRect(3, 1, &plain));
    EXPECT_EQ(pixelAt(image, plain.right, plain.top + 5), grid.options().gridLineColour)
        << "vertical grid line on the cell's last pixel";
    EXPECT_EQ(pixelAt(image, plain.left + 5, plain.bottom), grid.options().gridLineColour)
        << "horizontal grid line";
    EXPECT_EQ(pixelAt(image, plain.left + 5, plain.top + 5),
              grid.GetDefaultCell(false, false)->GetBackColour());
    const wxSize client = grid.GetClientSize();
    EXPECT_EQ(pixelAt(image, client.x - 2, client.y - 2), systemColour(SystemColour::buttonShadow))
        << "outside the cells";
}

TEST_F(GridWindowTest, FocusFrameWithoutGridLinesCoversTheLinePixels) {
    CGridCtrl& grid = makeGrid(3, 3, 1, 1);
    grid.options().gridLines = GRIDLINES_NONE;
    grid.SetDefaultCellType(cellClass<CGridCell>());
    grid.GetDefaultCell(false, false)->SetTextColour(rgb(200, 0, 0));
    grid.SetFocusCell(1, 1);
    const wxImage image = render();
    GridRect focus;
    ASSERT_TRUE(grid.GetCellRect(1, 1, &focus));
    EXPECT_EQ(pixelAt(image, focus.right, focus.top + 5), rgb(200, 0, 0));
    EXPECT_EQ(pixelAt(image, focus.left + 5, focus.bottom), rgb(200, 0, 0));
}

TEST_F(GridWindowTest, ScrollBarsFollowTheRows) {
    CGridCtrl& grid = makeGrid(3, 3, 1, 1, wxSize(300, 200));
    EXPECT_FALSE(grid.HasScrollbar(wxVERTICAL) && grid.GetScrollRange(wxVERTICAL) > 0);
    grid.SetRowCount(60);
    EXPECT_GT(grid.GetScrollRange(wxVERTICAL), 0);
    EXPECT_EQ(grid.GetScrollRange(wxVERTICAL), grid.GetTotalHeight() - grid.GetFixedRowHeight());
    grid.ScrollAction(wxVERTICAL, wxEVT_SCROLLWIN_LINEDOWN);
    EXPECT_EQ(grid.GetScrollPos32(wxVERTICAL), grid.GetRowHeight(1));
    EXPECT_EQ(grid.GetTopLeftNonFixedCell(), CCellID(2, 1));
    grid.ScrollAction(wxVERTICAL, wxEVT_SCROLLWIN_BOTTOM);
    EXPECT_TRUE(grid.IsCellVisible(59, 1));
    grid.ScrollAction(wxVERTICAL, wxEVT_SCROLLWIN_TOP);
    EXPECT_EQ(grid.GetScrollPos32(wxVERTICAL), 0);
}

TEST_F(GridWindowTest, ClicksSelectShiftExtendsCtrlDeselects) {
    CGridCtrl& grid = makeGrid(6, 5, 1, 1, wxSize(800, 300));
    click(centreOf(1, 1));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 1));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellSpan(1, 1, 1, 1));
    click(centreOf(3, 2), true);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellSpan(1, 1, 3, 2))
        << "Shift extends from the anchor";
    click(centreOf(2, 2), false, true);
    EXPECT_FALSE(grid.IsCellSelected(2, 2)) << "Ctrl+click on a selected cell deselects it";
    EXPECT_TRUE(grid.IsCellSelected(3, 2));
    // Ctrl+drag from an unselected cell adds a rectangle.
    mouse(wxEVT_LEFT_DOWN, centreOf(4, 3), false, true);
    mouse(wxEVT_MOTION, centreOf(5, 4), false, true);
    mouse(wxEVT_LEFT_UP, centreOf(5, 4), false, true);
    EXPECT_TRUE(grid.IsCellSelected(1, 1));
    EXPECT_TRUE(grid.IsCellSelected(5, 4));
    EXPECT_TRUE(grid.IsCellSelected(4, 3));
    EXPECT_EQ(codes().back(), NM_CLICK);
}

TEST_F(GridWindowTest, HeadingClicksSelectColumnsRowsOrAll) {
    CGridCtrl& grid = makeGrid(5, 4, 1, 1);
    click(centreOf(0, 2));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellSpan(1, 2, 4, 2));
    click(centreOf(3, 0));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellSpan(3, 1, 3, 3));
    click(centreOf(0, 0));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellSpan(1, 1, 4, 3));
}

TEST_F(GridWindowTest, KeysMoveTheFocusTabWrapsAndLeavesFromTheLastCell) {
    CGridCtrl& grid = makeGrid(4, 4, 1, 1);
    grid.SetColumnWidth(2, 0);
    grid.SetFocusCell(1, 1);
    EXPECT_TRUE(pressKey(WXK_RIGHT));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 3)) << "the hidden column is passed";
    EXPECT_TRUE(pressKey(WXK_TAB));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 1)) << "Tab in the last column wraps";
    EXPECT_TRUE(pressKey(WXK_TAB, true));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 3)) << "Shift+Tab wraps back";
    EXPECT_TRUE(pressKey(WXK_DOWN, true));
    EXPECT_TRUE(pressKey(WXK_DOWN, true));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellSpan(1, 3, 3, 3)) << "Shift+arrow extends";
    EXPECT_FALSE(pressKey(WXK_TAB)) << "Tab in the last cell leaves the grid";
    EXPECT_TRUE(pressKey(WXK_HOME, false, true));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 1));
    EXPECT_TRUE(pressKey(WXK_END, false, true));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 3));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellSpan(3, 3, 3, 3)) << "a plain key selects one cell";
}

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

TEST_F(GridWindowTest, ColumnBorderDragResizes) {
    const struct {
        const char* name;
        int releaseOffset; // from the column's left edge; 0 = where it started
        bool mayHide;
        int expectedWidth; // -1: unchanged
    } cases[] = {
        {"released where it started", 0, true, -1},
        {"wider", 70, true, 70},
        {"left of the column", -15, true, 0},
        {"left of the column, no hiding", -15, false, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CGridCtrl& grid = makeGrid(3, 4, 1, 1, wxSize(600, 300));
        grid.options().columnsMayHide = c.mayHide;
        const int before = grid.GetColumnWidth(2);
        GridRect heading;
        ASSERT_TRUE(grid.GetCellRect(0, 2, &heading));
        const wxPoint border(heading.right, (heading.top + heading.bottom) / 2);
        hover(border);
        ASSERT_EQ(grid.GetMouseMode(), MOUSE_OVER_COL_DIVIDE);
        mouse(wxEVT_LEFT_DOWN, border);
        EXPECT_EQ(grid.GetMouseMode(), MOUSE_SIZING_COL);
        const wxPoint release =
            c.releaseOffset == 0 ? border : wxPoint(heading.left + c.releaseOffset, border.y);
        mouse(wxEVT_MOTION, release);
        mouse(wxEVT_LEFT_UP, release);
        EXPECT_EQ(grid.GetColumnWidth(2), c.expectedWidth < 0 ? before : c.expectedWidth);
        frame_->Destroy();
        wxTheApp->ProcessIdle();
        frame_ = nullptr;
    }
}

TEST_F(GridWindowTest, DoubleClickOnABorderSizesTheColumnToFit) {
    CGridCtrl& grid = makeGrid(3, 4, 1, 1);
    grid.SetCellText(1, 1, "a text much wider than forty pixels");
    GridRect heading;
    ASSERT_TRUE(grid.GetCellRect(0, 2, &heading));
    const wxPoint border(heading.left + 1, (heading.top + heading.bottom) / 2);
    hover(border);
    mouse(wxEVT_LEFT_DCLICK, border);
    wxClientDC dc(&grid);
    EXPECT_EQ(grid.GetColumnWidth(1), grid.GetCell(1, 1)->MeasureCell(&dc).cx)
        << "the column left of the border";
    EXPECT_GT(grid.GetColumnWidth(1), 100);
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

TEST_F(GridWindowTest, HeadingClicksSortAscendingThenDescendingWithAnArrow) {
    CGridCtrl& grid = makeGrid(5, 3, 1, 1);
    grid.options().sortOnHeadingClick = true;
    const char* keys[] = {"c", "a", "d", "b"};
    for (int row = 1; row <= 4; ++row)
        grid.SetCellText(row, 1, keys[row - 1]);
    grid.SetColumnWidth(1, 80);
    grid.SetRowHeight(0, 30);
    click(centreOf(0, 1));
    EXPECT_EQ(grid.GetCellText(1, 1) + grid.GetCellText(4, 1), "ad");
    EXPECT_TRUE(grid.GetSortAscending());
    click(centreOf(0, 1));
    EXPECT_EQ(grid.GetCellText(1, 1) + grid.GetCellText(4, 1), "da");
    EXPECT_FALSE(grid.GetSortAscending());
    // The arrow sits at the heading's right edge, in the shadow colour.
    const wxImage image = render();
    GridRect heading;
    grid.GetCellRect(0, 1, &heading);
    int shadowPixels = 0;
    for (int x = heading.right - 20; x < heading.right; ++x)
        for (int y = heading.top; y < heading.bottom; ++y)
            shadowPixels += pixelAt(image, x, y) == systemColour(SystemColour::shadow3d);
    EXPECT_GT(shadowPixels, 5);
    GridRect other;
    grid.GetCellRect(0, 2, &other);
    int otherShadow = 0;
    for (int x = other.left + 2; x < other.right - 1; ++x)
        for (int y = other.top + 2; y < other.bottom - 1; ++y)
            otherShadow += pixelAt(image, x, y) == systemColour(SystemColour::shadow3d);
    EXPECT_EQ(otherShadow, 0) << "no arrow on another heading";
}

TEST_F(GridWindowTest, VirtualModePaintsFromTheOwnerBracketedByCacheHints) {
    CGridCtrl& grid = makeGrid(0, 0, 0, 0);
    grid.SetVirtualMode(true);
    grid.SetRowCount(100000);
    grid.SetColumnCount(4);
    grid.SetFixedRowCount(1);
    int requests = 0;
    frame_->Bind(EVT_GRIDN_GETDISPINFO, [&requests](CGridNotifyEvent& event) {
        ++requests;
        event.GetItem().text = std::to_string(event.GetRow());
    });
    notices_.clear();
    render();
    ASSERT_GE(notices_.size(), 2u);
    EXPECT_EQ(notices_.front().code, GRIDN_CACHEHINT);
    EXPECT_EQ(notices_.back().code, GRIDN_CACHEHINT);
    EXPECT_GT(requests, 0);
    EXPECT_LT(requests, 400) << "only the visible cells are asked for";
    EXPECT_EQ(grid.GetCellText(99999, 2), "99999");
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

TEST_F(GridWindowTest, TitleTipOnlyForTextThatDoesNotFit) {
    CGridCtrl& grid = makeGrid(3, 3, 1, 1);
    CTitleTip::applicationHasFocus() = [] { return true; };
    grid.SetCellText(1, 1, "ok");
    grid.SetCellText(1, 2, "a text far too long for a forty pixel column");
    hover(centreOf(1, 1));
    EXPECT_FALSE(grid.GetTitleTip()->IsShown());
    hover(centreOf(1, 2));
    EXPECT_TRUE(grid.GetTitleTip()->IsShown());
    EXPECT_EQ(grid.GetTitleTip()->text(), "a text far too long for a forty pixel column");
    pressKey(WXK_RIGHT);
    EXPECT_FALSE(grid.GetTitleTip()->IsShown()) << "a key hides the tip";
    CTitleTip::applicationHasFocus() = [] { return false; };
    hover(centreOf(1, 2));
    EXPECT_FALSE(grid.GetTitleTip()->IsShown()) << "no tip while the program has no focus";
    CTitleTip::applicationHasFocus() = [] { return wxTheApp->IsActive(); };
}

TEST_F(GridWindowTest, AClickOnTheTitleTipReachesTheCellUnderIt) {
    CGridCtrl& grid = makeGrid(3, 3, 1, 1);
    CTitleTip::applicationHasFocus() = [] { return true; };
    grid.SetCellText(1, 2, "a text far too long for a forty pixel column");
    grid.SetColumnWidth(2, 40);
    hover(centreOf(1, 2));
    CTitleTip* tip = grid.GetTitleTip();
    ASSERT_TRUE(tip->IsShown());
    const wxPoint onTip = tip->ScreenToClient(grid.ClientToScreen(centreOf(1, 2)));
    wxMouseEvent press(wxEVT_LEFT_DOWN);
    press.SetPosition(onTip);
    press.SetEventObject(tip);
    tip->ProcessWindowEvent(press);
    mouse(wxEVT_LEFT_UP, centreOf(1, 2));
    EXPECT_FALSE(tip->IsShown());
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 2));
    CTitleTip::applicationHasFocus() = [] { return wxTheApp->IsActive(); };
}

TEST_F(GridWindowTest, AWheelNotchScrollsThreeLines) {
    CGridCtrl& grid = makeGrid(80, 3, 1, 1, wxSize(300, 200));
    grid.ScrollAction(wxVERTICAL, wxEVT_SCROLLWIN_THUMBTRACK, 10 * grid.GetRowHeight(1));
    const int top = grid.GetTopLeftNonFixedCell().row;
    wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
    wheel.m_wheelRotation = 120;
    wheel.m_wheelDelta = 120;
    wheel.m_linesPerAction = 3;
    wheel.SetEventObject(&grid);
    grid.ProcessWindowEvent(wheel);
    EXPECT_EQ(grid.GetTopLeftNonFixedCell().row, top - 3);
    wheel.m_wheelRotation = -240;
    grid.ProcessWindowEvent(wheel);
    EXPECT_EQ(grid.GetTopLeftNonFixedCell().row, top + 3);
}

TEST_F(GridWindowTest, AutoSizeFitsTheTextsAndKeepsHiddenLinesHidden) {
    CGridCtrl& grid = makeGrid(4, 3, 1, 1);
    grid.SetCellText(1, 1, "a long text for the column");
    grid.SetCellText(2, 2, "x");
    grid.SetRowHeight(3, 0);
    grid.SetColumnWidth(2, 0);
    ASSERT_TRUE(grid.AutoSize());
    wxClientDC dc(&grid);
    EXPECT_EQ(grid.GetColumnWidth(1), grid.GetCell(1, 1)->MeasureCell(&dc).cx);
    EXPECT_EQ(grid.GetRowHeight(3), 0);
    EXPECT_EQ(grid.GetColumnWidth(2), 0);
    EXPECT_GT(grid.GetRowHeight(1), 0);
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

TEST_F(GridWindowTest, PageKeysMoveTheFocusByTheRowsScrolled) {
    CGridCtrl& grid = makeGrid(100, 3, 1, 1, wxSize(300, 200));
    grid.SetFocusCell(2, 1);
    const int top = grid.GetTopLeftNonFixedCell().row;
    EXPECT_TRUE(pressKey(WXK_PAGEDOWN));
    const int moved = grid.GetTopLeftNonFixedCell().row - top;
    EXPECT_GT(moved, 3);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2 + moved, 1));
    EXPECT_TRUE(pressKey(WXK_PAGEUP));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 1));
    EXPECT_TRUE(pressKey(WXK_PAGEUP));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 1)) << "at the top: the first non-fixed row";
}

TEST_F(GridWindowTest, RightClicksDoubleClicksAndTheButtonEventAfterARelease) {
    CGridCtrl& grid = makeGrid(4, 3, 1, 1);
    grid.SetCellText(2, 2, "text");
    int buttons = 0;
    frame_->Bind(wxEVT_BUTTON,
                 [&buttons](wxCommandEvent& event) { buttons += event.GetId() == 1221; });
    mouse(wxEVT_RIGHT_UP, centreOf(0, 2));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 2)) << "raised to the first non-fixed row";
    ASSERT_NE(lastNotice(NM_RCLICK), nullptr);
    EXPECT_EQ(lastNotice(NM_RCLICK)->row, 0);
    click(centreOf(2, 2));
    settle();
    EXPECT_EQ(buttons, 1);
    mouse(wxEVT_LEFT_DCLICK, centreOf(2, 2));
    mouse(wxEVT_LEFT_UP, centreOf(2, 2));
    EXPECT_TRUE(grid.IsCellEditing(2, 2)) << "a double click on the text edits";
    ASSERT_NE(lastNotice(NM_DBLCLK), nullptr);
    EXPECT_EQ(lastNotice(NM_DBLCLK)->col, 2);
    grid.EndEditing();
    settle();
}

TEST_F(GridWindowTest, DraggingPastTheBottomScrollsAndExtendsTheSelection) {
    CGridCtrl& grid = makeGrid(60, 3, 1, 1, wxSize(300, 200));
    mouse(wxEVT_LEFT_DOWN, centreOf(2, 1));
    const wxSize client = grid.GetClientSize();
    for (int tick = 0; tick < 15; ++tick)
        grid.HandleAutoScroll(wxPoint(20 + grid.GetFixedColumnWidth(), client.y + 30));
    mouse(wxEVT_LEFT_UP, wxPoint(20 + grid.GetFixedColumnWidth(), client.y - 5));
    EXPECT_GT(grid.GetTopLeftNonFixedCell().row, 1) << "scrolled down";
    const CCellSpan selected = grid.GetSelectedCellRange();
    EXPECT_EQ(selected.minRow, 2);
    EXPECT_GT(selected.maxRow, 15);
    EXPECT_TRUE(grid.IsCellVisible(selected.maxRow, 1));
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
    auto runUntil = [](const std::function<bool()>& done) {
        for (int round = 0; round < 20000 && !done(); ++round)
            wxYield();
        return done();
    };
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
    auto runUntil = [](const std::function<bool()>& done) {
        for (int round = 0; round < 20000 && !done(); ++round)
            wxYield();
        return done();
    };
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

TEST_F(GridWindowTest, ARealDragOfAHeadingBorderResizesTheColumn) {
    CGridCtrl& grid = makeGrid(3, 3, 1, 1, wxSize(500, 200));
    grid.SetColumnWidth(1, 80);
    frame_->Raise();
    wxUIActionSimulator user;
    auto runUntil = [](const std::function<bool()>& done) {
        for (int round = 0; round < 20000 && !done(); ++round)
            wxYield();
        return done();
    };
    GridRect heading;
    ASSERT_TRUE(grid.GetCellRect(0, 1, &heading));
    const wxPoint border(heading.right, (heading.top + heading.bottom) / 2);
    user.MouseMove(grid.ClientToScreen(border));
    if (!runUntil([&] { return grid.GetMouseMode() == MOUSE_OVER_COL_DIVIDE; }))
        GTEST_SKIP() << "the X server delivered no pointer move";
    user.MouseDown();
    ASSERT_TRUE(runUntil([&] { return grid.GetMouseMode() == MOUSE_SIZING_COL; }));
    user.MouseMove(grid.ClientToScreen(border + wxPoint(20, 0)));
    user.MouseMove(grid.ClientToScreen(border + wxPoint(40, 0)));
    user.MouseUp();
    ASSERT_TRUE(runUntil([&] { return grid.GetMouseMode() == MOUSE_NOTHING; }));
    // The width runs from the column's left edge to the pointer.
    EXPECT_EQ(grid.GetColumnWidth(1), border.x + 40 - heading.left);
}

// A 20 x 8 grid as the calibration and closure editors use it: headings,
// a check-box column, a combo column, a sorted column, a selection and the
// focus cell. The screenshot is kept for a look.
TEST_F(GridWindowTest, DemonstrationGridScreenshot) {
    CGridCtrl& grid = makeGrid(20, 8, 1, 1, wxSize(640, 420));
    const char* headings[] = {"", "Point", "Use", "Kind", "Distance", "Std err", "Height", "Note"};
    for (int col = 0; col < 8; ++col)
        grid.SetCellText(0, col, headings[col]);
    const char* kinds[] = {"Traverse", "Loop", "Sideshot"};
    for (int row = 1; row < 20; ++row) {
        grid.SetCellText(row, 0, std::to_string(row));
        grid.SetCellText(row, 1, "P" + std::to_string(100 + (row * 37) % 19));
        grid.SetCellType(row, 2, cellClass<CGridCellCheck>());
        dynamic_cast<CGridCellCheck*>(grid.GetCell(row, 2))->SetCheck(row % 3 != 0);
        grid.SetCellType(row, 3, cellClass<CGridCellCombo>());
        auto* combo = dynamic_cast<CGridCellCombo*>(grid.GetCell(row, 3));
        combo->SetOptions({kinds[0], kinds[1], kinds[2]});
        combo->SetStyle(CBS_DROPDOWNLIST);
        grid.SetCellText(row, 3, kinds[row % 3]);
        grid.SetCellText(row, 4,
                         std::to_string(100 + row * 13 % 50) + ".25" + std::to_string(row % 10));
        grid.SetCellFormat(row, 4, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
        grid.SetCellText(row, 5, "0.00" + std::to_string(row % 7 + 2));
        grid.SetCellText(row, 6, std::to_string(row % 5) + ".500");
        grid.SetCellText(row, 7, row == 4 ? "checked twice against the field book" : "");
    }
    grid.SetCellBkColor(6, 5, rgb(255, 240, 200));
    grid.options().sortOnHeadingClick = true;
    grid.AutoSize();
    grid.SetColumnWidth(7, 120);
    grid.SetColumnWidth(1, 70);
    grid.SortItems(1, true);
    grid.SetFocusCell(3, 4);
    grid.SetSelectedRange(3, 4, 5, 5);
    grid.Refresh();
    guitest::waitForFirstPaint(grid_);
    const auto path = std::filesystem::path(TARNWELL_BINARY_DIR) / "screenshots" / "grid.png";
    EXPECT_TRUE(guitest::saveScreenshot(frame_, path));
    // The demonstration edits too: typing into the distance column.
    typeChar('9');
    wxWindow* editor = grid.GetCell(3, 4)->GetEditWindow();
    ASSERT_NE(editor, nullptr);
    key(editor, wxEVT_CHAR, WXK_RETURN);
    settle();
    EXPECT_EQ(grid.GetCellText(3, 4), "9");
}
