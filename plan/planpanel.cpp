#include "plan/planpanel.h"

#include "layout/screenlayout.h"
#include "platform/core/cp1252.h"
#include "platform/core/pathresolver.h"
#include "platform/ui/region.h"
#include "sprachbank/sprachbank.h"

#include <QRegularExpression>
#include <algorithm>

namespace plan {

using namespace platform;

namespace {

constexpr TColor kButtonFill = 0xFFEEEE; // 0xBBGGRR: a pale blue
// The plan's own buttons take no share of the wood behind them.
constexpr int kPlanButtonTransparency = 0;
constexpr TColor kButtonInk = RGB(0x3B, 0x2A, 0x1E);
constexpr TColor kFaceOverTop = RGB(0xFF, 0xFC, 0xF4);
constexpr TColor kFaceTop = RGB(0xFB, 0xF6, 0xEA);
constexpr TColor kFaceBottom = RGB(0xE6, 0xC9, 0x98);
constexpr TColor kFaceRim = RGB(0x4A, 0x2F, 0x1B);

// A key's face: a vertical blend from `top` to `bottom` inside a dark rim.
void KeyFace(TBitmap* face, int width, int height, TColor top, TColor bottom) {
    face->SetSize(width, height);
    TCanvas* canvas = face->Canvas();
    for (int y = 0; y < height; ++y) {
        const int share = height > 1 ? 255 * y / (height - 1) : 0;
        auto mix = [share](int a, int b) { return (a * (255 - share) + b * share) / 255; };
        const TColor colour = RGB(mix(GetRValue(top), GetRValue(bottom)),
                                  mix(GetGValue(top), GetGValue(bottom)),
                                  mix(GetBValue(top), GetBValue(bottom)));
        canvas->Pen()->SetColor(colour);
        canvas->MoveTo(0, y);
        canvas->LineTo(width, y);
    }
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(kFaceRim);
    canvas->FrameRect(Rect(0, 0, width, height));
}
constexpr const char* kBackground = "Bilder\\UeplanBG.jpg";
constexpr const char* kRefusalCue = "ClickSounds\\oh.wav";
// The pass dots stand under the row's number, smaller than its text.
constexpr int kDotsBelowNumber = 14;
constexpr int kDotsHeight = -9;
constexpr int kRestartLeft = 24;
// "Fortschritt" (the progress window): above the select buttons' column.
constexpr QPoint kProgressButton{layout::PlanSelectLeft, 34};

QString Caption(int number) {
    return FromAnsi(DLL_GetCaption(number));
}
QString Message(int number) {
    return FromAnsi(DLL_GetMessage(number));
}

} // namespace

// ------------------------------------------------------------ shared helpers

QString BreakMarkers(const QString& text) {
    static const QRegularExpression marker("\\$n", QRegularExpression::CaseInsensitiveOption);
    return QString(text).replace(marker, "\n");
}

void PlainBitmap(TBitmap* bitmap, int width, int height, TColor colour) {
    bitmap->SetSize(width, height);
    bitmap->Canvas()->Brush()->SetColor(colour);
    bitmap->Canvas()->FillRect(Rect(0, 0, width, height));
}

void CopyArea(const TBitmap& source, const TRect& area, TBitmap* target) {
    target->SetSize(area.Width(), area.Height());
    // Reading through the canvas leaves the source as it is.
    TCanvas* from = const_cast<TBitmap&>(source).Canvas();
    target->Canvas()->CopyRect(Rect(0, 0, area.Width(), area.Height()), from, area);
}

void DressToolPanel(TPanel* panel, TImage* picture, PanelHost& host, const char* pictureName,
                    TBitmap* background) {
    const std::string file = host.ProgramFolder() + pictureName;
    picture->SetParent(panel);
    picture->SetBounds(0, 0, panel->Width(), panel->Height());
    host.LoadPictureInto(picture, file);
    // The panel takes the picture's size; without the picture it keeps its own.
    if (AnsiPathExists(file))
        panel->SetBounds(panel->Left(), panel->Top(), picture->Width(), picture->Height());
    picture->SetStretch(true);
    picture->SetBounds(0, 0, panel->Width(), panel->Height());
    SetWindowRgn(panel,
                 CreateRoundRectRgn(0, 0, panel->Width() + 1, panel->Height() + 1,
                                    layout::DialogCornerEllipse, layout::DialogCornerEllipse),
                 true);
    background->SetSize(panel->Width(), panel->Height());
    background->Canvas()->StretchDraw(Rect(0, 0, panel->Width(), panel->Height()),
                                      picture->Picture());
    picture->Picture()->Assign(background);
}

void StylePanelButton(controls::TXAquaButton* button, const TBitmap& background, int transparency) {
    button->SetCursor(crHandPoint);
    button->Pen()->SetStyle(psSolid);
    button->Font()->SetName("Arial");
    button->MOverFont()->SetName("Arial");
    button->MDownFont()->SetName("Arial");
    button->Init();
    button->SetTakeImg(true);
    button->SetTransparency(transparency);
    TBitmap back, normal, white;
    CopyArea(background, button->BoundsRect(), &back);
    PlainBitmap(&normal, button->Width(), button->Height(), kButtonFill);
    PlainBitmap(&white, button->Width(), button->Height(), clWhite);
    button->SetBackBmp(&back);
    button->SetBgBmp(&normal);
    button->SetBgOverBmp(&white);
    button->SetBgDownBmp(&white);
}

// ---------------------------------------------------------------- the panel

PlanPanel::PlanPanel(TPanel* panel, PanelHost& host, ListStore& lists, playback::SoundCues& cues,
                     const QStringList& titles)
    : panel_(panel), host_(host), lists_(lists), cues_(cues), titles_(titles) {}

void PlanPanel::BuildPlanPanel() {
    ImgUeplanBG = new TImage(panel_);
    ImgUeplanBG->SetName("ImgUeplanBG");
    DressToolPanel(panel_, ImgUeplanBG, host_, kBackground, &background_);
    // A screen reader sees the rows as one list of lessons; the arrow keys
    // go from row to row.
    Rows = new TControlList(panel_, true);
    Rows->SetName(Caption(11));
    for (int row = 0; row < kRows; ++row)
        BuildRow(row);
    const int top = panel_->Height() - layout::PlanButton.height() - 22;
    BNext = MakeButton(SelectButtons[0]->Left(), top, Caption(18));
    BNext->SetName("BNext");
    BNext->OnClick = [this](TObject*) { BNextClick(); };
    // Starting over stands apart from "Neue Übung", at the panel's far side,
    // so that neither is pressed for the other.
    BVonVorn = MakeButton(kRestartLeft, top, Caption(17));
    BVonVorn->SetName("BVonVorn");
    BVonVorn->OnClick = [this](TObject*) { BVonVornClick(); };
    BFortschritt = MakeButton(kProgressButton.x(), kProgressButton.y(),
                              Caption(400));
    BFortschritt->SetName("BFortschritt");
    BFortschritt->OnClick = [this](TObject*) { BFortschrittClick(); };
}

void PlanPanel::BuildRow(int row) {
    const int top = layout::PlanFirstRowTop + layout::PlanRowStep * row;
    auto makeLabel = [this, top](int left) {
        auto* label = new controls::TLabelFX(panel_);
        label->SetParent(panel_);
        label->SetTransparent(true);
        label->SetShowAccelChar(false);
        label->Font()->SetColor(clWhite);
        label->Font()->SetStyle(fsBold);
        label->SetLeft(left);
        label->SetTop(top);
        return label;
    };
    NumberLabels[row] = makeLabel(layout::PlanNumberLeft);
    TitleLabels[row] = makeLabel(layout::PlanTitleLeft);
    PassDots[row] = makeLabel(layout::PlanNumberLeft);
    PassDots[row]->SetTop(top + kDotsBelowNumber);
    PassDots[row]->Font()->SetHeight(kDotsHeight);
    PassDots[row]->SetHint(Caption(603).arg(0).arg(ListStore::kQuizPasses));
    SelectButtons[row] = MakeButton(layout::PlanSelectLeft, top, Caption(19));
    SelectButtons[row]->SetTag(row);
    // The row's entry in the list carries its number and title.
    NumberLabels[row]->SetAccessibleRole(arHidden);
    TitleLabels[row]->SetAccessibleRole(arHidden);
    Rows->Add(SelectButtons[row]);
    SelectButtons[row]->OnClick = [this](TObject* sender) { SelectPlanEntry(sender); };
}

// The plan's buttons look like the keys they are: a raised cream face with
// a dark rim and the caption in bold ink, lighter under the mouse.
controls::TXAquaButton* PlanPanel::MakeButton(int left, int top, const QString& caption) {
    auto* button = new controls::TXAquaButton(panel_);
    button->SetParent(panel_);
    button->SetBounds(left, top, layout::PlanButton.width(), layout::PlanButton.height());
    button->SetText(caption);
    StylePanelButton(button, background_, kPlanButtonTransparency);
    for (TFont* font : {button->Font(), button->MOverFont(), button->MDownFont()}) {
        font->SetStyle(fsBold);
        font->SetColor(kButtonInk);
    }
    button->SetTopTextColor(kButtonInk);
    button->SetTopTextClOver(kButtonInk);
    button->SetTopTextClDown(kButtonInk);
    button->Init();
    TBitmap face;
    const int w = button->Width(), h = button->Height();
    KeyFace(&face, w, h, kFaceTop, kFaceBottom);
    button->SetBgBmp(&face);
    KeyFace(&face, w, h, kFaceOverTop, kFaceTop);
    button->SetBgOverBmp(&face);
    KeyFace(&face, w, h, kFaceBottom, kFaceTop);
    button->SetBgDownBmp(&face);
    return button;
}

QString PlanPanel::RowName(int lesson, const QString& title) {
    QString number = Caption(20) + " " + QString::number(lesson);
    if (lesson == 0) number = Caption(21);
    if (lesson == ListStore::kLessonCount - 1) number = Caption(22);
    return title.isEmpty() ? number : number + ": " + title;
}

QString PlanPanel::PlanTitle(const QString& title) {
    return BreakMarkers(title);
}

QString PlanPanel::PassDotsText(int playCount) {
    const int passes = std::clamp(playCount, 0, ListStore::kQuizPasses);
    return QString(passes, QChar(0x25CF)) + QString(ListStore::kQuizPasses - passes, QChar(0x25CB));
}

void PlanPanel::RefreshPlanPanel() {
    for (int row = 0; row < kRows; ++row) {
        const int lesson = lists_.Plan[row].Lesson;
        if (lesson < 0 || lesson >= ListStore::kLessonCount) {
            NumberLabels[row]->SetCaption("---");
            TitleLabels[row]->SetCaption("---");
            PassDots[row]->Hide();
            SelectButtons[row]->Hide();
            continue;
        }
        NumberLabels[row]->SetCaption(QString::number(lesson));
        const int passes = std::clamp(lists_.Plan[row].PlayCount, 0, ListStore::kQuizPasses);
        PassDots[row]->SetCaption(PassDotsText(passes));
        PassDots[row]->SetHint(Caption(603).arg(passes).arg(ListStore::kQuizPasses));
        PassDots[row]->Show();
        TitleLabels[row]->SetCaption(lesson < titles_.size() ? PlanTitle(titles_[lesson]) : "");
        SelectButtons[row]->SetAccessibleName(RowName(lesson, TitleLabels[row]->PresentedName()));
        SelectButtons[row]->SetAccessibleDescription(Caption(19));
        SelectButtons[row]->Show();
    }
}

void PlanPanel::SelectPlanEntry(TObject* sender) {
    if (host_.VideoPlaying()) return;
    cues_.PlayClick(true, false);
    auto* button = dynamic_cast<controls::TXAquaButton*>(sender);
    if (button == nullptr) return;
    const int row = button->Tag();
    if (row < 0 || row >= kRows) return;
    const int lesson = lists_.Plan[row].Lesson;
    if (lesson == -1 || lesson == host_.CurrentLesson()) return;
    lists_.CurrentEntry = row;
    host_.SetCurrentLesson(lesson);
    host_.OpenLesson();
}

void PlanPanel::PlayRefusal() {
    cues_.PlayNamedCue(host_.ProgramFolder() + kRefusalCue, true, false);
}

void PlanPanel::BNextClick() {
    host_.SetOpenedFromLessonScreen(false);
    if (!lists_.PlanHasRoom()) {
        PlayRefusal();
        host_.AskMessage(Message(15), Message(16), "", Caption(1));
        return;
    }
    const int previous = host_.CurrentLesson();
    host_.SetPreviousLesson(previous);
    const int next = lists_.FirstWaiting();
    if (next == -1) {
        host_.SetCurrentLesson(previous);
        PlayRefusal();
        host_.AskMessage(Message(2), Message(20), "", Caption(1));
        return;
    }
    host_.SetCurrentLesson(next);
    cues_.PlayClick(true, false);
    lists_.SetIntroMode();
    host_.OpenSlidesA();
}

void PlanPanel::BRemoveClick() {
    lists_.RemoveFromPlan(lists_.CurrentEntry);
}

void PlanPanel::BVonVornClick() {
    if (host_.MediaPlayerPlaying()) host_.StopTransport();
    cues_.PlayClick(true, false);
    if (host_.AskMessage(Message(17), Message(18), Caption(4), Caption(3)) != 1) return;
    if (host_.AskMessage(Message(1), Message(19), Caption(2), Caption(1)) != 1) return;
    BVonVorn->Hide();
    host_.ResetCourse();
}

void PlanPanel::SetJournal(journal::Journal* journal) {
    journal_ = journal;
    if (ProgressWin != nullptr) ProgressWin->SetJournal(journal);
}

void PlanPanel::BFortschrittClick() {
    if (host_.VideoPlaying()) return;
    cues_.PlayClick(true, false);
    if (ProgressWin == nullptr)
        ProgressWin = new journal::TProgressWin(panel_, journal_, host_.ProgramFolder());
    ProgressWin->ShowProgress();
}

} // namespace plan
