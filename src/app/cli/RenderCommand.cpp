#include "app/cli/Cli.h"

namespace Cli {

int render(const std::vector<std::string>&, std::ostream&, std::ostream& err)
{
    err << "zor-cli render: not available yet\n";
    return 1;
}

} // namespace Cli
