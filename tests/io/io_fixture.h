// What the input/output tests share: a scratch directory, a scripted interface and a fresh
// document, with short ways to load into it (from files or from memory) and to check messages.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/ui_presenter.h"
#include "bruker_writer.h"
#include "document/document.h"
#include "io/bruker.h"
#include "io/file_dialogs.h"
#include "io/jcamp_import.h"
#include "io/load.h"
#include "recording_ui.h"
#include "temp_dir.h"

namespace pelvaron::io {

/// The experiment's files as the memory readers take them (absent texts stay absent).
inline BrukerExperiment experimentOf(const testing::BrukerFiles& f) {
    auto text = [&](const char* name) -> std::optional<std::string_view> {
        if (const auto it = f.find(name); it != f.end()) return it->second;
        return std::nullopt;
    };
    const auto procs = f.count("procs") ? text("procs") : text("pdata/1/procs");
    return {text("acqus"),           procs,
            text("pdata/1/proc"),    text("fid").value_or(""),
            text("1r").value_or(""), text("1i").value_or("")};
}

struct Scratch {
    testing::TempDir dir;
    testing::RecordingUserInterface ui;
    Messages said;  ///< what the readers called directly handed back
    std::unique_ptr<Document> doc = std::make_unique<Document>();
    /// The window title and menus follow the document as in the window.
    app::UserInterfacePresenter presenter{*doc, ui};

    bool loadBruker(const std::string& path) { return loadFile(*doc, ui, path, FileFormat::Bruker); }
    bool readFid(const testing::BrukerFiles& f) { return readBrukerFidData(*doc, said, experimentOf(f)); }
    bool readProcessed(const testing::BrukerFiles& f) {
        return readBrukerProcessedData(*doc, said, experimentOf(f));
    }
    /// Imports a JCAMP-DX text from memory as the file data.jdx of the directory.
    bool importJcamp(std::string_view text) {
        setFilePath(*doc, dir.file("data.jdx"));
        doc->spectrum.specData.fill(0.0);
        return importJcampText(*doc, ui, text);
    }
    /// Part `offset` (0 real, 1 imaginary) of the first n points.
    [[nodiscard]] std::vector<double> part(std::size_t n, int offset = 0) const {
        std::vector<double> out;
        for (std::size_t k = 0; k < n; ++k) out.push_back(doc->spectrum.specData[2 * k + offset]);
        return out;
    }
    /// Leaves what a former data set would (digitally filtered, referenced, its imaginary parts
    /// negated), for a reader to replace.
    void former() {
        doc->spectrum.acqPars.DECIM = 24;
        doc->spectrum.acqPars.DSPFVS = 20;
        doc->spectrum.acqPars.offsetHz = 99.0;
        doc->spectrum.groupDelay = 67.98;
        doc->spectrum.negateImag = doc->spectrum.fileNegateImag = 1;
        doc->spectrum.referenceSource = ReferenceSource::Acqus;
    }
    /// The first nData values.
    [[nodiscard]] std::vector<double> values() const {
        return {doc->spectrum.specData.begin(), doc->spectrum.specData.begin() + doc->spectrum.nData};
    }
    [[nodiscard]] double re(int k) const { return doc->spectrum.specData[2 * k]; }
    [[nodiscard]] double im(int k) const { return doc->spectrum.specData[2 * k + 1]; }
};

/// The interface showed exactly one message, with this text and caption.
/// `said` is what a reader handed back (Messages) or the messages a window showed.
template <class M>
void expectOnlyMessage(const std::vector<M>& said, const std::string& text, const std::string& caption) {
    ASSERT_EQ(said.size(), 1u) << text;
    EXPECT_EQ(said[0].text, text);
    EXPECT_EQ(said[0].caption, caption);
}

/// A read of a file whose header counts `td` of the values `written`: the first td kept (td cut
/// to the capacity, with its warning and no other message), and td in nData, TD and refIndex.
template <class T>
void expectRead(const Scratch& s, const std::vector<T>& written, int td) {
    td = std::min(td, kCapacity);
    EXPECT_EQ(testing::messageTexts(s.said), std::vector<std::string>(td == kCapacity, kCapacityWarningText));
    EXPECT_EQ(s.values(), std::vector<double>(written.begin(), written.begin() + td));
    EXPECT_EQ(std::tuple(s.doc->spectrum.nData, s.doc->spectrum.acqPars.TD, s.doc->spectrum.refIndex),
              std::tuple(td, td, td));
}

inline const char* const kNoReferenceText =
    "The 'proc' file was not found.\n The spectrum will not be automatically referenced";

}  // namespace pelvaron::io
