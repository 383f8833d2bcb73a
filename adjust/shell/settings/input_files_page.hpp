#pragma once
// The Input Files page: the raw data files, the GPS vector files and their
// format, the level file and the supplemental control file, with their units
// and formats. Raw files of the two kinds (.RW5, .VKR) never share the list.

#include "shell/settings/settings_page.hpp"

#include <string>
#include <vector>

// Whether some name in `names` ends in other last four characters than
// `name` (case aside).
bool listHasOtherExtension(const std::vector<std::string>& names, const std::string& name);
// Whether the first of `names` ends in ".RW5" (case aside).
bool firstRawIsRw5(const std::vector<std::string>& names);
// A file list kept as names each followed by "\n" (a last name without it
// counts too), split and joined.
std::vector<std::string> splitFileList(const std::string& list);
std::string joinFileList(const std::vector<std::string>& names);

class CInputFilesPage : public SettingsPage {
public:
    CInputFilesPage(wxWindow* parent, CSettingsPropSht& sheet);

    void onShown() override;
    // The horizontal unit chosen on the first page is the total stations' unit too.
    void totalStationUnitsFollow(int unit);
    // The file dialogs of the page's buttons.
    void addRawFiles();
    void addGpsFiles();
    void selectLevelFile();
    void selectControlFile();
    std::vector<std::string> rawFiles() const;

protected:
    void fillOwnControls() override;
    void readOwnControls() override;

private:
    void layOut();
    void bindHandlers();
    void applyEnableRules();
    void applyModelRule();
    void applyRw5VectorRule();
    void addFiles(int listId, const std::vector<std::string>& paths, bool checkExtension);
    void removeSelected(int listId);
    void editGpsFile();
    std::vector<std::string> listNames(int listId) const;
};
