#include "app/cli/Cli.h"

namespace Cli {

int analyse(const std::vector<std::string>&, std::ostream&, std::ostream& err)
{
    err << "zor-cli analyse: not available yet\n";
    return 1;
}

} // namespace Cli
