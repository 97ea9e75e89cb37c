// The control panel on screen: read-outs and buttons painted from the state in palette
// colours, the arrows stepping their values with limits, wraps and held-down repeat, the
// mode change through SS and back, typed range and gain entry with its messages, and the
// Hold box pausing playback, and the user text shown as the Windows-1252 text it is.
#include <QImage>
#include <QTest>

#include "DrawnTexts.h"
#include "ReplyTestSupport.h"
#include "UiTestSupport.h"
#include "files/DataRecord.h"
#include "ui/view/ControlPanelPainter.h"
#include "ui_core/PanelTexts.h"

using namespace tidemar;
using namespace tidemar::uitest;

namespace {

const QString NoHead = QStringLiteral("IPAddress_Sonar1=127.0.0.62\n");

QColor TableColor(const ImageColorTable& table, int index) {
    const RgbQuad& entry = table[static_cast<size_t>(index)];
    return QColor(entry.Red, entry.Green, entry.Blue);
}

QPoint Centre(const Rect& r) { return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2); }

const ParameterWidget& Widget(MainWindow& window, PanelParameter p) { return window.View()->Layout().Widget(p); }

void Click(MainWindow& window, const Rect& r) { QTest::mouseClick(window.View(), Qt::LeftButton, {}, Centre(r)); }
void ClickUp(MainWindow& window, PanelParameter p) { Click(window, Widget(window, p).UpArrow); }
void ClickDown(MainWindow& window, PanelParameter p) { Click(window, Widget(window, p).DownArrow); }

void Type(MainWindow& window, const char* keys) {
    for (const char* k = keys; *k; ++k) {
        if (*k == '\r')
            QTest::keyClick(window.View(), Qt::Key_Return);
        else
            QTest::keyClick(window.View(), *k);
    }
}

int CountColor(const QImage& image, const Rect& r, const QColor& color) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) n += image.pixelColor(x, y) == color;
    return n;
}

// A started window in HEAD mode against an address where nothing listens.
std::unique_ptr<MainWindow> HeadWindow(const TestFolder& folder, ScriptedPrompts& prompts) {
    auto window = MakeWindow(folder, prompts);
    window->Start();
    return window;
}

}  // namespace

class ControlPanelTest : public QObject {
    Q_OBJECT
private slots:
    void panelIsPaintedInPaletteColours() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = HeadWindow(folder, prompts);
        const PanelLayout& layout = window->View()->Layout();
        const ImageColorTable& colors = window->Colors();
        const QImage shown = window->View()->grab().toImage();

        QCOMPARE(shown.pixelColor(610, 300), TableColor(colors, PanelBackgroundIndex));
        for (const ParameterWidget& w : layout.Widgets) {
            QCOMPARE(shown.pixelColor(w.Box.Left, w.Box.Top), TableColor(colors, BlackIndex));
            QCOMPARE(shown.pixelColor(w.Box.Left + 1, w.Box.Top + 1), TableColor(colors, ReadoutFillIndex));
            QCOMPARE(shown.pixelColor(w.Box.Right - 1, w.Box.Bottom - 1), TableColor(colors, BlackIndex));
            // The value (white) and its shadow are drawn inside the box.
            QVERIFY(CountColor(shown, w.Box, Qt::white) > 5);
            QVERIFY(CountColor(shown, w.Box, TableColor(colors, BlackIndex)) >=
                    2 * (w.Box.Width() + w.Box.Height()) - 4);
            // The label above the box.
            QVERIFY(CountColor(shown, Rect{w.LabelText.X, w.LabelText.Y, w.LabelText.X + 40, w.Box.Top - 1},
                               Qt::white) > 5);
        }
        // HEAD is the selected source: sunken (gray inner edge), FILE raised (white inner edge).
        QCOMPARE(shown.pixelColor(layout.HeadButton.Left + 1, layout.HeadButton.Top + 1),
                 TableColor(colors, ReadoutFillIndex));
        QCOMPARE(shown.pixelColor(layout.FileButton.Left + 1, layout.FileButton.Top + 1), QColor(Qt::white));
        QCOMPARE(shown.pixelColor(layout.FileButton.Right - 2, layout.FileButton.Bottom - 2),
                 TableColor(colors, ReadoutFillIndex));
        QCOMPARE(shown.pixelColor(layout.HeadButton.Right - 3, layout.HeadButton.Bottom - 3),
                 TableColor(colors, ButtonFaceIndex));
        // The Hold box is white inside while off, and gets a tick when on.
        const Rect hold{layout.HoldBox.X + 2, layout.HoldBox.Y + 2, layout.HoldBox.X + CheckBoxSize - 2,
                        layout.HoldBox.Y + CheckBoxSize - 2};
        QCOMPARE(CountColor(shown, hold, TableColor(colors, BlackIndex)), 0);
        Click(*window, layout.HoldHit);
        QCOMPARE(window->State().HoldActive, 1);
        QVERIFY(CountColor(window->View()->grab().toImage(), hold, TableColor(colors, BlackIndex)) > 5);
        QVERIFY(!window->CommandAction(200)->isEnabled());
        Click(*window, layout.HoldHit);
        QCOMPARE(window->State().HoldActive, 0);
    }

    void readoutShowsTheNewValue() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = HeadWindow(folder, prompts);
        const Rect box = Widget(*window, PanelParameter::Range).Box;
        window->State().Range = 9;
        window->View()->update();
        const QImage before = window->View()->grab().toImage().copy(box.Left, box.Top, box.Width(), box.Height());
        ClickDown(*window, PanelParameter::Range);
        QCOMPARE(window->State().Range, 8);
        QCOMPARE(RangeText(window->State()), std::string("40 M"));
        const QImage after = window->View()->grab().toImage().copy(box.Left, box.Top, box.Width(), box.Height());
        QVERIFY(before != after);
        ClickUp(*window, PanelParameter::Range);
        QCOMPARE(window->View()->grab().toImage().copy(box.Left, box.Top, box.Width(), box.Height()), before);
    }

    void arrowsKeepTheirLimitsAndWraps() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = HeadWindow(folder, prompts);
        SonarState& s = window->State();
        s.Range = 13;
        ClickUp(*window, PanelParameter::Range);
        QCOMPARE(s.Range, 14);
        ClickUp(*window, PanelParameter::Range);
        QCOMPARE(s.Range, 14);
        QCOMPARE(s.RangeMeters, 200);
        s.Range = 1;
        ClickDown(*window, PanelParameter::Range);
        QCOMPARE(s.Range, 0);
        ClickDown(*window, PanelParameter::Range);
        QCOMPARE(s.Range, 0);

        s.Gain = 40;
        ClickUp(*window, PanelParameter::Gain);
        QCOMPARE(s.Gain, 40);
        ClickDown(*window, PanelParameter::Gain);
        QCOMPARE(s.Gain, 39);

        // Sector mode: 180 wraps to 0 and back.
        s.GridMode = DisplayMode::Sector;
        s.SectorSize = 180;
        ClickUp(*window, PanelParameter::Sector);
        QCOMPARE(s.SectorSize, 0);
        ClickDown(*window, PanelParameter::Sector);
        QCOMPARE(s.SectorSize, 180);
        s.Train = 358;
        ClickUp(*window, PanelParameter::Train);
        QCOMPARE(s.Train, 1);
        ClickDown(*window, PanelParameter::Train);
        QCOMPARE(s.Train, 358);

        // While held, no arrow reacts.
        window->ToggleHold();
        ClickUp(*window, PanelParameter::Gain);
        QCOMPARE(s.Gain, 39);
        window->ToggleHold();
        ClickUp(*window, PanelParameter::Gain);
        QCOMPARE(s.Gain, 40);
    }

    void heldArrowRepeatsUntilReleasedOrAtItsLimit() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = HeadWindow(folder, prompts);
        SonarState& s = window->State();
        SonarView* view = window->View();
        s.Gain = 0;
        const QPoint up = Centre(Widget(*window, PanelParameter::Gain).UpArrow);
        QTest::mousePress(view, Qt::LeftButton, {}, up);
        QCOMPARE(s.Gain, 1);
        QCOMPARE(view->PressedButton(), PanelElement::GainUp);
        QTest::qWait(300);
        QCOMPARE(s.Gain, 1);  // the first repeat waits half a second
        QTRY_VERIFY_WITH_TIMEOUT(s.Gain >= 5, 3000);
        QTest::mouseRelease(view, Qt::LeftButton, {}, up);
        QCOMPARE(view->PressedButton(), PanelElement::None);
        const int released = s.Gain;
        QTest::qWait(200);
        QCOMPARE(s.Gain, released);

        s.Range = 12;
        const QPoint rangeUp = Centre(Widget(*window, PanelParameter::Range).UpArrow);
        QTest::mousePress(view, Qt::LeftButton, {}, rangeUp);
        QTRY_COMPARE_WITH_TIMEOUT(s.Range, 14, 3000);
        QTest::qWait(200);
        QCOMPARE(s.Range, 14);
        QTest::mouseRelease(view, Qt::LeftButton, {}, rangeUp);

        // Mode does not repeat.
        s.GridMode = DisplayMode::Sector;
        const QPoint modeUp = Centre(Widget(*window, PanelParameter::Mode).UpArrow);
        QTest::mousePress(view, Qt::LeftButton, {}, modeUp);
        QTest::qWait(700);
        QCOMPARE(s.GridMode, 1);
        QTest::mouseRelease(view, Qt::LeftButton, {}, modeUp);
    }

    void modeIntoSideScanAndBackRestoresTheSector() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = HeadWindow(folder, prompts);
        SonarState& s = window->State();
        const ImageColorTable& colors = window->Colors();
        s.GridMode = DisplayMode::Polar;
        s.SectorSize = 90;
        s.Train = 30;
        s.SSTrain = SideScanSide::Starboard;
        s.Speed = 2;
        ClickUp(*window, PanelParameter::Mode);
        QCOMPARE(s.GridMode, 2);
        QCOMPARE(s.SectorSize, 0);
        QCOMPARE(s.Train, 90);
        QCOMPARE(SectorText(s), std::string(NotApplicableText));
        QCOMPARE(SpeedText(s), std::string(NotApplicableText));
        QCOMPARE(TrainText(s), std::string("Stbd"));
        QVERIFY(!window->CommandAction(1000)->isEnabled());
        // Speed and Sector arrows are inactive: drawn without black and not reacting.
        const Rect speedUp = Widget(*window, PanelParameter::Speed).UpArrow;
        const QImage shown = window->View()->grab().toImage();
        const Rect inner{speedUp.Left + 2, speedUp.Top + 2, speedUp.Right - 2, speedUp.Bottom - 2};
        QCOMPARE(CountColor(shown, inner, TableColor(colors, BlackIndex)), 0);
        const Rect gainUp = Widget(*window, PanelParameter::Gain).UpArrow;
        QVERIFY(CountColor(shown, Rect{gainUp.Left + 2, gainUp.Top + 2, gainUp.Right - 2, gainUp.Bottom - 2},
                           TableColor(colors, BlackIndex)) > 0);
        ClickUp(*window, PanelParameter::Speed);
        ClickUp(*window, PanelParameter::Sector);
        QCOMPARE(s.Speed, 2);
        QCOMPARE(s.SectorSize, 0);
        // The side: Stbd down to Port.
        ClickDown(*window, PanelParameter::Train);
        QCOMPARE(s.SSTrain, 0);
        QCOMPARE(s.Train, 270);
        // Mode up at SS does nothing; down restores the polar sector.
        ClickUp(*window, PanelParameter::Mode);
        QCOMPARE(s.GridMode, 2);
        ClickDown(*window, PanelParameter::Mode);
        QCOMPARE(s.GridMode, 1);
        QCOMPARE(s.SectorSize, 90);
        QVERIFY(window->CommandAction(1000)->isEnabled());
    }

    void typedRangeAndGain() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = HeadWindow(folder, prompts);
        SonarState& s = window->State();
        s.Range = 9;
        Type(*window, "r3");
        QCOMPARE(window->View()->Entry().Mode, KeyEntryKind::Range);
        QCOMPARE(KeyEntryDisplayText(window->View()->Entry(), s), std::string("Range: 3 M"));
        Type(*window, "0\r");
        QCOMPARE(s.Range, 7);
        QCOMPARE(s.RangeMeters, 30);
        QCOMPARE(window->View()->Entry().Mode, KeyEntryKind::None);
        QVERIFY(prompts.Messages.empty());

        Type(*window, "r7\r");
        QCOMPARE(s.Range, 7);
        QCOMPARE(prompts.Messages.size(), size_t(1));
        QCOMPARE(prompts.Messages[0].Caption, std::string("Keyboard Range"));
        QCOMPARE(prompts.Messages[0].Text, std::string(KeyboardRangeMetersText));
        QVERIFY(prompts.Messages[0].Icon == MessageIcon::Exclamation);

        s.Gain = 6;
        Type(*window, "g50\r");
        QCOMPARE(s.Gain, 6);
        QCOMPARE(prompts.Messages.size(), size_t(2));
        QCOMPARE(prompts.Messages[1].Caption, std::string("Keyboard Gain"));
        QCOMPARE(prompts.Messages[1].Text, std::string("Entered Gain is out of range!\nUse 0 to 40 dB"));
        Type(*window, "g12\r");
        QCOMPARE(s.Gain, 12);

        // The open entry is drawn; Escape erases it and keeps the range.
        Type(*window, "r1");
        const Point at = KeyEntryTextPosition(window->View()->Layout());
        const QImage open = window->View()->grab().toImage();
        QCOMPARE(open.pixelColor(at.X - 2, at.Y - 1), TableColor(window->Colors(), BlackIndex));
        QTest::keyClick(window->View(), Qt::Key_Escape);
        QCOMPARE(window->View()->Entry().Mode, KeyEntryKind::None);
        QCOMPARE(s.Range, 7);
        QCOMPARE(window->View()->grab().toImage().pixelColor(at.X - 2, at.Y - 1),
                 TableColor(window->Colors(), PanelBackgroundIndex));
    }

    void holdClickStopsPlaybackSteps() {
        TestFolder folder(NoHead + QStringLiteral("RunMode=1\nPlotSpeed=100\n"));
        ScriptedPrompts prompts;
        prompts.FileAnswers.push_back(SectorRecording().toStdString());
        auto window = MakeWindow(folder, prompts);
        window->Start();
        QVERIFY(window->PlaybackFile().PlaybackOpen());
        const PanelLayout& layout = window->View()->Layout();
        // FILE is the selected source, and every parameter arrow is dead.
        const QImage shown = window->View()->grab().toImage();
        QCOMPARE(shown.pixelColor(layout.FileButton.Left + 1, layout.FileButton.Top + 1),
                 TableColor(window->Colors(), ReadoutFillIndex));
        const int range = window->State().Range;
        ClickUp(*window, PanelParameter::Range);
        QCOMPARE(window->State().Range, range);
        // Plot Speed: 100 is the top; the left arrow takes 10 off.
        Click(*window, layout.PlotSpeedRight);
        QCOMPARE(window->State().PlotSpeed, 100);
        Click(*window, layout.PlotSpeedLeft);
        QCOMPARE(window->State().PlotSpeed, 90);
        Click(*window, layout.PlotSpeedRight);
        QCOMPARE(window->State().PlotSpeed, 100);

        QTRY_VERIFY_WITH_TIMEOUT(window->PlaybackSteps() > 3, 5000);
        Click(*window, layout.HoldHit);
        QCOMPARE(window->State().HoldActive, 1);
        QTest::qWait(50);
        const int held = window->PlaybackSteps();
        QTest::qWait(300);
        QCOMPARE(window->PlaybackSteps(), held);
        QTest::keyClick(window->View(), 'h');
        QCOMPARE(window->State().HoldActive, 0);
        QTRY_VERIFY_WITH_TIMEOUT(window->PlaybackSteps() > held + 3, 5000);

        // HEAD switches the source back to the head.
        Click(*window, layout.HeadButton);
        QCOMPARE(window->State().RunMode, 0);
        QVERIFY(!window->PlaybackFile().PlaybackOpen());
        QVERIFY(window->Cycle().Running());
    }

    // The settings file's bytes go into the records as they are, and the panel of a played
    // record shows them decoded from Windows-1252.
    void userTextFromSettingsThroughARecordToThePanel() {
        const QString text = QStringLiteral("5° Ørsted “€”");
        const std::string bytes = "5\xB0 \xD8rsted \x93\x80\x94";
        TestFolder recorded(NoHead + QStringLiteral("UserText=") + text);
        const QString recording = recorded.Path(QStringLiteral("TEXT.K7T"));
        {
            ScriptedPrompts prompts;
            auto window = HeadWindow(recorded, prompts);
            QCOMPARE(window->State().UserText, bytes);

            SonarState ping;
            ping.UserText = window->State().UserText;
            ping.DataBits = 8;
            ping.DataSizeCode = 3;
            ping.DateText = "05-MAR-2024";
            ping.TimeText = "10:15:07";
            replytest::Receive(ping, replytest::FramedReply('G', 500, 0x30));
            const SonarDataRecord record = BuildDataRecord(ping, 0);
            QCOMPARE(std::string(record.begin() + 48, record.begin() + 80), bytes + std::string(32 - bytes.size(), 0));
            // Two records: playback shows from the second on.
            const SonarDataRecord next = BuildDataRecord(ping, static_cast<int>(record.size()));
            QFile file(recording);
            QVERIFY(file.open(QIODevice::WriteOnly));
            for (const SonarDataRecord& r : {record, next})
                file.write(reinterpret_cast<const char*>(r.data()), static_cast<qint64>(r.size()));
            window->close();
        }
        QVERIFY(recorded.IniText().contains(QStringLiteral("UserText=") + text));

        TestFolder played(NoHead + QStringLiteral("UserText=Live\nRunMode=1\nPlotSpeed=100\n"));
        ScriptedPrompts prompts;
        prompts.FileAnswers.push_back(recording.toStdString());
        auto window = MakeWindow(played, prompts);
        window->Start();
        QTRY_COMPARE_WITH_TIMEOUT(window->State().UserText, bytes, 5000);
        DrawnTexts drawn;
        window->View()->render(&drawn);
        QVERIFY2(drawn.Texts.contains(text), qPrintable(drawn.Texts.join(QLatin1Char('|'))));
    }
};

QTEST_MAIN(ControlPanelTest)
#include "ControlPanelTest.moc"
