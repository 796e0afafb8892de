#include "lessons/lessonhost.h"

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
