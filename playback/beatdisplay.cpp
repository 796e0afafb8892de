#include "playback/beatdisplay.h"

#include "platform/core/clock.h"
#include "platform/ui/controls.h"

#include <QFontMetrics>
#include <algorithm>
#include <utility>

namespace playback {

using namespace platform;

namespace {

// Segments a beat that comes while the column drains lights again (3 to 0).
constexpr int kRefillFrom = 3;
constexpr int kDefaultTempo = 120;

} // namespace

int LedDelayAtOpen(int tempo) {
    return static_cast<int>((150 - tempo) * 0.2 + 19);
}

int LedDelayAtPlay(int tempo) {
    return static_cast<int>((150 - tempo) * 0.2 + 16);
}

// ---- LedBeat -----------------------------------------------------------------

LedBeat::LedBeat(const LedColumn& column) : column_(column) {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Drain(); });
}

int LedBeat::SegmentTop(int i) const {
    const int step = column_.Dark->Height() + 2;
    return column_.LedTop + 2 + step * i;
}

void LedBeat::DrawSegment(const TBitmap* look, int i) {
    column_.Canvas->Draw(column_.LedLeft + 2, SegmentTop(i), look);
}

void LedBeat::Fill(int from) {
    for (int i = from; i >= 0; --i) DrawSegment(column_.Light, i);
}

// The top segment goes dark as soon as the column is full; the others
// follow one every SegmentDelay ms.
void LedBeat::Beat() {
    TCanvas::ChangeBatch together(column_.Canvas); // the column lights in one picture
    Fill(draining_ ? kRefillFrom : SegmentCount - 1);
    draining_ = true;
    next_ = 0;
    Drain();
    timer_.start(SegmentDelay);
}

void LedBeat::Drain() {
    if (!draining_) return;
    DrawSegment(column_.Dark, next_);
    next_ += 1;
    if (next_ < SegmentCount) return;
    draining_ = false;
    timer_.stop();
}

void LedBeat::Stop() {
    timer_.stop();
    draining_ = false;
}

// ---- PreRoll -----------------------------------------------------------------

PreRoll::PreRoll(const LedColumn& column) : column_(column) {
    Now = [] { return platform::timeGetTime(); };
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Advance(); });
}

void PreRoll::Start(int tempo, int countInBeats, std::function<void()> done) {
    Cancel();
    beatMs_ = 60000u / static_cast<std::uint32_t>(tempo > 0 ? tempo : kDefaultTempo);
    changes_ = 2 * countInBeats + 1;
    made_ = 0;
    light_ = false;
    done_ = std::move(done);
    running_ = true;
    start_ = Now();
    Advance();
}

void PreRoll::Cancel() {
    timer_.stop();
    running_ = false;
    done_ = nullptr;
}

// Change i comes (beat x i) / 4 ms after the start, in whole milliseconds
// as the division gives them.
void PreRoll::Advance() {
    if (!running_) return;
    const auto due = [this] { return beatMs_ * static_cast<std::uint32_t>(made_) / 4; };
    std::uint32_t elapsed = Now() - start_;
    while (made_ < changes_ && elapsed >= due()) {
        light_ = !light_;
        column_.Canvas->Draw(column_.LedLeft + 2, column_.LedTop + 101,
                             light_ ? column_.Light : column_.Dark);
        made_ += 1;
        elapsed = Now() - start_;
    }
    if (made_ < changes_) {
        timer_.start(static_cast<int>(due() - elapsed));
        return;
    }
    running_ = false;
    const std::function<void()> done = std::exchange(done_, nullptr);
    if (done) done();
}

// ---- CountInDigit ------------------------------------------------------------

namespace {

constexpr int kDigitHeight = -140;  // pixels of the font's character height
constexpr int kPlatePadding = 10;
constexpr TColor kDigitInk = RGB(0xD9, 0x62, 0x2B);   // the course's accent
constexpr TColor kPlateFill = RGB(0xFB, 0xF6, 0xEA);  // light cream
constexpr int kPlateBorder = 2;

} // namespace

CountInDigit::CountInDigit() {
    Font.SetName("Arial");
    Font.SetHeight(kDigitHeight);
    Font.SetStyle(fsBold);
    Font.SetColor(kDigitInk);
    Size();
}

// The plate is as high as the digits themselves (not the font's whole text
// cell) and as wide as the widest digit, with a margin round them.
void CountInDigit::Size() {
    const QFontMetrics metrics(Font.ToQFont());
    const QRect glyphs = metrics.tightBoundingRect("0123456789");
    int width = 0;
    for (char digit = '0'; digit <= '9'; ++digit)
        width = std::max(width, metrics.horizontalAdvance(QChar(digit)));
    glyphTop_ = metrics.ascent() + glyphs.top();
    Background.SetSize(width + 2 * kPlatePadding, glyphs.height() + 2 * kPlatePadding);
    Work.SetSize(Background.Width(), Background.Height());
}

void CountInDigit::SaveBackground(TCanvas* canvas, TPoint place) {
    const int w = Background.Width(), h = Background.Height();
    Background.Canvas()->CopyRect(TRect(0, 0, w, h), canvas,
                                  TRect(place.X, place.Y, place.X + w, place.Y + h));
}

void CountInDigit::Show(TCanvas* canvas, TPoint place, int number) {
    TCanvas* work = Work.Canvas();
    const int w = Work.Width(), h = Work.Height();
    work->Draw(0, 0, &Background);
    work->Brush()->SetStyle(bsSolid);
    work->Brush()->SetColor(kDigitInk);
    work->FillRect(TRect(0, 0, w, h));
    work->Brush()->SetColor(kPlateFill);
    work->FillRect(TRect(kPlateBorder, kPlateBorder, w - kPlateBorder, h - kPlateBorder));
    work->Font()->Assign(&Font);
    work->Brush()->SetStyle(bsClear);
    const QString digit = QString::number(number).left(1);
    work->TextOut((w - work->TextWidth(digit)) / 2, kPlatePadding - glyphTop_, digit);
    canvas->Draw(place.X, place.Y, &Work);
    if (Cover != nullptr) {
        Cover->Picture()->Assign(&Work);
        Cover->SetBounds(place.X, place.Y, w, h);
        Cover->SetVisible(true);
        Cover->raise(); // above labels the lesson screen made after it
        Cover->Repaint();
    }
}

void CountInDigit::Restore(TCanvas* canvas, TPoint place) {
    RestorePlate(canvas, place);
    Uncover();
}

void CountInDigit::RestorePlate(TCanvas* canvas, TPoint place) {
    canvas->Draw(place.X, place.Y, &Background);
}

void CountInDigit::Uncover() {
    if (Cover != nullptr) Cover->SetVisible(false);
}

} // namespace playback
