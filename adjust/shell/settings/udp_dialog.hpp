#pragma once
// The user-defined coordinate system dialog: a system's name, its ellipsoid
// (a named one, or one typed as two of its parameters), its projection and
// the projection's parameters. It loads and saves .udp files; after OK the
// caller reads the path of the file last loaded or saved.

#include "model/ellipsoid_parameters.hpp"
#include "model/settings/udp_record.hpp"

#include <optional>
#include <string>
#include <utility>
#include <wx/dialog.h>

class wxChoice;
class wxTextCtrl;

namespace udpid {
enum Control : int {
    testButton = 1041,
    loadButton = 1054,
    saveButton = 1055,
    systemNameEdit = 1009,
    ellipsoidList = 1198,
    semiMajorEdit = 1026,
    inverseFlatteningEdit = 1027,
    firstKindList = 1058,
    firstValueEdit = 1210,
    secondKindList = 1209,
    secondValueEdit = 1211,
    projectionList = 1183,
    originNorthingEdit = 1030,
    latitudeEdit = 1199,
    originEastingEdit = 1031,
    longitudeEdit = 1200,
    scaleOrNorthParallelEdit = 1029,
    meridianOrSouthParallelEdit = 1028,
    rectifiedAzimuthEdit = 1034,
    originNorthingLabel = 1203,
    latitudeLabel = 1204,
    originEastingLabel = 1205,
    longitudeLabel = 1206,
    scaleOrNorthParallelLabel = 1207,
    meridianOrSouthParallelLabel = 1208,
    rectifiedAzimuthLabel = 1215,
};
} // namespace udpid

class CUDPDlg : public wxDialog {
public:
    explicit CUDPDlg(wxWindow* parent);

    // Before the dialog is shown: the file to edit, loaded into its record.
    void loadUdpFile(const std::string& path);
    // The file last loaded or saved.
    const std::string& path() const { return path_; }
    const udpRec& record() const { return record_; }
    bool modified() const { return modified_; }

    // The controls into the record (angles typed as packed dd.mmss).
    void storeToRecord();
    // The record into the controls.
    void loadFromRecord();
    // Load and Save as their buttons do them; Save is false when nothing was
    // written.
    void load();
    bool save();
    // What OK asks before the dialog closes: whether to save changes. False
    // when the dialog is to stay open (Cancel, or a save that wrote nothing).
    bool confirmClose();
    // Test: the controls into the record, then the latitude/longitude
    // conversion on it; a field it needs that is empty or not a number or
    // angle is named instead, and nothing is computed.
    void testConversion();

private:
    void layOut();
    void bindHandlers();
    wxChoice* control(int id) const;
    std::optional<AxisAndFlattening> typedEllipsoid() const;
    void showLabels();
    void showEllipsoid();
    void onEllipsoidChange();
    void onKindChange(int changedId);
    void onParameterLeft(wxWindow* edit);
    void onFieldLeft(int id, wxWindow* edit);
    // The first field the system needs that is empty or fails its check, with
    // the message that names it; none when every field holds a value.
    std::optional<std::pair<int, std::string>> incompleteField() const;
    void setModified() { modified_ = true; }
    std::string text(int id) const;
    void setText(int id, const std::string& value);
    int selection(int id) const;

    udpRec record_;
    std::string path_;
    bool modified_ = false;
};
