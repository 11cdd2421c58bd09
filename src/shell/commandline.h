#pragma once
// What the program does when started with options: --help, --version, and converting sheets to
// documents without a window (`--convert-to pdf|xlsx|csv [--outdir DIR] FILE…`). A conversion
// needs no display, does not hand over to a running program and leaves its recovery file alone.

namespace velaro {

// Whether the arguments ask for something other than the windows.
bool isCommandLineRequest(int argc, char** argv);

// Runs it; the exit status: 0 when every file was written.
int runCommandLine(int argc, char** argv);

} // namespace velaro
