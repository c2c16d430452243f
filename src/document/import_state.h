// What the file-type dialog and the open/save commands remember between uses.
#pragma once

#include "document/file_format.h"

namespace pelvaron {

struct ImportState {
    /// The File type dialog's choice: the reader Import hands a file to (never Native).
    FileFormat importFormat = FileFormat::Bruker;
    int importAskFile = 1;   ///< 0: Import uses filePath/fileTitle as they stand
    int saveTextExt = 0;     ///< 1 while a text or JCAMP-DX export asks for its file name
    int spectrumLoaded = 0;  ///< 1: the reader that just ran read a spectrum (processed data)
};

}  // namespace pelvaron
