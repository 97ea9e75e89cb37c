// The small settings dialogs (sound velocity, image rotation, user text, profile setup,
// about) and what the window redraws after each, and where the settings dialogs open.
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>

#include "DialogTestSupport.h"
#include "platform/ScriptedPrompts.h"
#include "ui/dialogs/AboutDialog.h"
#include "ui/window/DialogCommands.h"
#include "ui/dialogs/DialogSupport.h"
#include "ui/dialogs/OffsetAngleDialog.h"
#include "ui/dialogs/PlaceDialog.h"
#include "ui/dialogs/ProfileSetupDialog.h"
#include "ui/dialogs/SoundVelocityDialog.h"
#include "ui/dialogs/UserTextDialog.h"

using namespace tidemar;
using namespace tidemar::uitest;

namespace {

void Type(QLineEdit* box, const QString& text) {
    box->clear();
    QTest::keyClicks(box, text);
}

QStringList Texts(const ScriptedPrompts& prompts) {
    QStringList texts;
    for (const ShownMessage& message : prompts.Messages) texts << QString::fromStdString(message.Text);
    return texts;
}

const QString MetresRefused = QStringLiteral("Speed of Sound is out of range!\nUse 750.0 to 2250.0 m/s.");
const QString FeetRefused = QStringLiteral("Speed of Sound is out of range!\nUse 2460.7 to 7381.8 ft/s.");

}  // namespace

class SmallDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void soundVelocityInMetres() {
        SonarState state;
        ScriptedPrompts prompts;
        SoundVelocityDialog dialog(state, prompts);
        dialog.show();
        QCOMPARE(dialog.ValueBox()->text(), QStringLiteral("1500.0"));
        QCOMPARE(dialog.UnitLabel()->text(), QStringLiteral("m/s"));

        Type(dialog.ValueBox(), QStringLiteral("749.9"));
        dialog.OkButton()->click();
        QCOMPARE(Texts(prompts), QStringList{MetresRefused});
        QCOMPARE(QString::fromStdString(prompts.Messages[0].Caption), QStringLiteral("Sound Velocity"));
        QCOMPARE(prompts.Messages[0].Icon, MessageIcon::Exclamation);
        QCOMPARE(dialog.ValueBox()->text(), QStringLiteral("1500.0"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(state.SoundVelocityMeters, 1500.0f);

        Type(dialog.ValueBox(), QStringLiteral("2250.1"));
        dialog.OkButton()->click();
        QCOMPARE(prompts.Messages.size(), size_t(2));

        Type(dialog.ValueBox(), QStringLiteral("2249.95"));
        dialog.Arrows()->Up()->click();
        QCOMPARE(dialog.ValueBox()->text(), QStringLiteral("2250.0"));
        dialog.Arrows()->Up()->click();
        QCOMPARE(dialog.ValueBox()->text(), QStringLiteral("2250.0"));
        dialog.OkButton()->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(state.SoundVelocityMeters, 2250.0f);

        SoundVelocityDialog again(state, prompts);
        again.DefaultButton()->click();
        QCOMPARE(again.ValueBox()->text(), QStringLiteral("1500.0"));
        QCOMPARE(state.SoundVelocityMeters, 2250.0f);
        again.CancelButton()->click();
        QCOMPARE(state.SoundVelocityMeters, 2250.0f);
    }

    void soundVelocityInFeet() {
        SonarState state;
        state.Units = 1;
        ScriptedPrompts prompts;
        SoundVelocityDialog dialog(state, prompts);
        dialog.show();
        QCOMPARE(dialog.UnitLabel()->text(), QStringLiteral("ft/s"));
        QCOMPARE(dialog.ValueBox()->text(), QStringLiteral("4921.3"));
        Type(dialog.ValueBox(), QStringLiteral("2460.6"));
        dialog.OkButton()->click();
        QCOMPARE(Texts(prompts), QStringList{FeetRefused});
        QCOMPARE(dialog.ValueBox()->text(), QStringLiteral("4921.3"));
        Type(dialog.ValueBox(), QStringLiteral("2460.65"));
        dialog.OkButton()->click();
        QCOMPARE(prompts.Messages.size(), size_t(1));
        QVERIFY(!dialog.isVisible());
        QVERIFY(qAbs(state.SoundVelocityMeters - 750.0f) < 0.01f);

        // Held at the lower limit by the arrows, which Ok then accepts.
        SoundVelocityDialog low(state, prompts);
        low.show();
        for (int i = 0; i < 3; ++i) low.Arrows()->Down()->click();
        QCOMPARE(low.ValueBox()->text(), QStringLiteral("2460.6"));
        low.OkButton()->click();
        QCOMPARE(prompts.Messages.size(), size_t(1));
        QVERIFY(state.SoundVelocityMeters >= 750.0f);
    }

    void soundVelocityCommandMovesTheGrid() {
        SonarState state;
        ScriptedPrompts prompts;
        RecordingTarget target(state);
        QWidget window;
        PanelUpdate update;
        auto run = [&](const QString& typed) {
            return AnswerDialog<SoundVelocityDialog>(
                [&] { update = RunSoundVelocityCommand(&window, state, prompts, target); },
                [typed](SoundVelocityDialog& dialog) {
                    Type(dialog.ValueBox(), typed);
                    dialog.OkButton()->click();
                });
        };
        QVERIFY(run(QStringLiteral("1450")));
        QCOMPARE(target.Calls, (std::vector<std::string>{"RemoveGrid 1500.000000", "DrawGrid 1450.000000"}));
        QCOMPARE(state.SoundVelocityMeters, 1450.0f);
        QVERIFY(update.GridLabel);

        target.Calls.clear();
        QVERIFY(run(QStringLiteral("1450")));
        QVERIFY(target.Calls.empty());

        state.Grid = 0;
        QVERIFY(run(QStringLiteral("1400")));
        QVERIFY(target.Calls.empty());
        QCOMPARE(state.SoundVelocityMeters, 1400.0f);
    }

    void offsetAngleLimits() {
        SonarState state;
        state.ImageRotation = 12.5f;
        ScriptedPrompts prompts;
        OffsetAngleDialog dialog(state, prompts);
        dialog.show();
        QCOMPARE(dialog.ValueBox()->text(), QStringLiteral(" 12.5"));
        Type(dialog.ValueBox(), QStringLiteral("180.1"));
        dialog.OkButton()->click();
        QCOMPARE(Texts(prompts), QStringList{QStringLiteral("Angle is out of range!\nUse -180.0 to 180.0 Deg")});
        QCOMPARE(QString::fromStdString(prompts.Messages[0].Caption), QStringLiteral("Rotate Sonar Image"));
        QCOMPARE(dialog.ValueBox()->text(), QStringLiteral(" 12.5"));
        QVERIFY(dialog.isVisible());

        Type(dialog.ValueBox(), QStringLiteral("-179.95"));
        dialog.Arrows()->Down()->click();
        QCOMPARE(dialog.ValueBox()->text(), QStringLiteral("-180.0"));
        dialog.OkButton()->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(state.ImageRotation, -180.0f);

        OffsetAngleDialog again(state, prompts);
        again.DefaultButton()->click();
        QCOMPARE(again.ValueBox()->text(), QStringLiteral("  0.0"));
        again.CancelButton()->click();
        QCOMPARE(state.ImageRotation, -180.0f);
    }

    void offsetAngleCommandRedrawsThePicture() {
        SonarState state;
        ScriptedPrompts prompts;
        RecordingTarget target(state);
        QWidget window;
        QVERIFY(AnswerDialog<OffsetAngleDialog>([&] { RunOffsetAngleCommand(&window, state, prompts, target); },
                                                [](OffsetAngleDialog& dialog) {
                                                    Type(dialog.ValueBox(), QStringLiteral("45"));
                                                    dialog.OkButton()->click();
                                                }));
        QCOMPARE(state.ImageRotation, 45.0f);
        QCOMPARE(target.Calls, (std::vector<std::string>{"RedrawSonarImage", "DrawHeadPosition"}));
    }

    void userTextKeeps29Characters() {
        SonarState state;
        ScriptedPrompts prompts;
        RecordingTarget target(state);
        QWidget window;
        QVERIFY(AnswerDialog<UserTextDialog>([&] { RunUserTextCommand(&window, state, prompts, target); },
                                             [](UserTextDialog& dialog) {
                                                 QCOMPARE(dialog.TextBox()->text(),
                                                          QStringLiteral("Braxtel Technology Corp."));
                                                 Type(dialog.TextBox(), QString(40, QLatin1Char('x')));
                                                 // Typing stops at what is kept.
                                                 QCOMPARE(dialog.TextBox()->text(), QString(29, QLatin1Char('x')));
                                                 dialog.OkButton()->click();
                                             }));
        QCOMPARE(state.UserText, std::string(29, 'x'));
        QCOMPARE(target.Calls, std::vector<std::string>{"DrawUserTextBox"});

        UserTextDialog cancelled(state, prompts);
        Type(cancelled.TextBox(), QStringLiteral("other"));
        cancelled.CancelButton()->click();
        QCOMPARE(state.UserText, std::string(29, 'x'));
    }

    // The box shows the stored Windows-1252 text; a character the code page lacks is
    // refused by name and the dialog stays open until the text is mended.
    void userTextIsWindows1252() {
        SonarState state;
        state.UserText =
            "Quay \x93"
            "A\x94 \x80";
        ScriptedPrompts prompts;
        RecordingTarget target(state);
        QWidget window;
        QVERIFY(AnswerDialog<UserTextDialog>(
            [&] { RunUserTextCommand(&window, state, prompts, target); },
            [&](UserTextDialog& dialog) {
                QCOMPARE(dialog.TextBox()->text(), QStringLiteral("Quay “A” €"));
                dialog.TextBox()->clear();
                dialog.TextBox()->insert(QStringLiteral("5° Ørsted 漢"));  // typed by an input method
                dialog.OkButton()->click();
                QCOMPARE(Texts(prompts), QStringList{QStringLiteral(
                                             "The user text cannot hold \"漢\" (U+6F22).\nUse the letters, digits "
                                             "and signs of Western European text (Windows-1252).")});
                QCOMPARE(QString::fromStdString(prompts.Messages[0].Caption), QStringLiteral("User Text"));
                QCOMPARE(prompts.Messages[0].Icon, MessageIcon::Exclamation);
                QVERIFY(dialog.isVisible());
                QCOMPARE(dialog.TextBox()->text(), QStringLiteral("5° Ørsted 漢"));
                QCOMPARE(state.UserText, std::string("Quay \x93"
                                                     "A\x94 \x80"));

                dialog.TextBox()->backspace();
                dialog.OkButton()->click();
            }));
        QCOMPARE(prompts.Messages.size(), size_t(1));
        QCOMPARE(state.UserText, std::string("5\xB0 \xD8rsted "));
    }

    void profileSetupOpening() {
        SonarState state;
        state.Units = 1;
        state.ProfileMinimumRange = 90.0f;
        state.ProfileMinimumLevel = 55;
        ScriptedPrompts prompts;
        ProfileSetupDialog dialog(state, prompts);
        QCOMPARE(dialog.RangeBox()->text(), QStringLiteral(" 0.0"));
        QCOMPARE(state.ProfileMinimumRange, 0.0f);
        QCOMPARE(dialog.LevelBox()->text(), QStringLiteral("55"));
        QCOMPARE(dialog.RangeUnit()->text(), QStringLiteral("Feet"));
        QVERIFY(dialog.SonarHeadButton()->isChecked());
        // Sonar Head: no level, no detection choice.
        QVERIFY(dialog.LevelBox()->isReadOnly());
        QVERIFY(!dialog.LevelArrows()->isEnabled());
        QVERIFY(!dialog.StartOfPulseButton()->isEnabled());
        QVERIFY(!dialog.StartOfPulseButton()->isChecked() && !dialog.CenterOfPulseButton()->isChecked());
        QVERIFY(!dialog.RangeBox()->isReadOnly());

        state.RunMode = DataSource::File;
        ProfileSetupDialog playback(state, prompts);
        QVERIFY(playback.RangeBox()->isReadOnly());
        QVERIFY(!playback.RangeArrows()->isEnabled());
        playback.SurfaceButton()->click();
        QVERIFY(!playback.RangeBox()->isReadOnly());
        QVERIFY(!playback.LevelBox()->isReadOnly());
        QVERIFY(playback.StartOfPulseButton()->isChecked());
    }

    void profileSetupRadiosActAtOnceAndSurviveCancel() {
        SonarState state;
        ScriptedPrompts prompts;
        ProfileSetupDialog dialog(state, prompts);
        dialog.CenterOfPulseButton()->click();
        QCOMPARE(state.ProfileDetectionType, 0);
        dialog.SurfaceButton()->click();
        QCOMPARE(state.ProfileDigitizationSource, 1);
        dialog.CenterOfPulseButton()->click();
        QCOMPARE(state.ProfileDetectionType, 1);
        QVERIFY(dialog.CenterOfPulseButton()->isChecked());
        dialog.LevelArrows()->Up()->click();
        QCOMPARE(dialog.LevelBox()->text(), QStringLiteral("71"));
        dialog.CancelButton()->click();
        QCOMPARE(state.ProfileDigitizationSource, 1);
        QCOMPARE(state.ProfileDetectionType, 1);
        QCOMPARE(state.ProfileMinimumLevel, 70);

        ProfileSetupDialog again(state, prompts);
        QVERIFY(again.SurfaceButton()->isChecked());
        QVERIFY(again.CenterOfPulseButton()->isChecked());
        again.RangeArrows()->Up()->click();
        again.LevelArrows()->Down()->click();
        QCOMPARE(again.RangeBox()->text(), QStringLiteral(" 0.1"));
        again.DefaultsButton()->click();
        QCOMPARE(again.RangeBox()->text(), QStringLiteral(" 0.0"));
        QCOMPARE(again.LevelBox()->text(), QStringLiteral("70"));
        QCOMPARE(state.ProfileDetectionType, 0);
        QVERIFY(again.StartOfPulseButton()->isChecked());
        again.SonarHeadButton()->click();
        QCOMPARE(state.ProfileDigitizationSource, 0);
        QVERIFY(!again.CenterOfPulseButton()->isEnabled());
    }

    void profileSetupOkRefusesAndShowsTheWorkingValues() {
        SonarState state;
        state.ProfileDigitizationSource = 1;
        state.ProfileMinimumRange = 2.5f;
        ScriptedPrompts prompts;
        ProfileSetupDialog dialog(state, prompts);
        dialog.show();
        dialog.RangeBox()->setText(QStringLiteral("26"));
        dialog.LevelBox()->setText(QStringLiteral("95"));
        dialog.OkButton()->click();
        QCOMPARE(Texts(prompts),
                 QStringList({QStringLiteral("Minimum Range is out of range!\nUse 0 to 25 Meters."),
                              QStringLiteral("Minimum Level is out of range!\nUse 10 to 90 Percent.")}));
        QCOMPARE(QString::fromStdString(prompts.Messages[1].Caption), QStringLiteral("Profile Setup"));
        QCOMPARE(dialog.RangeBox()->text(), QStringLiteral(" 2.5"));
        QCOMPARE(dialog.LevelBox()->text(), QStringLiteral("70"));
        QVERIFY(dialog.isVisible());

        dialog.RangeBox()->setText(QStringLiteral("12.3"));
        dialog.LevelBox()->setText(QStringLiteral("40"));
        dialog.OkButton()->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(state.ProfileMinimumRange, 12.3f);
        QCOMPARE(state.ProfileMinimumLevel, 40);
    }

    void profileSetupAndAboutCommandsOpenTheirDialogs() {
        SonarState state;
        ScriptedPrompts prompts;
        RecordingTarget target(state);
        QWidget window;
        QVERIFY(AnswerDialog<ProfileSetupDialog>([&] { RunProfileSetupCommand(&window, state, prompts, target); },
                                                 [](ProfileSetupDialog& dialog) {
                                                     dialog.SurfaceButton()->click();
                                                     dialog.CancelButton()->click();
                                                 }));
        QCOMPARE(state.ProfileDigitizationSource, 1);
        QVERIFY(AnswerDialog<AboutDialog>(
            [&] { RunAboutCommand(&window); },
            [](AboutDialog& dialog) {
                const auto* logo = dialog.findChild<QLabel*>(QStringLiteral("Logo"));
                QVERIFY(logo);
                // The logo is drawn, not a blank box.
                const QImage shown = logo->pixmap().toImage();
                QVERIFY(!shown.isNull());
                bool drawn = false;
                for (int y = 0; y < shown.height() && !drawn; y += 3)
                    for (int x = 0; x < shown.width() && !drawn; x += 3)
                        drawn = shown.pixelColor(x, y) != QColor(Qt::black);
                QVERIFY(drawn);
                const auto* version = dialog.findChild<QLabel*>(QStringLiteral("Version"));
                QVERIFY(version);
                QCOMPARE(version->text(), QStringLiteral("Version ") + QLatin1String(TIDEMAR_VERSION));
                dialog.OkButton()->click();
            }));
    }

    void dialogsOpenOverThePicture() {
        QMainWindow window;
        window.setMenuBar(new QMenuBar(&window));
        window.resize(800, 600);
        window.move(0, 0);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        SonarState state;
        ScriptedPrompts prompts;
        ProfileSetupDialog dialog(state, prompts, &window);
        const QRect screen = window.screen()->geometry();
        const QRect placed(dialog.pos(), dialog.size());
        QVERIFY(dialog.width() >= dialog.minimumSizeHint().width());
        QVERIFY(placed.left() >= screen.left() && placed.top() >= screen.top());
        if (placed.right() < screen.right() - 11)
            QCOMPARE(placed.left(), window.frameGeometry().left() + 301 - dialog.width() / 2);
    }
};

QTEST_MAIN(SmallDialogsTest)
#include "SmallDialogsTest.moc"
