#include "lessons/lessonhost.h"

#include "lessons/skinloader.h"

#include "platform/core/cp1252.h"
#include "sprachbank/sprachbank.h"

namespace lessons {

namespace {
LessonHost* theHost = nullptr;
} // namespace

LessonHost* Host() {
    return theHost;
}

void SetLessonHost(LessonHost* host) {
    theHost = host;
}

std::unique_ptr<SkinLoader> MakeSkinLoader(platform::TControl* window) {
    auto loader = std::make_unique<SkinLoader>(window);
    loader->OnPictureError = [](const std::string& fileName) {
        if (LessonHost* host = Host()) host->ReportPictureError(fileName);
    };
    return loader;
}

QString CaptionText(int number) {
    return platform::FromAnsi(DLL_GetCaption(number));
}
QString MessageText(int number) {
    return platform::FromAnsi(DLL_GetMessage(number));
}
QString ErrorText(int number) {
    return platform::FromAnsi(DLL_GetErrStr(number));
}

} // namespace lessons
