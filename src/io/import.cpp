// The import dispatcher and its Bruker branch.
#include "io/import.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "io/bruker.h"
#include "io/companion.h"
#include "io/file_dialogs.h"
#include "io/instrument_import.h"
#include "io/jcamp_import.h"

namespace pelvaron::io {

namespace {

namespace fs = std::filesystem;
using platform::Answer;
using platform::Buttons;
using platform::Icon;

bool endsWith(const std::string& s, const char* tail) {
    const std::size_t n = std::char_traits<char>::length(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

bool importBruker(Document& doc, platform::UserInterface& ui, Messages& said) {
    const std::string dataTitle = doc.fileTitle.empty() ? std::string("fid") : doc.fileTitle;
    if (doc.fileTitle.empty()) doc.fileTitle = "fid";
    // The experiment directory is the data file's own directory, whatever the file is called.
    const std::string dataPath = doc.filePath;
    const std::string dir = fs::path(dataPath).parent_path().string();

    if (endsWith(dataTitle, "1i") || endsWith(dataTitle, "1r"))
        return readBrukerProcessed(doc, said, dataPath);

    std::optional<std::string> acqus;
    if (auto path = findCompanion(dir, "acqus")) acqus = readWholeFile(*path);
    if (!acqus) {
        if (ui.message("I cannot find the Acqus file.\n Would you select it for me?", "Error", Icon::None,
                       Buttons::OkCancel) == Answer::Cancel) {
            return false;
        }
        if (!askOpenFile(doc, ui)) return false;
        acqus = readWholeFile(doc.filePath);
        doc.filePath = dataPath;
        doc.fileTitle = dataTitle;
    }
    const std::optional<std::string> fid = readBrukerDataFile(dataPath);
    const BrukerReferenceTexts reference = readBrukerReferenceTexts(dataPath);
    BrukerExperiment files;
    if (acqus) files.acqus = *acqus;
    if (reference.procs) files.procs = *reference.procs;
    if (reference.proc) files.proc = *reference.proc;
    if (fid) files.fid = *fid;
    return readBrukerFidData(doc, said, files, fid.has_value());
}

}  // namespace

void selectImportFormat(Document& doc, FileFormat format) { doc.import.importFormat = format; }

namespace {

/// What a reader may change before it fails: kept so that a failed import loses nothing. The data
/// set being replaced is set aside by exchanging buffers with the document's spare (a copy of a
/// large data set into fresh memory cost a load a hundred times its reading), and the reader gets
/// the spare's buffers, cleared.
class ImportRollback {
public:
    explicit ImportRollback(Document& doc) : doc_(doc), description_(doc.spectrum) {
        Spectrum& spare = doc_.importSpare;
        spare.phaseSource.fill(0.0, spare.specInUse());
        spare.clearSpecData();
        spare.nData = 0;
        doc_.spectrum.swapBuffers(spare);
    }

    void restore() {
        Spectrum& spare = doc_.importSpare;
        doc_.spectrum.swapBuffers(spare);
        // How far a failed reader wrote is not known: the spare is cleared whole next time.
        spare.noteSpecExtent(kCapacity);
        static_cast<SpectrumDescription&>(doc_.spectrum) = description_;
        doc_.import.spectrumLoaded = 0;
    }

private:
    Document& doc_;
    SpectrumDescription description_;
};

}  // namespace

namespace {

/// Reads the file in filePath (an empty fileTitle reads as "fid").
bool importCurrentFile(Document& doc, platform::UserInterface& ui) {
    doc.import.importAskFile = 1;
    // The reader starts on cleared data; when it fails, the document gets back the data and
    // parameters it had, so a bad file never costs the person their work.
    ImportRollback rollback(doc);
    // Each reader says where its reference comes from and what processing it knows of.
    doc.spectrum.referenceSource = ReferenceSource::None;
    doc.spectrum.recorded = RecordedProcessing{};
    // Nor does the former data set's solvent or nucleus describe the new one.
    doc.spectrum.solvent.clear();
    doc.spectrum.nucleus.clear();
    doc.import.spectrumLoaded = 0;

    const ImportState& s = doc.import;
    if (s.importFormat == FileFormat::Jcamp) {
        // The JCAMP-DX branch sets the document up itself: its title comment follows the set-up.
        if (importJcamp(doc, ui)) return true;
        rollback.restore();
        return false;
    }
    // The Bruker readers set the document up themselves, as the JCAMP-DX branch does; the other
    // instrument readers only fill it.
    bool loaded = false;
    Messages said;
    if (s.importFormat == FileFormat::Bruker) {
        loaded = importBruker(doc, ui, said);
    } else if (importInstrumentFile(doc, ui, said)) {
        setupDocument(doc);
        // A processed spectrum (JEOL) is shown as the spectrum it is.
        if (doc.import.spectrumLoaded) markAsSpectrum(doc);
        doc.import.spectrumLoaded = 0;
        loaded = true;
    }
    platform::reportAll(ui, said);
    if (!loaded) {
        rollback.restore();
        return false;
    }
    doc.notify(kAllDrawn);
    return true;
}

}  // namespace

bool importData(Document& doc, platform::UserInterface& ui) {
    if (doc.import.importAskFile == 1 && !askOpenFile(doc, ui)) return false;
    return importCurrentFile(doc, ui);
}

bool importPath(Document& doc, platform::UserInterface& ui, const std::string& path) {
    setFilePath(doc, path);
    return importCurrentFile(doc, ui);
}

}  // namespace pelvaron::io
