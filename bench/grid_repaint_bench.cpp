// Repainting one screen of a 100,000-row virtual grid, whose cells come
// from the owner on demand (no cell objects are built), against the same
// screen of a small grid that stores its cells. The ratio shows what asking
// the owner costs per screen; neither depends on the number of rows.
// Needs a display: run it under xvfb-run.

#include "gridctrl/grid_ctrl.hpp"

#include "toolkit_main.hpp"

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>

#include <cstdio>
#include <string>

using namespace gridctrl;

namespace {

constexpr int virtualRows = 100000;
constexpr int storedRows = 200;
constexpr int columns = 8;
const wxSize screen(800, 600);

// The owner's side of a virtual grid: texts made from the cell's place.
class Owner : public wxFrame {
public:
    Owner() : wxFrame(nullptr, wxID_ANY, "bench") {
        Bind(EVT_GRIDN_GETDISPINFO, [this](CGridNotifyEvent& event) {
            ++requests;
            CGridItem& item = event.GetItem();
            item.text = std::to_string(item.row * 7 + item.col) + ".125";
        });
    }
    long requests = 0;
};

struct Setup {
    Owner* owner = new Owner;
    CGridCtrl* grid = new CGridCtrl;

    Setup(bool virtualMode, int rows) {
        grid->SetVirtualMode(virtualMode);
        grid->Create(owner, 1221, wxPoint(0, 0), screen);
        owner->SetClientSize(screen);
        grid->SetRowCount(rows);
        grid->SetColumnCount(columns);
        grid->SetFixedRowCount(1);
        grid->SetFixedColumnCount(1);
        if (!virtualMode)
            for (int row = 0; row < rows; ++row)
                for (int col = 0; col < columns; ++col)
                    grid->SetCellText(row, col, std::to_string(row * 7 + col) + ".125");
        for (int col = 0; col < columns; ++col)
            grid->SetColumnWidth(col, 90);
        owner->Show();
        grid->ResetScrollBars();
    }
    ~Setup() { owner->Destroy(); }
};

void repaint(benchmark::State& state, CGridCtrl& grid) {
    wxBitmap bitmap(screen.x, screen.y, 24);
    wxMemoryDC dc(bitmap);
    for (auto _ : state)
        grid.OnDraw(dc);
}

void BM_RepaintStoredScreen(benchmark::State& state) {
    Setup setup(false, storedRows);
    repaint(state, *setup.grid);
}

void BM_RepaintVirtualScreen(benchmark::State& state) {
    Setup setup(true, virtualRows);
    // Scrolled to the given fraction of the rows.
    setup.grid->ScrollAction(
        wxVERTICAL, wxEVT_SCROLLWIN_THUMBTRACK,
        static_cast<int>(state.range(0) * (setup.grid->GetTotalHeight() / 100)));
    setup.owner->requests = 0;
    repaint(state, *setup.grid);
    state.counters["cells_asked_per_screen"] =
        static_cast<double>(setup.owner->requests) / static_cast<double>(state.iterations());
}

void BM_PageDownAndRepaintVirtual(benchmark::State& state) {
    Setup setup(true, virtualRows);
    wxBitmap bitmap(screen.x, screen.y, 24);
    wxMemoryDC dc(bitmap);
    for (auto _ : state) {
        setup.grid->ScrollAction(wxVERTICAL, wxEVT_SCROLLWIN_PAGEDOWN);
        setup.grid->OnDraw(dc);
    }
}

} // namespace

BENCHMARK(BM_RepaintStoredScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RepaintVirtualScreen)->Arg(0)->Arg(50)->Arg(99)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageDownAndRepaintVirtual)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    return runWithToolkit(argc, argv, "bench_grid_repaint");
}
