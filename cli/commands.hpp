// The subcommands, one file each. A new command adds its factory here and
// to the table in main.cpp.
#pragma once

#include "command.hpp"

namespace vellonix::cli {

Command AddLsCommand(CLI::App& app);
Command AddConvertCommand(CLI::App& app);
Command AddNewCommand(CLI::App& app);
Command AddAddCommand(CLI::App& app);
Command AddExtractCommand(CLI::App& app);
Command AddRmCommand(CLI::App& app);
Command AddRenameCommand(CLI::App& app);
Command AddLabelCommand(CLI::App& app);
Command AddFindCommand(CLI::App& app);
Command AddBasicCommand(CLI::App& app);
Command AddImportCommand(CLI::App& app);
Command AddScreenCommand(CLI::App& app);
Command AddDiskCommand(CLI::App& app);
Command AddIntegrationCommand(CLI::App& app);

}  // namespace vellonix::cli
