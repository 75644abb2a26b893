#pragma once

#include "platform/UserMessages.h"

class QWidget;

// Shows messages and questions in modal QMessageBox windows over the active
// window. main() installs one as the application-wide userMessages() hook;
// tests install a recorder instead, so no modal box can block them.
class QtUserMessages : public UserMessages {
public:
    void showMessage(const std::string& caption, const std::string& text,
                     MessageIcon icon) override;
    // Buttons Yes and No, No being the default; true for Yes.
    bool askYesNo(const std::string& caption, const std::string& text) override;
    // Buttons Save, Discard and Cancel, Save being the default.
    SaveAnswer askSave(const std::string& caption, const std::string& text) override;

private:
    static QWidget* owner();
};
