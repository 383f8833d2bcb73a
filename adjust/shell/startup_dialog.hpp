#pragma once
// "Tarnwell Start-up ": offers to create a new project or open an existing
// one when the program starts, centred on the main window in front of it.

#include <wx/dialog.h>

class wxCheckBox;

class CDlgStartUp : public wxDialog {
public:
    // The check box "Show this dialog box on start-up." starts as `showAtStartUp`.
    CDlgStartUp(wxWindow* parent, int showAtStartUp);

    // 1 after "Create a New Project", 0 after "Open an Existing Project".
    int createNew = 0;

    // The check box's state, whichever button ended the dialog.
    int showAtStartUp() const;

private:
    void choose(int create);

    wxCheckBox* showCheck_;
};
