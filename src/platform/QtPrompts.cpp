#include "platform/QtPrompts.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QWidget>

namespace tidemar {

namespace {

QString FromText(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToText(const QString& text) { return text.toLocal8Bit().toStdString(); }

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void QtPrompts::Message(const std::string& caption, const std::string& text, MessageIcon icon) {
    QMessageBox box(ToQtIcon(icon), FromText(caption), FromText(text), QMessageBox::Ok, parent_);
    box.exec();
}

bool QtPrompts::AskYesCancel(const std::string& caption, const std::string& text) {
    QMessageBox box(QMessageBox::Question, FromText(caption), FromText(text), QMessageBox::Yes | QMessageBox::Cancel,
                    parent_);
    box.setDefaultButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtPrompts::OpenFileName(const FileDialogRequest& request) {
    return AskFileName(request, false);
}

std::optional<std::string> QtPrompts::SaveFileName(const FileDialogRequest& request) {
    return AskFileName(request, true);
}

std::optional<std::string> QtPrompts::AskFileName(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(parent_, FromText(request.Title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save || !request.FileMustExist ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = FileDialogFilters(request);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(FromText(request.DefaultExtension));
    // A name typed without an extension gets the one of the file type chosen; the dialog
    // hands the filters back with their white space simplified.
    auto extensionOf = [&](const QString& filter) {
        qsizetype at = -1;
        for (qsizetype i = 0; i < filters.size(); ++i)
            if (filters[i].simplified() == filter.simplified()) at = i;
        if (!request.FilterName.empty() || !request.Pattern.empty()) --at;
        if (at >= 0 && at < static_cast<qsizetype>(request.MoreFilters.size()))
            return request.MoreFilters[static_cast<size_t>(at)].Extension;
        return request.DefaultExtension;
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&](const QString& filter) { dialog.setDefaultSuffix(FromText(extensionOf(filter))); });
    const bool askReplace = save && request.PromptOverwrite;
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.PromptOverwrite || request.Refuses != nullptr);
    if (!request.InitialName.empty()) {
        const QFileInfo initial(FromText(request.InitialName));
        if (initial.dir().exists()) dialog.setDirectory(initial.absoluteDir());
        dialog.selectFile(initial.fileName());
    }
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        const std::string name =
            WithDefaultExtension(ToText(dialog.selectedFiles().front()), extensionOf(dialog.selectedNameFilter()));
        const QFileInfo chosen(FromText(name));
        // The dialog already refuses a missing file in open mode; a folder that vanished
        // meanwhile is caught here, and the operator chooses again.
        if (request.PathMustExist && !chosen.absoluteDir().exists()) {
            Message(request.Title, "The folder of " + name + " does not exist.", MessageIcon::Exclamation);
            continue;
        }
        if (request.FileMustExist && !chosen.isFile()) {
            Message(request.Title, name + "\nFile not found.", MessageIcon::Exclamation);
            continue;
        }
        if (request.Refuses && request.Refuses(name)) continue;
        if (askReplace && request.Refuses && chosen.exists() &&
            QMessageBox::question(parent_, FromText(request.Title),
                                  FromText(name + " already exists.\nDo you want to replace it?")) != QMessageBox::Yes)
            continue;
        return name;
    }
}

namespace {

// A filter's text with its pattern in both letter cases, as Qt reads it from the last
// parentheses of the text.
QString FilterText(const std::string& name, const std::string& patternText) {
    QString filter = FromText(name);
    const QString pattern = FromText(patternText);
    if (pattern.isEmpty()) return filter;
    QString patterns = pattern;
    if (pattern.toLower() != pattern) patterns += ' ' + pattern.toLower();
    if (pattern.toUpper() != pattern) patterns += ' ' + pattern.toUpper();
    const qsizetype open = filter.lastIndexOf('(');
    if (open >= 0 && filter.endsWith(')')) return filter.left(open) + '(' + patterns + ')';
    return (filter.isEmpty() ? QString() : filter + ' ') + '(' + patterns + ')';
}

}  // namespace

QStringList FileDialogFilters(const FileDialogRequest& request) {
    QStringList filters;
    const QString first = FilterText(request.FilterName, request.Pattern);
    if (!first.isEmpty()) filters << first;
    for (const FileDialogFilter& more : request.MoreFilters) filters << FilterText(more.Name, more.Pattern);
    filters << QStringLiteral("All Files (*)");
    return filters;
}

std::string WithDefaultExtension(const std::string& name, const std::string& extension) {
    if (extension.empty() || name.empty()) return name;
    const size_t slash = name.find_last_of('/');
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) return name;
    return name + "." + extension;
}

void QtWindowChrome::SetTitle(const std::string& title) { window_->setWindowTitle(FromText(title)); }

void QtWindowChrome::SetMenuText(int commandId, const std::string& text) {
    if (QAction* action = FindCommandAction(window_, commandId)) action->setText(FromText(text));
}

QAction* FindCommandAction(QWidget* window, int commandId) {
    if (!window) return nullptr;
    for (QAction* action : window->findChildren<QAction*>()) {
        const QVariant id = action->property(CommandIdProperty);
        if (id.isValid() && id.toInt() == commandId) return action;
    }
    return nullptr;
}

}  // namespace tidemar
