#pragma once

#include <ostream>
#include <string>
#include <vector>

// The command line `zor-cli COMMAND ...`. Each command returns the exit
// status: 0 success, 1 failure, 2 usage error.
namespace Cli {

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

int analyse(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int render(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int info(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int series(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int phantom(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int report(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Whether the command draws text (a PDF report) and so needs fonts, that is
// an application object of Qt Gui rather than a core one.
bool needsFonts(const std::vector<std::string>& args);

} // namespace Cli
