#include "tools/explorer.h"

#include "layout/screenlayout.h"
#include "plan/planpanel.h"
#include "platform/core/cp1252.h"
#include "platform/core/pathresolver.h"
#include "platform/ui/accessible.h"
#include "sprachbank/sprachbank.h"

#include <QFontMetrics>
#include <QRegularExpression>
#include <algorithm>

namespace tools {

using namespace platform;

namespace {

constexpr TColor kRowFill = 0x333333;
constexpr TColor kRowOverFill = 0x666666;
constexpr TColor kDisplayFill = 0x554433; // 0xBBGGRR
constexpr TColor kDisplayText = 0xEEEEEE;
constexpr int kRowHeight = 17;
constexpr QChar kRowDash(0x2014);

void SetAllFonts(controls::TXAquaButton* button, int height) {
    for (TFont* font : {button->Font(), button->MOverFont(), button->MDownFont()}) {
        font->SetName("Arial");
        font->SetHeight(height);
    }
}

} // namespace

ExplorerPanel::ExplorerPanel(TPanel* panel, controls::TXFadeButton* scrollUp,
                             controls::TXFadeButton* scrollDown, plan::PanelHost& host,
                             playback::SoundCues& cues, const QStringList& titles,
                             const QStringList& texts, const std::string& introVideoPath,
                             const QString& webSite)
    : panel_(panel), scrollUp_(scrollUp), scrollDown_(scrollDown), host_(host), cues_(cues),
      titles_(titles), texts_(texts), introVideoPath_(introVideoPath), webSite_(webSite) {}

QString ExplorerPanel::EntryCaption(int entry) {
    if (entry == 0) return FromAnsi(DLL_GetCaption(21));
    if (entry >= 1 && entry <= 28) return FromAnsi(DLL_GetCaption(20)) + " " + QString::number(entry);
    if (entry == 29) return FromAnsi(DLL_GetCaption(22));
    return "Video";
}

void ExplorerPanel::BuildExplorerPanel() {
    ImgExplorerBG = new TImage(panel_);
    ImgExplorerBG->SetName("ImgExplorerBG");
    plan::DressToolPanel(panel_, ImgExplorerBG, host_, "Bilder\\ExplorerBG.jpg", &background_);
    ExplorerLesson = 0;
    EntryCaptions.clear();
    for (int entry = 0; entry < kEntries; ++entry)
        EntryCaptions << EntryCaption(entry);
    // The arrow keys go from row to row and scroll the list at its ends.
    Rows = new TControlList(panel_, false);
    Rows->OnPastEnd = [this](int direction) { return ScrollByKey(direction); };
    for (int row = 0; row < kRows; ++row)
        BuildRow(row);

    scrollUp_->SetLeft(12);
    scrollUp_->SetTop(ListRows[0]->Top() - scrollUp_->Height());
    scrollDown_->SetLeft(12);
    scrollDown_->SetTop(ListRows[kRows - 1]->Top() + ListRows[kRows - 1]->Height());
    scrollUp_->SetText(" ");
    scrollDown_->SetText(" ");
    scrollUp_->OnMouseEnter = [this](TObject*) { BScrollUpMouseEnter(); };
    scrollDown_->OnMouseEnter = [this](TObject*) { BScrollDownMouseEnter(); };
    scrollUp_->OnMouseLeave = [this](TObject*) { BScrollMouseLeave(); };
    scrollDown_->OnMouseLeave = [this](TObject*) { BScrollMouseLeave(); };
    // Pressed (by the keyboard, a screen reader or a click) they scroll by one.
    scrollUp_->SetAccessibleName(FromAnsi(DLL_GetCaption(510)));
    scrollDown_->SetAccessibleName(FromAnsi(DLL_GetCaption(511)));
    scrollUp_->OnClick = [this](TObject*) { ScrollByKey(-1); };
    scrollDown_->OnClick = [this](TObject*) { ScrollByKey(1); };
    ScrollTimer = new TTimer(panel_);
    ScrollTimer->SetEnabled(false);
    ScrollTimer->SetInterval(kScrollMs);
    ScrollTimer->OnTimer = [this](TObject*) { ScrollTimerTimer(); };

    auto bounds = [](const QRect& r) { return Bounds(r.x(), r.y(), r.width(), r.height()); };
    XplText = MakeDisplay(bounds(layout::XplText), false);
    XplText2 = MakeDisplay(bounds(layout::XplText2), true);
    XplText3 = MakeDisplay(bounds(layout::XplText3), true);
    panel_->OnMouseWheel = [this](TObject*, TShiftState, int steps) { ListMouseWheel(steps); };
    LastEntry = 0;
}

void ExplorerPanel::BuildRow(int row) {
    auto* button = new controls::TXAquaButton(panel_);
    button->SetParent(panel_);
    button->SetCursor(crHandPoint);
    button->Brush()->SetColor(kRowFill);
    button->MOverBrush()->SetColor(kRowOverFill);
    button->SetFadeOutColor(clBlack);
    button->Pen()->SetColor(kRowFill);
    button->Pen()->SetStyle(psSolid);
    SetAllFonts(button, -11);
    button->Font()->SetColor(0xCCCCCC);
    button->MOverFont()->SetColor(0xEEEEEE);
    button->MDownFont()->SetColor(clWhite);
    button->SetTopTextColor(0xCCCCCC);
    button->SetTopTextClOver(0xEEEEEE);
    button->SetTopTextClDown(clWhite);
    button->Init();
    button->SetTextAlign(1);
    button->SetTextBorderWidth(layout::ExplorerRowInset);
    button->SetTextBorderHeight(2);
    button->SetWordWrap(true);
    const QRect& first = layout::ExplorerRow0;
    button->SetBounds(first.x(), first.y() + kRowHeight * row, first.width(), kRowHeight);
    button->StyleChanged();
    RowEntry[row] = row;
    button->SetTag(row);
    button->OnMouseEnter = [this, row](TObject*) { RowEnter(row); };
    button->OnMouseLeave = [this](TObject*) { RowLeave(); };
    button->OnClick = [this, row](TObject*) { SelectExplorerEntry(row); };
    button->OnMouseWheel = [this](TObject*, TShiftState, int steps) { ListMouseWheel(steps); };
    // The keyboard's focus shows the entry's texts as the mouse does.
    button->OnEnter = [this, row](TObject*) { RowEnter(row); };
    button->OnExit = [this](TObject*) { RowLeave(); };
    ListRows[row] = button;
    ShowRow(row);
    Rows->Add(button);
    DescribeRow(row);
}

QString ExplorerPanel::RowCaption(int entry) const {
    const QString caption = entry < EntryCaptions.size() ? EntryCaptions[entry] : QString();
    if (entry >= titles_.size()) return caption;
    QString title = titles_[entry];
    title.replace(QRegularExpression("\\$n", QRegularExpression::CaseInsensitiveOption), " ");
    title = title.simplified();
    return title.isEmpty() ? caption : caption + " " + kRowDash + " " + title;
}

// A title too long for the row ends in "…"; the display beside the list
// shows it whole.
void ExplorerPanel::ShowRow(int row) {
    controls::TXAquaButton* button = ListRows[std::size_t(row)];
    const QFontMetrics metrics(button->Font()->ToQFont());
    const int room = button->Width() - 2 * button->TextBorderWidth();
    button->SetText(metrics.elidedText(RowCaption(RowEntry[std::size_t(row)]), Qt::ElideRight, room));
}

void ExplorerPanel::RefreshRows() {
    for (int row = 0; row < kRows; ++row)
        ShowRow(row);
}

void ExplorerPanel::DescribeRow(int row) {
    const int entry = RowEntry[row];
    QStringList words;
    if (entry < titles_.size()) words << plan::BreakMarkers(titles_[entry]);
    if (entry < texts_.size()) words << plan::BreakMarkers(texts_[entry]);
    words.removeAll(QString());
    ListRows[row]->SetAccessibleDescription(CaptionAsName(words.join(". "), false));
}

void ExplorerPanel::DescribeRows() {
    for (int row = 0; row < kRows; ++row)
        DescribeRow(row);
}

bool ExplorerPanel::ScrollByKey(int direction) {
    const int first = RowEntry[0];
    if (direction < 0 && first > 0)
        ShowRows(first - 1);
    else if (direction > 0 && first + kRows < kEntries)
        ShowRows(first + 1);
    else
        return false;
    for (int row = 0; row < kRows; ++row)
        if (ListRows[row]->hasFocus()) RowEnter(row);
    return true;
}

controls::TXAquaButton* ExplorerPanel::MakeDisplay(const TRect& bounds, bool plain) {
    auto* display = new controls::TXAquaButton(panel_);
    display->SetParent(panel_);
    display->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    SetAllFonts(display, -11);
    for (TFont* font : {display->Font(), display->MOverFont(), display->MDownFont()}) {
        font->SetColor(kDisplayText);
        font->SetStyle(plain ? 0u : unsigned(fsBold));
    }
    display->SetTopTextColor(kDisplayText);
    display->SetTopTextClOver(kDisplayText);
    display->SetTopTextClDown(kDisplayText);
    display->Init();
    display->SetWordWrap(true);
    display->SetTextBorderWidth(4);
    display->SetTextBorderHeight(2);
    display->SetTakeImg(true);
    TBitmap back, look;
    plan::CopyArea(background_, display->BoundsRect(), &back);
    if (plain)
        plan::PlainBitmap(&look, bounds.Width(), bounds.Height(), kDisplayFill);
    else
        look.Assign(&back);
    display->SetBackBmp(&back);
    display->SetBgBmp(&look);
    display->SetBgOverBmp(&look);
    display->SetBgDownBmp(&look);
    display->SetText(" ");
    return display;
}

void ExplorerPanel::ShowExplorerText(int entry) {
    if (entry < 0 || entry >= titles_.size() || entry >= texts_.size()) return;
    XplText->SetText(entry < EntryCaptions.size() ? EntryCaptions[entry] : " ");
    XplText2->SetText(plan::BreakMarkers(titles_[entry]));
    XplText3->SetText(plan::BreakMarkers(texts_[entry]));
}

void ExplorerPanel::RowEnter(int row) {
    ShowExplorerText(RowEntry[row]);
}

void ExplorerPanel::RowLeave() {
    int entry = host_.CurrentLesson();
    if (entry < 0 || LastEntry == kVideoEntry) entry = kVideoEntry;
    ShowExplorerText(entry);
}

void ExplorerPanel::BScrollUpMouseEnter() {
    ScrollUp = true;
    ScrollTimer->SetEnabled(true);
}

void ExplorerPanel::BScrollDownMouseEnter() {
    ScrollUp = false;
    ScrollTimer->SetEnabled(true);
}

void ExplorerPanel::BScrollMouseLeave() {
    ScrollTimer->SetEnabled(false);
}

void ExplorerPanel::ScrollTimerTimer() {
    const int first = RowEntry[0];
    if (ScrollUp && first > 0)
        ShowRows(first - 1);
    else if (!ScrollUp && first + kRows < kEntries)
        ShowRows(first + 1);
}

void ExplorerPanel::ShowRows(int first) {
    for (int row = 0; row < kRows; ++row) {
        RowEntry[row] = first + row;
        ShowRow(row);
        DescribeRow(row);
    }
}

// Turned up the list moves towards the first entry, as the scroll buttons
// do, a few entries per notch; it stops at either end.
void ExplorerPanel::ListMouseWheel(int steps) {
    const int first = std::clamp(RowEntry[0] - steps * kWheelRows, 0, kEntries - kRows);
    if (first != RowEntry[0]) ShowRows(first);
}

void ExplorerPanel::SelectExplorerEntry(int row) {
    const int entry = RowEntry[row];
    LastEntry = entry;
    if (entry == kVideoEntry) {
        host_.SetCurrentLesson(-1);
        host_.ClearLessonScreen();
        host_.ShowNoLessonScreen();
        if (!AnsiPathExists(introVideoPath_))
            host_.AskMessage("Video not found.",
                             "You can download the video from \n" + webSite_, "",
                             FromAnsi(DLL_GetCaption(1)));
    } else if (entry != host_.CurrentLesson()) {
        host_.SetCurrentLesson(entry);
        ExplorerLesson = entry;
        host_.OpenLesson();
    }
    if (!host_.VideoPlaying()) cues_.PlayClick(true, false);
}

} // namespace tools
