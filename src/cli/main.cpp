// orvantis-cli: the command-line front end.
#include <string>
#include <vector>

#include "console.h"
#include "convert_command.h"
#include "info_command.h"
#include "program_args.h"

namespace {

void Usage() {
  cli::Err(
      "usage:\n"
      "  orvantis-cli info [--json] FILE...        what each drawing holds\n"
      "  orvantis-cli convert [--dest DIR] FILE... trim each drawing to its paper frame\n"
      "  orvantis-cli convert --help              every option of convert\n"
      "  orvantis-cli --version\n");
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> all = cli::ProgramArgs(argc, argv);
  if (all.size() < 2) {
    Usage();
    return 2;
  }
  std::string cmd = all[1];
  std::vector<std::string> args(all.begin() + 2, all.end());
  if (cmd == "info") return cli::RunInfo(args);
  if (cmd == "convert") return cli::RunConvert(args);
  if (cmd == "--version") {
    cli::Out("orvantis-cli " ORVANTIS_VERSION "\n");
    return 0;
  }
  if (cmd == "--help" || cmd == "-h" || cmd == "help") {
    Usage();
    return 0;
  }
  cli::Err("orvantis-cli: unknown command '" + cmd + "'\n");
  Usage();
  return 2;
}
