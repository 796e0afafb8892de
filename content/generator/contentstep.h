#pragma once
// The content generator is a list of steps; each area of the content (pictures,
// sounds, lists, help, lessons) registers its own step in its own file.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace content {

struct GeneratorContext {
    std::filesystem::path sources; // content/sources
    std::filesystem::path out;     // the program folder, or the folder of --resources / --icons
    std::filesystem::path side;    // facts for the tests beside the program folder (--side)
};

// Content steps write into the program folder; resource steps write the
// bitmaps that are compiled into the program (run with --resources DIR);
// icon steps write the desktop icon in its sizes (run with --icons DIR).
enum class StepKind { Content, Resources, Icons };

// A step returns false (after printing why to stderr) when it failed.
using StepFunction = std::function<bool(const GeneratorContext&)>;

struct Step {
    std::string name;
    StepFunction run;
    StepKind kind = StepKind::Content;
};

std::vector<Step>& Steps();

// Registers a step at program start: `static content::StepRegistration r{"name", fn};`
struct StepRegistration {
    StepRegistration(std::string name, StepFunction run, StepKind kind = StepKind::Content) {
        Steps().push_back({std::move(name), std::move(run), kind});
    }
};

} // namespace content
