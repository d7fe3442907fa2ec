// Runs the command-line program and collects what it prints.
#pragma once

#ifndef _WIN32
#include <sys/wait.h>
#endif

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
#ifdef _WIN32
  FILE* p = _popen(cmd.c_str(), "rb");
#else
  FILE* p = popen(cmd.c_str(), "r");
#endif
  std::string out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
#ifdef _WIN32
  return {_pclose(p), out};
#else
  int st = pclose(p);
  return {WIFEXITED(st) ? WEXITSTATUS(st) : -1, out};
#endif
}

}  // namespace testutil
