#include "ui/dialogs/UserTextDialog.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/DialogEntries.h"
#include "ui/dialogs/DialogSupport.h"

namespace tidemar {

UserTextDialog::UserTextDialog(SonarState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setWindowTitle(QStringLiteral("User Text"));
    setModal(true);

    text_ = new QLineEdit(ToQString(state_.UserText), this);
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

    connect(ok_, &QPushButton::clicked, this, [this] {
        AcceptUserText(state_, text_->text().toStdString());
        accept();
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

}  // namespace tidemar
