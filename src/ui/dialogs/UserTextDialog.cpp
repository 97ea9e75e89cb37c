#include "ui/dialogs/UserTextDialog.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/Cp1252.h"
#include "settings/DialogEntries.h"
#include "ui/dialogs/DialogSupport.h"

namespace tidemar {

UserTextDialog::UserTextDialog(SonarState& state, Prompts& prompts, QWidget* parent)
    : QDialog(parent), state_(state), prompts_(prompts) {
    setWindowTitle(QString::fromLatin1(UserTextCaption.data(), static_cast<qsizetype>(UserTextCaption.size())));
    setModal(true);

    text_ = new QLineEdit(QString::fromStdString(Cp1252ToUtf8(state_.UserText)), this);
    // Typing stops at what is kept, rather than the end being cut off silently at Ok.
    text_->setMaxLength(UserTextDialogCharacters);
    text_->setMinimumWidth(text_->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 24);
    ok_ = new QPushButton(QStringLiteral("Ok"), this);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    ok_->setDefault(true);
    cancel_->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addLayout(buttons);

    connect(ok_, &QPushButton::clicked, this, &UserTextDialog::AcceptText);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

// A refused text stays in the box to be mended.
void UserTextDialog::AcceptText() {
    if (const auto refusal = AcceptUserText(state_, text_->text().toStdString())) {
        ShowMessages(prompts_, {*refusal});
        text_->setFocus();
        return;
    }
    accept();
}

}  // namespace tidemar
