#include "ui/dialogs/ValueDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/dialogs/DialogSupport.h"

namespace tidemar {

ValueDialog::ValueDialog(ValueRules rules, Prompts& prompts, QWidget* parent)
    : QDialog(parent), rules_(std::move(rules)), prompts_(prompts) {
    setWindowTitle(QString::fromLatin1(rules_.Caption.data(), static_cast<qsizetype>(rules_.Caption.size())));
    setModal(true);

    value_ = MakeValueBox(this, rules_.BoxCharacters);
    arrows_ = new DialogArrows(this);
    unit_ = new QLabel(ToQString(rules_.Unit), this);
    auto* row = new QHBoxLayout;
    row->addWidget(value_);
    row->addWidget(arrows_);
    row->addWidget(unit_);
    row->addStretch();

    const DialogButtons actions = MakeDialogButtons(this, QStringLiteral("Default"));
    ok_ = actions.Ok;
    default_ = actions.Defaults;
    cancel_ = actions.Cancel;
    QHBoxLayout* buttons = actions.Row;

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);

    // Only what the operator types is read back: the shown text is rounded, and reading
    // it back would change the stored value by merely opening and closing the dialog.
    connect(value_, &QLineEdit::textEdited, this,
            [this](const QString& text) { working_ = rules_.FromText(text.toStdString()); });
    connect(arrows_, &DialogArrows::stepped, this, [this](int direction) {
        working_ = rules_.Step(working_, direction);
        ShowWorking();
    });
    connect(default_, &QPushButton::clicked, this, [this] {
        working_ = rules_.Default();
        ShowWorking();
    });
    connect(ok_, &QPushButton::clicked, this, &ValueDialog::AcceptValue);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    working_ = rules_.Start();
    ShowWorking();
}

void ValueDialog::ShowWorking() { value_->setText(ToQString(rules_.Text(working_))); }

void ValueDialog::AcceptValue() {
    if (const auto refusal = rules_.Accept(working_)) {
        ShowMessages(prompts_, {*refusal});
        working_ = rules_.Start();
        ShowWorking();
        return;
    }
    accept();
}

}  // namespace tidemar
