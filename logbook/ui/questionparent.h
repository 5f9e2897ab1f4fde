// Where a question, a message or a file dialog opens. The program keeps some dialogs on top
// of every other window (the settings dialogs, the start-folder and background dialogs); a
// box parented anywhere else opens under them, takes the keyboard, and leaves the pilot in
// front of a dialog that no longer answers. Every window raises its boxes through this one
// rule.
#pragma once

class QDialog;
class QWidget;

/// The window a box raised on behalf of `asker` (may be null) belongs over: the dialog whose
/// modal loop is running, else the program's on-top dialog that is up (the active one first),
/// else `asker`'s own window. A window marked as closing by itself is never chosen (its
/// owner's window stands in for it): a box parented to it would vanish with it, unanswered.
QWidget *questionParent(QWidget *asker);

/// Marks `window` as one that closes by itself (a progress window, a settings dialog whose
/// message is going out), so that no question is parented to it while it is; `closes` false
/// takes the mark back (the dialog stays after all).
void markClosesByItself(QWidget &window, bool closes = true);

/// Before `box` is shown: keeps it above every on-top window of the program that is up, so
/// it is seen and has the keyboard even when its parent is not one of them; with none up, a
/// box shown again (a dialog made once) is an ordinary window again.
void raiseAboveOnTop(QWidget &box);

/// Shows the modal `dialog` as raiseAboveOnTop() says and waits for it: QDialog::exec()'s
/// answer. The dialogs a barograph window and its tools raise (高度補正, the print mode) are
/// made once and shown through here.
int execAboveOnTop(QDialog &dialog);
