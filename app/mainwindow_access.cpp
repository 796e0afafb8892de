// What a screen reader hears of the main window, and the way the keyboard
// goes through it: names for the buttons that show only a picture, the tempo
// bar's level in words, the panels' names, the passes that open the quiz,
// the focus ring in the course's colours and the window's tab order.

#include "app/mainwindow.h"
#include "app/msgwin.h"
#include "layout/screenlayout.h"
#include "platform/ui/accessible.h"
#include "platform/ui/application.h"

#include <QColor>

namespace app {

using namespace platform;

namespace {

void CallIt(TControl* control, int captionNumber, const char* keys = "") {
    control->SetAccessibleName(CaptionText(captionNumber));
    control->SetAccessibleShortcut(QString::fromLatin1(keys));
}

// The lesson screen's elements that can be pressed, in the skin file's order.
void AddScreenElements(TForm1& form, std::vector<TControl*>& order) {
    for (int i = 0; i < form.ComponentCount(); ++i) {
        auto* control = dynamic_cast<TControl*>(form.Components(i));
        if (control == nullptr || control->Parent() != &form || control == form.LSoundcard) continue;
        const bool element = dynamic_cast<TLabel*>(control) != nullptr ||
                             dynamic_cast<TImage*>(control) != nullptr;
        if (element && control->TabStop()) order.push_back(control);
    }
}

// Tells the quiz button's description each counted pass (after the course
// session has counted it: observers hear a pass in the order they came).
class PassCountTeller : public playback::TransportObserver {
public:
    PassCountTeller(TForm1& form, playback::Transport& transport)
        : form_(form), transport_(transport) {
        transport_.AddObserver(this);
    }
    ~PassCountTeller() override { transport_.RemoveObserver(this); }
    void PassPlayedThrough(const playback::PassInfo&) override { form_.DescribePassCount(); }

private:
    TForm1& form_;
    playback::Transport& transport_;
};

} // namespace

void TForm1::DescribeControls() {
    // The palette's orange accent, with a line of light cream inside it.
    SetFocusRingColours(FromQColor(QColor::fromRgb(layout::colour::Accent)),
                        FromQColor(QColor::fromRgb(layout::colour::CreamLight)));
    SetCaption(Application->Title().isEmpty() ? QString("Zupfari Basis") : Application->Title());

    CallIt(BPlay, 500, "F5");
    CallIt(BPause, 501, "F6");
    CallIt(BStop, 502, "F7");
    CallIt(BLoop, 503);
    CallIt(BLocator, 504);
    CallIt(BRewind, 505);
    CallIt(BForward, 506);
    CallIt(BLogo, 507);
    CallIt(BVideoStop, 508);
    BHilfe->SetAccessibleShortcut("F1");

    TrBarTempo->SetAccessibleName(CaptionText(512));
    TrBarTempo->ValueText = [this](int level) { return TempoLevelText(level); };

    PUeplan->SetAccessibleName(CaptionText(11));
    PExplorer->SetAccessibleName(CaptionText(12));
    PMonitor->SetAccessibleName(CaptionText(13));
    PTuner->SetAccessibleName(CaptionText(14));
    if (Explorer) Explorer->DescribeRows();
    PassTeller = std::make_unique<PassCountTeller>(*this, *Transport);
    DescribePassCount();
    TabOrder = [this] { return MainTabOrder(); };
}

QString TForm1::TempoLevelText(int level) const {
    const int lesson = Course ? Course->CurrentLesson() : -1;
    if (!lessons::IsLesson(lesson)) return CaptionText(513).arg(level).arg(lessons::kLevelCount);
    const int clamped = std::clamp(level, 1, lessons::kLevelCount);
    const int tempo = Course->Tables().TempoTable[std::size_t(lesson)][std::size_t(clamped - 1)];
    return CaptionText(514).arg(level).arg(lessons::kLevelCount).arg(tempo);
}

void TForm1::DescribePassCount() {
    const int passes = Course ? Course->PlayCount() : 0;
    BKontrolle->SetAccessibleDescription(
        CaptionText(521).arg(std::clamp(passes, 0, lessons::CourseSession::kQuizPasses)));
    TrBarTempo->SetAccessibleDescription(TempoLevelText(TrBarTempo->Position()));
}

std::vector<TControl*> TForm1::MainTabOrder() {
    std::vector<TControl*> order;
    if (PlanView) {
        for (TControl* row : PlanView->SelectButtons) order.push_back(row);
        order.push_back(PlanView->BNext);
        order.push_back(PlanView->BVonVorn);
        if (PlanView->BFortschritt != nullptr) order.push_back(PlanView->BFortschritt);
    }
    if (Explorer) {
        order.push_back(BScrollUp);
        for (TControl* row : Explorer->ListRows) order.push_back(row);
        order.push_back(BScrollDown);
    }
    if (Monitor)
        for (TControl* button : Monitor->MonitorButtons) order.push_back(button);
    if (Tuner) {
        for (TControl* label : Tuner->StringLabels) order.push_back(label);
        order.push_back(Tuner->LAusschalten);
        order.push_back(BTunerAkkord);
        for (TControl* listening : {static_cast<TControl*>(Tuner->ImgMikrofon),
                                    static_cast<TControl*>(Tuner->LAutomatisch),
                                    static_cast<TControl*>(Tuner->LEingang)})
            if (listening != nullptr) order.push_back(listening);
    }
    for (TControl* button : {BExplorer, BKontrolle, BUeplan, BMonitor, BStimm, BHilfe, BBeenden})
        order.push_back(button);
    order.push_back(BVideoStop);
    AddScreenElements(*this, order);
    for (TControl* button : {BPlay, BPause, BStop, BLoop, BLocator, BRewind, BForward})
        order.push_back(button);
    order.push_back(TrBarTempo);
    order.push_back(LSoundcard);
    order.push_back(BLogo);
    return order;
}

} // namespace app
