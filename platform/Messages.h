#pragma once

#include <string>
#include <vector>

// ShowMessage: a modal box with one text and an OK button.
void ShowMessage(const std::string& text);

// The error box that reports a failure that left an event handler.
void ShowError(const std::string& text);

// Every box shown is also logged, so tests can read what the user saw. In
// headless mode the boxes are only logged, never opened.
namespace MessageLog {

struct Entry {
    bool error;
    std::string text;
};

const std::vector<Entry>& shown();
void clear();
void setHeadless(bool headless);

} // namespace MessageLog
