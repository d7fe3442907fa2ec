// Standard output and standard error as UTF-8 text. On a Windows console
// the text goes out as UTF-16, so Japanese shows whatever the console's code
// page; redirected, it is UTF-8 everywhere.
#pragma once

#include <string>

namespace cli {

void Out(const std::string& utf8);
void Err(const std::string& utf8);
// Whether standard error is a terminal (a console), and how wide it is.
bool ErrIsTerminal();
int TerminalColumns();
// Wipes the terminal line standard error's cursor is on, cursor to its start.
void ErrClearLine();

}  // namespace cli
