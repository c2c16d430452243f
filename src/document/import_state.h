// What the file-type dialog and the open/save commands remember between uses.
#pragma once

namespace pelvaron {

struct ImportState {
    int fmtBrukerXwin = 1;
    int fmtAspect = 0;
    int fmtWinNmr = 0;
    int fmtVarianUnity = 0;
    int fmtVarianGemini = 0;
    int fmtNicolet = 0;
    int fmtNuts = 0;
    int fmtJcamp = 0;
    int importAskFile = 1;  ///< 0: Import uses filePath/fileTitle as they stand
    int saveTextExt = 0;    ///< 1 while a text or JCAMP-DX export asks for its file name
    int spectrumLoaded = 0; ///< 1: the reader that just ran read a spectrum (processed data)
};

}  // namespace pelvaron
