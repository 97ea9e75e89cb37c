#pragma once
// "Set New Head ID": the sixteen head addresses as "1" .. "16", the master ID selected.
// Ok with an entry selected asks for the ID change on the next block to the scanned head;
// Ok with none withdraws a pending change; Cancel changes nothing.

#include <QDialog>

#include "core/SonarState.h"

class QListWidget;
class QPushButton;

namespace tidemar {

inline constexpr const char* SetNewHeadIdTitle = "Set New Head ID";

class HeadIdDialog : public QDialog {
public:
    HeadIdDialog(SonarState& state, QWidget* parent = nullptr);

    QListWidget* IdList() const { return list_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

private:
    void AcceptId();

    SonarState& state_;
    QListWidget* list_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

// The list of head addresses both programming dialogs share: "1" .. "16" for 16 .. 31,
// with `selectedId` selected when it is one of them.
QListWidget* MakeHeadIdList(int selectedId, QWidget* parent);
// The address of the selected entry, or 0 when none is selected.
int SelectedHeadId(const QListWidget* list);

}  // namespace tidemar
