// The subcommands, one file each. A new command adds its factory here and
// to the table in main.cpp.
#pragma once

#include "command.hpp"

namespace vellonix::cli {

Command AddLsCommand(CLI::App& app);
Command AddConvertCommand(CLI::App& app);
Command AddNewCommand(CLI::App& app);

}  // namespace vellonix::cli
