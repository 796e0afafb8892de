// libFuzzer target: any bytes read as a skin file either give records or end
// in the skin file error; never a crash or a read past the lines.
#include "lessons/skinreader.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> lines =
        lessons::SplitSkinLines({reinterpret_cast<const char*>(data), size});
    lessons::SkinReader reader(lines);
    try {
        while (auto record = reader.Next()) {
            if (auto* group = std::get_if<lessons::SkinGroupRecord>(&*record)) {
                if (group->boxes.size() > 6) std::abort();
            } else if (auto* label = std::get_if<lessons::SkinLabelRecord>(&*record)) {
                (void)lessons::FontHeightOfSize(label->size);
                (void)lessons::ExpandLineBreaks(label->text);
            }
        }
    } catch (const lessons::SkinError&) {
    }
    return 0;
}
