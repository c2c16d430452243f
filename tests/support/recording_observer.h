// Listens to a document for a test and keeps every change notice it sends, in order.
#pragma once

#include <algorithm>
#include <functional>
#include <numeric>
#include <vector>

#include "document/document.h"

namespace pelvaron::testing {

struct RecordingObserver : DocumentObserver {
    explicit RecordingObserver(Document& d) : doc(d) { doc.observers.push_back(this); }
    ~RecordingObserver() override { std::erase(doc.observers, this); }
    void documentChanged(const Document&, ChangeSet changes) override { notices.push_back(changes); }

    /// Every kind noticed since the last take(), or-ed together; forgets them.
    ChangeSet take() {
        const ChangeSet all = std::accumulate(notices.begin(), notices.end(), 0u, std::bit_or<>());
        notices.clear();
        return all;
    }

    Document& doc;
    std::vector<ChangeSet> notices;
};

}  // namespace pelvaron::testing
