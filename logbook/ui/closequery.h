// A window with unsaved work of its own: before the program closes it asks its question
// without closing, so that a Cancel later on (at the log's own question) leaves every
// window as it was.
#pragma once

class CloseQuery {
public:
    virtual ~CloseQuery() = default;

    /// Asks the window's own question and saves if the pilot wants it. True when the window
    /// may close (saved, or the pilot gives its changes up); false keeps it open.
    virtual bool queryClose() = 0;
    /// Closes the window without asking again (its question was answered by queryClose).
    /// False when it stayed open all the same.
    virtual bool closeWithoutQuery() = 0;
};
