// The Bruker UXNMR/XWIN-NMR reader: raw FIDs ("fid" with "acqus" and the referencing "proc") and
// processed spectra ("1r"/"1i" with "procs").
#pragma once

#include <string>

#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::io {

/// How the values of a Bruker data file are stored.
struct BrukerDataFormat {
    bool bigEndian = false;
    bool doubles = false;  ///< 8-byte IEEE values instead of 32-bit integers
};

/// Reads the acquisition parameters of an "acqus" file into acqPars, nData, groupDelay, refIndex
/// and the imaginary-sign flags; decides how the fid is stored. False when the file cannot be read.
[[nodiscard]] bool readAcqus(Document& doc, platform::UserInterface& ui, const std::string& path,
                             BrukerDataFormat& format);

/// Reads `count` values of the file `path` into specData as doubles. Values the file does not
/// hold read as 0. False when the file cannot be opened or the count is not positive.
[[nodiscard]] bool readBrukerFid(Document& doc, const std::string& path, int count,
                                 const BrukerDataFormat& format);

/// Reads the reference offset from "pdata/1/proc" (or "proc") beside the data file `dataPath`;
/// warns and returns false when neither exists.
bool readProcOffset(Document& doc, platform::UserInterface& ui, const std::string& dataPath);

/// Reads a processed spectrum: `dataPath` names its "1r" or "1i" file; "procs" lies beside it.
[[nodiscard]] bool readBrukerProcessed(Document& doc, platform::UserInterface& ui,
                                       const std::string& dataPath);

}  // namespace pelvaron::io
