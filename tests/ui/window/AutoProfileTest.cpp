// The "Auto-Profile" dialog and its rules, "Save This Profile?", and the cycle the window
// runs between pings, offscreen; last a live scan against tidemar-headsim on 127.0.0.93.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cmath>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "UiTestSupport.h"
#include "link/PingCycle.h"
#include "core/SonarTables.h"
#include "image/ImageDispatch.h"
#include "image/ProfileDisplay.h"
#include "ui/window/AutoProfileController.h"
#include "ui/dialogs/AutoProfileDialog.h"
#include "ui/dialogs/DialogSupport.h"
#include "ui/dialogs/SaveProfileDialog.h"

using namespace tidemar;
using namespace tidemar::uitest;

namespace {

// Answers the next modal dialog of type T once it is shown (tried for up to two seconds).
template <typename T>
std::shared_ptr<bool> AnswerNext(std::function<void(T&)> answer) {
    auto seen = std::make_shared<bool>(false);
    auto tries = std::make_shared<int>(0);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [seen, tries, answer, poll] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            *seen = true;
            answer(*dialog);
            *poll = nullptr;  // the answered dialog's callback lets go of itself
            return;
        }
        if (++*tries < 200)
            QTimer::singleShot(10, [poll] {
                if (*poll) (*poll)();
            });
    };
    QTimer::singleShot(0, [poll] {
        if (*poll) (*poll)();
    });
    return seen;
}

SonarState LiveSector() {
    SonarState state;
    state.RunMode = DataSource::Head;
    state.GridMode = DisplayMode::Sector;
    state.SectorSectorSize = 90;
    state.SectorSize = 90;
    state.Train = 0;
    state.Speed = 2;
    state.ConfigType = 0;  // the transmit settings as they stand, no configuration table
    SetRange(state, 9);
    ApplySpeed(state);
    return state;
}

std::vector<std::string> Lines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

// Distance of (x, y) from the segment (x0, y0)-(x1, y1).
double SegmentDistance(double x, double y, double x0, double y0, double x1, double y1) {
    const double ex = x1 - x0, ey = y1 - y0;
    double t = ((x - x0) * ex + (y - y0) * ey) / (ex * ex + ey * ey);
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(x - (x0 + t * ex), y - (y0 + t * ey));
}

// The simulated head's harbour (tools/headsim/Scene.cpp): the quay ahead and its turn to
// starboard, the walls a 90 degree sector ahead sees within 50 m, and the targets in it.
double SceneDistance(double x, double y) {
    double best = std::min(SegmentDistance(x, y, -70, 32, 28, 40), SegmentDistance(x, y, 28, 40, 36, -12));
    const double targets[][3] = {{0.8, 1.6, 0.10}, {-1.2, 3.0, 0.15}, {2.5, 3.8, 0.20}, {-3.5, 7.5, 0.30},
                                 {6.0, 9.0, 0.40}, {-12, 17, 0.6},    {18, 22, 0.5}};
    for (const auto& t : targets) best = std::min(best, std::fabs(std::hypot(x - t[0], y - t[1]) - t[2]));
    return best;
}

// The window's side of the dispatch, reduced to what the cycle needs.
class CycleTarget : public ImageDispatchTarget {
public:
    CycleTarget(SonarState& state, ImageState& image) : ImageDispatchTarget(state, image) {}
    AutoProfileController* Controller = nullptr;
    int Erased = 0;
    void AddProfilePoint(const SonarState&) override { Controller->AddProfilePoint(); }
    void AutoProfileCycleStep() override { Controller->AutoProfileCycleStep(); }
    void RunAutoProfileDialog() override { Controller->RunAutoProfileDialog(); }
    void EraseLinkStatus() override { ++Erased; }
};

}  // namespace

class AutoProfileTest : public QObject {
    Q_OBJECT
private slots:
    void opensWithTheSettings() {
        SonarState state = LiveSector();
        state.ProfileChainage = 12.5f;
        state.ProfileElevation = -3.0f;
        state.ProfileXOffset = 123.456f;
        state.ProfileDredgeDepth = 7.0f;
        state.AutoProfileBMP = 0;
        state.AutoProfilePromptForScan = 0;
        state.Units = 1;
        ProfileScan scan;
        ScriptedPrompts prompts;
        AutoProfileDialog dialog(state, scan, {}, prompts);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Auto-Profile"));
        QCOMPARE(dialog.EnableBox()->text(), QStringLiteral("Auto-Profile Enable"));
        QVERIFY(!dialog.EnableBox()->isChecked());
        QCOMPARE(dialog.ValueBox(ChainageValue)->text(), QStringLiteral(" 12.50"));
        QCOMPARE(dialog.ValueBox(ElevationValue)->text(), QStringLiteral(" -3.00"));
        QCOMPARE(dialog.ValueBox(OffsetValue)->text(), QStringLiteral("123.46"));
        QCOMPARE(dialog.ValueBox(DredgeDepthValue)->text(), QStringLiteral("  7.00"));
        for (int i = 0; i < AutoProfileValueCount; ++i)
            QCOMPARE(dialog.UnitLabel(static_cast<AutoProfileValue>(i))->text(), QStringLiteral("Feet"));
        QCOMPARE(dialog.XyzBox()->text(), QStringLiteral("Generate ASCII file (.XYZ)"));
        QCOMPARE(dialog.BmpBox()->text(), QStringLiteral("Generate screen capture (.BMP)"));
        QCOMPARE(dialog.ConfirmationBox()->text(), QStringLiteral("Save scan confirmation"));
        QCOMPARE(dialog.PromptBox()->text(), QStringLiteral("Prompt for another scan"));
        QVERIFY(dialog.XyzBox()->isChecked());
        QVERIFY(!dialog.BmpBox()->isChecked());
        QCOMPARE(dialog.ConfirmationBox()->checkState(), Qt::Checked);
        QVERIFY(!dialog.PromptBox()->isChecked());
        QCOMPARE(dialog.OkButton()->text(), QStringLiteral("Ok"));
        QCOMPARE(dialog.DefaultsButton()->text(), QStringLiteral("Defaults"));
        QCOMPARE(dialog.CancelButton()->text(), QStringLiteral("Cancel"));

        state.Units = 0;
        AutoProfileDialog metres(state, scan, {}, prompts);
        QCOMPARE(metres.UnitLabel(ChainageValue)->text(), QStringLiteral("Meters"));
    }

    void confirmationNeedsAFileToSave() {
        SonarState state = LiveSector();
        state.AutoProfileXYZ = 0;
        state.AutoProfileBMP = 0;
        state.AutoProfileSaveConfirmation = 1;
        ProfileScan scan;
        ScriptedPrompts prompts;
        AutoProfileDialog dialog(state, scan, {}, prompts);
        dialog.show();
        QCheckBox* confirm = dialog.ConfirmationBox();
        QCOMPARE(confirm->checkState(), Qt::Unchecked);
        QVERIFY(confirm->isDown());
        QTest::mouseClick(confirm, Qt::LeftButton);
        QCOMPARE(confirm->checkState(), Qt::Unchecked);  // no file: the click does nothing

        QTest::mouseClick(dialog.BmpBox(), Qt::LeftButton);
        QCOMPARE(confirm->checkState(), Qt::Checked);
        QVERIFY(!confirm->isDown());
        QTest::mouseClick(confirm, Qt::LeftButton);
        QCOMPARE(confirm->checkState(), Qt::PartiallyChecked);  // the third state
        QTest::mouseClick(confirm, Qt::LeftButton);
        QCOMPARE(confirm->checkState(), Qt::Unchecked);
        QTest::mouseClick(confirm, Qt::LeftButton);
        QCOMPARE(confirm->checkState(), Qt::Checked);
        QTest::mouseClick(confirm, Qt::LeftButton);
        QTest::mouseClick(confirm, Qt::LeftButton);
        QCOMPARE(confirm->checkState(), Qt::Unchecked);
        QTest::mouseClick(dialog.XyzBox(), Qt::LeftButton);
        QCOMPARE(confirm->checkState(), Qt::Checked);
        QTest::mouseClick(dialog.XyzBox(), Qt::LeftButton);
        QCOMPARE(confirm->checkState(), Qt::Checked);  // the BMP is still chosen
        QTest::mouseClick(dialog.BmpBox(), Qt::LeftButton);
        QCOMPARE(confirm->checkState(), Qt::Unchecked);
        QVERIFY(confirm->isDown());

        // Ok with neither file type: no confirmation, whatever it was.
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        QCOMPARE(state.AutoProfileSaveConfirmation, 0);
        QCOMPARE(state.AutoProfileXYZ, 0);
        QCOMPARE(state.AutoProfileBMP, 0);
    }

    void theThirdStateStoresNoConfirmation() {
        SonarState state = LiveSector();
        ProfileScan scan;
        ScriptedPrompts prompts;
        AutoProfileDialog dialog(state, scan, {}, prompts);
        dialog.ConfirmationBox()->setCheckState(Qt::PartiallyChecked);
        dialog.OkButton()->click();
        QCOMPARE(state.AutoProfileSaveConfirmation, 0);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void spinArrowsStepByATenth() {
        SonarState state = LiveSector();
        ProfileScan scan;
        ScriptedPrompts prompts;
        AutoProfileDialog dialog(state, scan, {}, prompts);
        dialog.Arrows(ChainageValue)->Up()->click();
        QCOMPARE(dialog.ValueBox(ChainageValue)->text(), QStringLiteral("  0.10"));
        dialog.Arrows(DredgeDepthValue)->Down()->click();
        dialog.Arrows(DredgeDepthValue)->Down()->click();
        QCOMPARE(dialog.ValueBox(DredgeDepthValue)->text(), QStringLiteral(" -0.20"));
        // A typed value is stepped from.
        dialog.ValueBox(OffsetValue)->setText(QStringLiteral("4.25"));
        dialog.Arrows(OffsetValue)->Up()->click();
        QCOMPARE(dialog.ValueBox(OffsetValue)->text(), QStringLiteral("  4.35"));
        QCOMPARE(state.ProfileXOffset, 0.0f);  // nothing stored before Ok
        dialog.OkButton()->click();
        QCOMPARE(state.ProfileChainage, 0.1f);
        QCOMPARE(state.ProfileXOffset, 4.35f);
        QCOMPARE(state.ProfileDredgeDepth, -0.2f);
    }

    void valuesAreReadFromTheirFirstEightCharacters() {
        QCOMPARE(AutoProfileValueOf(QStringLiteral("  12.5 ")).value(), 12.5f);
        QCOMPARE(AutoProfileValueOf(QStringLiteral("-.5")).value(), -0.5f);
        QCOMPARE(AutoProfileValueOf(QStringLiteral("1234567.9")).value(), 1234567.0f);
        QVERIFY(!AutoProfileValueOf(QStringLiteral("")).has_value());
        QVERIFY(!AutoProfileValueOf(QStringLiteral("12,5")).has_value());
        QVERIFY(!AutoProfileValueOf(QStringLiteral("abc")).has_value());
    }

    void aValueThatIsNotANumberIsRefusedAndNothingIsLost() {
        SonarState state = LiveSector();
        state.ProfileChainage = 5.0f;
        ProfileScan scan;
        ScriptedPrompts prompts;
        AutoProfileDialog dialog(state, scan, {}, prompts);
        dialog.EnableBox()->setChecked(true);
        dialog.ValueBox(ElevationValue)->setText(QStringLiteral("x"));
        dialog.ValueBox(ChainageValue)->setText(QStringLiteral("9"));
        dialog.OkButton()->click();
        QCOMPARE(prompts.Messages.size(), size_t(1));
        QCOMPARE(QString::fromStdString(prompts.Messages[0].Caption), QStringLiteral("Auto-Profile"));
        QCOMPARE(QString::fromStdString(prompts.Messages[0].Text), QStringLiteral("Sonar Elevation must be a number."));
        QCOMPARE(state.ProfileChainage, 5.0f);
        QCOMPARE(state.AutoProfileActive, 0);
        QCOMPARE(dialog.ValueBox(ChainageValue)->text(), QStringLiteral("9"));
        QCOMPARE(dialog.result(), 0);
    }

    void defaultsTakeEffectAtOnceExceptTheValues() {
        SonarState state = LiveSector();
        state.AutoProfileActive = 1;
        state.AutoProfileXYZ = 0;
        state.AutoProfileBMP = 0;
        state.AutoProfileSaveConfirmation = 0;
        state.AutoProfilePromptForScan = 0;
        state.ProfileChainage = 3.0f;
        ProfileScan scan;
        scan.PreviousActive = 1;
        ScriptedPrompts prompts;
        AutoProfileDialog dialog(state, scan, {}, prompts);
        dialog.DefaultsButton()->click();
        QVERIFY(!dialog.EnableBox()->isChecked());
        for (int i = 0; i < AutoProfileValueCount; ++i)
            QCOMPARE(dialog.ValueBox(static_cast<AutoProfileValue>(i))->text(), QStringLiteral("  0.00"));
        for (QCheckBox* box : {dialog.XyzBox(), dialog.BmpBox(), dialog.ConfirmationBox(), dialog.PromptBox()})
            QCOMPARE(box->checkState(), Qt::Checked);
        QVERIFY(!dialog.ConfirmationBox()->isDown());
        dialog.CancelButton()->click();
        QCOMPARE(state.AutoProfileActive, 0);
        QCOMPARE(state.AutoProfileXYZ, 1);
        QCOMPARE(state.AutoProfileBMP, 1);
        QCOMPARE(state.AutoProfileSaveConfirmation, 1);
        QCOMPARE(state.AutoProfilePromptForScan, 1);
        QCOMPARE(state.ProfileChainage, 3.0f);
    }

    void okStartsAScanOnlyWhenSwitchedOnLive() {
        SonarState state = LiveSector();
        const ScanGeometry geometry{45, 450, 750};
        ProfileScan scan;
        scan.Records.resize(10);
        ScriptedPrompts prompts;
        {
            AutoProfileDialog dialog(state, scan, geometry, prompts);
            dialog.EnableBox()->setChecked(true);
            dialog.OkButton()->click();
            QVERIFY(dialog.ScanStarted());
        }
        QCOMPARE(state.AutoProfileActive, 1);
        QVERIFY(scan.Records.empty());
        QCOMPARE(state.AutoProfilePositioning, 1);
        QCOMPARE(state.BusyCursorOn, 1);
        QCOMPARE(int(state.CommandTemplate[11]), 45);
        {
            AutoProfileDialog dialog(state, scan, geometry, prompts);
            QVERIFY(dialog.EnableBox()->isChecked());
            dialog.OkButton()->click();
            QVERIFY(!dialog.ScanStarted());  // already on
        }
        state.AutoProfileActive = 0;
        scan.PreviousActive = 0;
        state.RunMode = DataSource::File;
        {
            AutoProfileDialog dialog(state, scan, geometry, prompts);
            dialog.EnableBox()->setChecked(true);
            dialog.OkButton()->click();
            QVERIFY(!dialog.ScanStarted());  // playback
            QCOMPARE(state.AutoProfileActive, 1);
        }
    }

    void saveProfileAsks() {
        SaveProfileDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Auto-Profile"));
        QCOMPARE(dialog.Question()->text(), QStringLiteral("Save This Profile?"));
        QCOMPARE(dialog.YesButton()->text(), QStringLiteral("Yes"));
        QCOMPARE(dialog.NoButton()->text(), QStringLiteral("No"));
        auto yes = AnswerNext<SaveProfileDialog>([](SaveProfileDialog& d) { d.YesButton()->click(); });
        QVERIFY(SaveProfileDialog::Ask(nullptr));
        QVERIFY(*yes);
        auto no = AnswerNext<SaveProfileDialog>([](SaveProfileDialog& d) { d.NoButton()->click(); });
        QVERIFY(!SaveProfileDialog::Ask(nullptr));
        QVERIFY(*no);
    }

    // A finished sweep through the controller: the question, the files, the next scan's dialog.
    void aFinishedScanIsSavedAsAnswered() {
        QTemporaryDir dir;
        SonarState state = LiveSector();
        state.DateText = "07-DEC-2026";
        state.AutoProfileActive = 1;
        state.StepDirection = 0;
        ImageState image;
        image.Profile.RecentProfilePoints[2] = {5, 5};
        ScriptedPrompts prompts;
        std::vector<std::string> captures;
        int redraws = 0;
        AutoProfileHooks hooks;
        hooks.CaptureScreen = [&](const std::string& name) { captures.push_back(name); };
        hooks.RedrawDredgeLine = [&] { ++redraws; };
        AutoProfileController controller(state, image, prompts, nullptr, dir.path().toStdString(), hooks);
        for (int i = 0; i < 5; ++i) controller.AddProfilePoint();
        QCOMPARE(controller.Scan().Records.size(), size_t(5));

        auto asked = AnswerNext<SaveProfileDialog>([](SaveProfileDialog& d) { d.YesButton()->click(); });
        auto prompted = AnswerNext<AutoProfileDialog>([](AutoProfileDialog& d) { d.CancelButton()->click(); });
        state.StepDirection = 1;  // the head turned
        controller.AutoProfileCycleStep();
        QVERIFY(*asked);
        QVERIFY(*prompted);
        QCOMPARE(redraws, 0);  // the dialog after a scan leaves the picture alone
        const std::string xyz = dir.filePath(QStringLiteral("07DEC2026-0001.XYZ")).toStdString();
        QCOMPARE(controller.XyzFilesWritten(), std::vector<std::string>{xyz});
        QCOMPARE(Lines(xyz).size(), size_t(4 + 3));
        QCOMPARE(captures, std::vector<std::string>{dir.filePath(QStringLiteral("07DEC2026-0001.BMP")).toStdString()});
        QVERIFY(controller.Scan().Records.empty());
        QVERIFY(image.Profile.RecentProfilePoints[2].Empty());

        // No: nothing saved; the next scan is still offered.
        controller.AddProfilePoint();
        auto refused = AnswerNext<SaveProfileDialog>([](SaveProfileDialog& d) { d.NoButton()->click(); });
        auto again = AnswerNext<AutoProfileDialog>([](AutoProfileDialog& d) { d.CancelButton()->click(); });
        state.StepDirection = 0;
        controller.AutoProfileCycleStep();
        QVERIFY(*refused);
        QVERIFY(*again);
        QCOMPARE(controller.XyzFilesWritten().size(), size_t(1));
        QCOMPARE(captures.size(), size_t(1));
    }

    void switchedOffByDefaultsTheNextOkStartsAgain() {
        SonarState state = LiveSector();
        ImageState image;
        ScriptedPrompts prompts;
        int statusChanges = 0;
        int dredgeRedraws = 0;
        AutoProfileHooks hooks;
        hooks.StatusChanged = [&] { ++statusChanges; };
        hooks.RedrawDredgeLine = [&] { ++dredgeRedraws; };
        AutoProfileController controller(state, image, prompts, nullptr, QDir::tempPath().toStdString(), hooks);
        auto on = AnswerNext<AutoProfileDialog>([](AutoProfileDialog& d) {
            d.EnableBox()->setChecked(true);
            d.OkButton()->click();
        });
        controller.RunAutoProfileDialog();
        QVERIFY(*on);
        QCOMPARE(state.AutoProfilePositioning, 1);
        QVERIFY(statusChanges > 0);
        auto off = AnswerNext<AutoProfileDialog>([](AutoProfileDialog& d) {
            d.DefaultsButton()->click();
            d.CancelButton()->click();
        });
        controller.RunAutoProfileDialog();
        QVERIFY(*off);
        QCOMPARE(state.AutoProfileActive, 0);
        QCOMPARE(state.AutoProfilePositioning, 0);
        QCOMPARE(state.BusyCursorOn, 0);
        auto again = AnswerNext<AutoProfileDialog>([](AutoProfileDialog& d) {
            d.EnableBox()->setChecked(true);
            d.OkButton()->click();
        });
        controller.RunAutoProfileDialog();
        QVERIFY(*again);
        QCOMPARE(state.AutoProfilePositioning, 1);
        QCOMPARE(dredgeRedraws, 3);  // after each of the menu's dialogs, Ok or Cancel
    }

    // In the window: echoes on screen survive both dialogs; the menu's one moves the dredge line.
    void thePictureSurvivesTheDialogs() {
        TestFolder folder(
            QStringLiteral("IPAddress_Sonar1=127.0.0.96\nGridMode=0\nGrid=0\nProfileGrid=1\n"
                           "ZeroDown=1\nRange=5\n"));
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        SonarState& state = window->State();
        auto& image = const_cast<ImageState&>(window->Image()).Image;
        for (int y = 100; y < 110; ++y)
            for (int x = 200; x < 210; ++x) image.At(x, y) = 60;
        auto patchKept = [&] {
            for (int y = 100; y < 110; ++y)
                for (int x = 200; x < 210; ++x)
                    if (image.At(x, y) != 60) return false;
            return true;
        };

        state.AutoProfileActive = 1;
        state.AutoProfileXYZ = 0;
        state.AutoProfileBMP = 0;
        state.AutoProfileSaveConfirmation = 0;
        state.AutoProfilePromptForScan = 1;
        state.StepDirection = 0;
        for (int i = 0; i < 3; ++i) window->AutoProfile().AddProfilePoint();
        auto prompted = AnswerNext<AutoProfileDialog>([](AutoProfileDialog& d) { d.CancelButton()->click(); });
        state.StepDirection = 1;  // the head turned: the scan is complete
        window->AutoProfile().AutoProfileCycleStep();
        QVERIFY(*prompted);
        QVERIFY(window->AutoProfile().Scan().Records.empty());
        QVERIFY(patchKept());

        auto fromMenu = AnswerNext<AutoProfileDialog>([](AutoProfileDialog& d) {
            d.EnableBox()->setChecked(false);
            d.ValueBox(DredgeDepthValue)->setText(QStringLiteral("3.0"));
            d.OkButton()->click();
        });
        window->Target().RunAutoProfileDialog();  // what the ping cycle does with the menu's request
        QVERIFY(*fromMenu);
        QVERIFY(patchKept());
        const int row = DredgeLineRow(state);
        QVERIFY(row > 0);
        for (int x = 0; x < ImageWidth; ++x) QCOMPARE(int(image.At(x, row)), 88);
    }

    // The whole cycle live: the menu's request opens the dialog between two pings, Ok
    // sends the head to the sector start, and each sweep after that becomes an XYZ file
    // whose points lie on the simulated scene.
    void liveScanAgainstTheSimulatedHead() {
        HeadSim head;
        QVERIFY(head.Start(QStringLiteral("127.0.0.93")));
        QTemporaryDir dir;
        SonarState state = LiveSector();
        state.IPAddress_Sonar1 = "127.0.0.93";
        state.AutoProfileBMP = 0;
        state.AutoProfileSaveConfirmation = 0;
        state.AutoProfilePromptForScan = 0;
        ImageState image;
        ScriptedPrompts prompts;
        CycleTarget target(state, image);
        AutoProfileController controller(state, image, prompts, nullptr, dir.path().toStdString(), {});
        target.Controller = &controller;
        SystemClock clock;
        QObject receiver;
        std::unique_ptr<PingCycle> cycle;
        cycle = std::make_unique<PingCycle>(state, clock, target, [&receiver, &cycle] {
            QMetaObject::invokeMethod(
                &receiver, [&cycle] { cycle->Poll(); }, Qt::QueuedConnection);
        });
        cycle->Start();
        QTRY_VERIFY_WITH_TIMEOUT(cycle->Exchanges() > 20, 10000);

        auto opened = AnswerNext<AutoProfileDialog>([](AutoProfileDialog& d) {
            d.EnableBox()->setChecked(true);
            d.OkButton()->click();
        });
        state.AutoProfileRequest = 1;
        QTRY_VERIFY_WITH_TIMEOUT(*opened, 5000);
        QCOMPARE(state.AutoProfileActive, 1);
        QTRY_VERIFY_WITH_TIMEOUT(controller.XyzFilesWritten().size() >= 2, 30000);
        cycle->Stop();
        QCOMPARE(target.Erased, 1);  // the head reached the start once
        QCOMPARE(state.BusyCursorOn, 0);

        for (const std::string& name : controller.XyzFilesWritten()) {
            const std::vector<std::string> lines = Lines(name);
            QVERIFY2(lines.size() > 50, name.c_str());
            QCOMPARE(lines[0], std::string("0000.00,M\r"));
            int echoes = 0, off = 0;
            for (size_t i = 4; i < lines.size(); ++i) {
                std::vector<double> fields;
                std::stringstream line(lines[i]);
                std::string field;
                while (std::getline(line, field, '\t')) fields.push_back(std::atof(field.c_str()));
                QCOMPARE(fields.size(), size_t(8));
                const double x = fields[5], z = fields[7];
                if (x == 0.0 && z == 0.0) continue;  // no echo within the range
                ++echoes;
                if (SceneDistance(x, z) > 1.0) ++off;
            }
            if (echoes <= 50)
                for (const auto& l : lines) qDebug() << l.c_str();
            QVERIFY2(echoes > 50, name.c_str());
            QVERIFY2(off * 50 <= echoes, (name + ": " + std::to_string(off) + " points off the scene").c_str());
        }
    }
};

QTEST_MAIN(AutoProfileTest)
#include "AutoProfileTest.moc"
