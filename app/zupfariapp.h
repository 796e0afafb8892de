#pragma once
// The program entry of Zupfari Basis: the single-instance guard, the
// application object and its message loop.

namespace app {

// Runs the program and returns its exit code.
int RunZupfari(int argc, char** argv);

} // namespace app
