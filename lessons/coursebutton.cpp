#include "lessons/coursebutton.h"

#include "layout/screenlayout.h"
#include "lessons/lessonhost.h"

namespace lessons {

using namespace platform;

controls::TXFadeButton* MakeCourseButton(TControl* window, const QString& name, int captionNumber,
                                         const QString& look) {
    auto* button = controls::MakeCaptionButton(window, window, name);
    TBitmap normal, over, down;
    normal.LoadFromResourceName("RBUTTON" + look);
    over.LoadFromResourceName("RBUTTONOVER" + look);
    down.LoadFromResourceName("RBUTTONDOWN" + look);
    button->SetTakeImg(true);
    button->SetBounds(button->Left(), button->Top(), normal.Width(), normal.Height());
    button->SetRadiusH(layout::ButtonCornerEllipse);
    button->SetRadiusV(layout::ButtonCornerEllipse);
    button->SetIsRoundRect(true);
    button->SetBgBmp(&normal);
    button->SetBgOverBmp(&over);
    button->SetBgDownBmp(&down);
    button->SetText(CaptionText(captionNumber));
    return button;
}

} // namespace lessons
