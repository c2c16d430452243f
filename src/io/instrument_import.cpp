// The import of the Aspect, WIN-NMR, Varian, Gemini, GE/Nicolet, Nuts and JEOL Delta formats.
#include "io/instrument_import.h"

#include <optional>
#include <string>

#include "io/aspect.h"
#include "io/companion.h"
#include "io/file_dialogs.h"
#include "io/jeol.h"
#include "io/nicolet.h"
#include "io/nuts.h"
#include "io/varian.h"
#include "io/winnmr.h"

namespace pelvaron::io {

namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

/// What the largest reader can use: a header and kCapacity values of four bytes. A longer file
/// is read only that far, so a huge or endless file cannot exhaust the memory.
constexpr std::size_t kMostBytes = 4096 + 4 * static_cast<std::size_t>(kCapacity);
/// A JEOL file holds its sections one after the other, so its imaginary values lie a whole real
/// section beyond the start: read far enough for sections of four times the capacity in 64-bit
/// values (a larger file is refused as not holding its data).
constexpr std::size_t kMostJeolBytes = (1u << 20) + 2 * 8 * 4 * static_cast<std::size_t>(kCapacity);

std::optional<std::string> readIfFound(const std::optional<std::string>& path) {
    if (!path) return std::nullopt;
    return readWholeFile(*path);
}

/// The procpar beside the fid; otherwise the person is asked for it, and the data file stays the
/// one being imported.
std::optional<std::string> varianProcpar(Document& doc, platform::UserInterface& ui) {
    if (auto text = readIfFound(findVarianProcpar(doc.filePath))) return text;
    if (ui.message("I cannot find the ProcPar file.\n Would you select it for me?", "Error", Icon::None,
                   Buttons::OkCancel) == Answer::Cancel) {
        return std::nullopt;
    }
    const std::string dataPath = doc.filePath;
    const std::string dataTitle = doc.fileTitle;
    std::optional<std::string> text;
    if (askOpenFile(doc, ui)) text = readWholeFile(doc.filePath);
    doc.filePath = dataPath;
    doc.fileTitle = dataTitle;
    return text;
}

}  // namespace

bool importInstrumentFile(Document& doc, platform::UserInterface& ui, Messages& said) {
    const ImportState& s = doc.import;
    const std::optional<std::string> data =
        readFileStart(doc.filePath, s.importFormat == FileFormat::Jeol ? kMostJeolBytes : kMostBytes);
    // Two messages, as the formats have always had them.
    const auto dontKnow = [&] {
        said.push_back(
            {"Cannot Open or\n Don't know what to do with it!!", doc.fileTitle, Icon::Exclamation});
        return false;
    };
    const auto cannotOpen = [&] {
        said.push_back({"Cannot Open this file", "Error", Icon::None});
        return false;
    };
    if (s.importFormat == FileFormat::Aspect) {
        if (!data || !readAspectFile(doc, said, *data)) return dontKnow();
    } else if (s.importFormat == FileFormat::Nuts) {
        if (!data || !readNutsFile(doc, said, *data)) return dontKnow();
    } else if (s.importFormat == FileFormat::Varian) {
        if (!data) return dontKnow();
        const std::optional<std::string> procpar = varianProcpar(doc, ui);
        if (!procpar || !readVarianFid(doc, said, *data, *procpar)) return dontKnow();
    } else if (s.importFormat == FileFormat::Gemini) {
        const std::optional<std::string> acqpar = readIfFound(findGeminiAcqpar(doc.filePath));
        if (!data || !acqpar || !readGeminiFid(doc, said, *data, *acqpar)) return cannotOpen();
    } else if (s.importFormat == FileFormat::WinNmr) {
        const WinNmrCompanions companions = findWinNmrCompanions(doc.filePath);
        const std::optional<std::string> dis = readIfFound(companions.dis);
        const std::optional<std::string> aqs = readIfFound(companions.aqs);
        std::optional<std::string_view> disView, aqsView;
        if (dis) disView = *dis;
        if (aqs) aqsView = *aqs;
        if (!data || (!dis && !aqs) || !readWinNmrFid(doc, said, *data, disView, aqsView))
            return cannotOpen();
        return true;  // WIN-NMR keeps the decimation its parameters give
    } else if (s.importFormat == FileFormat::Nicolet) {
        if (!data || !readNicoletFid(doc, said, *data)) return cannotOpen();
    } else if (s.importFormat == FileFormat::Jeol) {
        if (!data || !readJeolFile(doc, said, *data)) return cannotOpen();
        return true;  // the reader sets the filter's delay and DECIM itself
    } else {
        return false;
    }
    doc.spectrum.acqPars.DECIM = 1;
    return true;
}

}  // namespace pelvaron::io
