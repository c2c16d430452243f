// The Bruker UXNMR/XWIN-NMR reader: raw FIDs ("fid" with "acqus" and the referencing "proc") and
// processed spectra ("1r"/"1i" with "procs"). The readers parse bytes in memory; the file
// functions find and read an experiment's files and hand them over.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/result.h"
#include "document/document.h"

namespace pelvaron::io {

/// How the values of a Bruker data file are stored.
struct BrukerDataFormat {
    bool bigEndian = false;
    bool doubles = false;  ///< 8-byte IEEE values instead of 32-bit integers
};

/// The files of one Bruker experiment as bytes; an absent text is a file that is not there.
struct BrukerExperiment {
    std::optional<std::string_view> acqus;
    std::optional<std::string_view> procs;  // pdata/1/procs (for a processed set: the procs beside 1r)
    std::optional<std::string_view> proc;   // pdata/1/proc, or proc
    std::string_view fid;                   // fid or ser bytes
    std::string_view real, imag;            // 1r and 1i bytes
};

/// Reads the acquisition parameters of an "acqus" text into acqPars, nData, groupDelay, refIndex
/// and the imaginary-sign flags; decides how the fid is stored; gives the transmitter offset O1
/// (Hz) when `o1` is given and the text names it. True when the text names a usable size (TD > 0)
/// and width (SW_h > 0).
bool parseAcqus(Document& doc, Messages& said, std::string_view text, BrukerDataFormat& format,
                std::optional<double>* o1 = nullptr);

/// Loads a FID from an experiment's files as the import does once it has found them: the acqus
/// parameters ("Cannot Open Acqus" when they describe no data), TD values of the fid (values the
/// bytes do not hold read as 0), the reference from procs, proc or the acquisition's O1 (a
/// warning when none references it), then the document's set-up. False with the reason last in `said`; the
/// document may then be partly changed (Import restores it).
[[nodiscard]] bool readBrukerFidData(Document& doc, Messages& said, const BrukerExperiment& files);
/// The import's form: `fidReadable` false when the data file could not be opened, which is
/// reported ("Cannot Open") after the parameters have been checked.
[[nodiscard]] bool readBrukerFidData(Document& doc, Messages& said, const BrukerExperiment& files,
                                     bool fidReadable);

/// Loads a processed spectrum from its procs, 1r and 1i as the import does: SI points each (TDeff
/// when SI is absent), scaled by 2^NC_proc and referenced by the procs' OFFSET, SW_p and SF, then
/// set up and shown as a spectrum. False after "Cannot Open this file" when procs is absent or
/// gives no size.
[[nodiscard]] bool readBrukerProcessedData(Document& doc, Messages& said, const BrukerExperiment& files);

/// The first bytes of a data file, as many as a reader can use (kCapacity doubles); nothing when
/// the file cannot be opened.
[[nodiscard]] std::optional<std::string> readBrukerDataFile(const std::string& path);

/// Reads a processed spectrum from files: `dataPath` names its "1r" or "1i" file; "1r", "1i" and
/// "procs" lie beside it. "Cannot Open this file" when one is missing.
[[nodiscard]] bool readBrukerProcessed(Document& doc, Messages& said, const std::string& dataPath);

/// The texts of the processed set beside the data file `dataPath` that reference a FID:
/// pdata/1/procs and pdata/1/proc (else proc), each absent when not found or not readable.
struct BrukerReferenceTexts {
    std::optional<std::string> procs, proc;
};
[[nodiscard]] BrukerReferenceTexts readBrukerReferenceTexts(const std::string& dataPath);

}  // namespace pelvaron::io
