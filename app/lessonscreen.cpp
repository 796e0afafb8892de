// The middle of the main window when no lesson is open: the greeting screen
// and the no-lesson screen, both built from skin files by the window's skin
// loader, and the wiring that gives a loaded main screen's elements their
// meaning from their tags.

#include "app/mainwindow.h"
#include "app/msgwin.h"
#include "app/shellservices.h"
#include "platform/core/cp1252.h"
#include "platform/core/pathresolver.h"
#include "playback/soundcues.h"

#include <QDir>
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

void TForm1::ClearLessonScreen() {
    BWeiter->Hide();
    LProgress->Hide();
    BackdropBitmap.SetSize(0, 0);
    if (PlayCursor) PlayCursor->Forget();
    if (Skin) Skin->ClearElements();
    Repaint();
    TrBarTempo->SetPosition(1);
    ShowTempoLevel(1);
    TrBarTempo->SetEnabled(false);
    Transport->ClearLesson();
}

void TForm1::ShowNoLessonScreen() {
    BWeiter->Hide();
    LProgress->Hide();
    BKontrolle->SetEnabled(false);
    TrBarTempo->SetEnabled(false);
    BMonitor->SetEnabled(false);
    QDir::setCurrent(QString::fromStdString(ResolveAnsiPath(ProgramFolder)));
    if (Skin) Skin->LoadSkin("lektionX\\MainWin.zs1", "x");
    WireScreenElements();
    BVideoStop->SetBgBmp(&VideoPlayBmp);
    BVideoStop->SetVisible(AnsiPathExists(IntroVideoPath));
    Repaint();
    Course->SetQuizFinished(false);
}

void TForm1::ShowGreetingScreen() {
    BKontrolle->SetEnabled(false);
    TrBarTempo->SetEnabled(false);
    BMonitor->SetEnabled(false);
    QDir::setCurrent(QString::fromStdString(ResolveAnsiPath(ProgramFolder)));
    if (Skin) Skin->LoadSkin("lektionY\\MainWin.zs1", "0");
    WireScreenElements();
    BVideoStop->Hide();
    LProgress->Hide();
    // A learner who comes back goes on with the plan's first lesson.
    const int planned = Lists->Plan[0].Lesson;
    BWeiter->SetVisible(lessons::IsLesson(planned));
    if (lessons::IsLesson(planned)) {
        BWeiter->SetText(CaptionText(613).arg(planned));
        BWeiter->BringToFront();
    }
    Invalidate();
    Course->SetQuizFinished(false);
}

void TForm1::BWeiterClick(TObject*) {
    const int planned = Lists->Plan[0].Lesson;
    if (VideoPlaying || !lessons::IsLesson(planned)) return;
    Cues->PlayClick(true, false);
    Lists->CurrentEntry = 0;
    Course->SetCurrentLesson(planned);
    OpenLesson();
}

void TForm1::ShowPassProgress() {
    const bool shown = lessons::IsLesson(Course->CurrentLesson()) && !Course->ExplorerMode();
    LProgress->SetVisible(shown);
    if (!shown) return;
    constexpr int kPasses = lessons::CourseSession::kQuizPasses;
    const int passes = std::clamp(Course->PlayCount(), 0, kPasses);
    QString text = CaptionText(Course->QuizOpens() ? 601 : 600).arg(passes).arg(kPasses);
    if (Transport->LocatorSet()) text += "\n" + CaptionText(602);
    LProgress->SetCaption(text);
}

// A pass counted: the lesson screen and the plan's row show it at once.
void TForm1::PassProgressChanged() {
    ShowPassProgress();
    RefreshPlanPanel();
}

void TForm1::WireScreenElements() {
    // The backdrop: the first picture tagged 200, tinted, taken over by the
    // window's own painting.
    for (int i = 0; i < ComponentCount(); ++i) {
        auto* image = dynamic_cast<TImage*>(Components(i));
        if (image == nullptr || image->Tag() != kBackdropTag) continue;
        lessons::BackdropTint(this, image);
        BackdropBitmap.Assign(image->Picture());
        BackdropLeft = image->Left();
        BackdropTop = image->Top();
        image->Hide();
        image->Picture()->SetSize(0, 0);
        break;
    }
    for (int i = 0; i < ComponentCount(); ++i) {
        TComponent* component = Components(i);
        if (auto* shape = dynamic_cast<TShape*>(component); shape && shape->Tag() == kCutOutTag) {
            TCanvas* canvas = BackdropBitmap.Canvas();
            canvas->Brush()->SetStyle(bsSolid);
            canvas->Brush()->SetColor(shape->Brush()->Color());
            canvas->FillRect(Bounds(shape->Left() - BackdropLeft, shape->Top() - BackdropTop,
                                    shape->Width(), shape->Height()));
            shape->Hide();
            continue;
        }
        auto* control = dynamic_cast<TControl*>(component);
        if (control == nullptr) continue;
        const bool picture = dynamic_cast<TImage*>(control) != nullptr;
        const bool label = dynamic_cast<TLabel*>(control) != nullptr;
        const int tag = control->Tag();
        if ((picture || label) && tag >= kSlideTagFirst && tag <= kSlideTagLast)
            WirePicture(control, tag);
        else if (picture && tag >= kToolTagFirst && tag <= kToolTagLast)
            WirePicture(control, tag);
    }
}

// The screen's pictures and texts that lead somewhere: the slide windows
// (tags 101 to 103), the tuner (403) and help (405). Other tool tags only
// show the hand.
void TForm1::WirePicture(TControl* control, int tag) {
    control->SetCursor(crHandPoint);
    // The pictures of the tuner and help are called by what they open.
    if (tag == kTunerTag) control->SetAccessibleName(CaptionText(14));
    if (tag == kHelpTag) control->SetAccessibleName(CaptionText(15));
    const bool leadsSomewhere =
        (tag >= kSlideTagFirst && tag <= kSlideTagLast) || tag == kTunerTag || tag == kHelpTag;
    if (!leadsSomewhere) return;
    control->OnClick = [this, tag](TObject* sender) {
        if (!ScreenGuardsPass()) return;
        if (tag >= kSlideTagFirst && tag <= kSlideTagLast) {
            Cues->PlayClick(true, false);
            Course->SetOpenedFromLessonScreen(true);
            OpenSlides(tag - kSlideTagFirst);
        } else if (tag == kTunerTag) {
            BStimmClick(sender);
        } else if (tag == kHelpTag) {
            BHilfeClick(sender);
        }
    };
}

// Nothing on the screen opens while a video or the exercise plays.
bool TForm1::ScreenGuardsPass() const {
    return !VideoPlaying && !MediaPlayerPlaying() && !Transport->Busy();
}

} // namespace app
