#include "desktop_shots.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/command_ids.h"
#include "document/document.h"
#include "gui/desktop_settings.h"
#include "gui/main_window.h"

namespace pelvaron::screenshots {

namespace {

/// The menu's own picture, placed where it stands on the window.
void paintPopup(QPainter& painter, const QWidget& window, QMenu* menu) {
    painter.drawPixmap(window.mapFromGlobal(menu->pos()), menu->grab());
}

}  // namespace

bool desktopShots(const QDir& out) {
    QTemporaryDir dir;
    gui::DesktopSettings settings(dir.filePath(QStringLiteral("settings.ini")));
    const QString source = QStringLiteral(PELVARON_SOURCE_DIR);
    for (const char* f : {"/tests/data/coffee-1h-baseopt/fid", "/tests/data/aspirin-1h/fid-set/fid",
                          "/tests/data/aspirin-1h/processed-set/pdata/1/1r"})
        settings.addRecentFile(source + QString::fromLatin1(f));
    auto doc = std::make_unique<Document>();
    gui::MainWindow window(*doc, nullptr, &settings);
    window.resize(1280, 800);
    window.show();
    window.dispatcher().openPath((source + QStringLiteral("/examples/ethyl-acetate/1/fid")).toStdString());
    QApplication::processEvents();

    QMenu* file = nullptr;
    for (QAction* a : window.menuBar()->actions())
        if (a->menu() != nullptr && a->menu()->actions().contains(window.recentMenu()->menuAction()))
            file = a->menu();
    if (file == nullptr) return false;
    file->popup(window.mapToGlobal(window.menuBar()->actionGeometry(file->menuAction()).bottomLeft()));
    QApplication::processEvents();
    const QRect item = file->actionGeometry(window.recentMenu()->menuAction());
    file->setActiveAction(window.recentMenu()->menuAction());
    window.recentMenu()->popup(file->mapToGlobal(item.topRight()));
    QApplication::processEvents();
    QTest::qWait(100);

    QPixmap picture = window.grab();
    {
        QPainter painter(&picture);
        paintPopup(painter, window, file);
        paintPopup(painter, window, window.recentMenu());
    }
    const QString path = out.filePath(QStringLiteral("recent-files-1280x800.png"));
    const bool ok = picture.save(path);
    qInfo("%s %s", ok ? "wrote" : "cannot write", qPrintable(path));
    window.recentMenu()->hide();
    file->hide();
    doc->noSaveQuery = 1;
    return ok;
}

}  // namespace pelvaron::screenshots
