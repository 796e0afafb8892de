#pragma once
// Compiled HTML help: the German "Hilfe.chm" and the English "Help.chm" are
// compiled by chmcmd (Free Pascal's CHM compiler) from the HTML sources in
// content/sources/course/help/de and .../en, each with its .hhp project.

#include <string>

namespace content {

// chmcmd writes the time of compilation into the ITSF header and into the
// #SYSTEM file's time-stamp record. Both are set to fixed values here so that
// the same sources always give the same bytes. Returns false when the #SYSTEM
// record was not found (the header is fixed in any case).
bool RemoveChmTimestamps(std::string& chm);

// Compiles the help project `project` (a .hhp file whose folder holds the HTML
// sources) with chmcmd found on PATH and writes the result to `target`. On
// failure prints the reason (chmcmd missing, compiler output) and returns false.
bool CompileHelp(const std::string& project, const std::string& target);

} // namespace content
