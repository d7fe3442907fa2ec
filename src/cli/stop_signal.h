// Ctrl-C asks a run to stop between two files, the way the window's Escape
// key does; the file in progress is always finished.
#pragma once

namespace cli {

// From now on, Ctrl-C (every time it is pressed) only raises the request.
void CatchStopSignal();
bool StopRequested();

}  // namespace cli
