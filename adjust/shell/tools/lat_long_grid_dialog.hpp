#pragma once
// The modal "Convert Lat/Long to Local Grid" dialog: latitudes and
// longitudes typed as dd.mmssss (north and east positive) converted to
// northing and easting on the user-defined projection being edited; each
// conversion adds its lines to the results list, which keeps its last
// twelve lines in view.

#include "model/settings/udp_record.hpp"

#include <string>
#include <wx/dialog.h>

class wxListBox;
class wxTextCtrl;

namespace latlongid {
enum Control : int {
    dialog = 150,
    latitudeEdit = 1118,
    longitudeEdit = 1119,
    resultsList = 1117,
    calculateButton = 1212,
};
} // namespace latlongid

class cllTOGRIDDlg : public wxDialog {
public:
    // `udp` is the record to project with; it must outlive the dialog.
    cllTOGRIDDlg(wxWindow* parent, const udpRec& udp);

    void OnCalculate();

private:
    void layOut();

    const udpRec& udp_;
    wxTextCtrl* latitude_ = nullptr;
    wxTextCtrl* longitude_ = nullptr;
    wxListBox* results_ = nullptr;
};
