// The running program's own file: what the desktop ties register, and what
// a new instance of the program starts.
#pragma once

#include <string>

namespace vellonix::integration {

// A full path as the host reports it (/proc/self/exe, GetModuleFileNameW),
// UTF-8 on Windows; empty when the host cannot tell.
std::string RunningProgramPath();

}  // namespace vellonix::integration
