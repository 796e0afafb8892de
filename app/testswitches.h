#pragma once
// Switches for tests and measurements of the whole program (see
// zupfariapp.h): answering message boxes on their own and reporting when
// the windows first appear. Without the environment variables nothing here
// changes the program.

namespace app {

// Notes the moment the process started (call first thing in the entry).
void StartTestTiming();
// Installs the answering of message boxes when ZUPFARI_AUTOANSWER is set,
// and the reports of the captions ZUPFARI_CAPTIONS names.
void InstallTestSwitches();
// Reports "ZUPFARI-TIME <what> <ms>" when ZUPFARI_TIMING is set: the
// milliseconds since the process started, now or at `steadyMicros` (a time
// on the steady clock, the engine's clock) when that is given. With
// ZUPFARI_TIMING=steady also "ZUPFARI-STEADY <what> <µs>", the moment on
// the steady clock itself, for a test that must line up sound it makes
// with the program's time line.
void ReportTestTime(const char* what, long long steadyMicros = -1);

} // namespace app
