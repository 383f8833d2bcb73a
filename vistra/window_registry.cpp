#include "vistra/window_registry.hpp"

std::string graphCaption(const std::string& rawFileList, bool wholeWithoutNewline) {
    const auto end = rawFileList.find('\n');
    std::string first;
    if (end != std::string::npos)
        first = rawFileList.substr(0, end);
    else if (wholeWithoutNewline)
        first = rawFileList;
    return "Network Graphics: " + first;
}

int GraphWindowRegistry::isWindowOpen(std::uint16_t id) const {
    return graphWindowMap.count(id) != 0 ? 1 : 0;
}

GraphFrame* GraphWindowRegistry::reuse(std::uint16_t id, const errEllipseRec* ellipses, int count) {
    const graphWindowRec& record = graphWindowMap.at(id);
    settings_.pInputFileName = record.rawFileList;
    record.frame->state().setEllipses(ellipses, count);
    record.frame->refreshPicture();
    return record.frame;
}

GraphFrame* GraphWindowRegistry::create(std::uint16_t* id, void* callerResources, void* parent,
                                        const GraphFrameRequest& request) {
    std::unique_ptr<GraphFrame> frame = maker_.makeFrame(request);
    if (!frame)
        return nullptr;
    graphWindowMap[request.id] = {callerResources, frame.get(), request.rawFileList};
    if (!frame->createWindow(parent)) {
        graphWindowMap.erase(request.id);
        return nullptr;
    }
    *id = request.id;
    ++nextId_;
    return frame.release();
}

int GraphWindowRegistry::showWithSettings(std::uint16_t* id, void* callerResources, void* parent,
                                          const globalVars& callerSettings, int option,
                                          const errEllipseRec* ellipses, int count) {
    settings_.copySettings(callerSettings);
    GraphFrame* frame = nullptr;
    if (isWindowOpen(*id) != 0) {
        frame = reuse(*id, ellipses, count);
    } else {
        GraphFrameRequest request{settings_.pInputFileName, option, nextId_, ellipses, count, 0};
        frame = create(id, callerResources, parent, request);
        if (frame == nullptr)
            return 0;
    }
    frame->setCaption(graphCaption(settings_.pInputFileName, false));
    frame->bringToTop();
    return 1;
}

void* GraphWindowRegistry::showWithFileList(std::uint16_t* id, void* callerResources, void* parent,
                                            int ownerCookie, const std::string& rawFileList,
                                            int option, const errEllipseRec* ellipses, int count) {
    GraphFrame* frame = nullptr;
    if (isWindowOpen(*id) != 0) {
        frame = reuse(*id, ellipses, count);
    } else {
        settings_.pInputFileName = rawFileList;
        GraphFrameRequest request{rawFileList, option, nextId_, ellipses, count, ownerCookie};
        frame = create(id, callerResources, parent, request);
        if (frame == nullptr)
            return nullptr;
    }
    frame->setCaption(graphCaption(settings_.pInputFileName, true));
    return frame->windowHandle();
}

void GraphWindowRegistry::windowClosed(std::uint16_t id) {
    graphWindowMap.erase(id);
}
