#pragma once
// The program entry of Zupfari Basis: the single-instance guard, the seven
// windows in their order, the application's message loop.
//
// Switches for tests and measurements only (environment variables; the
// learner never sets them):
//   ZUPFARI_AUTOANSWER="<ms>:<answer>"  every message box of the program is
//       shown and answered after <ms> milliseconds with <answer> (1 OK,
//       2 cancel); plain platform boxes are answered OK at once, or after
//       ZUPFARI_BOXWAIT_MS milliseconds with an event loop running meanwhile.
//       Each box is reported on standard error as "ZUPFARI-BOX <title> |
//       <text>".
//   ZUPFARI_TIMING=1  reports "ZUPFARI-TIME <what> <ms>" on standard error
//       when the start screen is drawn, the main window is first shown and
//       the greeting screen is up, counted from the start of the process.

#include "app/shellservices.h"

namespace app {

// Runs the program and returns its exit code. With "--export-journal
// FILE.csv" it only writes the practice journal as CSV (see journal/csvexport.h).
int RunZupfari(int argc, char** argv);

// Creates the seven windows in their order: main window, exit dialog, slide
// windows A, B, C, quiz, message box. The main window gets `services` (the
// machine's own unless a tool passes others).
void CreateProgramWindows(ShellServices services = {});

} // namespace app
