#include "ui/dialogs/SaveProfileDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/dialogs/AutoProfileDialog.h"

namespace tidemar {

SaveProfileDialog::SaveProfileDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromLatin1(AutoProfileCaption));
    setModal(true);
    question_ = new QLabel(QString::fromLatin1(SaveProfileQuestion), this);
    question_->setAlignment(Qt::AlignCenter);
    yes_ = new QPushButton(QStringLiteral("Yes"), this);
    no_ = new QPushButton(QStringLiteral("No"), this);
    yes_->setDefault(true);
    no_->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(yes_);
    buttons->addWidget(no_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(question_);
    layout->addLayout(buttons);
    connect(yes_, &QPushButton::clicked, this, &QDialog::accept);
    connect(no_, &QPushButton::clicked, this, &QDialog::reject);
}

bool SaveProfileDialog::Ask(QWidget* parent) {
    SaveProfileDialog dialog(parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace tidemar
