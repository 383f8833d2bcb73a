#pragma once
// The graphics window of the library as a child of the main program's
// multiple-document frame. `GraphFrameWindow` carries the window's state and
// model from its construction on; the toolkit's child frame is made only
// when the window is created, and from then on owns it. The picture itself is
// drawn by the drawing code that joins it later, so until then the window
// shows an empty client area.

#include "vistra/window_registry.hpp"

class GraphChildFrame;

class GraphFrameWindow : public GraphFrame {
public:
    GraphFrameWindow(GraphWindowRegistry& registry, const GraphFrameRequest& request,
                     ShellServices& shell);
    ~GraphFrameWindow() override;

    GraphWindowState& state() override { return state_; }
    bool createWindow(void* parent) override;
    void setCaption(const std::string& caption) override;
    void bringToTop() override;
    void refreshPicture() override;
    void* windowHandle() override;

private:
    GraphWindowRegistry& registry_;
    GraphWindowState state_;
    GraphChildFrame* window_ = nullptr;
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
