#include "app/skinerrors.h"

#include "app/msgwin.h"
#include "lessons/skinloader.h"
#include "platform/ui/application.h"

namespace app {

void ShowPictureError(const std::string&) {
    platform::Application->MessageBox(ErrorText(300), QString(), platform::MB_OK);
}

void ReportPictureErrors(lessons::SkinLoader& loader) {
    loader.OnPictureError = ShowPictureError;
}

} // namespace app
