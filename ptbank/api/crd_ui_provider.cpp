#include "ptbank/crd_ui_provider.hpp"

#include "ptbank/crd_environment.hpp"
#include "ptbank/crd_overwrite_rec.h"

namespace ptbank {
namespace {

class ConsoleUi final : public CrdUiProvider {
public:
    void message(const std::string& text, const std::string& title, CrdMessageIcon) override {
        crdPrint("\n" + title + ": " + text + "\n");
    }
    bool chooseFile(const CrdFileDialogRequest&, CrdFileDialogAnswer&) override { return false; }
};

ConsoleUi consoleUi;
CrdUiProvider* installed = &consoleUi;

} // namespace

int CrdUiProvider::overwritePoint(crdOverwriteRec&, void*) {
    return VKCRD_ANSWER_NOT_SHOWN;
}

CrdUiProvider& crdUi() {
    return *installed;
}

CrdUiProvider* setCrdUi(CrdUiProvider* provider) {
    CrdUiProvider* previous = installed == &consoleUi ? nullptr : installed;
    installed = provider ? provider : &consoleUi;
    return previous;
}

} // namespace ptbank
