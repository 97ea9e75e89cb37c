#pragma once
// Pieces the settings dialogs share: the pair of scroll arrows beside a value box, and the
// message boxes of a refused entry.

#include <QWidget>

#include <string>
#include <vector>

#include "core/Prompts.h"
#include "settings/UserConfigEntry.h"

class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace tidemar {

// An up and a down arrow; stepped(+1) for up, stepped(-1) for down. Holding one repeats.
class DialogArrows : public QWidget {
    Q_OBJECT
public:
    explicit DialogArrows(QWidget* parent = nullptr);
    QToolButton* Up() const { return up_; }
    QToolButton* Down() const { return down_; }

signals:
    void stepped(int direction);

private:
    QToolButton* up_;
    QToolButton* down_;
};

// Each message in turn, with the exclamation icon.
void ShowMessages(Prompts& prompts, const std::vector<MessageText>& messages);

inline QString ToQString(const std::string& text) { return QString::fromStdString(text); }

// A value box of the dialogs: fixed width for `characters` characters.
QLineEdit* MakeValueBox(QWidget* parent, int characters);

// The row of "Ok", the defaults button (`defaultsText`: "Default" or "Defaults") and
// "Cancel"; Enter presses Ok only.
struct DialogButtons {
    QHBoxLayout* Row;
    QPushButton* Ok;
    QPushButton* Defaults;
    QPushButton* Cancel;
};
DialogButtons MakeDialogButtons(QWidget* parent, const QString& defaultsText);

}  // namespace tidemar
