// Where the document's failures reach the user: a message box in the
// program, standard error in the command-line tools, a recording double in
// tests. The text is the program's own, ready to show.
#pragma once

#include <string>

class UserMessages {
public:
    virtual ~UserMessages() = default;
    // A modal warning with an OK button; returns when the user has seen it.
    virtual void ShowWarning(const std::string& text) = 0;
};

// Writes each message to standard error, one line per line of text.
class StandardErrorMessages : public UserMessages {
public:
    void ShowWarning(const std::string& text) override;
};
