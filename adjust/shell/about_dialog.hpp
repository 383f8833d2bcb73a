#pragma once
// "About Tarnwell": the product line and the build of the running program.

#include <string>
#include <wx/dialog.h>

// The build of this program, "major.minor.patch.tweak" of the project version.
std::string fileVersionText();

class CAboutDlg : public wxDialog {
public:
    explicit CAboutDlg(wxWindow* parent);
};
