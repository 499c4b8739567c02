#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace host {

// Exit statuses of morvex-host.
enum ExitStatus
{
  kExitOk = 0,
  kExitFailure = 1,  // the plug-in failed or refused
  kExitBadInput = 2,  // bad command line, file, parameter name or value
};

// Runs one morvex-host command line (without the program name). Messages go
// to out, errors to err; defaultModule is used when --module is not given.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const std::string& defaultModule);

// Strict number parsing for command-line values: the whole text (surrounding
// blanks aside) must be one finite number.
bool ParseNumber(const std::string& text, double& value);
bool ParseInteger(const std::string& text, long& value);

}  // namespace host
