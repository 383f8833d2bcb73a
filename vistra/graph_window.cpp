#include "vistra/graph_window.hpp"

GraphWindowState::GraphWindowState(std::string rawFileList, int option, std::uint16_t id,
                                   const errEllipseRec* ellipses, int count, int ownerCookie,
                                   ShellServices& shell)
    : model(shell), rawFileList_(std::move(rawFileList)), option_(option), id_(id),
      ownerCookie_(ownerCookie) {
    setEllipses(ellipses, count);
}

void GraphWindowState::setEllipses(const errEllipseRec* ellipses, int count) {
    if (ellipses == nullptr || count <= 0)
        ellipses_.clear();
    else
        ellipses_.assign(ellipses, ellipses + count);
}
