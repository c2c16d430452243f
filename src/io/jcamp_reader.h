// The JCAMP-DX reader: header labels, the block of a compound file, XYDATA tables and NTUPLES
// pages, decoded by the ASDF decoder. It returns the labels it read and decodes into the data
// array; the import turns the labels into document parameters.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "document/spectrum.h"
#include "io/jcamp_asdf.h"

namespace pelvaron::io {

/// Most values one table may hold: each becomes one complex point of the document.
inline constexpr int kJcampTableCapacity = kCapacity / 2;

/// The fourteen labels the reader collects, in the order of their bits in the found-mask
/// (label i has bit 1 << i).
enum JcampLabel : int {
    kJcampTitle = 0,
    kJcampVersion,    ///< "##JCAMPDX=" or "##JCAMP-DX="
    kJcampAqMode,     ///< "##.ACQUISITION MODE="
    kJcampXUnits,     ///< "##XUNITS=" (NTUPLES: "##UNITS=")
    kJcampDataType,   ///< "##DATA TYPE="
    kJcampDataClass,  ///< "##DATA CLASS="
    kJcampNucleus,    ///< "##.OBSERVE NUCLEUS="
    kJcampXFactor,    ///< "##XFACTOR=" (NTUPLES: "##FACTOR=")
    kJcampYFactor,    ///< "##YFACTOR="
    kJcampNPoints,    ///< "##NPOINTS=" (NTUPLES: "##VAR_DIM=")
    kJcampFrequency,  ///< "##.OBSERVE FREQUENCY="
    kJcampXYData,     ///< "##XYDATA=" (NTUPLES: set by detection)
    kJcampFirstX,     ///< "##FIRSTX=" (NTUPLES: "##FIRST=")
    kJcampLastX,      ///< "##LASTX=" (NTUPLES: "##LAST=")
    kJcampLabelCount
};

/// The found-mask when every label was read.
inline constexpr int kJcampAllLabels = (1 << kJcampLabelCount) - 1;

/// What the reader took from one JCAMP-DX file.
struct JcampFileInfo {
    /// Values of the fourteen labels: the text after "=", without the line end. Empty when the
    /// label was not found; NPOINTS holds the count decoded when that differs from the label's.
    std::array<std::string, kJcampLabelCount> jcampLabels{};
    int foundMask = 0;  ///< bit 1 << label for each label found

    // Labels beyond the fourteen that decide how the data are laid out and referenced.
    std::string origin;          ///< "##ORIGIN="
    std::string shiftReference;  ///< "##.SHIFT REFERENCE=": type, compound, point number, ppm
    std::string solventName;     ///< "##.SOLVENT NAME="
    bool ownLayoutMark = false;  ///< "##$PELVARON LAYOUT=" seen: real page real, points in axis order
    std::string offsetHzText;    ///< "##$PELVARON OFFSET=": Hz of the last point of an FID export
    std::string decimText, dspfvsText, groupDelayText;  ///< "##$DECIM=", "##$DSPFVS=", "##$GRPDLY="
    // What spectrometer software records of the reference, as in its own parameter files.
    std::string sfText;      ///< "##$SF=": MHz of 0 ppm
    std::string bf1Text;     ///< "##$BF1=": basic frequency, MHz
    std::string offsetText;  ///< "##$OFFSET=": ppm of the first point of the processed spectrum
    std::string swpText;     ///< "##$SW_p=": Hz the processed spectrum spans
    std::string o1Text;      ///< "##$O1=": transmitter offset from BF1, Hz
    std::string symbolText;  ///< "##SYMBOL=" of an NTUPLES block: which column is the axis

    bool ntuples = false;       ///< the file held an NTUPLES block
    bool legacyLayout = false;  ///< an export of the earlier layout (origin mark, no layout mark)
    int realCount = 0;          ///< values decoded into the real parts
    int imagCount = 0;          ///< values decoded into the imaginary parts
};

/// Reads the JCAMP-DX file at `path` into `info` (labels, layout, counts) and spectrum.specData
/// (the real parts, or the table of an XYDATA file, at the even indices; an NTUPLES imaginary page
/// at the odd ones), with the program's warnings in `said`; nothing else of the spectrum changes.
/// False, the reason last in `said`, when the file cannot be read ("Error opening file") or an
/// NTUPLES page is missing; a file without any data table reads as true with nothing decoded.
/// `info` holds what was read up to a failure.
[[nodiscard]] bool readJcamp(Spectrum& spectrum, Messages& said, const std::string& path,
                             JcampFileInfo& info);

/// Reads the same from text already in memory.
[[nodiscard]] bool readJcampText(Spectrum& spectrum, Messages& said, std::string_view text,
                                 JcampFileInfo& info);

/// The leading number of a label value ("8192, 8192, 8192, 2" reads as 8192); 0 when none.
[[nodiscard]] double jcampNumber(std::string_view value);

/// The columns of an NTUPLES label value ("##FIRST= 0.5, 12, -3, 1"), each trimmed: separated by
/// commas as JCAMP-DX writes them, or by blanks as the program's earlier exports did. A "$$"
/// comment is not part of the value.
[[nodiscard]] std::vector<std::string_view> jcampColumns(std::string_view value);

/// The leading number of column `column` of such a value; none when the column is absent or
/// holds no number.
[[nodiscard]] std::optional<double> jcampColumnNumber(std::string_view value, std::size_t column);

/// Label name rules of JCAMP-DX: letters upper-cased; spaces, tabs, "-", "/" and "_" dropped.
[[nodiscard]] std::string normalizeJcampLabel(std::string_view name);

/// Whether the file reads as JCAMP-DX data: it starts with a "##" label and carries a data table
/// or a compound-file block list near its start (parameter files such as acqus do not).
[[nodiscard]] bool looksLikeJcampText(std::string_view head);

}  // namespace pelvaron::io
