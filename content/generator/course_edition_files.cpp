#include "content/generator/course_edition_files.h"

#include "platform/core/files.h"

#include <cstdio>
#include <fstream>
#include <system_error>

namespace content {

bool WriteEditionFile(const std::filesystem::path& out, Edition edition, const std::string& relative,
                      const std::string& bytes) {
    const std::filesystem::path target = out / (EditionFolder(edition) + relative);
    std::error_code ec;
    if (edition != Edition::German) {
        const auto german = platform::ReadFileBytes((out / relative).string());
        if (german && *german == bytes) {
            std::filesystem::remove(target, ec); // left over from an earlier build
            return true;
        }
    }
    std::filesystem::create_directories(target.parent_path(), ec);
    std::ofstream file(target, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (file.flush()) return true;
    std::fprintf(stderr, "content: cannot write %s\n", target.string().c_str());
    return false;
}

} // namespace content
