#include "app/cli/AnalyseMessages.h"

void AnalyseMessages::showMessage(const std::string& caption, const std::string& text,
                                  MessageIcon icon)
{
    bool confirmation = icon == MessageIcon::None || icon == MessageIcon::Information;
    (confirmation ? out_ : err_) << StderrMessages::oneLine(caption, text) << '\n';
    if (!confirmation)
        ++errors_;
}

bool AnalyseMessages::askYesNo(const std::string& caption, const std::string& text)
{
    err_ << StderrMessages::oneLine(caption, text) << " (answered No)\n";
    return false;
}
