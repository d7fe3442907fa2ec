// orvantis-cli: the command-line front end.
#include <iostream>
#include <string>
#include <vector>

#include "convert_command.h"
#include "info_command.h"

namespace {

void Usage() {
  std::cerr << "usage:\n"
               "  orvantis-cli info [--json] FILE...        what each drawing holds\n"
               "  orvantis-cli convert [--dest DIR] FILE... trim each drawing to its paper frame\n"
               "  orvantis-cli convert --help              every option of convert\n"
               "  orvantis-cli --version\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    Usage();
    return 2;
  }
  std::string cmd = argv[1];
  std::vector<std::string> args(argv + 2, argv + argc);
  if (cmd == "info") return cli::RunInfo(args);
  if (cmd == "convert") return cli::RunConvert(args);
  if (cmd == "--version") {
    std::cout << "orvantis-cli " ORVANTIS_VERSION "\n";
    return 0;
  }
  if (cmd == "--help" || cmd == "-h" || cmd == "help") {
    Usage();
    return 0;
  }
  std::cerr << "orvantis-cli: unknown command '" << cmd << "'\n";
  Usage();
  return 2;
}
