#pragma once
// A host program's UI provider for tests: it keeps every message box and
// every point-overwrite question it is shown, and answers the questions
// with the codes the test lines up (VKCRD_ANSWER_NOT_SHOWN when none is
// left). While it lives it is the library's provider.

#include "ptbank/crd_overwrite_rec.h"
#include "ptbank/crd_ui_provider.hpp"

#include <deque>
#include <string>
#include <vector>

namespace crdtest {

class ScriptedUi : public ptbank::CrdUiProvider {
public:
    struct Box {
        std::string text;
        std::string title;
        ptbank::CrdMessageIcon icon;
    };

    ScriptedUi() : previous_(ptbank::setCrdUi(this)) {}
    ~ScriptedUi() override { ptbank::setCrdUi(previous_); }
    ScriptedUi(const ScriptedUi&) = delete;
    ScriptedUi& operator=(const ScriptedUi&) = delete;

    void message(const std::string& text, const std::string& title,
                 ptbank::CrdMessageIcon icon) override {
        boxes.push_back({text, title, icon});
    }
    bool chooseFile(const ptbank::CrdFileDialogRequest&, ptbank::CrdFileDialogAnswer&) override {
        return false;
    }
    int overwritePoint(crdOverwriteRec& record, void* parentWindow) override {
        questions.push_back(record);
        questions.back().pointNames = nullptr; // the texts are the caller's
        parents.push_back(parentWindow);
        if (answers.empty())
            return VKCRD_ANSWER_NOT_SHOWN;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const Box& box : boxes)
            texts.push_back(box.text);
        return texts;
    }

    std::deque<int> answers;
    std::vector<Box> boxes;
    std::vector<crdOverwriteRec> questions;
    std::vector<void*> parents;

private:
    ptbank::CrdUiProvider* previous_;
};

} // namespace crdtest
