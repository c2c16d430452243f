// Entry point of the desktop program: `pelvaron [FILE...]`.
#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "base/version.h"
#include "document/document.h"
#include "gui/desktop_settings.h"
#include "gui/dialogs/about_dialog.h"
#include "gui/main_window.h"

int main(int argc, char** argv) {
    QApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelvaron"));
    QApplication::setApplicationVersion(QString::fromLatin1(pelvaron::kVersion));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Processing and analysis of one-dimensional NMR data."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption noSplash(QStringLiteral("no-splash"),
                                      QStringLiteral("Start without the splash."));
    parser.addOption(noSplash);
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("A data file to open: a Pelvaron file, a Bruker experiment, a "
                       "JCAMP-DX file or any other format Import reads. Of several, "
                       "the first is opened."),
        QStringLiteral("[FILE...]"));
    parser.process(application);

    // The document lives as long as the program; its buffers are allocated once.
    auto document = std::make_unique<pelvaron::Document>();
    pelvaron::gui::DesktopSettings settings;
    pelvaron::gui::MainWindow window(*document, nullptr, &settings);
    if (window.restoreSavedGeometry()) {
        window.show();
    } else {
        // The whole work area also where no window manager maximizes the window.
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            window.setGeometry(screen->availableGeometry());
        window.showMaximized();
    }

    const QStringList files = parser.positionalArguments();
    if (!files.isEmpty()) {
        // A name that is not there at all is said plainly; the readers speak for the rest.
        if (QFileInfo::exists(files.first())) {
            window.dispatcher().openPath(files.first().toStdString());
        } else {
            const QString text =
                QStringLiteral("Cannot open %1: there is no such file or folder.").arg(files.first());
            std::fprintf(stderr, "pelvaron: %s\n", qPrintable(text));
            QMessageBox::warning(&window, QStringLiteral("Pelvaron"), text);
        }
    }
    if (!parser.isSet(noSplash)) {
        // Shown over the window once it is on screen; it closes itself after four seconds.
        QTimer::singleShot(0, &window, [&window] {
            pelvaron::gui::SplashDialog splash(&window);
            splash.exec();
        });
    }
    return QApplication::exec();
}
