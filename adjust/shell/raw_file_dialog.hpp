#pragma once
// The choice of one raw-data file to edit, when the project names several.

#include <string>
#include <wx/dialog.h>

class wxListBox;

class CRawFlLst : public wxDialog {
public:
    // `names`: file names each followed by a line feed; text after the last
    // line feed is offered too.
    CRawFlLst(wxWindow* parent, const std::string& names);

    // The chosen name once the dialog ended with OK.
    const std::string& chosenName() const { return chosen_; }
    // Takes the selected name as the choice; without a selection it says
    // "No file chosen" and returns false.
    bool takeSelection();
    wxListBox* list() const { return list_; }

private:
    void accept();

    wxListBox* list_;
    std::string chosen_;
};
