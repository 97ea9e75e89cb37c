#include "ui/toolwindows/HeadIdDialog.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/HeadInfo.h"

namespace tidemar {

QListWidget* MakeHeadIdList(int selectedId, QWidget* parent) {
    auto* list = new QListWidget(parent);
    for (int i = 0; i < HeadAddressCount; ++i) list->addItem(QString::number(i + 1));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    const int row = selectedId - FirstHeadAddress;
    if (row >= 0 && row < HeadAddressCount) list->setCurrentRow(row);
    return list;
}

int SelectedHeadId(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    if (selected.isEmpty()) return 0;
    return list->row(selected.front()) + FirstHeadAddress;
}

HeadIdDialog::HeadIdDialog(SonarState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setWindowTitle(QString::fromLatin1(SetNewHeadIdTitle));
    setModal(true);
    list_ = MakeHeadIdList(state.MasterHeadID, this);
    ok_ = new QPushButton(QStringLiteral("Ok"), this);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    ok_->setDefault(true);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    const QFontMetrics metrics(font());
    resize(22 * metrics.averageCharWidth(), 14 * metrics.height());

    connect(ok_, &QPushButton::clicked, this, &HeadIdDialog::AcceptId);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &HeadIdDialog::AcceptId);
}

void HeadIdDialog::AcceptId() {
    const int id = SelectedHeadId(list_);
    state_.HeadIdChangeRequest = id != 0 ? 1 : 0;
    if (id != 0) state_.NewHeadID = id;
    accept();
}

}  // namespace tidemar
