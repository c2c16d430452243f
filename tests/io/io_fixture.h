// What the input/output tests share: a scratch directory, a scripted interface and a fresh
// document, with short ways to load into it (from files or from memory) and to check messages.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "bruker_writer.h"
#include "document/document.h"
#include "io/bruker.h"
#include "io/load.h"
#include "recording_ui.h"
#include "temp_dir.h"

namespace pelvaron::io {

/// The experiment's files as the memory readers take them (absent texts stay absent).
inline BrukerExperiment experimentOf(const testing::BrukerFiles& f) {
    BrukerExperiment e;
    auto text = [&](const char* name) {
        const auto it = f.find(name);
        return it == f.end() ? std::nullopt : std::optional<std::string_view>(it->second);
    };
    auto bytes = [&](const char* name) { return text(name).value_or(std::string_view{}); };
    e.acqus = text("acqus");
    e.procs = f.count("procs") ? text("procs") : text("pdata/1/procs");
    e.proc = text("pdata/1/proc");
    e.fid = bytes("fid");
    e.real = bytes("1r");
    e.imag = bytes("1i");
    return e;
}

struct Scratch {
    testing::TempDir dir;
    testing::RecordingUserInterface ui;
    std::unique_ptr<Document> doc = std::make_unique<Document>();

    bool loadBruker(const std::string& path) { return loadFile(*doc, ui, path, FileFormat::Bruker); }
    bool readFid(const testing::BrukerFiles& f) { return readBrukerFidData(*doc, ui, experimentOf(f)); }
    bool readProcessed(const testing::BrukerFiles& f) { return readBrukerProcessedData(*doc, ui, experimentOf(f)); }
    [[nodiscard]] double re(int k) const { return doc->specData[2 * k]; }
    [[nodiscard]] double im(int k) const { return doc->specData[2 * k + 1]; }
};

/// The interface showed exactly one message, with this text and caption.
inline void expectOnlyMessage(const testing::RecordingUserInterface& ui, const std::string& text,
                              const std::string& caption) {
    ASSERT_EQ(ui.messages.size(), 1u) << text;
    EXPECT_EQ(ui.messages[0].text, text);
    EXPECT_EQ(ui.messages[0].caption, caption);
}

inline const char* const kNoReferenceText =
    "The 'proc' file was not found.\n The spectrum will not be automatically referenced";

}  // namespace pelvaron::io
