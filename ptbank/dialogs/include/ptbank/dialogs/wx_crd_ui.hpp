#pragma once
// The coordinate file library's windows in a wxWidgets program. While a
// WxCrdUi lives, ptbank shows its message boxes, its coordinate file dialog
// and its point-overwrite question (CPtOverwriteDlg) through it; its end
// puts back the provider that was in force before. The parent window that
// callers of the library pass as an opaque pointer is a wxWindow*.

#include "ptbank/crd_ui_provider.hpp"

namespace ptbank {

class WxCrdUi final : public CrdUiProvider {
public:
    WxCrdUi();
    ~WxCrdUi() override;
    WxCrdUi(const WxCrdUi&) = delete;
    WxCrdUi& operator=(const WxCrdUi&) = delete;

    // Owned by the program's top window.
    void message(const std::string& text, const std::string& title, CrdMessageIcon icon) override;
    bool chooseFile(const CrdFileDialogRequest& request, CrdFileDialogAnswer& answer) override;
    int overwritePoint(crdOverwriteRec& record, void* parentWindow) override;

private:
    CrdUiProvider* previous_;
};

} // namespace ptbank
