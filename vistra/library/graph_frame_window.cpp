#include "vistra/library/graph_frame_window.hpp"

GraphFrameWindow::GraphFrameWindow(GraphWindowRegistry& registry,
                                   const GraphFrameRequest& request, ShellServices& shell)
    : registry_(registry), state_(request.rawFileList, request.option, request.id,
                                  request.ellipses, request.ellipseCount, request.ownerCookie,
                                  shell) {}

GraphFrameWindow::~GraphFrameWindow() {
    registry_.windowClosed(state_.id());
}

bool GraphFrameWindow::createWindow(void* parent) {
    auto* owner = wxDynamicCast(static_cast<wxObject*>(parent), wxMDIParentFrame);
    if (owner == nullptr)
        return false;
    return Create(owner, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                  wxDEFAULT_FRAME_STYLE);
}

void GraphFrameWindow::setCaption(const std::string& caption) {
    SetTitle(wxString::FromUTF8(caption));
}

void GraphFrameWindow::bringToTop() {
    Raise();
}

void GraphFrameWindow::refreshPicture() {
    state_.rebuild();
    Refresh();
}

std::unique_ptr<GraphFrame> GraphFrameWindowMaker::makeFrame(const GraphFrameRequest& request) {
    return std::make_unique<GraphFrameWindow>(*registry_, request, shell_);
}
