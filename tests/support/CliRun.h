#pragma once

#include "app/cli/Cli.h"

#include <sstream>
#include <string>
#include <vector>

// `zor-cli` run in-process: its status and what it printed.
struct CliRun {
    int status;
    std::string out;
    std::string err;
};

inline CliRun runCli(std::vector<std::string> args, const char* command = nullptr)
{
    if (command)
        args.insert(args.begin(), command);
    std::ostringstream out, err;
    const int status = Cli::run(args, out, err);
    return {status, out.str(), err.str()};
}

inline bool contains(const std::string& s, const std::string& part)
{
    return s.find(part) != std::string::npos;
}

// The lines of a text, without their CR.
inline std::vector<std::string> textLines(const std::string& s)
{
    std::vector<std::string> v;
    std::istringstream in(s);
    for (std::string l; std::getline(in, l);)
        v.push_back(l.empty() || l.back() != '\r' ? l : l.substr(0, l.size() - 1));
    return v;
}
