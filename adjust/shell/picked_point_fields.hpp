#pragma once
// The From and To fields of a two-point tool (Inverse, Relative Error
// Ellipses) as the graphics window fills them: a point picked there goes
// into the field the user is at, as if typed and entered.

#include <wx/string.h>

class wxTextCtrl;

class PickedPointFields {
public:
    // Follows the focus of both fields; From is the field to start with.
    PickedPointFields(wxTextCtrl* from, wxTextCtrl* to);

    // `name` into the field that has, or last had, the focus; from From the
    // focus moves on to To, as Enter does there.
    void take(const wxString& name);

private:
    wxTextCtrl* from_;
    wxTextCtrl* to_;
    wxTextCtrl* current_;
};
