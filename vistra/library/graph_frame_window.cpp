#include "vistra/library/graph_frame_window.hpp"

#include <wx/mdi.h>

// The toolkit's window; destroying it ends the graphics window.
class GraphChildFrame : public wxMDIChildFrame {
public:
    GraphChildFrame(wxMDIParentFrame* parent, GraphFrameWindow* graph)
        : wxMDIChildFrame(parent, wxID_ANY, wxString()), graph_(graph) {}
    ~GraphChildFrame() override { delete graph_; }

private:
    GraphFrameWindow* graph_;
};

GraphFrameWindow::GraphFrameWindow(GraphWindowRegistry& registry, const GraphFrameRequest& request,
                                   ShellServices& shell)
    : registry_(registry), state_(request.rawFileList, request.option, request.id, request.ellipses,
                                  request.ellipseCount, request.ownerCookie, shell) {}

GraphFrameWindow::~GraphFrameWindow() {
    registry_.windowClosed(state_.id());
}

bool GraphFrameWindow::createWindow(void* parent) {
    auto* owner = wxDynamicCast(static_cast<wxObject*>(parent), wxMDIParentFrame);
    if (owner == nullptr)
        return false;
    window_ = new GraphChildFrame(owner, this);
    return true;
}

void GraphFrameWindow::setCaption(const std::string& caption) {
    window_->SetTitle(wxString::FromUTF8(caption));
}

void GraphFrameWindow::bringToTop() {
    window_->Raise();
}

void GraphFrameWindow::refreshPicture() {
    state_.rebuild();
    window_->Refresh();
}

void* GraphFrameWindow::windowHandle() {
    return static_cast<wxWindow*>(window_);
}

std::unique_ptr<GraphFrame> GraphFrameWindowMaker::makeFrame(const GraphFrameRequest& request) {
    return std::make_unique<GraphFrameWindow>(*registry_, request, shell_);
}
