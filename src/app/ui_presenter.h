// Shows the document's changes through the UserInterface: a new data set enables the document
// menus, puts its name in the title and closes the expansion windows of the former one. (The
// windows redraw as observers of their own.)
#pragma once

#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::app {

/// The window's title before any file is loaded: the program and its short version.
[[nodiscard]] std::string startTitle();

/// The window title of a document: the program and its version, then the file's name.
[[nodiscard]] std::string documentTitle(const Document& doc);

class UserInterfacePresenter : public DocumentObserver {
public:
    /// Listens to `doc` until destroyed.
    UserInterfacePresenter(Document& doc, platform::UserInterface& ui);
    ~UserInterfacePresenter() override;
    UserInterfacePresenter(const UserInterfacePresenter&) = delete;
    UserInterfacePresenter& operator=(const UserInterfacePresenter&) = delete;

    void documentChanged(const Document& doc, ChangeSet changes) override;

private:
    Document& doc_;
    platform::UserInterface& ui_;
};

}  // namespace pelvaron::app
