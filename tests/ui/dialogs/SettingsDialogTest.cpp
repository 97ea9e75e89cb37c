// The transmit-settings dialogs: "Settings" in live mode (auto and manual setup), the
// "User Configuration" table editor with its .CFG files, and the read-only playback
// "Settings".
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "DialogTestSupport.h"
#include "platform/ScriptedPrompts.h"
#include "settings/ConfigEditor.h"
#include "settings/ConfigFile.h"
#include "ui/window/DialogCommands.h"
#include "ui/dialogs/DialogSupport.h"
#include "ui/dialogs/PlaybackSettingsDialog.h"
#include "ui/dialogs/SettingsDialog.h"
#include "ui/dialogs/UserConfigDialog.h"

using namespace tidemar;
using namespace tidemar::uitest;

namespace {

SonarState ManualState() {
    SonarState state;
    ResetUserConfig(state.UserConfig);
    state.ConfigType = 0;
    return state;
}

SonarState AutoState() {
    SonarState state;
    ResetUserConfig(state.UserConfig);
    state.ConfigType = 1;
    state.Range = 13;
    state.GridMode = DisplayMode::Sector;
    ApplyUserConfig(state);
    return state;
}

QStringList Texts(const ScriptedPrompts& prompts) {
    QStringList texts;
    for (const ShownMessage& message : prompts.Messages) texts << QString::fromStdString(message.Text);
    return texts;
}

void Type(QLineEdit* box, const QString& text) {
    box->clear();
    QTest::keyClicks(box, text);
}

}  // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void opensWithTheValuesInForce() {
        SonarState state = AutoState();
        state.MasterHeadID = 17;
        state.ConfigFile = "/home/survey/configurations/harbour-entrance.cfg";
        ScriptedPrompts prompts;
        RecordingTarget target(state);
        SettingsDialog dialog(state, prompts, target);
        QVERIFY(dialog.AutoButton()->isChecked());
        QVERIFY(!dialog.ManualButton()->isChecked());
        QCOMPARE(dialog.HeadIdBox()->text(), QStringLiteral("2"));
        QCOMPARE(dialog.ConfigNameBox()->text(), QStringLiteral("/home/surv .../harbour-entrance.cfg"));
        QCOMPARE(dialog.FrequencyBox()->text(), QStringLiteral("310"));
        QCOMPARE(dialog.AbsorptionBox()->text(), QStringLiteral("0.10"));
        QCOMPARE(dialog.PulseLengthBox()->text(), QStringLiteral("400"));
        QCOMPARE(dialog.AbsorptionUnit()->text(), QStringLiteral("dB/m"));
        // Auto: the values come from the table, nothing to type or step.
        QVERIFY(dialog.FrequencyBox()->isReadOnly());
        QVERIFY(!dialog.FrequencyArrows()->isEnabled());
        QVERIFY(!dialog.DefaultsButton()->isEnabled());
        QVERIFY(dialog.EditConfigButton()->isEnabled());

        state.Units = 1;
        SettingsDialog feet(state, prompts, target);
        QCOMPARE(feet.AbsorptionUnit()->text(), QStringLiteral("dB/ft"));
        QCOMPARE(feet.AbsorptionBox()->text(), QStringLiteral("0.03048"));
    }

    void manualOkRoundsAndStores() {
        SonarState state = ManualState();
        ScriptedPrompts prompts;
        RecordingTarget target(state);
        SettingsDialog dialog(state, prompts, target);
        dialog.show();
        QVERIFY(!dialog.FrequencyBox()->isReadOnly());
        Type(dialog.FrequencyBox(), QStringLiteral("282"));
        Type(dialog.AbsorptionBox(), QStringLiteral("0.01"));
        Type(dialog.PulseLengthBox(), QStringLiteral("15"));
        dialog.OkButton()->click();
        QVERIFY(prompts.Messages.empty());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(state.Frequency, 280);
        QCOMPARE(state.ManualFrequency, 280);
        QCOMPARE(state.Absorption, 1);
        QCOMPARE(state.ManualAbsorption, 1);
        QCOMPARE(state.PulseLength, 20);
        QCOMPARE(state.ManualPulseLength, 20);

        SettingsDialog again(state, prompts, target);
        again.show();
        Type(again.FrequencyBox(), QStringLiteral("283"));
        Type(again.AbsorptionBox(), QStringLiteral("2.55"));
        Type(again.PulseLengthBox(), QStringLiteral("14"));
        again.OkButton()->click();
        QCOMPARE(state.Frequency, 285);
        QCOMPARE(state.Absorption, 255);
        QCOMPARE(state.PulseLength, 10);
    }

    void manualOkRefusesEachBoxInOrder() {
        SonarState state = ManualState();
        ScriptedPrompts prompts;
        RecordingTarget target(state);
        SettingsDialog dialog(state, prompts, target);
        dialog.show();
        Type(dialog.FrequencyBox(), QStringLiteral("1105"));
        Type(dialog.AbsorptionBox(), QStringLiteral("0.009"));
        Type(dialog.PulseLengthBox(), QStringLiteral("abc"));
        dialog.OkButton()->click();
        QCOMPARE(Texts(prompts), QStringList({QStringLiteral("Frequency is out of range!\nUse 280 to 1100 kHz."),
                                              QStringLiteral("Absorption is out of range!\nUse 0.01 to 2.55 dB/m."),
                                              QStringLiteral("Pulse Length is out of range!\nUse 10 to 1000 usec.")}));
        for (const ShownMessage& message : prompts.Messages) {
            QCOMPARE(QString::fromStdString(message.Caption), QStringLiteral("Manual Setup"));
            QCOMPARE(message.Icon, MessageIcon::Exclamation);
        }
        QVERIFY2(dialog.isVisible(), "stays open");
        QCOMPARE(state.Frequency, 675);

        // An accepted box is stored even while another is refused.
        prompts.Messages.clear();
        Type(dialog.AbsorptionBox(), QStringLiteral("2.56"));
        Type(dialog.FrequencyBox(), QStringLiteral("900"));
        dialog.OkButton()->click();
        QCOMPARE(state.Frequency, 900);
        QCOMPARE(prompts.Messages.size(), size_t(2));
        QVERIFY(dialog.isVisible());

        state.Units = 1;
        SettingsDialog feet(state, prompts, target);
        prompts.Messages.clear();
        Type(feet.AbsorptionBox(), QStringLiteral("0.002"));
        feet.OkButton()->click();
        QCOMPARE(Texts(prompts).value(0),
                 QStringLiteral("Absorption is out of range!\nUse 0.003048 to 0.77724 dB/ft."));
        Type(feet.AbsorptionBox(), QStringLiteral("0.003048"));
        Type(feet.PulseLengthBox(), QStringLiteral("100"));
        prompts.Messages.clear();
        feet.OkButton()->click();
        QVERIFY(prompts.Messages.empty());
        QCOMPARE(state.Absorption, 1);
    }

    void arrowsStepTheWorkingValueNotTheTypedText() {
        SonarState state = ManualState();
        state.PulseLength = state.ManualPulseLength = 1000;
        ScriptedPrompts prompts;
        RecordingTarget target(state);
        SettingsDialog dialog(state, prompts, target);
        dialog.FrequencyArrows()->Up()->click();
        QCOMPARE(dialog.FrequencyBox()->text(), QStringLiteral("680"));
        Type(dialog.FrequencyBox(), QStringLiteral("900"));
        dialog.FrequencyArrows()->Up()->click();
        QCOMPARE(dialog.FrequencyBox()->text(), QStringLiteral("685"));
        dialog.AbsorptionArrows()->Down()->click();
        QCOMPARE(dialog.AbsorptionBox()->text(), QStringLiteral("0.19"));
        dialog.PulseLengthArrows()->Up()->click();
        QCOMPARE(dialog.PulseLengthBox()->text(), QStringLiteral("1000"));
        QCOMPARE(state.Frequency, 675);
        dialog.CancelButton()->click();
        QCOMPARE(state.Frequency, 675);
    }

    void defaultsAreSetAtOnce() {
        SonarState state = ManualState();
        state.Frequency = state.ManualFrequency = 900;
        state.PulseLength = state.ManualPulseLength = 500;
        ScriptedPrompts prompts;
        RecordingTarget target(state);
        SettingsDialog dialog(state, prompts, target);
        dialog.DefaultsButton()->click();
        QCOMPARE(state.Frequency, 675);
        QCOMPARE(state.ManualPulseLength, 100);
        QCOMPARE(dialog.FrequencyBox()->text(), QStringLiteral("675"));
        QCOMPARE(dialog.AbsorptionBox()->text(), QStringLiteral("0.20"));
        QCOMPARE(dialog.PulseLengthBox()->text(), QStringLiteral("100"));
    }

    void setupTypeButtonsActAtOnceAndSurviveCancel() {
        SonarState state = AutoState();
        state.ManualFrequency = 500;
        state.ManualAbsorption = 40;
        state.ManualPulseLength = 250;
        ScriptedPrompts prompts;
        RecordingTarget target(state);
        {
            SettingsDialog dialog(state, prompts, target);
            dialog.ManualButton()->click();
            QCOMPARE(state.ConfigType, 0);
            QCOMPARE(state.Frequency, 500);
            QCOMPARE(dialog.FrequencyBox()->text(), QStringLiteral("500"));
            QCOMPARE(dialog.PulseLengthBox()->text(), QStringLiteral("250"));
            QVERIFY(!dialog.FrequencyBox()->isReadOnly());
            QVERIFY(dialog.FrequencyArrows()->isEnabled());
            QVERIFY(!dialog.EditConfigButton()->isEnabled());
            QCOMPARE(target.Calls, std::vector<std::string>{"DrawFrequencyReadout"});
            dialog.CancelButton()->click();
        }
        QCOMPARE(state.ConfigType, 0);
        {
            SettingsDialog dialog(state, prompts, target);
            dialog.AutoButton()->click();
            QCOMPARE(state.ConfigType, 1);
            QCOMPARE(state.Frequency, 310);
            QCOMPARE(state.ManualFrequency, 500);
            QCOMPARE(dialog.FrequencyBox()->text(), QStringLiteral("310"));
            QVERIFY(dialog.FrequencyBox()->isReadOnly());
            dialog.AutoButton()->click();
            QCOMPARE(state.ManualFrequency, 500);
            dialog.CancelButton()->click();
        }
        QCOMPARE(state.ConfigType, 1);
        QVERIFY(prompts.Messages.empty());
    }

    void editConfigurationAppliesTheTableAfterwards() {
        SonarState state = AutoState();
        ScriptedPrompts prompts;
        RecordingTarget target(state);
        SettingsDialog dialog(state, prompts, target);
        const bool seen =
            AnswerDialog<UserConfigDialog>([&] { dialog.EditConfigButton()->click(); },
                                           [](UserConfigDialog& editor) {
                                               editor.Cell(13, FrequencyColumn)->setText(QStringLiteral("502"));
                                               editor.OkButton()->click();
                                           });
        QVERIFY(seen);
        QCOMPARE(state.UserConfig.Active[13].Frequency, 500);
        QCOMPARE(state.Frequency, 500);
        QCOMPARE(dialog.FrequencyBox()->text(), QStringLiteral("500"));
        QCOMPARE(dialog.ConfigNameBox()->text(), QStringLiteral("Default"));
        QCOMPARE(target.Calls.back(), std::string("DrawFrequencyReadout"));
    }

    void editorOpensWithTheActiveTable() {
        SonarState state = AutoState();
        state.UserConfig.Active[0].Frequency = 1100;
        state.Units = 1;
        ScriptedPrompts prompts;
        UserConfigDialog editor(state, prompts);
        QCOMPARE(editor.RowLabelOf(0)->text(), QStringLiteral("3 FT"));
        QCOMPARE(editor.RowLabelOf(14)->text(), QStringLiteral("600 FT"));
        QCOMPARE(editor.AbsorptionHeader()->text(), QStringLiteral("(dB/ft)"));
        QCOMPARE(editor.Cell(0, FrequencyColumn)->text(), QStringLiteral("1100"));
        QCOMPARE(editor.Cell(0, AbsorptionColumn)->text(), QStringLiteral("0.18288"));
        QCOMPARE(editor.Cell(14, PulseLengthColumn)->text(), QStringLiteral("530"));
        QCOMPARE(editor.ConfigNameBox()->text(), QStringLiteral("Default"));
        QCOMPARE(state.UserConfig.Working[0].Frequency, 1100);

        state.Units = 0;
        UserConfigDialog metres(state, prompts);
        QCOMPARE(metres.RowLabelOf(9)->text(), QStringLiteral("50 M"));
        QCOMPARE(metres.AbsorptionHeader()->text(), QStringLiteral("(dB/m)"));
    }

    void editorOkRefusesCellsOneMessageEach() {
        SonarState state = AutoState();
        state.ConfigFile = state.EditConfigName = "/data/a.cfg";  // as a good load at start-up leaves them
        ScriptedPrompts prompts;
        UserConfigDialog editor(state, prompts);
        editor.show();
        editor.Cell(0, FrequencyColumn)->setText(QStringLiteral("2000"));
        editor.Cell(2, AbsorptionColumn)->setText(QStringLiteral("0.009"));
        editor.Cell(5, PulseLengthColumn)->setText(QStringLiteral("44"));
        editor.OkButton()->click();
        QCOMPARE(Texts(prompts),
                 QStringList({QStringLiteral("[1 M]\nFrequency is out of range!\nUse 280 to 1100 kHz."),
                              QStringLiteral("[3 M]\nAbsorption is out of range!\nUse 0.01 to 2.55 dB/m.")}));
        QCOMPARE(QString::fromStdString(prompts.Messages[0].Caption), QStringLiteral("Auto Setup"));
        QVERIFY(editor.isVisible());
        QCOMPARE(state.ConfigFile, std::string("/data/a.cfg"));
        QCOMPARE(state.UserConfig.Active[0].Frequency, 1000);
        QCOMPARE(state.UserConfig.Active[5].PulseLength, 40);

        prompts.Messages.clear();
        editor.Cell(0, FrequencyColumn)->setText(QStringLiteral("1100"));
        editor.Cell(2, AbsorptionColumn)->setText(QStringLiteral("0.01"));
        editor.OkButton()->click();
        QVERIFY(prompts.Messages.empty());
        QVERIFY(!editor.isVisible());
        QCOMPARE(state.UserConfig.Active[0].Frequency, 1100);
        QCOMPARE(state.UserConfig.Active[2].Absorption, 1);
    }

    void editorArrowsAndDefaultButtons() {
        SonarState state = AutoState();
        state.UserConfig.Active[5].Frequency = 1100;
        ScriptedPrompts prompts;
        UserConfigDialog editor(state, prompts);
        editor.Arrows(5, FrequencyColumn)->Up()->click();
        QCOMPARE(editor.Cell(5, FrequencyColumn)->text(), QStringLiteral("1100"));
        editor.Arrows(5, FrequencyColumn)->Down()->click();
        QCOMPARE(editor.Cell(5, FrequencyColumn)->text(), QStringLiteral("1095"));
        editor.Arrows(5, AbsorptionColumn)->Up()->click();
        QCOMPARE(editor.Cell(5, AbsorptionColumn)->text(), QStringLiteral("0.21"));
        editor.Arrows(0, PulseLengthColumn)->Down()->click();
        QCOMPARE(editor.Cell(0, PulseLengthColumn)->text(), QStringLiteral("10"));
        QCOMPARE(state.UserConfig.Active[5].Frequency, 1100);

        editor.DefaultCellButton(5, FrequencyColumn)->click();
        QCOMPARE(editor.Cell(5, FrequencyColumn)->text(), QStringLiteral("675"));
        QCOMPARE(editor.Cell(5, AbsorptionColumn)->text(), QStringLiteral("0.21"));
        editor.Cell(7, PulseLengthColumn)->setText(QStringLiteral("999"));
        editor.DefaultCellButton(7, PulseLengthColumn)->click();
        QCOMPARE(editor.Cell(7, PulseLengthColumn)->text(), QStringLiteral("80"));

        editor.CancelButton()->click();
        QCOMPARE(state.UserConfig.Active[5].Frequency, 1100);
    }

    void loadReadsACfgThroughTheFileDialog() {
        QTemporaryDir dir;
        UserConfigTable table = DefaultUserConfigTable();
        table[3].Frequency = 450;
        table[3].Absorption = 77;
        const std::string path = dir.filePath(QStringLiteral("Site.CFG")).toStdString();
        QVERIFY(WriteConfigFile(path, table));

        SonarState state = AutoState();
        state.ConfigPathBuffer = "/old/name.cfg";
        ScriptedPrompts prompts;
        prompts.FileAnswers.push_back(path);
        UserConfigDialog editor(state, prompts);
        editor.LoadButton()->click();
        QCOMPARE(prompts.FileDialogs.size(), size_t(1));
        const FileDialogRequest& request = prompts.FileDialogs[0];
        QCOMPARE(QString::fromStdString(request.Title), QStringLiteral("Load Configuration"));
        QCOMPARE(QString::fromStdString(request.FilterName), QStringLiteral("SK7T Config File (*.CFG)"));
        QCOMPARE(QString::fromStdString(request.InitialName), QStringLiteral("/old/name.cfg"));
        QVERIFY(request.FileMustExist);
        QCOMPARE(editor.Cell(3, FrequencyColumn)->text(), QStringLiteral("450"));
        QCOMPARE(editor.Cell(3, AbsorptionColumn)->text(), QStringLiteral("0.77"));
        QCOMPARE(state.EditConfigName, path);
        QCOMPARE(editor.ConfigNameBox()->text().toStdString(), ShortConfigName(path));
        QCOMPARE(state.UserConfig.Active[3].Frequency, 1000);
        editor.OkButton()->click();
        QCOMPARE(state.UserConfig.Active[3].Frequency, 450);
        QCOMPARE(state.ConfigFile, path);

        // A wrong extension: a message, the cells stay, the name is shown anyway.
        UserConfigDialog second(state, prompts);
        prompts.FileAnswers.push_back(dir.filePath(QStringLiteral("notes.txt")).toStdString());
        second.LoadButton()->click();
        QCOMPARE(Texts(prompts), QStringList{QStringLiteral("File extension must be .CFG")});
        QCOMPARE(QString::fromStdString(prompts.Messages[0].Caption), QStringLiteral("Load Configuration"));
        QCOMPARE(second.Cell(3, FrequencyColumn)->text(), QStringLiteral("450"));
        QVERIFY(second.ConfigNameBox()->text().endsWith(QStringLiteral("notes.txt")));

        // A short file: nothing changes, no message.
        prompts.Messages.clear();
        const std::string shortPath = dir.filePath(QStringLiteral("short.cfg")).toStdString();
        QFile shortFile(QString::fromStdString(shortPath));
        QVERIFY(shortFile.open(QIODevice::WriteOnly));
        shortFile.write("CFG", 4);
        shortFile.close();
        second.Cell(3, FrequencyColumn)->setText(QStringLiteral("600"));
        prompts.FileAnswers.push_back(shortPath);
        second.LoadButton()->click();
        QVERIFY(prompts.Messages.empty());
        QCOMPARE(second.Cell(3, FrequencyColumn)->text(), QStringLiteral("600"));

        // Cancelled: nothing at all.
        second.LoadButton()->click();
        QCOMPARE(state.EditConfigName, shortPath);

        // The editor was cancelled: its name goes with it, so the next Ok keeps the name in force.
        second.CancelButton()->click();
        UserConfigDialog third(state, prompts);
        QCOMPARE(third.ConfigNameBox()->text().toStdString(), ShortConfigName(path));
        QCOMPARE(state.EditConfigName, path);
        third.OkButton()->click();
        QCOMPARE(state.ConfigFile, path);
    }

    void saveAsWritesTheCommittedTable() {
        QTemporaryDir dir;
        SonarState state = AutoState();
        state.ConfigPathBuffer = "/old/name.cfg";
        ScriptedPrompts prompts;
        const std::string path = dir.filePath(QStringLiteral("new.cfg")).toStdString();
        prompts.FileAnswers.push_back(path);
        UserConfigDialog editor(state, prompts);
        editor.Cell(6, FrequencyColumn)->setText(QStringLiteral("802"));
        editor.SaveAsButton()->click();
        QCOMPARE(QString::fromStdString(prompts.FileDialogs.at(0).Title), QStringLiteral("Save Configuration As"));
        QCOMPARE(QString::fromStdString(prompts.FileDialogs.at(0).InitialName), QString());
        QVERIFY(prompts.FileDialogs.at(0).PromptOverwrite);
        QCOMPARE(state.UserConfig.Active[6].Frequency, 800);
        QFile file(QString::fromStdString(path));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const std::vector<uint8_t> expected = ConfigFileBytes(state.UserConfig.Active);
        QCOMPARE(bytes, QByteArray(reinterpret_cast<const char*>(expected.data()), int(expected.size())));
        QCOMPARE(state.EditConfigName, path);

        prompts.FileAnswers.push_back(dir.filePath(QStringLiteral("new.dat")).toStdString());
        editor.SaveAsButton()->click();
        QCOMPARE(Texts(prompts), QStringList{QStringLiteral("File extension must be .CFG")});
        QCOMPARE(QString::fromStdString(prompts.Messages[0].Caption), QStringLiteral("Save Configuration As"));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("new.dat"))));
    }

    void defaultRestoresTheBuiltInTableAndCancelUndoesIt() {
        SonarState state = AutoState();
        state.UserConfig.Active[1].Frequency = 300;
        state.ConfigFile = "/data/harbour.CFG";
        state.EditConfigName = "/data/x.cfg";
        ScriptedPrompts prompts;
        {
            UserConfigDialog editor(state, prompts);
            QCOMPARE(editor.Cell(1, FrequencyColumn)->text(), QStringLiteral("300"));
            editor.DefaultButton()->click();
            QCOMPARE(editor.Cell(1, FrequencyColumn)->text(), QStringLiteral("1000"));
            QCOMPARE(editor.ConfigNameBox()->text(), QStringLiteral("Default"));
            QCOMPARE(state.UserConfig.Active[1].Frequency, 1000);
            editor.CancelButton()->click();
        }
        // Cancel: the table in force and the names are those the editor opened with.
        QCOMPARE(state.UserConfig.Active[1].Frequency, 300);
        QCOMPARE(state.ConfigFile, std::string("/data/harbour.CFG"));
        QCOMPARE(state.EditConfigName, std::string("/data/x.cfg"));

        UserConfigDialog editor(state, prompts);  // Default then Ok keeps the built-in table
        editor.DefaultButton()->click();
        editor.OkButton()->click();
        QCOMPARE(state.UserConfig.Active[1].Frequency, 1000);
        QCOMPARE(state.ConfigFile, std::string("Default"));
    }

    void settingsCommandOpensTheDialogOfTheMode() {
        SonarState state = ManualState();
        ScriptedPrompts prompts;
        RecordingTarget target(state);
        QWidget window;
        PanelUpdate update;
        QVERIFY(AnswerDialog<SettingsDialog>([&] { update = RunSettingsCommand(&window, state, prompts, target); },
                                             [](SettingsDialog& dialog) {
                                                 dialog.FrequencyBox()->setText(QStringLiteral("700"));
                                                 dialog.OkButton()->click();
                                             }));
        QCOMPARE(state.Frequency, 700);
        QVERIFY(update.FrequencyReadout);
        QCOMPARE(target.Calls.back(), std::string("DrawFrequencyReadout"));

        state.RunMode = DataSource::File;
        state.FileFrequency = 310;
        state.ReturnHeadID = 18;
        state.PulseLength = 530;
        target.Calls.clear();
        QVERIFY(AnswerDialog<PlaybackSettingsDialog>(
            [&] { update = RunSettingsCommand(&window, state, prompts, target); },
            [](PlaybackSettingsDialog& dialog) {
                QCOMPARE(dialog.HeadIdBox()->text(), QStringLiteral("3"));
                QCOMPARE(dialog.FrequencyBox()->text(), QStringLiteral("310 kHz"));
                QCOMPARE(dialog.AbsorptionBox()->text(), QStringLiteral("0.20 dB/m"));
                QCOMPARE(dialog.PulseLengthBox()->text(), QStringLiteral("530 usec"));
                QVERIFY(dialog.FrequencyBox()->isReadOnly());
                dialog.OkButton()->click();
            }));
        QVERIFY(target.Calls.empty());
        QVERIFY(!update.Any());
    }
};

QTEST_MAIN(SettingsDialogTest)
#include "SettingsDialogTest.moc"
