#pragma once
// The application object of tarnadjust: names the program and its profile,
// opens the main window, takes the file names a host program hands over,
// reads the program's INI file and offers the start-up dialog.

#include "model/settings/host_handover.hpp"

#include <string>
#include <wx/app.h>

class CMainFrame;
class iniPaths;

class CZezadarApp : public wxApp {
public:
    // The program's start-up; the command line's first argument, when there
    // is one, names the folder of TARNWELL.INI.
    bool OnInit() override;

    // The start-up with `commandLine` in place of the program's arguments,
    // taking the host's file names from the shared-memory block
    // `handOverBlock`. False only when the main window cannot be created.
    bool initInstance(const std::string& commandLine,
                      const std::string& handOverBlock = hostHandOverBlock);

    CMainFrame* mainFrame() const { return frame_; }

private:
    void offerStartUpDialog();

    CMainFrame* frame_ = nullptr;
};

// Copies what TARNWELL.INI named into `projectVars`: a non-empty TMPDIR or
// EXEDIR replaces `tmpDir` or `exeDir`; a non-empty HELPFILE sets
// `helpFile`, `helpDir` (also when empty) and, when not empty, `helpTopic`.
void applyIniPaths(const iniPaths& ini);
