// The "Real Data Points Output" and the text-file writing of the exports.
#include "io/text_export.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "base/format.h"
#include "base/numeric.h"
#include "io/file_dialogs.h"

namespace pelvaron::io {

namespace {

int lowerToEven(int i) { return (i % 2 != 0) ? i - 1 : i; }

}  // namespace

RealPointRange displayedRealRange(const Document& doc, double viewLeft, double viewRight) {
    const double aq = doc.spectrum.acqPars.AQ;
    RealPointRange r;
    r.first = lowerToEven(truncToInt(doc.spectrum.nData * viewLeft / aq));
    r.last = lowerToEven(truncToInt(doc.spectrum.nData * viewRight / aq));
    return r;
}

double realPointAbscissa(const Document& doc, int i) {
    const AcqParams& p = doc.spectrum.acqPars;
    switch (doc.spectrum.xUnits) {
        case kSeconds: return i * p.AQ / doc.spectrum.nData;
        case kPpm: return (doc.spectrum.refIndex - i) * (p.SW / p.SF) / doc.spectrum.nData;
        case kHz: return (doc.spectrum.refIndex - i) * p.SW / doc.spectrum.nData;
        default: return i / 2;
    }
}

std::string realPointsText(const Document& doc, int first, int last) {
    const AcqParams& p = doc.spectrum.acqPars;
    std::string out;
    out += "********\n";
    out += "Pelvaron\n";
    out += "********\n";
    out += cformat("File:%s\n", doc.fileTitle.c_str());
    out += cformat("Spectrometer Frequency =\t%.4lf\n", p.SF);
    out += cformat("Sweep Width =\t%.4lf\n", p.SW);
    out += cformat("Time domain=\t%d\n", p.TD);
    out += "Real Data Points Output\n";
    out += "=======================\n";
    switch (doc.spectrum.xUnits) {
        case kSeconds: out += "Second\tIntensity\n"; break;
        case kPpm: out += "ppm\tIntensity\n"; break;
        case kHz: out += "Hertz\tIntensity\n"; break;
        case kPoints: out += "Point\tIntensity\n"; break;
        default: break;
    }
    out += "=======================\n";

    // The region may reach the end of the view, one element past the data: stop at the data.
    const int count = std::clamp(doc.spectrum.nData, 0, kCapacity);
    for (int i = std::max(first, 0); i <= last && i < count; i += 2) {
        const double v = doc.spectrum.specData[i];
        switch (doc.spectrum.xUnits) {
            case kSeconds:
            case kPpm:
            case kHz: out += cformat("%.4lf  \t%.3lf\n", realPointAbscissa(doc, i), v); break;
            case kPoints: out += cformat("%5d\t%.3lf\n", i / 2, v); break;
            default: out += cformat("%5d  \t%.3lf\n", i / 2, v); break;
        }
    }
    return out;
}

TextFileResult writeTextFile(const std::string& path, std::string_view text) {
    const std::string partial = path + ".part";
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(partial.c_str(), "wb"), &std::fclose);
    if (!file) return TextFileResult::CannotCreate;
    const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed) {
        std::remove(partial.c_str());
        return TextFileResult::CannotWrite;
    }
    std::error_code ec;
    std::filesystem::rename(partial, path, ec);
    if (ec) {
        std::remove(partial.c_str());
        return TextFileResult::CannotCreate;
    }
    return TextFileResult::Written;
}

bool saveTextExport(Document& doc, platform::UserInterface& ui,
                    const std::function<std::string(const Document&)>& makeText) {
    doc.import.saveTextExt = 1;
    const bool chosen = askSaveFile(doc, ui);
    // Also after a cancelled dialog, so that the next native Save proposes its own extension.
    doc.import.saveTextExt = 0;
    if (!chosen) return false;
    switch (writeTextFile(doc.filePath, makeText(doc))) {
        case TextFileResult::Written: return true;
        case TextFileResult::CannotCreate:
            ui.message("Error opening file", "Error", platform::Icon::None);
            return false;
        case TextFileResult::CannotWrite:
            ui.message("Error writing file", "Error", platform::Icon::None);
            return false;
    }
    return false;
}

bool writeRealPointsFile(const Document& doc, const std::string& path, int first, int last) {
    return writeTextFile(path, realPointsText(doc, first, last)) == TextFileResult::Written;
}

bool exportRealPoints(Document& doc, platform::UserInterface& ui, int first, int last) {
    // The text follows the dialog, which has put the chosen file's name into fileTitle.
    return saveTextExport(doc, ui,
                          [first, last](const Document& d) { return realPointsText(d, first, last); });
}

}  // namespace pelvaron::io
