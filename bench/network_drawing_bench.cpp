// Drawing a 5,000-point network into an 800 x 600 picture: a closed
// traverse of 1,000 setups, each with four sideshots, every point labelled
// and with its error ellipse. The reference draws the same items (a line, a
// symbol, a label and a 33-point ellipse outline per point) straight into the
// same device context, without the model's walk and settings; the ratio
// shows what the walk costs on top of the toolkit's drawing, and the counter
// `ms_per_picture` the time of one whole picture.
// Needs a display: run it under xvfb-run.

#include "platform/shell_services.hpp"
#include "vistra/draw/network_drawing.hpp"

#include "toolkit_main.hpp"

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/dcmemory.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

namespace {

constexpr int setups = 1000;
constexpr int sideshotsPerSetup = 4;
const wxSize picture(800, 600);

std::string traverseName(int i) {
    std::string name = "T";
    name += std::to_string(i);
    return name;
}

std::string sideshotName(int setup, int k) {
    std::string name = "S";
    name += std::to_string(setup);
    name += '.';
    name += std::to_string(k);
    return name;
}

struct Network {
    SilentShell shell;
    rawDataGraph model{shell};
    std::vector<errEllipseRec> ellipses;
    viewTransform view;
    graphSettings settings;

    Network() {
        const double radius = 5000.0;
        for (int i = 0; i < setups; ++i) {
            const double a = 2 * std::numbers::pi * i / setups;
            const double next = 2 * std::numbers::pi * (i + 1) / setups;
            graphSetup s;
            setPointName(s.instrument, traverseName(i).c_str());
            setPointName(s.backsight, traverseName((i + setups - 1) % setups).c_str());
            s.instrumentN = radius * std::cos(a);
            s.instrumentE = radius * std::sin(a);
            s.direction = a + std::numbers::pi;
            s.backsightDist = 31.4;
            model.appendSetup(s);
            graphForesight f;
            setPointName(f.foresight, traverseName((i + 1) % setups).c_str());
            f.northing = radius * std::cos(next);
            f.easting = radius * std::sin(next);
            model.appendForesight(i, f);
            addEllipse(s.instrument, i);
            for (int k = 0; k < sideshotsPerSetup; ++k) {
                graphForesight ss;
                setPointName(ss.foresight, sideshotName(i, k).c_str());
                ss.northing = s.instrumentN + 8.0 * std::cos(k * 1.5);
                ss.easting = s.instrumentE + 8.0 * std::sin(k * 1.5);
                ss.angleStatus = 2;
                model.appendForesight(i, ss);
                addEllipse(ss.foresight, i + k);
            }
        }
        model.resetExtents();
        model.widenExtents(-radius, -radius);
        model.widenExtents(radius, radius);
        view.setExtents(model.minN, model.minE, model.maxN, model.maxE);
        const placedItem corners[] = {{{-radius, -radius}, {}}, {{radius, radius}, {}}};
        view.zoomExtents(corners, picture.x, picture.y);
        settings.ellipseSize = 10;
    }

    // Ellipses of ten sizes, the largest 12 by 7 mm.
    void addEllipse(const char* name, int i) {
        errEllipseRec e;
        std::snprintf(e.name, sizeof e.name, "%s", name);
        e.orientation = 0.4;
        e.semiMajor = 0.0012 * (i % 10 + 1);
        e.semiMinor = 0.0007 * (i % 10 + 1);
        ellipses.push_back(e);
    }
};

Network& network() {
    static Network instance;
    return instance;
}

// What each point needs drawn, as plain device coordinates.
struct Item {
    wxPoint from;
    wxPoint at;
    wxString label;
    wxSize radii; // of the ellipse, in pixels
};

// The picture's items, each foresight with the ellipse of the same name at
// the same number of pixels per metre as the drawing uses.
std::vector<Item> itemsOf(const Network& n, int pixelsPerUnit) {
    std::vector<Item> items;
    graphSetup s;
    for (int i = 0; n.model.getSetupAt(i, s) == 0; ++i) {
        const devicePoint from = n.view.toDevice(s.instrumentE, s.instrumentN);
        for (const graphForesight& f : s.foresights) {
            const devicePoint at = n.view.toDevice(f.easting, f.northing);
            const std::string name(fixedText(f.foresight));
            wxSize radii;
            for (const errEllipseRec& e : n.ellipses)
                if (name == e.name)
                    radii = {static_cast<int>(e.semiMinor * pixelsPerUnit / 2),
                             static_cast<int>(e.semiMajor * pixelsPerUnit / 2)};
            items.push_back({{from.x, from.y}, {at.x, at.y}, wxString::FromUTF8(name), radii});
        }
    }
    return items;
}

void drawReference(wxDC& dc, const std::vector<Item>& items) {
    dc.SetTextForeground(*wxBLACK);
    dc.SetFont(wxFont(wxFontInfo(wxSize(0, 20)).Family(wxFONTFAMILY_SWISS)));
    const wxPen pen(*wxRED, 1);
    const wxBrush brush(*wxRED);
    wxPoint outline[33];
    for (const Item& item : items) {
        dc.SetPen(pen);
        dc.SetBrush(brush);
        dc.DrawLine(item.from, item.at);
        dc.DrawRectangle(item.at.x - 4, item.at.y - 4, 9, 9);
        for (int k = 0; k < 33; ++k) {
            const double t = 2 * std::numbers::pi * k / 32;
            outline[k] = {item.at.x + static_cast<int>(item.radii.x * std::cos(t)),
                          item.at.y + static_cast<int>(item.radii.y * std::sin(t))};
        }
        dc.DrawLines(33, outline);
        dc.DrawText(item.label, item.at.x + 5, item.at.y + 5);
    }
}

void BM_DrawNetwork(benchmark::State& state) {
    Network& n = network();
    wxBitmap bitmap(picture.x, picture.y, 24);
    wxMemoryDC dc(bitmap);
    const auto scale = computeEllipseScale(
        [&] {
            std::vector<ellipseAxes> axes;
            for (const errEllipseRec& e : n.ellipses)
                axes.push_back({e.orientation, e.semiMajor, e.semiMinor});
            return axes;
        }(),
        picture.x);
    const std::vector<Item> items =
        itemsOf(n, static_cast<int>(std::trunc(n.settings.ellipseSize * scale.value_or(0.0))));
    using clock = std::chrono::steady_clock;
    clock::duration ours{}, reference{};
    for (auto _ : state) {
        const auto t0 = clock::now();
        dc.Clear();
        drawNetwork(dc, {n.model, n.view, n.settings, n.ellipses, scale});
        const auto t1 = clock::now();
        dc.Clear();
        drawReference(dc, items);
        const auto t2 = clock::now();
        ours += t1 - t0;
        reference += t2 - t1;
    }
    state.counters["points"] = static_cast<double>(items.size());
    state.counters["ms_per_picture"] =
        std::chrono::duration<double, std::milli>(ours).count() / state.iterations();
    state.counters["reference_time_over_ours"] = std::chrono::duration<double>(reference).count() /
                                                 std::chrono::duration<double>(ours).count();
}

} // namespace

BENCHMARK(BM_DrawNetwork)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return runWithToolkit(argc, argv, "bench_network_drawing");
}
