#pragma once
// "Relative Error Ellipses": the relative error ellipse between two points of
// the last adjustment, shown in the dialog and appended to the report.
// Modeless; Enter in the From field moves on to the To field, "Calculate"
// computes, "Exit" closes the window, which then deletes itself.

#include "shell/picked_point_fields.hpp"

#include <memory>

#include <wx/dialog.h>

class wxStaticText;
class wxTextCtrl;
class ShellServices;

class relErrEl : public wxDialog {
public:
    enum : int { fromEdit = 1009, toEdit = 1026, axesText = 1150, azimuthText = 1151 };
    static constexpr int dialogId = 138;

    // `shell` shows the messages and receives the report lines.
    relErrEl(wxWindow* parent, ShellServices& shell);

    // "Calculate" (and Enter).
    void calculate();
    // A point picked in the graphics window, into the From or To field.
    void takePickedPoint(const wxString& name) { picked_->take(name); }

private:
    ShellServices& shell_;
    wxTextCtrl* from_;
    wxTextCtrl* to_;
    wxStaticText* axes_;
    wxStaticText* azimuth_;
    std::unique_ptr<PickedPointFields> picked_;
};
