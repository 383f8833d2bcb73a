#pragma once
// The Coordinate System page: the system and its zone, the ellipsoid and map
// projection the system implies (shown, not edited, except the UTM
// ellipsoid), a user-defined system's .udp file, the units, the elevation
// factor, the adjustment model and the geoid.

#include "model/settings/udp_record.hpp"
#include "shell/settings/settings_page.hpp"

struct ellipsoid;

class CCoordSysPage : public SettingsPage {
public:
    CCoordSysPage(wxWindow* parent, CSettingsPropSht& sheet);

    // Shows the controls of the chosen system and takes its zone.
    void showSystem();
    // Enables what the 2D-and-1D model uses; the 3D model adjusts in one unit.
    void showModelControls();

protected:
    void fillOwnControls() override;
    void readOwnControls() override;
    bool validateOwnControls() override;

private:
    void layOut();
    void bindHandlers();
    void refresh();
    void onZoneChange();
    void onEllipsoidChange();
    void selectUdpFile(int editId);
    void editUdpFile(int editId, bool takePathBack);
    void loadUdp();
    void ensureUdpLoaded();
    void showEllipsoid(const ellipsoid& ell);
    void selectedEllipsoid(ellipsoid& ell);
    void showStatePlane(int system);
    void showUtm();
    void showUserDefined();
    void showLocal();
    void showNewBrunswick();
    void fillZoneList(const std::vector<std::string>& names, int index);
    std::string editText(int id) const;

    udpRec udp_;
};
