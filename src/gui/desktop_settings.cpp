#include "gui/desktop_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QVariant>

#include "io/load.h"

namespace pelvaron::gui {

namespace {

constexpr const char* kRecentKey = "recentFiles";
constexpr const char* kGeometryKey = "window/geometry";
constexpr const char* kImportFormatKey = "import/format";

QString folderKey(const QString& dialog) { return QStringLiteral("folders/") + dialog; }

}  // namespace

DesktopSettings::DesktopSettings()
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            QStringLiteral("Pelvaron"), QStringLiteral("Pelvaron"))) {}

DesktopSettings::DesktopSettings(const QString& path)
    : settings_(std::make_unique<QSettings>(path, QSettings::IniFormat)) {}

DesktopSettings::~DesktopSettings() = default;

QStringList DesktopSettings::recentFiles() const {
    // Whatever a hand-edited file holds: only absolute paths count, each once.
    const QVariant value = settings_->value(QString::fromLatin1(kRecentKey));
    QStringList files;
    const QStringList stored = value.canConvert<QStringList>() ? value.toStringList() : QStringList();
    for (const QString& f : stored) {
        if (f.isEmpty() || !QFileInfo(f).isAbsolute() || files.contains(f)) continue;
        files.append(f);
        if (files.size() == kMaxRecentFiles) break;
    }
    return files;
}

void DesktopSettings::writeRecent(const QStringList& files) {
    if (files.isEmpty())
        settings_->remove(QString::fromLatin1(kRecentKey));
    else
        settings_->setValue(QString::fromLatin1(kRecentKey), files);
    settings_->sync();
}

void DesktopSettings::addRecentFile(const QString& path) {
    if (path.isEmpty()) return;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = recentFiles();
    files.removeAll(absolute);
    files.prepend(absolute);
    while (files.size() > kMaxRecentFiles) files.removeLast();
    writeRecent(files);
}

void DesktopSettings::removeRecentFile(const QString& path) {
    QStringList files = recentFiles();
    files.removeAll(path);
    writeRecent(files);
}

void DesktopSettings::clearRecentFiles() { writeRecent({}); }

QString DesktopSettings::folder(const QString& dialog) const {
    const QString f = settings_->value(folderKey(dialog)).toString();
    return !f.isEmpty() && QFileInfo(f).isDir() ? f : QString();
}

void DesktopSettings::setFolder(const QString& dialog, const QString& folder) {
    if (folder.isEmpty()) return;
    settings_->setValue(folderKey(dialog), QDir(folder).absolutePath());
    settings_->sync();
}

QByteArray DesktopSettings::windowGeometry() const {
    return settings_->value(QString::fromLatin1(kGeometryKey)).toByteArray();
}

void DesktopSettings::setWindowGeometry(const QByteArray& geometry) {
    settings_->setValue(QString::fromLatin1(kGeometryKey), geometry);
    settings_->sync();
}

std::optional<FileFormat> DesktopSettings::importFormat() const {
    const QString name = settings_->value(QString::fromLatin1(kImportFormatKey)).toString();
    const auto format = io::formatFromName(name.toStdString());
    // Import never hands a file to the native reader.
    if (!format || *format == FileFormat::Native) return std::nullopt;
    return format;
}

void DesktopSettings::setImportFormat(FileFormat format) {
    settings_->setValue(QString::fromLatin1(kImportFormatKey),
                        QString::fromLatin1(io::formatName(format).data(),
                                            static_cast<qsizetype>(io::formatName(format).size())));
    settings_->sync();
}

}  // namespace pelvaron::gui
