#include "tools/host/Cli.h"

#include <iostream>

int main(int argc, char** argv)
{
  std::vector<std::string> args(argv + 1, argv + argc);
  return host::RunCli(args, std::cout, std::cerr, MORVEX_DEFAULT_MODULE);
}
