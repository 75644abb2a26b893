#pragma once

#include <string>

enum class MessageIcon { None, Information, Warning, Critical, Question };

// The answers to "save the changes first?".
enum class SaveAnswer { Save, Discard, Cancel };

// Modal messages and yes/no questions. Texts are UTF-8; the lines of a
// message are separated by '\n'.
class UserMessages {
public:
    virtual ~UserMessages() = default;

    virtual void showMessage(const std::string& caption, const std::string& text,
                             MessageIcon icon) = 0;
    // True for "Yes".
    virtual bool askYesNo(const std::string& caption, const std::string& text) = 0;
    // Save, Discard or Cancel. Where no one can answer, Cancel: nothing is
    // lost and nothing is written.
    virtual SaveAnswer askSave(const std::string& caption, const std::string& text);
};

// Prints "caption: text" to stderr, the lines of the text joined by " / ";
// questions are answered "No". The command line and the default hook use it.
class StderrMessages : public UserMessages {
public:
    void showMessage(const std::string& caption, const std::string& text,
                     MessageIcon icon) override;
    bool askYesNo(const std::string& caption, const std::string& text) override;

    static std::string oneLine(const std::string& caption, const std::string& text);
};

// The application-wide hook through which core routines without a
// UserMessages parameter report to the user. Never null: without an installed
// receiver it prints to stderr. The caller keeps ownership of what it installs.
UserMessages& userMessages();
void setUserMessages(UserMessages* messages);
