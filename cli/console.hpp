// What vellonix-cli asks of the console it runs in.
#pragma once

namespace vellonix::cli {

// Whether standard error is a terminal (rather than a file or a pipe), so
// that progress written there is seen by a person.
bool StandardErrorIsTerminal();

}  // namespace vellonix::cli
