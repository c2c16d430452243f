// JCAMP-DX files for tests, written by the rules of JCAMP-DX 5.01: ASDF tables (SQZ, DIF, DUP with
// Y checks), NTUPLES and XYDATA files in the styles of spectrometer and processing software,
// compound LINK files, and exports of the program's earlier layout.
#pragma once

#include <string>
#include <vector>

namespace pelvaron::testing {

/// How the tables are written; DIF forms repeat each line's last value as the next line's Y check.
enum class AsdfForm { Affn, Sqz, Dif, DifDup };

/// A one-dimensional data set as other programs write it: `perLine` ordinates a line, each line's
/// abscissa the x of its first point divided by the spacing.
struct JcampDataSet {
    std::string title = "test spectrum";
    std::string dataType = "NMR SPECTRUM";
    std::string xUnits = "HZ";
    double firstX = 0.0;  ///< abscissa of the first value written
    double lastX = 0.0;   ///< abscissa of the last value written
    std::vector<long> real{};
    std::vector<long> imag{};  ///< NTUPLES only
    AsdfForm form = AsdfForm::DifDup;
    int perLine = 10;
    std::vector<std::string> extraHeader{};  ///< further label lines (".SHIFT REFERENCE", "$..." ...)
};

/// "##DATA CLASS= XYDATA" file with the real values (observe frequency 400.13 MHz).
std::string jcampXYDataFile(const JcampDataSet& d);
/// "##DATA CLASS= NTUPLES" file with a real and an imaginary page, spectrometer style.
std::string jcampNTuplesFile(const JcampDataSet& d);
/// A compound file: a LINK block holding the given whole-file blocks.
std::string jcampLinkFile(const std::vector<std::string>& blocks);

/// An export of the program's earlier layout (no layout label): data lines "%5d %d %d %d %d" from
/// element N-1 (and N-2 for the imaginary page) down, FIRST = SW, LAST = offsetHz. `elements` holds
/// the N interleaved doubles; ordinates are scaled to 10000 at the largest real.
std::string legacyExport(const std::vector<double>& elements, double sw, double sf, double offsetHz,
                         bool ntuples);

}  // namespace pelvaron::testing
