#pragma once
// The file dialogs answered from a script, recording what was asked: for the file commands'
// tests and the main frame's.
#include <deque>
#include <string>
#include <vector>

#include "core/files/FileCommands.h"

namespace saroko::test {

class ScriptedUi : public IFileCommandUi {
public:
    bool AskOpenPath(std::string& path) override { return Next("open", path); }
    bool AskSavePath(int range, std::string& path) override {
        return Next(range ? "save-range" : "save-all", path);
    }
    bool AskTextPath(int range, uint32_t& divide, std::string& path) override {
        preselected.push_back(divide);
        if (!answers.empty() && chosenDivide)
            divide = chosenDivide;
        return Next(range ? "text-range" : "text-all", path);
    }
    void SetWaitCursor(bool on) override { waitDepth += on ? 1 : -1; }

    bool Next(const std::string& dialog, std::string& path) {
        asked.push_back(dialog);
        if (answers.empty())
            return false; // Cancel
        path = answers.front();
        answers.pop_front();
        return true;
    }
    std::deque<std::string> answers;
    std::vector<std::string> asked;
    std::vector<uint32_t> preselected;
    uint32_t chosenDivide = 0;
    int waitDepth = 0;
};

} // namespace saroko::test
