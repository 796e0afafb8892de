#include "app/mainaccess.h"

#include "app/mainwindow.h"
#include "app/msgwin.h"
#include "layout/screenlayout.h"
#include "platform/ui/accessible.h"
#include "platform/ui/application.h"

#include <QColor>
#include <algorithm>

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

// The rows and buttons of the tool panels, in the order they show.
void AddToolPanels(TForm1& form, std::vector<TControl*>& order) {
    if (form.Tools->PlanView) {
        for (TControl* row : form.Tools->PlanView->SelectButtons) order.push_back(row);
        order.push_back(form.Tools->PlanView->BNext);
        order.push_back(form.Tools->PlanView->BVonVorn);
        if (form.Tools->PlanView->BFortschritt != nullptr) order.push_back(form.Tools->PlanView->BFortschritt);
    }
    if (form.Tools->Explorer) {
        order.push_back(form.BScrollUp);
        for (TControl* row : form.Tools->Explorer->ListRows) order.push_back(row);
        order.push_back(form.BScrollDown);
    }
    if (form.Tools->Monitor)
        for (TControl* button : form.Tools->Monitor->MonitorButtons) order.push_back(button);
    if (form.Tools->Tuner) {
        for (TControl* label : form.Tools->Tuner->StringLabels) order.push_back(label);
        order.push_back(form.Tools->Tuner->LAusschalten);
        order.push_back(form.BTunerAkkord);
        for (TControl* listening : {static_cast<TControl*>(form.Tools->Tuner->ImgMikrofon),
                                    static_cast<TControl*>(form.Tools->Tuner->LAutomatisch),
                                    static_cast<TControl*>(form.Tools->Tuner->LEingang)})
            if (listening != nullptr) order.push_back(listening);
    }
}

// Tells the quiz button's description each counted pass (after the course
// session has counted it: observers hear a pass in the order they came).
class PassCountTeller : public playback::TransportObserver {
public:
    PassCountTeller(MainWindowAccess& access, playback::Transport& transport)
        : access_(access), transport_(transport) {
        transport_.AddObserver(this);
    }
    ~PassCountTeller() override { transport_.RemoveObserver(this); }
    void PassPlayedThrough(const playback::PassInfo&) override { access_.DescribePassCount(); }

private:
    MainWindowAccess& access_;
    playback::Transport& transport_;
};

} // namespace

MainWindowAccess::MainWindowAccess(TForm1& form) : form_(form) {}

MainWindowAccess::~MainWindowAccess() = default;

void MainWindowAccess::LeaveTransport() {
    passTeller_.reset();
}

void MainWindowAccess::DescribeControls() {
    TForm1& f = form_;
    // The palette's orange accent, with a line of light cream inside it.
    SetFocusRingColours(FromQColor(QColor::fromRgb(layout::colour::Accent)),
                        FromQColor(QColor::fromRgb(layout::colour::CreamLight)));
    f.SetCaption(Application->Title().isEmpty() ? QString("Zupfari Basis") : Application->Title());

    CallIt(f.BPlay, 500, "F5");
    CallIt(f.BPause, 501, "F6");
    CallIt(f.BStop, 502, "F7");
    CallIt(f.BLoop, 503);
    CallIt(f.BLocator, 504);
    CallIt(f.BRewind, 505);
    CallIt(f.BForward, 506);
    CallIt(f.BLogo, 507);
    CallIt(f.BVideoStop, 508);
    f.BHilfe->SetAccessibleShortcut("F1");

    f.TrBarTempo->SetAccessibleName(CaptionText(512));
    f.TrBarTempo->ValueText = [this](int level) { return TempoLevelText(level); };

    f.PUeplan->SetAccessibleName(CaptionText(11));
    f.PExplorer->SetAccessibleName(CaptionText(12));
    f.PMonitor->SetAccessibleName(CaptionText(13));
    f.PTuner->SetAccessibleName(CaptionText(14));
    if (f.Tools && f.Tools->Explorer) f.Tools->Explorer->DescribeRows();
    passTeller_ = std::make_unique<PassCountTeller>(*this, *f.Transport);
    DescribePassCount();
    f.TabOrder = [this] { return TabOrder(); };
}

QString MainWindowAccess::TempoLevelText(int level) const {
    const lessons::CourseSession* course = form_.Course.get();
    const int lesson = course != nullptr ? course->CurrentLesson() : -1;
    if (!lessons::IsLesson(lesson)) return CaptionText(513).arg(level).arg(lessons::kLevelCount);
    const int clamped = std::clamp(level, 1, lessons::kLevelCount);
    const int tempo = course->Tables().TempoTable[std::size_t(lesson)][std::size_t(clamped - 1)];
    return CaptionText(514).arg(level).arg(lessons::kLevelCount).arg(tempo);
}

void MainWindowAccess::DescribePassCount() {
    const int passes = form_.Course ? form_.Course->PlayCount() : 0;
    form_.BKontrolle->SetAccessibleDescription(
        CaptionText(521).arg(std::clamp(passes, 0, lessons::CourseSession::kQuizPasses)));
    form_.TrBarTempo->SetAccessibleDescription(TempoLevelText(form_.TrBarTempo->Position()));
}

std::vector<TControl*> MainWindowAccess::TabOrder() const {
    TForm1& f = form_;
    std::vector<TControl*> order;
    AddToolPanels(f, order);
    for (TControl* button :
         {f.BExplorer, f.BKontrolle, f.BUeplan, f.BMonitor, f.BStimm, f.BHilfe, f.BBeenden})
        order.push_back(button);
    order.push_back(f.BVideoStop);
    AddScreenElements(f, order);
    for (TControl* button : {f.BPlay, f.BPause, f.BStop, f.BLoop, f.BLocator, f.BRewind, f.BForward})
        order.push_back(button);
    order.push_back(f.TrBarTempo);
    order.push_back(f.LSoundcard);
    order.push_back(f.BLogo);
    return order;
}

} // namespace app
