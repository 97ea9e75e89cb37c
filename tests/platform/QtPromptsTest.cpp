// The Qt side of the prompts: file dialog filters and names, and the window chrome that
// recording and playback drive by command id.
#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QTest>

#include "platform/QtPrompts.h"

using namespace tidemar;

class QtPromptsTest : public QObject {
    Q_OBJECT
private slots:
    void filtersMatchBothCasesOfThePattern() {
        FileDialogRequest request;
        request.FilterName = "SK7T Sonar Files (*.K7T)";
        request.Pattern = "*.K7T";
        const QStringList filters = FileDialogFilters(request);
        QCOMPARE(filters.size(), 2);
        QCOMPARE(filters[0], QStringLiteral("SK7T Sonar Files (*.K7T *.k7t)"));
        QCOMPARE(filters[1], QStringLiteral("All Files (*)"));
    }

    void filterWithoutParenthesesGetsThePattern() {
        FileDialogRequest request;
        request.FilterName = "BITMAP File    ";
        request.Pattern = "*.bmp";
        QCOMPARE(FileDialogFilters(request).front(), QStringLiteral("BITMAP File     (*.bmp *.BMP)"));
        request.FilterName.clear();
        request.Pattern.clear();
        QCOMPARE(FileDialogFilters(request), QStringList{QStringLiteral("All Files (*)")});
    }

    void defaultExtensionOnlyForNamesWithout_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("result");
        QTest::newRow("bare name") << "/tmp/survey"
                                   << "/tmp/survey.K7T";
        QTest::newRow("own extension kept") << "/tmp/survey.k7t"
                                            << "/tmp/survey.k7t";
        QTest::newRow("other extension kept") << "/tmp/survey.dat"
                                              << "/tmp/survey.dat";
        QTest::newRow("dot in folder only") << "/tmp/run.2/survey"
                                            << "/tmp/run.2/survey.K7T";
        QTest::newRow("empty") << ""
                               << "";
    }
    void defaultExtensionOnlyForNamesWithout() {
        QFETCH(QString, typed);
        QFETCH(QString, result);
        QCOMPARE(QString::fromStdString(WithDefaultExtension(typed.toStdString(), "K7T")), result);
    }

    void chromeSetsTitleAndMenuTextById() {
        QMainWindow window;
        QMenu* menu = window.menuBar()->addMenu(QStringLiteral("&File"));
        QAction* record = menu->addAction(QStringLiteral("&Record Start..."));
        record->setProperty(CommandIdProperty, 15);
        QAction* other = menu->addAction(QStringLiteral("E&xit"));
        other->setProperty(CommandIdProperty, 18);

        QtWindowChrome chrome(&window);
        chrome.SetTitle("Tidemar Digital Sonar - Recording to a.K7T");
        chrome.SetMenuText(15, "&Record Stop...");
        chrome.SetMenuText(999, "nothing");  // unknown ids change nothing
        QCOMPARE(window.windowTitle(), QStringLiteral("Tidemar Digital Sonar - Recording to a.K7T"));
        QCOMPARE(record->text(), QStringLiteral("&Record Stop..."));
        QCOMPARE(other->text(), QStringLiteral("E&xit"));
        QCOMPARE(FindCommandAction(&window, 18), other);
        QVERIFY(FindCommandAction(&window, 999) == nullptr);
    }
};

QTEST_MAIN(QtPromptsTest)
#include "QtPromptsTest.moc"
