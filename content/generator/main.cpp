// zupfari-content: builds the course content into the program folder.
//
//   zupfari-content --sources content/sources --out build/bin [--side DIR] [--only NAME]
//   zupfari-content --sources content/sources --resources DIR   (the program's bitmaps)
//   zupfari-content --sources content/sources --icons DIR       (the desktop icon's sizes)
#include "content/generator/contentstep.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

namespace content {

std::vector<Step>& Steps() {
    static std::vector<Step> steps;
    return steps;
}

} // namespace content

int main(int argc, char** argv) {
    content::GeneratorContext context;
    std::string only;
    content::StepKind kind = content::StepKind::Content;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--sources") == 0) context.sources = argv[i + 1];
        else if (std::strcmp(argv[i], "--out") == 0) context.out = argv[i + 1];
        else if (std::strcmp(argv[i], "--only") == 0) only = argv[i + 1];
        else if (std::strcmp(argv[i], "--side") == 0) context.side = argv[i + 1];
        else if (std::strcmp(argv[i], "--resources") == 0) {
            context.out = argv[i + 1];
            kind = content::StepKind::Resources;
        } else if (std::strcmp(argv[i], "--icons") == 0) {
            context.out = argv[i + 1];
            kind = content::StepKind::Icons;
        }
    }
    if (context.sources.empty() || context.out.empty()) {
        std::fprintf(stderr, "usage: %s --sources DIR --out DIR [--only STEP]\n"
                             "       %s --sources DIR --resources DIR\n"
                             "       %s --sources DIR --icons DIR\n", argv[0], argv[0], argv[0]);
        return 2;
    }
    std::filesystem::create_directories(context.out);
    if (context.side.empty()) context.side = context.out.parent_path() / "content-side";

    // Steps run in name order so that the output never depends on link order.
    auto steps = content::Steps();
    std::sort(steps.begin(), steps.end(),
              [](const content::Step& a, const content::Step& b) { return a.name < b.name; });
    bool ok = true;
    for (const content::Step& step : steps) {
        if (step.kind != kind) continue;
        if (!only.empty() && step.name != only) continue;
        auto start = std::chrono::steady_clock::now();
        bool stepOk = step.run(context);
        auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - start).count();
        std::printf("content: %-12s %s (%lld ms)\n", step.name.c_str(), stepOk ? "ok" : "FAILED",
                    static_cast<long long>(ms));
        ok = ok && stepOk;
    }
    return ok ? 0 : 1;
}
