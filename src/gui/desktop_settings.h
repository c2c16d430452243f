// What the window remembers from one start to the next: its size and place, the recent files,
// the folder each file dialog last used and the File type dialog's format. Nothing else
// persists: processing, display and printing start from their defaults every run. A settings
// file damaged by hand gives the defaults for whatever cannot be read.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "document/file_format.h"

class QSettings;

namespace pelvaron::gui {

class DesktopSettings {
public:
    static constexpr int kMaxRecentFiles = 10;

    /// The person's own settings (Pelvaron/Pelvaron in the desktop's configuration folder).
    DesktopSettings();
    /// The settings kept in the INI file `path`.
    explicit DesktopSettings(const QString& path);
    ~DesktopSettings();
    DesktopSettings(const DesktopSettings&) = delete;
    DesktopSettings& operator=(const DesktopSettings&) = delete;

    /// The last files opened, newest first: at most kMaxRecentFiles, each once, never empty.
    [[nodiscard]] QStringList recentFiles() const;
    /// Puts `path` (made absolute) first, dropping its older place and the oldest beyond the limit.
    void addRecentFile(const QString& path);
    void removeRecentFile(const QString& path);
    void clearRecentFiles();

    /// The folder a dialog ("open", "save") last used; empty when none or it is gone.
    [[nodiscard]] QString folder(const QString& dialog) const;
    void setFolder(const QString& dialog, const QString& folder);

    [[nodiscard]] QByteArray windowGeometry() const;
    void setWindowGeometry(const QByteArray& geometry);

    /// The format Import last handed files to; nothing when none is kept or it names no reader.
    [[nodiscard]] std::optional<FileFormat> importFormat() const;
    void setImportFormat(FileFormat format);

private:
    std::unique_ptr<QSettings> settings_;
    void writeRecent(const QStringList& files);
};

}  // namespace pelvaron::gui
