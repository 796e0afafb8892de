#pragma once
// ExplorerPanel: the explorer list on the main window's panel PExplorer. A
// scrolling list of the 31 entries (the 30 lessons and the closing video),
// eight rows at a time, with a text display of the entry under the mouse;
// a click opens that lesson at once. Switching between the tutorial and the
// explorer mode is the main window's business (BExplorerClick).

#include "controls/aquabutton.h"
#include "controls/fadebutton.h"
#include "plan/panelhost.h"
#include "platform/ui/accessible.h"
#include "platform/ui/controls.h"
#include "platform/ui/timer.h"
#include "playback/soundcues.h"

#include <QStringList>
#include <array>

namespace tools {

class ExplorerPanel {
public:
    static constexpr int kRows = 8;
    static constexpr int kEntries = 31;
    static constexpr int kVideoEntry = 30;
    static constexpr unsigned kScrollMs = 120;
    // Entries one notch of the mouse wheel scrolls.
    static constexpr int kWheelRows = 3;

    // Works on `panel` (PExplorer) with its scroll buttons; `titles` and
    // `texts` are the explorer texts, `introVideoPath` the closing video's
    // path (Windows-1252) as the main window keeps it.
    ExplorerPanel(platform::TPanel* panel, controls::TXFadeButton* scrollUp,
                  controls::TXFadeButton* scrollDown, plan::PanelHost& host,
                  playback::SoundCues& cues, const QStringList& titles, const QStringList& texts,
                  const std::string& introVideoPath, const QString& webSite);

    // Background, region, entry names, rows, scroll buttons, text displays (once).
    void BuildExplorerPanel();
    void ShowExplorerText(int entry);

    void RowEnter(int row);
    void RowLeave();
    void SelectExplorerEntry(int row);
    void BScrollUpMouseEnter();
    void BScrollDownMouseEnter();
    void BScrollMouseLeave(); // both scroll buttons
    void ScrollTimerTimer();
    // The wheel over the list: `steps` notches up (positive) or down.
    void ListMouseWheel(int steps);
    // The rows name their entries anew (after the titles were read).
    void RefreshRows();
    // Scrolls the list by one entry up (direction -1) or down (1) for the
    // keyboard and the scroll buttons' press; false at the list's end.
    bool ScrollByKey(int direction);
    // Each row's entry title and text as its description for a screen
    // reader (again once the explorer texts are read).
    void DescribeRows();

    // The entry name of `entry` (0..30).
    static QString EntryCaption(int entry);
    // A row's text: the entry's name and its title on one line
    // ("Lektion 7 — a-Moll und der erste Wechsel").
    QString RowCaption(int entry) const;

    platform::TImage* ImgExplorerBG = nullptr;
    controls::TXAquaButton *XplText = nullptr, *XplText2 = nullptr, *XplText3 = nullptr;
    std::array<controls::TXAquaButton*, kRows> ListRows{};
    platform::TControlList* Rows = nullptr; // the rows for the arrow keys
    std::array<int, kRows> RowEntry{0, 1, 2, 3, 4, 5, 6, 7};
    platform::TTimer* ScrollTimer = nullptr;
    QStringList EntryCaptions;
    int ExplorerLesson = 0;
    int LastEntry = 0;
    bool ScrollUp = false;

private:
    void BuildRow(int row);
    void DescribeRow(int row);
    controls::TXAquaButton* MakeDisplay(const platform::TRect& bounds, bool plain);
    void ShowRows(int first);
    void ShowRow(int row);

    platform::TPanel* panel_;
    controls::TXFadeButton* scrollUp_;
    controls::TXFadeButton* scrollDown_;
    plan::PanelHost& host_;
    playback::SoundCues& cues_;
    const QStringList& titles_;
    const QStringList& texts_;
    const std::string& introVideoPath_;
    const QString& webSite_;
    platform::TBitmap background_;
};

} // namespace tools
