// The import of the instrument formats other than Bruker and JCAMP-DX: each reader's companion
// files found beside the data file, the reader run on the bytes, and its failure reported as the
// import reports it.
#pragma once

#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::io {

/// Reads doc.filePath with the reader of the selected format (Aspect, WIN-NMR, Varian VXR/Unity,
/// Varian Gemini, GE/Nicolet, Nuts or JEOL Delta). True when the reader filled the document, which the caller
/// then sets up; false, with the reason last in `said`, when not (or when no such format is
/// selected). The person is asked through `ui` only for a missing Varian procpar.
[[nodiscard]] bool importInstrumentFile(Document& doc, platform::UserInterface& ui, Messages& said);

}  // namespace pelvaron::io
