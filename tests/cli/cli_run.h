// Runs the command-line program and collects what it prints.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace testutil {

struct CliRun {
  int status;
  std::string out;
};

// Standard output and standard error together.
inline CliRun Cli(const std::string& args, const std::string& program = ORVANTIS_CLI) {
  std::string cmd = program + " " + args + " 2>&1";
  FILE* p = popen(cmd.c_str(), "r");
  std::string out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  int st = pclose(p);
  return {WIFEXITED(st) ? WEXITSTATUS(st) : -1, out};
}

}  // namespace testutil
