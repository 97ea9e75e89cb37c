#include "ui/dialogs/DialogSupport.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace tidemar {

namespace {

QToolButton* MakeArrow(QWidget* parent, Qt::ArrowType type) {
    auto* button = new QToolButton(parent);
    button->setArrowType(type);
    button->setAutoRepeat(true);
    button->setFixedSize(18, 12);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

DialogArrows::DialogArrows(QWidget* parent) : QWidget(parent) {
    up_ = MakeArrow(this, Qt::UpArrow);
    down_ = MakeArrow(this, Qt::DownArrow);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(up_);
    layout->addWidget(down_);
    connect(up_, &QToolButton::clicked, this, [this] { emit stepped(1); });
    connect(down_, &QToolButton::clicked, this, [this] { emit stepped(-1); });
}

void ShowMessages(Prompts& prompts, const std::vector<MessageText>& messages) {
    for (const MessageText& message : messages)
        prompts.Message(message.Caption, message.Text, MessageIcon::Exclamation);
}

QLineEdit* MakeValueBox(QWidget* parent, int characters) {
    auto* box = new QLineEdit(parent);
    const QFontMetrics metrics(box->font());
    box->setFixedWidth(metrics.horizontalAdvance(QLatin1Char('0')) * (characters + 1) + 12);
    return box;
}

DialogButtons MakeDialogButtons(QWidget* parent, const QString& defaultsText) {
    DialogButtons buttons;
    buttons.Ok = new QPushButton(QStringLiteral("Ok"), parent);
    buttons.Defaults = new QPushButton(defaultsText, parent);
    buttons.Cancel = new QPushButton(QStringLiteral("Cancel"), parent);
    buttons.Ok->setDefault(true);
    buttons.Defaults->setAutoDefault(false);
    buttons.Cancel->setAutoDefault(false);
    buttons.Row = new QHBoxLayout;
    buttons.Row->addWidget(buttons.Ok);
    buttons.Row->addWidget(buttons.Defaults);
    buttons.Row->addWidget(buttons.Cancel);
    return buttons;
}

}  // namespace tidemar
