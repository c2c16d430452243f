// The Bruker UXNMR/XWIN-NMR reader: raw FIDs ("fid" with "acqus" and the referencing "proc") and
// processed spectra ("1r"/"1i" with "procs").
#pragma once

#include <optional>
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
/// and the imaginary-sign flags; decides how the fid is stored; gives the transmitter offset O1
/// (Hz) when `o1` is given and the file names it. False when the file cannot be read.
[[nodiscard]] bool readAcqus(Document& doc, platform::UserInterface& ui, const std::string& path,
                             BrukerDataFormat& format, std::optional<double>* o1 = nullptr);

/// Reads `count` values of the file `path` into specData as doubles. Values the file does not
/// hold read as 0. False when the file cannot be opened or the count is not positive.
[[nodiscard]] bool readBrukerFid(Document& doc, const std::string& path, int count,
                                 const BrukerDataFormat& format);

/// References a FID (offsetHz, SF, referenceSource) and keeps its recorded processing, from the
/// first processed data set beside the data file `dataPath`: the OFFSET of "pdata/1/procs" when
/// that set spans the whole acquired width, else that of "pdata/1/proc" (or "proc") under the
/// same test, else the acquisition's own O1, SW_h and BF1 (`o1`), else an OFFSET of a set whose
/// width is not recorded. SF comes from procs (else proc), else stays BF1. Warns and returns
/// false when none of these references the data.
bool readReference(Document& doc, platform::UserInterface& ui, const std::string& dataPath,
                   std::optional<double> o1);

/// Reads a processed spectrum: `dataPath` names its "1r" or "1i" file; "procs" lies beside it.
/// The values are scaled by 2^NC_proc and referenced by the procs' OFFSET, SW_p and SF.
[[nodiscard]] bool readBrukerProcessed(Document& doc, platform::UserInterface& ui,
                                       const std::string& dataPath);

}  // namespace pelvaron::io
