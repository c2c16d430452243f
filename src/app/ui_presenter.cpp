// The document's change notices as the person sees them.
#include "app/ui_presenter.h"

#include <algorithm>

#include "base/version.h"

namespace pelvaron::app {

std::string startTitle() { return std::string("Pelvaron ") + kShortVersion; }

std::string documentTitle(const Document& doc) {
    return std::string("Pelvaron ") + kVersion + " " + doc.fileTitle;
}

UserInterfacePresenter::UserInterfacePresenter(Document& doc, platform::UserInterface& ui)
    : doc_(doc), ui_(ui) {
    doc_.observers.push_back(this);
}

UserInterfacePresenter::~UserInterfacePresenter() { std::erase(doc_.observers, this); }

void UserInterfacePresenter::documentChanged(const Document& doc, ChangeSet changes) {
    if (changes & kDocumentReplaced) {
        ui_.enableDocumentMenus(true);
        ui_.setWindowTitle(documentTitle(doc));
        ui_.destroyExpansionWindows();
    }
}

}  // namespace pelvaron::app
