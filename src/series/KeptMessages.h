#pragma once

#include "platform/UserMessages.h"

namespace Series {

// Keeps the first message a routine would show the user, as one line, so
// that it can be given as the reason a case was left out.
class KeptMessages : public UserMessages {
public:
    std::string text;
    void showMessage(const std::string& caption, const std::string& t, MessageIcon) override
    {
        if (text.empty())
            text = StderrMessages::oneLine(caption, t);
    }
    bool askYesNo(const std::string&, const std::string&) override { return false; }
};

} // namespace Series
