// What the window keeps from one start to the next, in a settings file of the test's own: the
// recent files (their order, limit, a stale entry, Clear), Import's format and the window's
// place; a settings file damaged by hand gives the defaults.
#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/dispatcher.h"
#include "document/document.h"
#include "gui/desktop_settings.h"
#include "gui/main_window.h"
#include "io/import.h"
#include "modal_helper.h"

using pelvaron::Document;
using pelvaron::FileFormat;
using pelvaron::gui::DesktopSettings;
using pelvaron::gui::MainWindow;
using pelvaron::testing::ModalAnswerer;

namespace {

const QString kExample = QStringLiteral(PELVARON_SOURCE_DIR "/examples/ethyl-acetate/1/fid");

/// The paths the Open Recent menu offers, in order.
QStringList offered(const MainWindow& window) {
    QStringList paths;
    for (QAction* a : window.recentMenu()->actions())
        if (a->data().isValid()) paths.append(a->data().toString());
    return paths;
}

QAction* clearAction(const MainWindow& window) { return window.recentMenu()->actions().last(); }

}  // namespace

class DesktopTest : public QObject {
    Q_OBJECT
private slots:
    void recentFilesKeepTheNewestTenOnceEach() {
        QTemporaryDir dir;
        DesktopSettings settings(dir.filePath(QStringLiteral("settings.ini")));
        for (int k = 0; k < 12; ++k) settings.addRecentFile(dir.filePath(QStringLiteral("f%1.plv").arg(k)));
        settings.addRecentFile(dir.filePath(QStringLiteral("f5.plv")));
        const QStringList files = settings.recentFiles();
        QCOMPARE(files.size(), DesktopSettings::kMaxRecentFiles);
        QCOMPARE(files.first(), dir.filePath(QStringLiteral("f5.plv")));
        QCOMPARE(files.count(dir.filePath(QStringLiteral("f5.plv"))), 1);
        QCOMPARE(files[1], dir.filePath(QStringLiteral("f11.plv")));
        QVERIFY(!files.contains(dir.filePath(QStringLiteral("f1.plv"))));
        // A second reader of the same file sees the same list.
        QCOMPARE(DesktopSettings(dir.filePath(QStringLiteral("settings.ini"))).recentFiles(), files);
    }

    void openRecentLoadsDropsAStaleEntryAndClears() {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("settings.ini"));
        const QString gone = dir.filePath(QStringLiteral("gone.plv"));
        {
            DesktopSettings seed(ini);
            seed.addRecentFile(kExample);
            seed.addRecentFile(gone);
        }
        DesktopSettings settings(ini);
        Document doc;
        MainWindow window(doc, nullptr, &settings);
        window.show();
        QCOMPARE(offered(window), QStringList({gone, kExample}));

        ModalAnswerer answerer;
        QString said;
        answerer.answer([&said](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            said = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        window.recentMenu()->actions().first()->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(answerer.pending(), 0, 5000);
        QVERIFY2(said.contains(QStringLiteral("no longer exists")), qPrintable(said));
        QCOMPARE(offered(window), QStringList({kExample}));
        QVERIFY(!doc.haveDocument);

        window.recentMenu()->actions().first()->trigger();
        QVERIFY(doc.haveDocument);
        QVERIFY(window.windowTitle().endsWith(QStringLiteral(" fid")));
        QCOMPARE(offered(window), QStringList({kExample}));

        QVERIFY(clearAction(window)->isEnabled());
        clearAction(window)->trigger();
        QVERIFY(offered(window).isEmpty());
        QVERIFY(!clearAction(window)->isEnabled());
        QVERIFY(DesktopSettings(ini).recentFiles().isEmpty());
    }

    void importFormatAndPlaceSurviveARestart() {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("settings.ini"));
        {
            DesktopSettings settings(ini);
            Document doc;
            MainWindow window(doc, nullptr, &settings);
            window.setGeometry(40, 50, 900, 640);
            window.show();
            pelvaron::io::selectImportFormat(doc, FileFormat::Varian);
            QVERIFY(window.close());
        }
        DesktopSettings settings(ini);
        QCOMPARE(settings.importFormat(), std::optional(FileFormat::Varian));
        Document doc;
        MainWindow window(doc, nullptr, &settings);
        QCOMPARE(doc.import.importFormat, FileFormat::Varian);
        QVERIFY(window.restoreSavedGeometry());
        QCOMPARE(window.size(), QSize(900, 640));
    }

    void aDamagedSettingsFileGivesTheDefaults() {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("settings.ini"));
        QFile f(ini);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(
            "[General\nrecentFiles=@Variant(\\0\\0\\0\\x7f\\xff)\x01\x02\n"
            "[window]\ngeometry=@ByteArray(garbage)\n[import]\nformat=native\n\xff\xfe=\n");
        f.close();
        DesktopSettings settings(ini);
        QVERIFY(settings.recentFiles().isEmpty());
        QVERIFY(!settings.importFormat());
        QVERIFY(settings.folder(QStringLiteral("open")).isEmpty());
        Document doc;
        MainWindow window(doc, nullptr, &settings);
        QVERIFY(!window.restoreSavedGeometry());
        QCOMPARE(doc.import.importFormat, FileFormat::Bruker);
        QVERIFY(offered(window).isEmpty());
        // It is written over, cleanly, by the next change.
        settings.addRecentFile(kExample);
        QCOMPARE(DesktopSettings(ini).recentFiles(), QStringList({kExample}));
    }
};

QTEST_MAIN(DesktopTest)
#include "desktop_test.moc"
