#include "shell/picked_point_fields.hpp"

#include <wx/textctrl.h>

PickedPointFields::PickedPointFields(wxTextCtrl* from, wxTextCtrl* to)
    : from_(from), to_(to), current_(from) {
    for (wxTextCtrl* field : {from_, to_})
        field->Bind(wxEVT_SET_FOCUS, [this, field](wxFocusEvent& event) {
            current_ = field;
            event.Skip();
        });
}

void PickedPointFields::take(const wxString& name) {
    current_->ChangeValue(name);
    if (current_ == from_)
        current_ = to_;
    current_->SetFocus();
    current_->SelectAll();
}
