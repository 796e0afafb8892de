// Generator step "course-help": compiles Hilfe.chm (German) and Help.chm
// (English) into the program folder.

#include "content/generator/contentstep.h"
#include "content/generator/course_help.h"

namespace content {
namespace {

bool RunHelp(const GeneratorContext& context) {
    const std::filesystem::path help = context.sources / "course" / "help";
    bool ok =
        CompileHelp((help / "de" / "Hilfe.hhp").string(), (context.out / "Hilfe.chm").string());
    return CompileHelp((help / "en" / "Help.hhp").string(), (context.out / "Help.chm").string()) &&
           ok;
}

StepRegistration registration{"course-help", RunHelp};

} // namespace
} // namespace content
