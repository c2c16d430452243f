// The import dispatcher: routes the chosen file to the reader of the chosen format, handles a
// Bruker experiment's companion files and sets up the loaded document.
#pragma once

#include <string>

#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::io {

/// Formats of the "File type" dialog, in dialog order.

/// Sets the one format flag of `format` and clears the others.
void selectImportFormat(Document& doc, FileFormat format);

/// Import: the open dialog while importAskFile is 1 (else the file in filePath, as Open handed
/// it over), then importPath.
bool importData(Document& doc, platform::UserInterface& ui);

/// Reads the file `path` with the reader of the selected format; true when a data set was loaded
/// and set up. A failed read leaves the document's data and parameters as they were.
bool importPath(Document& doc, platform::UserInterface& ui, const std::string& path);

}  // namespace pelvaron::io
