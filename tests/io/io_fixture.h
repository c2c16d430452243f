// What the input/output tests share: a scratch directory, a scripted interface and a fresh
// document, with short ways to load into it and to check the messages shown.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "document/document.h"
#include "io/load.h"
#include "recording_ui.h"
#include "temp_dir.h"

namespace pelvaron::io {

struct Scratch {
    testing::TempDir dir;
    testing::RecordingUserInterface ui;
    std::unique_ptr<Document> doc = std::make_unique<Document>();

    bool loadBruker(const std::string& path) { return loadFile(*doc, ui, path, FileFormat::Bruker); }
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

}  // namespace pelvaron::io
