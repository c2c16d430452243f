// The file formats the program reads: one enum for detection, the command line's --format, the
// File type dialog and the import that routes a file to its reader.
#pragma once

namespace pelvaron {

enum class FileFormat { Native, Bruker, Aspect, WinNmr, Varian, Gemini, Nicolet, Nuts, Jcamp, Jeol };

}  // namespace pelvaron
