#pragma once
// What a graphics window holds apart from its drawing: the raw-data file list
// it was made for, the option and owner cookie of the call that made it, the
// error ellipses it draws and its network model.
//
// The ellipses are copied at every hand-over: the main program frees or
// replaces its array when a project is reset and inside every run, while the
// window may repaint at any time.

#include "engine/adjustment_results.hpp"
#include "platform/shell_services.hpp"
#include "vistra/network_model.hpp"

#include <cstdint>
#include <string>
#include <vector>

class GraphWindowState {
public:
    GraphWindowState(std::string rawFileList, int option, std::uint16_t id,
                     const errEllipseRec* ellipses, int count, int ownerCookie,
                     ShellServices& shell);

    // Takes a copy of the caller's array (null or a count of 0: none).
    void setEllipses(const errEllipseRec* ellipses, int count);
    // Builds the network model again from the library's settings.
    void rebuild() { model.refresh(); }

    const std::string& rawFileList() const { return rawFileList_; }
    const std::vector<errEllipseRec>& ellipses() const { return ellipses_; }
    std::uint16_t id() const { return id_; }
    int option() const { return option_; }
    int ownerCookie() const { return ownerCookie_; }

    rawDataGraph model;

private:
    std::string rawFileList_;
    int option_;
    std::uint16_t id_;
    int ownerCookie_;
    std::vector<errEllipseRec> ellipses_;
};
