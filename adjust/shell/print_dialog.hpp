#pragma once
// "Print Reports": which of the three report windows to print.

#include <wx/dialog.h>

class print : public wxDialog {
public:
    // The three choices start unticked.
    explicit print(wxWindow* parent);

    // Takes the check boxes into the choices (OK does).
    void takeChoices();

    // The choices as they stood when the dialog ended with OK.
    int nezListing = 0;
    int leastSquaresReport = 0;
    int errorReport = 0;

    // Ids of the check boxes.
    static constexpr int leastSquaresCheck = 1031;
    static constexpr int nezListingCheck = 1032;
    static constexpr int errorReportCheck = 1059;
};
