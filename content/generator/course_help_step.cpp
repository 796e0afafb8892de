// Generator step "course-help": compiles Hilfe.chm (German) and Help.chm
// (English) into the program folder, and puts the HTML pages themselves
// beside them in "Hilfe" and "Help" for the program's own help window.

#include "content/generator/contentstep.h"
#include "content/generator/course_help.h"

namespace content {
namespace {

// Copies the pages, style sheet, pictures and contents file of one language.
bool CopyPages(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code error;
    std::filesystem::remove_all(to, error);
    std::filesystem::create_directories(to, error);
    std::filesystem::copy(from, to, std::filesystem::copy_options::recursive, error);
    return !error;
}

bool RunHelp(const GeneratorContext& context) {
    const std::filesystem::path help = context.sources / "course" / "help";
    bool ok =
        CompileHelp((help / "de" / "Hilfe.hhp").string(), (context.out / "Hilfe.chm").string());
    ok = CompileHelp((help / "en" / "Help.hhp").string(), (context.out / "Help.chm").string()) &&
         ok;
    ok = CopyPages(help / "de", context.out / "Hilfe") && ok;
    return CopyPages(help / "en", context.out / "Help") && ok;
}

StepRegistration registration{"course-help", RunHelp};

} // namespace
} // namespace content
