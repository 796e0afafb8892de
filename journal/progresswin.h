#pragma once
// TProgressWin: the progress window ("Fortschritt"), opened from the
// practice plan. It shows what the journal holds in four charts on white
// panels over the course's background: minutes practised per day over the
// last four weeks, the tempo level of the lessons practised last over time,
// the quizzes of each lesson, and the latest play-along score of each
// lesson. A journal with nothing in it yet gets a friendly first-day text
// instead of empty axes. "Als CSV speichern" writes the practice records for
// a spreadsheet; the tick box switches the tempo ladder on and off.

#include "controls/fadebutton.h"
#include "journal/records.h"
#include "platform/ui/forms.h"
#include "platform/ui/graphics.h"

#include <QString>
#include <array>
#include <functional>
#include <string>

class QChart;
class QChartView;
class QCheckBox;
class QLabel;
class QWidget;

namespace journal {

class Journal;

class TProgressWin : public platform::TForm {
public:
    // `journal` may be null (then the window says that the journal cannot
    // be read); `programFolder` (Windows-1252) holds the background picture.
    TProgressWin(platform::TComponent* owner, Journal* journal, std::string programFolder);

    // Reads the journal and shows the window.
    void ShowProgress();
    // The journal to show from now on (null: none).
    void SetJournal(Journal* journal) { journal_ = journal; }
    // Fills the window from `summary` (ShowProgress does it with the journal's).
    void ShowSummary(const JournalSummary& summary);

    // Asks where the CSV goes; empty for "not at all". Tests put their own here.
    std::function<QString()> ChooseCsvFile;

    controls::TXFadeButton* BCsv;
    controls::TXFadeButton* BClose;
    QCheckBox* CbLadder;
    QLabel* LTitle;
    QLabel* LTotals;
    QLabel* LStatus;
    // The four panels' headings, charts and their texts for no data.
    std::array<QLabel*, 4> PanelTitles{};
    std::array<QChartView*, 4> Charts{};
    std::array<QLabel*, 4> EmptyTexts{};
    // The first-day text over the whole window.
    QLabel* LWelcome;

    void BCsvClick(platform::TObject* Sender);
    void BCloseClick(platform::TObject* Sender);
    void CbLadderClick();
    void FormPaint(platform::TObject* Sender);
    void FormKeyDown(platform::TObject* Sender, platform::WORD& Key, platform::TShiftState Shift);

    // The four panels (left, top, right, bottom) and the window's size.
    static std::array<platform::TRect, 4> Panels();

private:
    void LoadBackground();
    void BuildPanels();
    controls::TXFadeButton* MakeButton(const QString& name, int caption, int left, int width);
    void ShowPanel(int panel, QChart* chart, const QString& emptyText);
    void DrawPanel(const platform::TRect& panel);
    QString DefaultCsvFile() const;

    Journal* journal_;
    std::string programFolder_;
    platform::TBitmap background_;
    bool empty_ = true;
};

} // namespace journal
