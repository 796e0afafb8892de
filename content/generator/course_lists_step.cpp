// Generator step "course-lists": writes Listen/ListeUeplan.ztl,
// Listen/ListeWarten.ztl (fresh start) and Listen/LTextXplorer.ztl.

#include "content/generator/contentstep.h"
#include "content/generator/course_lists.h"

#include "platform/core/files.h"

#include <cstdio>

namespace content {
namespace {

bool WriteList(const std::filesystem::path& path, const std::string& bytes) {
    if (platform::WriteFileAtomically(path.string(), bytes)) return true;
    std::fprintf(stderr, "content: cannot write %s\n", path.string().c_str());
    return false;
}

bool RunLists(const GeneratorContext& context) {
    std::vector<std::string> errors;
    Outline outline = LoadOutline((context.sources / "course").string(), errors);
    if (!errors.empty()) {
        std::fprintf(stderr, "content: the course outline has errors (see course-outline)\n");
        return false;
    }
    const std::filesystem::path folder = context.out / "Listen";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    bool ok = WriteList(folder / "ListeUeplan.ztl", FreshPlanList());
    ok = WriteList(folder / "ListeWarten.ztl", FreshWaitingList()) && ok;
    return WriteList(folder / "LTextXplorer.ztl", ExplorerTexts(outline)) && ok;
}

StepRegistration registration{"course-lists", RunLists};

} // namespace
} // namespace content
