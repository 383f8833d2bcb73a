#pragma once
// "Global Program Settings": the start-up dialog option and which family
// utilities (data collector transfer, raw data editor) the program starts.

#include <wx/dialog.h>

class wxCheckBox;
class wxRadioButton;

class CGlobalSetDlg : public wxDialog {
public:
    // The controls start from the two options: the start-up check box from
    // `showStartUp`, "Use V&K utilities" when `useVkTool` is nonzero, else
    // "Use Velmora utilities".
    CGlobalSetDlg(wxWindow* parent, int showStartUp, int useVkTool);

    // The options as the controls now hold them (0 or 1).
    int showStartUp() const;
    int useVkTool() const;

private:
    wxCheckBox* startUpCheck_;
    wxRadioButton* vkRadio_;
};
