// The window driving a ping source it was given instead of the head: started once for
// HEAD, stepped on each wake-up, told of the hold, stopped for FILE; the menu items of each
// source follow the source in use.
#include <QAction>
#include <QtTest>

#include "ScriptedSource.h"
#include "UiTestSupport.h"
#include "ui/window/MainMenu.h"

using namespace tidemar;
using namespace tidemar::uitest;
using tidemar::sourcetest::ScriptedSource;

namespace {

// Every item of the per-source table is enabled exactly when its source is in use.
bool MenusFollow(MainWindow& window, int source) {
    for (const SourceMenuItem& item : SourceMenuItems)
        if (window.CommandAction(item.Id)->isEnabled() != (item.Source == source)) return false;
    return true;
}

}  // namespace

class PingSourceTest : public QObject {
    Q_OBJECT
private slots:
    void windowDrivesTheSourceItWasGiven() {
        TestFolder folder(QStringLiteral("IPAddress_Sonar1=127.0.0.1\nRunMode=0\nGridMode=1\n"));
        ScriptedPrompts prompts;
        ScriptedSource* head = nullptr;
        auto owned = MakeWindow(folder, prompts, sourcetest::ScriptedSourceFactory(head));
        MainWindow& window = *owned;
        QVERIFY(head);
        window.Start();
        QCOMPARE(head->Starts, 1);
        QCOMPARE(window.Source(), static_cast<PingSource*>(head));
        QVERIFY(MenusFollow(window, DataSource::Head));

        // Pings arrive only through the wake-up, and all go into the picture.
        head->Deliver(40, 90);
        QTRY_COMPARE_WITH_TIMEOUT(head->Dispatched, 40, 5000);
        QVERIFY(EchoPixels(window.Image().Image) > 200);

        window.ToggleHold();
        QVERIFY(head->Held);
        window.ToggleHold();
        QVERIFY(!head->Held);

        // FILE: the head source stops and the file's menu items take over; back again.
        prompts.FileAnswers.push_back(SectorRecording().toStdString());
        window.SelectDataSource(DataSource::File);
        QCOMPARE(head->Stops, 1);
        QVERIFY(window.Source() != head && window.Source()->Kind() == DataSource::File);
        QVERIFY(MenusFollow(window, DataSource::File));
        const int steps = head->Steps;
        head->Deliver(5, 90);  // a late wake-up of a stopped source is not acted on
        QTest::qWait(50);
        QCOMPARE(head->Steps, steps);
        window.SelectDataSource(DataSource::Head);
        QCOMPARE(head->Starts, 2);
        QVERIFY(MenusFollow(window, DataSource::Head));
    }
};

QTEST_MAIN(PingSourceTest)
#include "PingSourceTest.moc"
