#pragma once
// Prompts and window chrome that answer from a script and remember everything, for tests
// and for the command-line tool (which runs with an empty script: every dialog is
// cancelled and every message is kept, not shown).

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/Prompts.h"

namespace tidemar {

struct ShownMessage {
    std::string Caption;
    std::string Text;
    MessageIcon Icon;
};

class ScriptedPrompts : public Prompts {
public:
    // Answers for the next file dialogs, in order; nothing means Cancel.
    std::deque<std::optional<std::string>> FileAnswers;
    std::vector<ShownMessage> Messages;
    std::vector<FileDialogRequest> FileDialogs;
    // Answers for the next Yes/Cancel questions, in order (true for Yes); nothing means Yes.
    std::deque<bool> QuestionAnswers;
    std::vector<ShownMessage> Questions;

    void Message(const std::string& caption, const std::string& text, MessageIcon icon) override {
        Messages.push_back({caption, text, icon});
    }
    bool AskYesCancel(const std::string& caption, const std::string& text) override {
        Questions.push_back({caption, text, MessageIcon::Question});
        if (QuestionAnswers.empty()) return true;
        const bool yes = QuestionAnswers.front();
        QuestionAnswers.pop_front();
        return yes;
    }
    std::optional<std::string> OpenFileName(const FileDialogRequest& request) override { return Answer(request); }
    std::optional<std::string> SaveFileName(const FileDialogRequest& request) override { return Answer(request); }

private:
    std::optional<std::string> Answer(const FileDialogRequest& request) {
        FileDialogs.push_back(request);
        if (FileAnswers.empty()) return std::nullopt;
        auto answer = FileAnswers.front();
        FileAnswers.pop_front();
        return answer;
    }
};

class RecordedChrome : public WindowChrome {
public:
    std::string Title = ProgramTitle;
    std::map<int, std::string> MenuTexts;
    std::vector<std::string> TitleHistory;

    void SetTitle(const std::string& title) override {
        Title = title;
        TitleHistory.push_back(title);
    }
    void SetMenuText(int commandId, const std::string& text) override { MenuTexts[commandId] = text; }
};

}  // namespace tidemar
