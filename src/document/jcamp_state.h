// What the JCAMP-DX reader and writer keep between uses: the header labels of the last file read,
// the text that starts new comments, and the choices of the "JCAMP Options" dialog.
#pragma once

#include <array>
#include <string>

namespace pelvaron {

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

struct JcampState {
    /// Values of the fourteen labels of the last file read: the text after "=", without the line
    /// end. Empty when the label was not found.
    std::array<std::string, kJcampLabelCount> jcampLabels{};
    int foundMask = 0;  ///< bit 1 << label for each label found

    // Labels beyond the fourteen that decide how the data are laid out and referenced.
    std::string origin;          ///< "##ORIGIN="
    std::string shiftReference;  ///< "##.SHIFT REFERENCE=": type, compound, point number, ppm
    bool ownLayoutMark = false;  ///< "##$PELVARON LAYOUT=" seen: real page real, points in axis order
    std::string offsetHzText;    ///< "##$PELVARON OFFSET=": Hz of the last point of an FID export
    std::string decimText, dspfvsText, groupDelayText;  ///< "##$DECIM=", "##$DSPFVS=", "##$GRPDLY="
    // What spectrometer software records of the reference, as in its own parameter files.
    std::string sfText;           ///< "##$SF=": MHz of 0 ppm
    std::string bf1Text;          ///< "##$BF1=": basic frequency, MHz
    std::string offsetText;       ///< "##$OFFSET=": ppm of the first point of the processed spectrum
    std::string swpText;          ///< "##$SW_p=": Hz the processed spectrum spans
    std::string o1Text;           ///< "##$O1=": transmitter offset from BF1, Hz
    std::string symbolText;       ///< "##SYMBOL=" of an NTUPLES block: which column is the axis
    bool ntuples = false;         ///< the file held an NTUPLES block
    bool legacyLayout = false;    ///< an export of the earlier layout (origin mark, no layout mark)
    int realCount = 0;            ///< values decoded into the real parts
    int imagCount = 0;            ///< values decoded into the imaginary parts
    bool capacityWarned = false;  ///< the capacity warning was shown during this read

    std::string lastJcampText;  ///< text of the last "##JCAMPDX=" label read; starts new comments

    /// The domain of the last JCAMP-DX file imported, and the file: lets an export that is not
    /// told the data type pick it.
    bool importedSpectrum = false;
    std::string importedPath;

    // "JCAMP Options" dialog: kept between uses.
    int jcampFid = 0;
    int jcampSpectrum = 1;
    int jcampRealOnly = 0;
};

}  // namespace pelvaron
