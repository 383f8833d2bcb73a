#pragma once
// The graphics window of the library as a child of the main program's
// multiple-document frame. It carries the window's state and model; the
// picture itself is drawn by the drawing code that joins it later, so until
// then the window shows an empty client area.

#include "vistra/window_registry.hpp"

#include <wx/mdi.h>

class GraphFrameWindow : public wxMDIChildFrame, public GraphFrame {
public:
    GraphFrameWindow(GraphWindowRegistry& registry, const GraphFrameRequest& request,
                     ShellServices& shell);
    ~GraphFrameWindow() override;

    GraphWindowState& state() override { return state_; }
    bool createWindow(void* parent) override;
    void setCaption(const std::string& caption) override;
    void bringToTop() override;
    void refreshPicture() override;
    void* windowHandle() override { return static_cast<wxWindow*>(this); }

private:
    GraphWindowRegistry& registry_;
    GraphWindowState state_;
};

// Makes the library's windows.
class GraphFrameWindowMaker : public GraphFrameMaker {
public:
    explicit GraphFrameWindowMaker(ShellServices& shell) : shell_(shell) {}
    void attach(GraphWindowRegistry& registry) { registry_ = &registry; }
    std::unique_ptr<GraphFrame> makeFrame(const GraphFrameRequest& request) override;

private:
    ShellServices& shell_;
    GraphWindowRegistry* registry_ = nullptr;
};
