#pragma once
// The operator's prompts and the main window's frame, done with Qt: modal message boxes,
// the open and save file dialogs, the window title and the menu item texts.

#include <QString>
#include <QStringList>

#include "core/Prompts.h"

class QAction;
class QWidget;

namespace tidemar {

// Menu actions carry their command id in this property; the chrome and the window find
// them by it.
inline constexpr const char* CommandIdProperty = "tidemarCommandId";

class QtPrompts : public Prompts {
public:
    // `parent` owns the dialogs (they are centred on it); may be null.
    explicit QtPrompts(QWidget* parent) : parent_(parent) {}
    // For prompts made before the window they belong to.
    void SetParent(QWidget* parent) { parent_ = parent; }

    void Message(const std::string& caption, const std::string& text, MessageIcon icon) override;
    bool AskYesCancel(const std::string& caption, const std::string& text) override;
    std::optional<std::string> OpenFileName(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileName(const FileDialogRequest& request) override;

private:
    std::optional<std::string> AskFileName(const FileDialogRequest& request, bool save);
    QWidget* parent_;
};

// The name filters of a file dialog: the request's filter text, whose pattern also
// matches the other case of the extension (Linux file names keep their case, and a
// "*.K7T" filter would hide "survey.k7t"), then its more filters alike, then "All Files (*)".
QStringList FileDialogFilters(const FileDialogRequest& request);

// A typed name without an extension gets the default one; any other name is kept as typed.
std::string WithDefaultExtension(const std::string& name, const std::string& extension);

class QtWindowChrome : public WindowChrome {
public:
    explicit QtWindowChrome(QWidget* window) : window_(window) {}

    void SetTitle(const std::string& title) override;
    void SetMenuText(int commandId, const std::string& text) override;

private:
    QWidget* window_;
};

// The window's menu action of `commandId`, or null.
QAction* FindCommandAction(QWidget* window, int commandId);

}  // namespace tidemar
