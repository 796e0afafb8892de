// Generator step "course-lists": writes Listen/ListeUeplan.ztl,
// Listen/ListeWarten.ztl (fresh start) and Listen/LTextXplorer.ztl, and the
// English edition's explorer texts into its overlay folder.

#include "content/generator/contentstep.h"
#include "content/generator/course_edition_files.h"
#include "content/generator/course_lists.h"

#include <cstdio>

namespace content {
namespace {

bool RunLists(const GeneratorContext& context) {
    std::vector<std::string> errors, notes;
    std::vector<Outline> editions;
    if (!LoadEditions((context.sources / "course").string(), editions, errors, notes)) {
        std::fprintf(stderr, "content: the course outline has errors (see course-outline)\n");
        return false;
    }
    bool ok = true;
    for (const Outline& outline : editions) {
        const Edition edition = outline.lessons.front().edition;
        ok = WriteEditionFile(context.out, edition, "Listen/ListeUeplan.ztl", FreshPlanList()) && ok;
        ok = WriteEditionFile(context.out, edition, "Listen/ListeWarten.ztl", FreshWaitingList()) && ok;
        ok = WriteEditionFile(context.out, edition, "Listen/LTextXplorer.ztl", ExplorerTexts(outline)) && ok;
    }
    return ok;
}

StepRegistration registration{"course-lists", RunLists};

} // namespace
} // namespace content
