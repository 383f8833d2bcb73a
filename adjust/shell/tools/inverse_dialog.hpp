#pragma once
// The modeless Inverse tool: direction and distance between two points of
// the last completed run, with their standard errors. Each result is shown
// in the dialog and appended to the project's report file and to the open
// least-squares report window. In traverse mode the To point becomes the
// next From point.

#include "shell/picked_point_fields.hpp"

#include <memory>
#include <string>
#include <wx/dialog.h>

class ShellServices;
class wxCheckBox;
class wxStaticText;
class wxTextCtrl;

namespace inverseid {
enum Control : int {
    dialog = 135,
    fromEdit = 1009,
    toEdit = 1026,
    traverseModeCheck = 1059,
    resultStatic = 1152,
    stdErrStatic = 1153,
};
} // namespace inverseid

class CInverse : public wxDialog {
public:
    // `shell` receives the result line for the report window. Exit and
    // Escape destroy the window.
    CInverse(wxWindow* parent, ShellServices& shell);

    // Calculate (also Enter): in the From edit only moves on to the To edit.
    void OnOK();

    std::string fromName() const;
    std::string toName() const;
    // A point picked in the graphics window, into the From or To field.
    void takePickedPoint(const wxString& name) { picked_->take(name); }

private:
    void layOut();
    void calculate();

    ShellServices& shell_;
    wxTextCtrl* from_ = nullptr;
    wxTextCtrl* to_ = nullptr;
    wxCheckBox* traverseMode_ = nullptr;
    wxStaticText* result_ = nullptr;
    wxStaticText* stdErr_ = nullptr;
    std::unique_ptr<PickedPointFields> picked_;
};
