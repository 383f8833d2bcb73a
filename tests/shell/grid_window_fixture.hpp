#pragma once
// What the grid control's window tests share: a frame holding one grid whose
// notifications are recorded (and vetoed on request), the grid's picture
// drawn by its own drawing routine into a bitmap, and pointer and key events
// sent through the window's own event handling.

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

namespace gridtest {

using namespace gridctrl;

inline COLORREF pixelAt(const wxImage& image, int x, int y) {
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

    // Runs the events until `done` holds or the X server has long answered.
    static bool runUntil(const std::function<bool()>& done) {
        for (int round = 0; round < 20000 && !done(); ++round)
            wxYield();
        return done();
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

} // namespace gridtest
