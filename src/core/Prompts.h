#pragma once
// What the program asks of the operator and of its main window's frame, written from what
// the callers need. The window implements these with Qt; tests and the command-line tool
// use ScriptedPrompts, which answers from a script and keeps every message shown.
// Interfaces only: nothing here depends on Qt.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tidemar {

enum class MessageIcon { None, Exclamation, Information, Question };

// One more choice of file type in a dialog: its text, pattern and the extension a name
// typed without one gets while it is chosen.
struct FileDialogFilter {
    std::string Name;       // "PNG File    (*.PNG)"
    std::string Pattern;    // "*.PNG"
    std::string Extension;  // "PNG"
};

struct FileDialogRequest {
    std::string Title;
    std::string FilterName;        // "SK7T Sonar Files (*.K7T)"
    std::string Pattern;           // "*.K7T"
    std::string DefaultExtension;  // "K7T", added when the name typed has none
    std::string InitialName;
    std::vector<FileDialogFilter> MoreFilters;  // offered after the first, which is chosen at first
    bool PathMustExist = false;
    bool FileMustExist = false;
    bool PromptOverwrite = false;
    bool HideReadOnly = false;
    // When set, a chosen name this calls true for is refused (the call says why) before any
    // question about replacing the file, and the dialog asks again.
    std::function<bool(const std::string&)> Refuses;
};

class Prompts {
public:
    virtual ~Prompts() = default;
    // A modal message box with an OK button.
    virtual void Message(const std::string& caption, const std::string& text, MessageIcon icon) = 0;
    // A modal question with Yes and Cancel buttons: true for Yes.
    virtual bool AskYesCancel(const std::string& caption, const std::string& text) = 0;
    // File dialogs: the chosen path as the operator typed it, or nothing on Cancel.
    virtual std::optional<std::string> OpenFileName(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> SaveFileName(const FileDialogRequest& request) = 0;
};

// The main window's title and menu item texts, which recording, copying and playback
// change as they start and stop.
class WindowChrome {
public:
    virtual ~WindowChrome() = default;
    virtual void SetTitle(const std::string& title) = 0;
    virtual void SetMenuText(int commandId, const std::string& text) = 0;
};

inline constexpr const char* ProgramTitle = "Tidemar Digital Sonar";

}  // namespace tidemar
