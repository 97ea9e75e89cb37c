// The Diagnostics and "Scan For Connected Heads" windows offscreen: their texts exactly,
// their sizes and colours, the address marks, and the head ID and programming dialogs
// answered through their controls.
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include "image/ColorTables.h"
#include "core/HeadInfo.h"
#include "core/Reply.h"
#include "platform/ScriptedPrompts.h"
#include "ui/toolwindows/DiagnosticsWindow.h"
#include "ui/toolwindows/HeadIdDialog.h"
#include "ui/toolwindows/ProgramHeadDialog.h"
#include "ui/toolwindows/ScanWindow.h"
#include "ui_core/DiagnosticsTexts.h"
#include "ui_core/ScanWindowLayout.h"

using namespace tidemar;

namespace {

QColor Palette(int index) {
    const RgbColor c = PaletteColor(0, index);
    return QColor(c.Red, c.Green, c.Blue);
}

// A reply as the head sends it, put through validation and decoding.
void Receive(SonarState& state, uint8_t type, int dataBytes,
             const std::function<void(std::vector<uint8_t>&)>& edit = {}) {
    std::vector<uint8_t> reply(static_cast<size_t>(13 + dataBytes), 0);
    const uint8_t header[12] = {'B',
                                type,
                                'L',
                                17,
                                0x21,
                                0x58,
                                0x04,
                                50,
                                0x05,
                                0x01,
                                static_cast<uint8_t>(dataBytes & 0x7F),
                                static_cast<uint8_t>(dataBytes >> 7)};
    std::copy(header, header + 12, reply.begin());
    reply.back() = 0xFC;
    if (edit) edit(reply);
    std::copy(reply.begin(), reply.end(), state.ReceiveBuffer.begin());
    state.ExpectedReturnLength = static_cast<int>(reply.size());
    state.ReplyType = type;
    ManualClock clock;
    QCOMPARE(ValidateReply(state, clock), 1);
}

std::vector<uint8_t> Memory() { return {1, 4, 9, 1, 19, 0, 0x52, 0x09, 0, 0, 1, 17, 0, 0x10, 0, 0, 0}; }

void ReceiveHeadScan(SonarState& state, int headId) {
    Receive(state, 'T', HeadNvRamBytes, [headId](std::vector<uint8_t>& r) {
        r[3] = static_cast<uint8_t>(headId);
        const auto nv = Memory();
        std::copy(nv.begin(), nv.end(), r.begin() + ReplyHeaderBytes);
        r[12 + 63] = 0xAB;
    });
}

QStringList Values(const SonarState& state) {
    QStringList values;
    for (const DiagnosticsRow& row : DiagnosticsRows(state)) values << QString::fromStdString(row.Value);
    return values;
}

// Answers the modal dialog the call opens, then returns whether it opened.
template <typename Dialog>
bool Answer(const std::function<void()>& open, const std::function<void(Dialog&)>& answer) {
    auto seen = std::make_shared<bool>(false);
    QTimer::singleShot(0, [seen, answer] {
        auto* dialog = dynamic_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        *seen = true;
        answer(*dialog);
    });
    open();
    return *seen;
}

int CountColor(const QImage& image, const QRect& area, const QColor& color) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y).rgb() == color.rgb()) ++count;
    return count;
}

}  // namespace

class DiagnosticsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void rowsSayNotAvailableUntilTheFirstReply() {
        SonarState state;
        state.SendDelay = 3;
        state.SwitchDelay = 40;
        state.LoopsPerSecond = 123456;
        state.IPAddress_Sonar1 = "127.0.0.66";
        state.ExternalTriggerControl = 2;
        state.RecvErrorCount = 4;
        QStringList labels;
        for (const DiagnosticsRow& row : DiagnosticsRows(state)) labels << QString::fromLatin1(row.Label);
        QCOMPARE(labels, QStringList({"Header", "Head ID", "Serial Stat", "Head Pos", "Range", "Profile", "Data Bytes",
                                      "Term", "Send Delay", "Tx Delay", "Switch Delay", "Delay Count", "Rep Rate",
                                      "IP Sonar", "Recv Errors", "Ext Trigger"}));
        QCOMPARE(Values(state), QStringList({"n/a", "n/a", "n/a", "n/a", "n/a", "n/a", "n/a", "n/a", "3 ms", "0 us",
                                             "40 ms", "n/a", "0 ms", "127.0.0.66", "4", "0x02"}));
    }

    void rowsShowTheLastHeader() {
        SonarState state;
        state.MasterHeadID = 18;
        Receive(state, 'G', 500);
        QCOMPARE(Values(state).mid(0, 8),
                 QStringList({"BGL", "0x11 (0x12)", "0x21", "600", "50 M", "133", "500", "0xFC"}));
        state.Units = 1;
        QCOMPARE(Values(state)[4], QStringLiteral("150 FT"));
        Receive(state, 'P', 0, [](std::vector<uint8_t>& r) { r[7] = 3; });
        QCOMPARE(Values(state).mid(0, 8),
                 QStringList({"BPL", "0x11 (0x12)", "0x21", "600", "9 FT", "133", "0", "0xFC"}));
    }

    void diagnosticsWindowIsACellSizedToolWindow() {
        SonarState state;
        QWidget owner;
        DiagnosticsWindow window(state, &owner);
        QCOMPARE(window.windowTitle(), QStringLiteral("Diagnostics"));
        QVERIFY(window.windowFlags().testFlag(Qt::Tool));
        QVERIFY(!window.isVisible());
        const auto [w, h] = MainWindowCharacterCell(owner.font());
        QCOMPARE(window.size(), QSize(18 * w, 18 * h + 3));

        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QImage before = window.grab().toImage();
        QCOMPARE(before.pixelColor(2, 2), Palette(PaletteReadoutFill));
        const DiagnosticsGeometry& g = window.Geometry();
        const QRect labels(g.LabelLeft(), g.RowTop(0), g.DashLeft() - g.LabelLeft(), 16 * h);
        const QRect header(g.ValueLeft(), g.RowTop(0), window.width() - 11 - g.ValueLeft(), 8 * h);
        QVERIFY(CountColor(before, labels, Palette(PaletteBlack)) > 100);
        QVERIFY(CountColor(before, header, Palette(PaletteBlack)) > 20);  // "n/a"

        Receive(state, 'G', 500);
        window.Refresh();
        QCOMPARE(window.Refreshes(), 1);
        const QImage after = window.grab().toImage();
        QCOMPARE(after.copy(labels), before.copy(labels));
        QVERIFY(after.copy(header) != before.copy(header));
        QVERIFY(CountColor(after, header, Palette(PaletteBlack)) > 100);

        window.close();
        QVERIFY(!window.isVisible());
    }

    void addressMarksFollowPolledAndReplyingHeads() {
        AddressBoxMarks marks;
        const AddressBoxLook plain{125, 122}, lit{123, 119}, polled{125, 123}, answered{125, 119};
        for (int i = 0; i < HeadAddressCount; ++i) QCOMPARE(marks.Look(i), plain);
        marks.Update(16, 0);  // polled, no head answered yet
        QCOMPARE(marks.Look(0), polled);
        marks.Update(16, 16);
        QCOMPARE(marks.Look(0), lit);
        // The polled address moves on: the old box keeps its answer, the new one is polled.
        marks.Update(20, 16);
        QCOMPARE(marks.Look(0), answered);
        QCOMPARE(marks.Look(4), polled);
        // Another head answers: the earlier replier falls back to plain.
        marks.Update(20, 20);
        QCOMPARE(marks.Look(0), plain);
        QCOMPARE(marks.Look(4), lit);
        marks.Update(40, 40);  // an address off the bus marks nothing
        QCOMPARE(marks.Look(4), plain);
        for (int i = 0; i < HeadAddressCount; ++i) QVERIFY(marks.Look(i) != lit);
        marks.Reset();
        QCOMPARE(marks.Look(4), plain);
    }

    void scanWindowShowsTheDecodedHead() {
        SonarState state;
        state.HeadScanMode = 1;
        ScriptedPrompts prompts;
        QWidget owner;
        ScanWindow window(state, prompts, &owner);
        QCOMPARE(window.windowTitle(), QStringLiteral("Scan For Connected Heads"));
        QVERIFY(window.windowFlags().testFlag(Qt::Tool));
        const auto [w, h] = MainWindowCharacterCell(owner.font());
        QCOMPARE(window.height(), 30 * h + 14);
        QCOMPARE(window.width(), std::max(64 * w + 8, 576));
        QCOMPARE(QString::fromStdString(window.Values().ComStatus), QStringLiteral("0x00000000"));
        QVERIFY(!window.Values().ShowsMemory);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        // An image reply shows no head information.
        Receive(state, 'G', 500);
        window.Refresh();
        QVERIFY(!window.Values().ShowsMemory);

        ReceiveHeadScan(state, 17);
        window.Refresh();
        const ScanWindowValues& v = window.Values();
        QVERIFY(v.ShowsMemory && v.ShowsInformation);
        QStringList info;
        for (const std::string& s : v.Information) info << QString::fromStdString(s);
        QCOMPARE(info, QStringList({"1.04 - 19JAN09", "1234", "Scanning Sonar", "Imaging - (Fan Beam)", "3000 Meters",
                                    "3 : 1", "2.666us , 13.333us", "1,600"}));
        QCOMPARE(QString::fromStdString(v.Memory[0]), QStringLiteral("0x01"));
        QCOMPARE(QString::fromStdString(v.Memory[11]), QStringLiteral("0x11"));
        QCOMPARE(QString::fromStdString(v.Memory[63]), QStringLiteral("0xAB"));
        QCOMPARE(QString::fromStdString(MemoryLabel(48)), QStringLiteral("nv_ram [ 48 ]"));
        QCOMPARE(state.ScanHeadID, 17);

        const QImage image = window.grab().toImage();
        const ScanWindowGeometry& g = window.Geometry();
        // Head 17 answered the poll: its box is lit, the others plain.
        QCOMPARE(image.pixelColor(g.AddressBox(1).Left + 5, 55), Palette(119));
        QCOMPARE(image.pixelColor(g.AddressBox(1).Left, 55), Palette(123));
        QCOMPARE(image.pixelColor(g.AddressBox(0).Left + 5, 55), Palette(122));
        QCOMPARE(image.pixelColor(g.AddressBox(0).Left, 55), Palette(125));
        // White values in the memory columns and information boxes.
        const Rect memory = g.MemoryBox(0, 0);
        QVERIFY(CountColor(image, QRect(memory.Left, memory.Top, memory.Width(), 16 * h), Qt::white) > 50);
        const Rect first = g.InformationBox(0);
        QVERIFY(CountColor(image, QRect(first.Left, first.Top, first.Width(), 8 * h), Qt::white) > 50);

        // Memory without a version: bytes shown, no decoded values.
        Receive(state, 'T', HeadNvRamBytes, [](std::vector<uint8_t>& r) { r[12 + 5] = 7; });
        window.Refresh();
        QVERIFY(window.Values().ShowsMemory);
        QVERIFY(!window.Values().ShowsInformation);
        QCOMPARE(QString::fromStdString(window.Values().Memory[5]), QStringLiteral("0x07"));
    }

    void openingMarksThePolledBoxAtOnce() {
        SonarState state;
        ScriptedPrompts prompts;
        QWidget owner;
        ScanWindow window(state, prompts, &owner);
        const ScanWindowGeometry& g = window.Geometry();
        // (frame, fill) of the box of an address, as painted.
        auto look = [&](const QImage& image, int address) {
            const Rect box = g.AddressBox(address - FirstHeadAddress);
            return std::pair(image.pixelColor(box.Left, 55), image.pixelColor(box.Left + 5, 55));
        };
        const auto plain = std::pair(Palette(125), Palette(122));
        const auto polled = std::pair(Palette(125), Palette(123));
        const auto lit = std::pair(Palette(123), Palette(119));

        state.HeadScanMode = 1;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QImage image = window.grab().toImage();
        QCOMPARE(look(image, 16), polled);  // before any head-scan reply
        QCOMPARE(look(image, 17), plain);

        ReceiveHeadScan(state, 17);
        window.Refresh();
        QCOMPARE(look(window.grab().toImage(), 17), lit);

        // Closed and opened again: only the box polled now is marked.
        window.close();
        state.HeadScanMode = 1;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        image = window.grab().toImage();
        QCOMPARE(look(image, 16), polled);
        for (int address = 17; address < FirstHeadAddress + HeadAddressCount; ++address)
            QCOMPARE(look(image, address), plain);
    }

    void closingEndsTheScan() {
        SonarState state;
        state.HeadScanMode = 1;
        state.ScanHeadID = 23;
        ScriptedPrompts prompts;
        QWidget owner;
        ScanWindow window(state, prompts, &owner);
        QSignalSpy closed(&window, &ScanWindow::Closed);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.close();
        QVERIFY(!window.isVisible());
        QCOMPARE(state.HeadScanMode, 0);
        QCOMPARE(state.ScanHeadID, 16);
        QCOMPARE(closed.count(), 1);
    }

    void changeHeadIdButtonAsksForTheNewId() {
        SonarState state;
        state.MasterHeadID = 17;
        ScriptedPrompts prompts;
        QWidget owner;
        ScanWindow window(state, prompts, &owner);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const Rect button = window.Geometry().ChangeHeadIdButton();
        const QPoint inside(button.Left + 10, button.Top + 5);

        bool pressedWhileOpen = false;
        QVERIFY(Answer<HeadIdDialog>([&] { QTest::mouseClick(&window, Qt::LeftButton, {}, inside); },
                                     [&](HeadIdDialog& dialog) {
                                         QCOMPARE(dialog.windowTitle(), QStringLiteral("Set New Head ID"));
                                         QCOMPARE(dialog.IdList()->count(), 16);
                                         QCOMPARE(dialog.IdList()->item(15)->text(), QStringLiteral("16"));
                                         QCOMPARE(dialog.IdList()->currentRow(), 1);
                                         // The button is drawn pressed meanwhile: its face lost the white edge.
                                         const QImage face = window.grab().toImage();
                                         pressedWhileOpen =
                                             face.pixelColor(button.Left + 1, button.Top + 1) != QColor(Qt::white);
                                         dialog.IdList()->setCurrentRow(4);
                                         dialog.OkButton()->click();
                                     }));
        QVERIFY(pressedWhileOpen);
        QCOMPARE(state.HeadIdChangeRequest, 1);
        QCOMPARE(state.NewHeadID, 20);
        QCOMPARE(window.grab().toImage().pixelColor(button.Left + 1, button.Top + 1), QColor(Qt::white));

        // No entry selected withdraws the request; Cancel leaves it.
        QVERIFY(Answer<HeadIdDialog>([&] { window.ChangeHeadId(); },
                                     [](HeadIdDialog& dialog) {
                                         dialog.IdList()->clearSelection();
                                         dialog.OkButton()->click();
                                     }));
        QCOMPARE(state.HeadIdChangeRequest, 0);
        state.HeadIdChangeRequest = 1;
        QVERIFY(Answer<HeadIdDialog>([&] { window.ChangeHeadId(); },
                                     [](HeadIdDialog& dialog) {
                                         dialog.IdList()->setCurrentRow(9);
                                         dialog.CancelButton()->click();
                                     }));
        QCOMPARE(state.HeadIdChangeRequest, 1);
        QCOMPARE(state.NewHeadID, 20);

        // A press outside the buttons opens nothing.
        QVERIFY(!Answer<HeadIdDialog>([&] { QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(300, 300)); },
                                      [](HeadIdDialog& dialog) { dialog.reject(); }));
    }

    void programHeadAsksForAllThreeValues() {
        SonarState state;
        state.MasterHeadID = 17;
        ScriptedPrompts prompts;
        QWidget owner;
        ScanWindow window(state, prompts, &owner);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const Rect button = window.Geometry().ProgramHeadButton();

        QVERIFY(Answer<ProgramHeadDialog>(
            [&] { QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(button.Left + 10, button.Top + 5)); },
            [](ProgramHeadDialog& dialog) {
                QCOMPARE(dialog.windowTitle(), QStringLiteral("Program Sonar Head"));
                QCOMPARE(dialog.SerialNumberBox()->text(), QStringLiteral("0000"));
                QCOMPARE(dialog.DepthRatingList()->item(1)->text(), QStringLiteral("3000 Meters"));
                QCOMPARE(dialog.DepthRatingList()->currentRow(), 0);
                QCOMPARE(dialog.IdList()->currentRow(), 1);
                dialog.IdList()->setCurrentRow(2);
                dialog.SerialNumberBox()->setText(QStringLiteral("4321"));
                dialog.DepthRatingList()->setCurrentRow(1);
                dialog.OkButton()->click();
            }));
        QCOMPARE(state.HeadProgramRequest, 1);
        QCOMPARE(state.ProgramSerialNumber, 4321);
        QCOMPARE(state.ProgramDepthRating, 1);
        QCOMPARE(state.HeadIdChangeRequest, 1);
        QCOMPARE(state.NewHeadID, 18);
        QVERIFY(prompts.Messages.empty());

        // 10000 is refused with a message, but the ID change is still taken.
        state.HeadProgramRequest = 0;
        state.HeadIdChangeRequest = 0;
        QVERIFY(Answer<ProgramHeadDialog>([&] { window.ProgramHead(); },
                                          [](ProgramHeadDialog& dialog) {
                                              QCOMPARE(dialog.SerialNumberBox()->text(), QStringLiteral("4321"));
                                              QCOMPARE(dialog.DepthRatingList()->currentRow(), 1);
                                              dialog.IdList()->setCurrentRow(5);
                                              dialog.SerialNumberBox()->setText(QStringLiteral("10000"));
                                              dialog.OkButton()->click();
                                          }));
        QCOMPARE(state.HeadProgramRequest, 0);
        QCOMPARE(state.ProgramSerialNumber, 4321);
        QCOMPARE(state.HeadIdChangeRequest, 1);
        QCOMPARE(state.NewHeadID, 21);
        QCOMPARE(prompts.Messages.size(), size_t{1});
        QCOMPARE(QString::fromStdString(prompts.Messages[0].Caption), QStringLiteral("Program Sonar Head"));
        QCOMPARE(QString::fromStdString(prompts.Messages[0].Text),
                 QStringLiteral("Serial Number is out of range!\nUse 0 to 9999."));
        QVERIFY(prompts.Messages[0].Icon == MessageIcon::Exclamation);

        // Without an ID nothing is programmed, though a good serial number is kept.
        QVERIFY(Answer<ProgramHeadDialog>([&] { window.ProgramHead(); },
                                          [](ProgramHeadDialog& dialog) {
                                              dialog.IdList()->clearSelection();
                                              dialog.SerialNumberBox()->setText(QStringLiteral(" 77 "));
                                              dialog.OkButton()->click();
                                          }));
        QCOMPARE(state.HeadProgramRequest, 0);
        QCOMPARE(state.HeadIdChangeRequest, 0);
        QCOMPARE(state.ProgramSerialNumber, 77);

        // Default has no effect at all; Cancel changes nothing.
        QVERIFY(Answer<ProgramHeadDialog>([&] { window.ProgramHead(); },
                                          [](ProgramHeadDialog& dialog) {
                                              dialog.SerialNumberBox()->setText(QStringLiteral("12"));
                                              dialog.DepthRatingList()->setCurrentRow(0);
                                              dialog.IdList()->clearSelection();
                                              dialog.DefaultButton()->click();
                                              QCOMPARE(dialog.SerialNumberBox()->text(), QStringLiteral("12"));
                                              QCOMPARE(dialog.DepthRatingList()->currentRow(), 0);
                                              QVERIFY(dialog.IdList()->selectedItems().isEmpty());
                                              QVERIFY(dialog.isVisible());
                                              dialog.CancelButton()->click();
                                          }));
        QCOMPARE(state.HeadProgramRequest, 0);
        QCOMPARE(state.ProgramSerialNumber, 77);
        QCOMPARE(state.ProgramDepthRating, 1);
    }

    void serialNumberParsing() {
        QCOMPARE(ParseSerialNumber("0"), std::optional<int>(0));
        QCOMPARE(ParseSerialNumber("9999"), std::optional<int>(9999));
        QCOMPARE(ParseSerialNumber("  0042 "), std::optional<int>(42));
        QVERIFY(!ParseSerialNumber("10000"));
        QVERIFY(!ParseSerialNumber(""));
        QVERIFY(!ParseSerialNumber("-1"));
        QVERIFY(!ParseSerialNumber("12a"));
        QVERIFY(!ParseSerialNumber("99999999999999999999"));
    }
};

QTEST_MAIN(DiagnosticsWindowTest)
#include "DiagnosticsWindowTest.moc"
