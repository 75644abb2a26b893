#include "platform/UserMessages.h"

#include <iostream>

namespace {
UserMessages* installed = nullptr;
} // namespace

std::string StderrMessages::oneLine(const std::string& caption, const std::string& text)
{
    std::string joined;
    for (char c : text) {
        if (c == '\n')
            joined += " / ";
        else if (c != '\r')
            joined += c;
    }
    return caption + ": " + joined;
}

void StderrMessages::showMessage(const std::string& caption, const std::string& text, MessageIcon)
{
    std::cerr << oneLine(caption, text) << '\n';
}

bool StderrMessages::askYesNo(const std::string& caption, const std::string& text)
{
    std::cerr << oneLine(caption, text) << " (answered No)\n";
    return false;
}

SaveAnswer UserMessages::askSave(const std::string& caption, const std::string& text)
{
    showMessage(caption, text + "\n(nothing saved, nothing discarded)", MessageIcon::Question);
    return SaveAnswer::Cancel;
}

UserMessages& userMessages()
{
    static StderrMessages fallback;
    return installed ? *installed : fallback;
}

void setUserMessages(UserMessages* messages)
{
    installed = messages;
}
