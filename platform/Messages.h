#pragma once

#include <string>
#include <vector>

class QWidget;

// ShowMessage: a modal box with one text and an OK button.
void ShowMessage(const std::string& text);

// The error box that reports a failure that left an event handler.
void ShowError(const std::string& text);

// A box belongs to the window whose action raised it: it opens centred over
// that window and is its dialog for the window manager. That is the window in
// front (a modal one first), or, while one lives, the window of this owner: a
// window's show handler runs before the window is in front. A box for a window
// not yet on screen waits until it is.
class MessageOwner {
public:
    explicit MessageOwner(QWidget* window);
    ~MessageOwner();
    MessageOwner(const MessageOwner&) = delete;
    MessageOwner& operator=(const MessageOwner&) = delete;

private:
    QWidget* saved;
};

// In headless mode, for tests and benchmarks, the boxes are logged instead of
// opened, so that they can read what the user would have seen. Boxes opened
// are not logged: a log of every box would grow for as long as the program runs.
namespace MessageLog {

struct Entry {
    bool error;
    std::string text;
};

const std::vector<Entry>& shown();
void clear();
void setHeadless(bool headless);

} // namespace MessageLog
