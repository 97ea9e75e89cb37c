#pragma once
// The "Scan For Connected Heads" tool window: the sixteen head addresses as boxes (the
// scanned one lit when that head answers), the head's decoded information and its 64
// bytes of memory from the last head-scan reply, and the two buttons that open the head
// ID and programming dialogs. While it is shown the ping cycle asks for head-scan
// replies; closing it hides it, ends the head scan and emits Closed().

#include <QFont>
#include <QWidget>

#include "image/ImageColorTable.h"
#include "core/SonarState.h"
#include "core/Prompts.h"
#include "ui_core/PanelLayout.h"
#include "ui_core/ScanWindowLayout.h"

namespace tidemar {

class ScanWindow : public QWidget {
    Q_OBJECT
public:
    ScanWindow(SonarState& state, Prompts& prompts, QWidget* parent);

    // After a head-scan reply: moves the address marks and repaints the values.
    void Refresh();

    // The two buttons: drawn pressed while their dialog runs modally.
    void ChangeHeadId();
    void ProgramHead();

    const ScanWindowGeometry& Geometry() const { return geometry_; }
    const AddressBoxMarks& Marks() const { return marks_; }
    const ScanWindowValues& Values() const { return values_; }

signals:
    void Closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    enum class Button { None, ChangeHeadId, ProgramHead };
    void Press(Button button);

    SonarState& state_;
    Prompts& prompts_;
    ScanWindowGeometry geometry_;
    PanelLayout panelLayout_;
    ImageColorTable colors_{};
    QFont textFont_;
    AddressBoxMarks marks_;
    ScanWindowValues values_;
    Button pressed_ = Button::None;
};

}  // namespace tidemar
