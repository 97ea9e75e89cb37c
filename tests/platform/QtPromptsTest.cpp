// The Qt side of the prompts: file dialog filters and names, and the window chrome that
// recording and playback drive by command id.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
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

    // More file types: listed after the first, and a bare name gets the extension of the
    // type chosen in the dialog.
    void moreFiltersGiveTheirOwnExtension() {
        FileDialogRequest request;
        request.Title = "Save Screen As";
        request.FilterName = "BITMAP File    (*.BMP)";
        request.Pattern = "*.BMP";
        request.DefaultExtension = "BMP";
        request.MoreFilters.push_back({"PNG File    (*.PNG)", "*.PNG", "PNG"});
        QCOMPARE(FileDialogFilters(request),
                 (QStringList{QStringLiteral("BITMAP File    (*.BMP *.bmp)"),
                              QStringLiteral("PNG File    (*.PNG *.png)"), QStringLiteral("All Files (*)")}));

        QTemporaryDir dir;
        struct Case {
            const char* Legend;
            int Filter;  // index of the type chosen
            const char* Chosen;
        };
        const Case cases[] = {{"first type", 0, "shot.BMP"}, {"second type", 1, "shot.PNG"}};
        for (const Case& c : cases) {
            QTimer driver;
            QObject::connect(&driver, &QTimer::timeout, [&] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                auto* typed = dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
                auto* types = dialog ? dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")) : nullptr;
                if (!typed || !types) return;
                driver.stop();
                // As the operator picks it from the list.
                types->setCurrentIndex(c.Filter);
                emit types->activated(c.Filter);
                emit types->textActivated(types->currentText());
                typed->setText(dir.filePath(QStringLiteral("shot")));
                QTest::keyClick(typed, Qt::Key_Return);
            });
            driver.start(20);
            QtPrompts prompts(nullptr);
            const std::optional<std::string> chosen = prompts.SaveFileName(request);
            QVERIFY2(chosen, c.Legend);
            QCOMPARE(QString::fromStdString(*chosen), dir.filePath(QString::fromLatin1(c.Chosen)));
        }
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

    // A name the caller refuses is turned down before the replace question, and the dialog
    // asks again; an existing name it accepts is then asked about once.
    void refusedNameComesBeforeTheReplaceQuestion() {
        QTemporaryDir dir;
        const QString played = dir.filePath(QStringLiteral("played.K7T"));
        const QString other = dir.filePath(QStringLiteral("other.K7T"));
        for (const QString& name : {played, other}) {
            QFile file(name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QStringList answers{played, other};
        QStringList seen;  // what came up, in order
        QTimer driver;
        QObject::connect(&driver, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                seen << QStringLiteral("question: ") + box->text();
                box->button(QMessageBox::Yes)->click();
            } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                if (answers.isEmpty()) return dialog->reject();
                seen << QStringLiteral("dialog");
                auto* typed = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                if (!typed) return;
                typed->setText(answers.takeFirst());
                QTest::keyClick(typed, Qt::Key_Return);
            }
        });
        driver.start(20);

        QtPrompts prompts(nullptr);
        FileDialogRequest request;
        request.Title = "Copy";
        request.PromptOverwrite = true;
        request.Refuses = [&](const std::string& name) {
            seen << QStringLiteral("refuses? ") + QString::fromStdString(name);
            return name == played.toStdString();
        };
        const std::optional<std::string> chosen = prompts.SaveFileName(request);
        QVERIFY2(chosen, qPrintable(seen.join(QLatin1Char('|'))));
        QCOMPARE(QString::fromStdString(*chosen), other);
        QCOMPARE(seen, (QStringList{QStringLiteral("dialog"), QStringLiteral("refuses? ") + played,
                                    QStringLiteral("dialog"), QStringLiteral("refuses? ") + other,
                                    QStringLiteral("question: ") + other +
                                        QStringLiteral(" already exists.\nDo you want to replace it?")}));
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
