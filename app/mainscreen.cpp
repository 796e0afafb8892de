#include "app/mainscreen.h"
#include "app/msgwin.h"
#include "lessons/registrydata.h"
#include "lessons/skinloader.h"

#include <algorithm>

namespace app {

using namespace platform;

namespace {

constexpr int kBackdropTag = 200;
constexpr int kCutOutTag = 300;
constexpr int kSlideTagFirst = 101;
constexpr int kSlideTagLast = 103;
constexpr int kToolTagFirst = 401;
constexpr int kToolTagLast = 409;
constexpr int kTunerTag = 403;
constexpr int kHelpTag = 405;

} // namespace

MainScreen::MainScreen(TForm* form, MainWindowLook& look, Actions actions)
    : form_(form), look_(look), actions_(std::move(actions)) {}

// ---- The screens around a lesson --------------------------------------------------

void MainScreen::ClearLesson(lessons::SkinLoader* skin) {
    look_.BWeiter->Hide();
    look_.LProgress->Hide();
    Clear();
    if (skin != nullptr) skin->ClearElements();
    form_->Repaint();
}

void MainScreen::ShowGreeting(lessons::SkinLoader* skin, int plannedLesson) {
    look_.BKontrolle->SetEnabled(false);
    look_.TrBarTempo->SetEnabled(false);
    look_.BMonitor->SetEnabled(false);
    if (skin != nullptr) skin->LoadSkin("lektionY\\MainWin.zs1", "0");
    Wire();
    look_.BVideoStop->Hide();
    look_.LProgress->Hide();
    // A learner who comes back goes on with the plan's first lesson.
    const bool planned = lessons::IsLesson(plannedLesson);
    look_.BWeiter->SetVisible(planned);
    if (planned) {
        look_.BWeiter->SetText(CaptionText(613).arg(plannedLesson));
        look_.BWeiter->BringToFront();
    }
    form_->Invalidate();
}

void MainScreen::ShowNoLesson(lessons::SkinLoader* skin, bool introVideoThere) {
    look_.BWeiter->Hide();
    look_.LProgress->Hide();
    look_.BKontrolle->SetEnabled(false);
    look_.TrBarTempo->SetEnabled(false);
    look_.BMonitor->SetEnabled(false);
    if (skin != nullptr) skin->LoadSkin("lektionX\\MainWin.zs1", "x");
    Wire();
    look_.BVideoStop->SetBgBmp(&look_.VideoPlayBmp);
    look_.BVideoStop->SetVisible(introVideoThere);
    form_->Repaint();
}

void MainScreen::ShowPassProgress(bool shown, int passes, int needed, bool quizOpens, bool locatorSet) {
    look_.LProgress->SetVisible(shown);
    if (!shown) return;
    QString text = CaptionText(quizOpens ? 601 : 600).arg(std::clamp(passes, 0, needed)).arg(needed);
    if (locatorSet) text += "\n" + CaptionText(602);
    look_.LProgress->SetCaption(text);
}

// ---- The skin's elements ------------------------------------------------------------

void MainScreen::Paint(TCanvas* canvas) {
    if (!Backdrop.Empty()) canvas->Draw(BackdropLeft, BackdropTop, &Backdrop);
}

void MainScreen::Wire() {
    TakeBackdrop();
    for (int i = 0; i < form_->ComponentCount(); ++i) {
        TComponent* component = form_->Components(i);
        if (auto* shape = dynamic_cast<TShape*>(component); shape && shape->Tag() == kCutOutTag) {
            CutOut(shape);
            shape->Hide();
            continue;
        }
        auto* control = dynamic_cast<TControl*>(component);
        if (control == nullptr) continue;
        const bool picture = dynamic_cast<TImage*>(control) != nullptr;
        const bool label = dynamic_cast<TLabel*>(control) != nullptr;
        const int tag = control->Tag();
        if ((picture || label) && tag >= kSlideTagFirst && tag <= kSlideTagLast)
            WireControl(control, tag);
        else if (picture && tag >= kToolTagFirst && tag <= kToolTagLast)
            WireControl(control, tag);
    }
}

// The first picture tagged 200, tinted, is taken over by the window's own
// painting.
void MainScreen::TakeBackdrop() {
    for (int i = 0; i < form_->ComponentCount(); ++i) {
        auto* image = dynamic_cast<TImage*>(form_->Components(i));
        if (image == nullptr || image->Tag() != kBackdropTag) continue;
        lessons::BackdropTint(form_, image);
        Backdrop.Assign(image->Picture());
        BackdropLeft = image->Left();
        BackdropTop = image->Top();
        image->Hide();
        image->Picture()->SetSize(0, 0);
        return;
    }
}

void MainScreen::CutOut(TShape* shape) {
    TCanvas* canvas = Backdrop.Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(shape->Brush()->Color());
    canvas->FillRect(Bounds(shape->Left() - BackdropLeft, shape->Top() - BackdropTop,
                            shape->Width(), shape->Height()));
}

void MainScreen::WireControl(TControl* control, int tag) {
    control->SetCursor(crHandPoint);
    // The pictures of the tuner and help are called by what they open.
    if (tag == kTunerTag) control->SetAccessibleName(CaptionText(14));
    if (tag == kHelpTag) control->SetAccessibleName(CaptionText(15));
    const bool leadsSomewhere =
        (tag >= kSlideTagFirst && tag <= kSlideTagLast) || tag == kTunerTag || tag == kHelpTag;
    if (!leadsSomewhere) return;
    control->OnClick = [this, tag](TObject* sender) {
        if (actions_.MayOpen && !actions_.MayOpen()) return;
        if (tag >= kSlideTagFirst && tag <= kSlideTagLast) {
            if (actions_.OpenSlides) actions_.OpenSlides(tag - kSlideTagFirst);
        } else if (tag == kTunerTag) {
            if (actions_.OpenTuner) actions_.OpenTuner(sender);
        } else if (tag == kHelpTag) {
            if (actions_.OpenHelp) actions_.OpenHelp(sender);
        }
    };
}

} // namespace app
