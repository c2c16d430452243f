// JCAMP-DX files for tests, written by the rules of JCAMP-DX 5.01: ASDF tables (SQZ, DIF, DUP with
// Y checks), NTUPLES and XYDATA files in the styles of spectrometer and processing software,
// compound LINK files, and exports of the program's earlier layout.
#pragma once

#include <string>
#include <vector>

namespace pelvaron::testing {

enum class AsdfForm {
    Affn,    ///< plain numbers separated by spaces
    Sqz,     ///< squeezed values, no separators
    Dif,     ///< differences, with a Y check at the start of each following line
    DifDup,  ///< differences with repeated tokens counted
};

/// One ordinate in SQZ form ("A12" for 112, "j5" ... as JCAMP-DX writes it).
std::string sqz(long v);
/// One difference in DIF form.
std::string dif(long d);
/// A DUP count (2 is "T", 21 is "T1").
std::string dup(long count);

/// A (X++(Y..Y)) table: `perLine` ordinates a line; the abscissa of each line is the x of its first
/// point divided by `xFactor`, x of point i being firstX + i * deltaX. DIF forms end with a line
/// holding only the last ordinate's Y check.
std::string asdfTable(const std::vector<long>& y, double firstX, double deltaX, double xFactor, AsdfForm form,
                      int perLine = 10);

/// A one-dimensional data set as other programs write it.
struct JcampDataSet {
    std::string title = "test spectrum";
    std::string version = "##JCAMP-DX= 5.01";
    std::string dataType = "NMR SPECTRUM";
    double observeFrequency = 400.13;  ///< MHz
    std::string xUnits = "HZ";
    double firstX = 0.0;  ///< abscissa of the first value written
    double lastX = 0.0;   ///< abscissa of the last value written
    std::vector<long> real;
    std::vector<long> imag;  ///< NTUPLES only
    AsdfForm form = AsdfForm::DifDup;
    int perLine = 10;
    std::vector<std::string> extraHeader;  ///< further label lines (".SHIFT REFERENCE", "$..." ...)
};

/// "##DATA CLASS= XYDATA" file with the real values.
std::string jcampXYDataFile(const JcampDataSet& d);
/// "##DATA CLASS= NTUPLES" file with a real and an imaginary page, spectrometer style.
std::string jcampNTuplesFile(const JcampDataSet& d);
/// A compound file: a LINK block holding the given blocks (each a whole file from "##TITLE=" to
/// "##END=").
std::string jcampLinkFile(const std::vector<std::string>& blocks);

/// An export of the program's earlier layout (no layout label): data lines "%5d %d %d %d %d" from
/// element N-1 (and N-2 for the imaginary page) down, FIRST = SW, LAST = offsetHz. `elements` holds
/// the N interleaved doubles of the document; ordinates are scaled to 10000 at the largest real.
std::string legacyNTuplesExport(const std::vector<double>& elements, double sw, double sf, double offsetHz);
std::string legacyXYDataExport(const std::vector<double>& elements, double sw, double sf, double offsetHz);

}  // namespace pelvaron::testing
