#pragma once

#include "platform/UserMessages.h"

#include <ostream>

// Messages of `zor-cli analyse`: errors to err, confirmations (no icon) to
// out, each as "caption: text" on one line.
class AnalyseMessages : public UserMessages {
public:
    AnalyseMessages(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

    void showMessage(const std::string& caption, const std::string& text,
                     MessageIcon icon) override;
    bool askYesNo(const std::string& caption, const std::string& text) override;

    int errors() const { return errors_; }

private:
    std::ostream& out_;
    std::ostream& err_;
    int errors_ = 0;
};
