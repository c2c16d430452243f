// The "JCAMP Options" dialog model.
#include "io/jcamp_options_dialog.h"

namespace pelvaron::io {

void JcampOptionsDialog::open(const Document& doc) {
    fid = doc.jcamp.jcampFid;
    spectrum = doc.jcamp.jcampSpectrum;
    realOnly = doc.jcamp.jcampRealOnly;
    const JcampExportText proposed;
    title = proposed.title;
    nucleus = proposed.nucleus;
    owner = proposed.owner;
}

std::string JcampOptionsDialog::dataType() const {
    if (spectrum) return "NMR SPECTRUM";
    if (fid) return "NMR FID";
    return "NMR SPECTRUM";
}

JcampExportText JcampOptionsDialog::exportText() const {
    JcampExportText text;
    text.dataType = dataType();
    text.title = title.substr(0, kTitleLength);
    text.nucleus = nucleus.substr(0, kNucleusLength);
    text.owner = owner.substr(0, kOwnerLength);
    return text;
}

int JcampOptionsDialog::ok(Document& doc, platform::UserInterface& ui) {
    doc.jcamp.jcampFid = fid;
    doc.jcamp.jcampSpectrum = spectrum;
    doc.jcamp.jcampRealOnly = realOnly;
    const JcampExportText text = exportText();
    if (realOnly) {
        (void)writeJcampXYData(doc, ui, text);
    } else {
        (void)writeJcampNTuples(doc, ui, text);
    }
    return 1;
}

}  // namespace pelvaron::io
