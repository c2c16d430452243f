// A small document set up as after a load, for the drawing, tool and command tests: 1000 x 800
// client area, TD 2000 doubles, SW 1000 Hz, so AQ is 1 s and one pixel of the full view is two
// doubles.
#pragma once

#include <memory>
#include <utility>

#include "display/tools.h"
#include "display/view.h"
#include "document/document.h"
#include "recording_ui.h"

namespace pelvaron::testing {

struct DocumentSpec {
    int width = 1000;
    int height = 800;
    int td = 2000;
    double sw = 1000.0;
    double sf = 100.0;
    double offsetHz = 0.0;
};

inline std::unique_ptr<Document> makeDocument(RecordingUserInterface& /*ui*/, const DocumentSpec& spec = {}) {
    auto doc = std::make_unique<Document>();
    doc->spectrum.acqPars.aqMode = 1;
    doc->spectrum.acqPars.complexData = 1;
    doc->spectrum.acqPars.TD = spec.td;
    doc->spectrum.acqPars.SW = spec.sw;
    doc->spectrum.acqPars.SF = spec.sf;
    doc->spectrum.acqPars.offsetHz = spec.offsetHz;
    // One peak of height 50 at point 100, imaginary parts far larger: only real parts may show.
    for (int i = 0; i < spec.td; ++i) doc->spectrum.specData[i] = (i % 2 == 0) ? 0.0 : 1e6;
    doc->spectrum.specData[200] = 50.0;
    setupDocument(*doc);
    return doc;
}

/// The window's view of a document that makeDocument made with the same spec, as after the load.
inline display::View makeView(Document& doc, const DocumentSpec& spec = {}) {
    display::View view;
    display::initClientArea(view, spec.width, spec.height);
    return display::showNewData(view, doc), view;
}

/// makeDocument and makeView together: the document, and the view of it.
inline auto makeLoaded(RecordingUserInterface& ui, const DocumentSpec& spec = {}) {
    auto doc = makeDocument(ui, spec);
    return std::pair(std::move(doc), makeView(*doc, spec));
}

/// A drag of the armed tool from (x0, y0) to (x1, y1).
inline auto drag(Document& doc, display::View& v, RecordingUserInterface& ui, int x0, int y0, int x1,
                 int y1) {
    display::leftButtonDown(doc, v, ui, x0, y0, {});
    display::mouseMove(doc, v, ui, x1, y1);
    return display::leftButtonUp(doc, v, ui);
}

}  // namespace pelvaron::testing
