#pragma once
// The modal "Convert GPS and/or Total Station Files" dialog: a GPS vector
// file of one of eleven formats into a .GPS file and, for data-exchange
// exports, the total-station observations into an .RW5 or .VKR raw file.
// It checks the names and the input file, calls the converters and reports
// the result in one message; a conversion fails when any of its parts does.

#include <string>
#include <wx/dialog.h>

class FileConverters;
class wxCheckBox;
class wxChoice;
class wxTextCtrl;

namespace gpsconvertid {
enum Control : int {
    dialog = 164,
    inputEdit = 1009,
    inputSelect = 1041,
    formatList = 1025,
    stripZerosCheck = 1059,
    importPointsCheck = 1217,
    importVectorsCheck = 1077,
    importTotalStationCheck = 1078,
    gpsLabel = 1242,
    gpsEdit = 1026,
    gpsSelect = 1054,
    rawLabel = 1238,
    rawEdit = 1038,
    rawSelect = 1239,
    rawFormatLabel = 1241,
    rawFormatList = 1240,
    convertButton = 1055,
};
// The data-exchange export: the one format with total-station data.
inline constexpr int dataExchangeFormat = 4;
} // namespace gpsconvertid

class cnvrtGPSFl : public wxDialog {
public:
    cnvrtGPSFl(wxWindow* parent, FileConverters& converters);

    // Which options and rows the format and the checks show.
    void showForFormat();
    void showForChecks();
    void OnConvert();

private:
    void layOut();
    void bindHandlers();
    void selectInput();
    void selectGps();
    void selectRaw();
    std::string text(int id) const;
    bool checked(int id) const;
    int format() const;
    void message(const std::string& text);

    FileConverters& converters_;
};
