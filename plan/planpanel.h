#pragma once
// PlanPanel: the practice plan ("Übeplan") on the main window's panel
// PUeplan: three rows showing the plan's slots, each with a button that
// opens its lesson, "Neue Übung" that introduces the lowest waiting lesson,
// "Von Vorn" that starts the whole course over, and "Fortschritt" that
// opens the progress window over the practice journal.

#include "controls/aquabutton.h"
#include "controls/labelfx.h"
#include "journal/journal.h"
#include "journal/progresswin.h"
#include "plan/liststore.h"
#include "plan/panelhost.h"
#include "platform/ui/accessible.h"
#include "platform/ui/controls.h"
#include "playback/soundcues.h"

#include <QStringList>
#include <array>

namespace plan {

class PlanPanel {
public:
    static constexpr int kRows = ListStore::kPlanSlots;

    // Works on `panel` (PUeplan); `titles` are the explorer titles, one per
    // lesson. Nothing is built until BuildPlanPanel.
    PlanPanel(platform::TPanel* panel, PanelHost& host, ListStore& lists,
              playback::SoundCues& cues, const QStringList& titles);

    // Background picture, rounded region, the three rows, "Neue Übung" and
    // "Von Vorn" (once).
    void BuildPlanPanel();
    // Shows the three slots of the plan.
    void RefreshPlanPanel();

    void SelectPlanEntry(platform::TObject* sender);
    void BNextClick();
    void BRemoveClick();
    void BVonVornClick();
    void BFortschrittClick();

    // The journal the progress window shows (none: the window says it cannot
    // be read).
    void SetJournal(journal::Journal* journal);

    // A title as the plan shows it: every "$n" (any case) breaks the line.
    static QString PlanTitle(const QString& title);
    // A play count as dots: one filled dot per pass, up to the quiz's three.
    static QString PassDotsText(int playCount);
    // A row as a screen reader names it: "Lektion 5: <title>" (the first
    // and the last lesson by their names).
    static QString RowName(int lesson, const QString& title);

    platform::TImage* ImgUeplanBG = nullptr;
    controls::TXAquaButton* BNext = nullptr;
    controls::TXAquaButton* BVonVorn = nullptr;
    std::array<controls::TLabelFX*, kRows> NumberLabels{};
    std::array<controls::TLabelFX*, kRows> TitleLabels{};
    std::array<controls::TXAquaButton*, kRows> SelectButtons{};
    // Under each row's number: its passes toward the quiz as dots ("●●○").
    std::array<controls::TLabelFX*, kRows> PassDots{};
    // The rows' select buttons as one list (arrow keys, screen readers).
    platform::TControlList* Rows = nullptr;
    controls::TXAquaButton* BFortschritt = nullptr;
    // Made at the first "Fortschritt".
    journal::TProgressWin* ProgressWin = nullptr;

private:
    void LoadBackground();
    void BuildRow(int row);
    controls::TXAquaButton* MakeButton(int left, int top, const QString& caption);
    void PlayRefusal();

    platform::TPanel* panel_;
    PanelHost& host_;
    ListStore& lists_;
    playback::SoundCues& cues_;
    const QStringList& titles_;
    platform::TBitmap background_;
    journal::Journal* journal_ = nullptr;
};

// Gives a tool panel its background picture (filling the panel, which takes
// the picture's size), its rounded 40 x 40 window region, and copies the
// picture into `background` for the controls that blend with it.
void DressToolPanel(platform::TPanel* panel, platform::TImage* picture, PanelHost& host,
                    const char* pictureName, platform::TBitmap* background);

// Styles an aqua button the way the panels' buttons look: hand cursor, solid
// pen, "Arial", taking the part of `background` under it as its back image
// at `transparency`, plain 0xFFEEEE normally and white under the mouse.
void StylePanelButton(controls::TXAquaButton* button, const platform::TBitmap& background,
                      int transparency);

// The part of `source` under `area`, as a bitmap of the area's size.
void CopyArea(const platform::TBitmap& source, const platform::TRect& area,
              platform::TBitmap* target);

// A plain bitmap of `size` in `colour`.
void PlainBitmap(platform::TBitmap* bitmap, int width, int height, platform::TColor colour);

// Every "$n" (any case) as a line break.
QString BreakMarkers(const QString& text);

} // namespace plan
