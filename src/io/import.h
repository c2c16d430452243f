// The import dispatcher: routes the chosen file to the reader of the chosen format, handles a
// Bruker experiment's companion files and sets up the loaded document.
#pragma once

#include <string>

#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::io {

/// Formats of the "File type" dialog, in dialog order.
enum class ImportFormat { BrukerXwin, Aspect, WinNmr, VarianUnity, VarianGemini, Nicolet, Nuts, Jcamp };

/// Sets the one format flag of `format` and clears the others.
void selectImportFormat(Document& doc, ImportFormat format);

/// Whether this build has a reader for `format` (the dialog offers only those).
[[nodiscard]] bool importFormatAvailable(ImportFormat format);

/// Reads the file (asking for it first while importAskFile is 1) with the reader of the selected
/// format; true when a data set was loaded and set up.
bool importData(Document& doc, platform::UserInterface& ui);

}  // namespace pelvaron::io
