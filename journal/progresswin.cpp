#include "journal/progresswin.h"

#include "journal/journal.h"
#include "journal/progresscharts.h"
#include "platform/core/cp1252.h"
#include "platform/core/pathresolver.h"
#include "platform/ui/exceptions.h"
#include "platform/ui/jpegbitmap.h"
#include "sprachbank/sprachbank.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QStandardPaths>

namespace journal {

using namespace platform;

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
// The background's card: the window's content stays on it.
constexpr int kMargin = 30;
constexpr int kCardRight = 662;
constexpr int kGap = 10;
constexpr int kPanelsTop = 70;
constexpr int kPanelsBottom = 544;
constexpr int kTitleHeight = 20;
constexpr int kButtonTop = 552;
constexpr int kButtonHeight = 24;
constexpr const char* kBackground = "Bilder\\hintergrundA.jpg";
// The panels' frame colours, as the quiz draws its answer panels (0xBBGGRR).
constexpr TColor kFrameOuter = 7512020;
constexpr TColor kFrameInner = 6129341;
constexpr TColor kFrameLight = 10993114;
const QString kInk = "color: rgb(40, 52, 72);";

QString CaptionText(int number) {
    return FromAnsi(DLL_GetCaption(number));
}
QString MessageText(int number) {
    return FromAnsi(DLL_GetMessage(number));
}

QLabel* MakeLabel(QWidget* parent, int pixels, bool bold) {
    auto* label = new QLabel(parent);
    QFont font("Arial");
    font.setPixelSize(pixels);
    font.setBold(bold);
    label->setFont(font);
    label->setStyleSheet(kInk + " background: transparent;");
    return label;
}

// A button picture of the program's resources; a program built without
// them (a test) gets the fade button's own plain look.
void LoadLook(TBitmap* bitmap, const char* name) {
    try {
        bitmap->LoadFromResourceName(name);
    } catch (const Exception&) {
        bitmap->SetSize(0, 0);
    }
}

} // namespace

std::array<TRect, 4> TProgressWin::Panels() {
    const int middle = (kMargin + kCardRight) / 2;
    const int split = (kPanelsTop + kPanelsBottom) / 2;
    return {TRect(kMargin, kPanelsTop, middle - kGap / 2, split - kGap / 2),
            TRect(middle + kGap / 2, kPanelsTop, kCardRight, split - kGap / 2),
            TRect(kMargin, split + kGap / 2, middle - kGap / 2, kPanelsBottom),
            TRect(middle + kGap / 2, split + kGap / 2, kCardRight, kPanelsBottom)};
}

TProgressWin::TProgressWin(TComponent* owner, Journal* journal, std::string programFolder)
    : TForm(owner), journal_(journal), programFolder_(std::move(programFolder)) {
    SetName("ProgressWin");
    setWindowTitle(CaptionText(400));
    SetBounds(0, 0, kWidth, kHeight);
    SetPosition(poMainFormCenter);
    LoadBackground();

    LTitle = MakeLabel(this, 22, true);
    LTitle->setText(CaptionText(400));
    LTitle->setGeometry(kMargin, 22, 300, 30);
    LTotals = MakeLabel(this, 13, false);
    LTotals->setGeometry(kMargin + 200, 24, kCardRight - kMargin - 200, 20);
    LTotals->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    BuildPanels();

    LWelcome = MakeLabel(this, 16, false);
    LWelcome->setWordWrap(true);
    LWelcome->setAlignment(Qt::AlignCenter);
    LWelcome->setTextFormat(Qt::RichText);
    LWelcome->setGeometry(kMargin + 50, kPanelsTop + 40, kCardRight - kMargin - 100,
                          kPanelsBottom - kPanelsTop - 80);

    CbLadder = new QCheckBox(CaptionText(410), this);
    QFont font("Arial");
    font.setPixelSize(12);
    CbLadder->setFont(font);
    CbLadder->setStyleSheet(kInk + " background: transparent;");
    CbLadder->setGeometry(kMargin, kButtonTop + 3, 220, 20);
    connect(CbLadder, &QCheckBox::clicked, this, [this] { CbLadderClick(); });

    LStatus = MakeLabel(this, 11, false);
    LStatus->setGeometry(kMargin + 200, 44, kCardRight - kMargin - 200, 24);
    LStatus->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    BCsv = MakeButton("BCsv", 401, kCardRight - 130 - 8 - 90, 130);
    BCsv->OnClick = [this](TObject* sender) { BCsvClick(sender); };
    BClose = MakeButton("BClose", 402, kCardRight - 90, 90);
    BClose->OnClick = [this](TObject* sender) { BCloseClick(sender); };

    OnPaint = [this](TObject* sender) { FormPaint(sender); };
    OnKeyDown = [this](TObject* sender, WORD& key, TShiftState shift) {
        FormKeyDown(sender, key, shift);
    };
    ChooseCsvFile = [this] {
        return QFileDialog::getSaveFileName(this, MessageText(417), DefaultCsvFile(), "CSV (*.csv)");
    };
}

void TProgressWin::LoadBackground() {
    const std::string file = programFolder_ + kBackground;
    TBitmap picture;
    if (AnsiPathExists(file) && ReadJpegIntoBitmap(&picture, ResolveAnsiPath(file)))
        background_.Assign(picture.Image().scaled(kWidth, kHeight, Qt::IgnoreAspectRatio,
                                                  Qt::SmoothTransformation));
}

void TProgressWin::BuildPanels() {
    const auto panels = Panels();
    const int titles[4] = {403, 404, 405, 406};
    for (int i = 0; i < 4; ++i) {
        const TRect& r = panels[static_cast<std::size_t>(i)];
        QLabel* title = MakeLabel(this, 13, true);
        title->setText(CaptionText(titles[i]));
        title->setGeometry(r.Left + 10, r.Top + 6, r.Width() - 20, kTitleHeight);
        PanelTitles[static_cast<std::size_t>(i)] = title;

        auto* view = new QChartView(this);
        view->setRenderHint(QPainter::Antialiasing);
        view->setStyleSheet("background: transparent; border: none;");
        view->setGeometry(r.Left + 4, r.Top + 6 + kTitleHeight, r.Width() - 8,
                          r.Height() - 10 - kTitleHeight);
        Charts[static_cast<std::size_t>(i)] = view;

        QLabel* empty = MakeLabel(this, 13, false);
        empty->setWordWrap(true);
        empty->setAlignment(Qt::AlignCenter);
        empty->setGeometry(r.Left + 24, r.Top + 30, r.Width() - 48, r.Height() - 50);
        EmptyTexts[static_cast<std::size_t>(i)] = empty;
    }
}

controls::TXFadeButton* TProgressWin::MakeButton(const QString& name, int caption, int left,
                                                 int width) {
    auto* button = controls::MakeCaptionButton(this, this, name);
    TBitmap normal, over, down;
    LoadLook(&normal, "RBUTTON");
    LoadLook(&over, "RBUTTONOVER");
    LoadLook(&down, "RBUTTONDOWN");
    // The course's button pictures, drawn out to the width the caption needs.
    for (TBitmap* look : {&normal, &over, &down})
        if (!look->Empty())
            look->Assign(look->Image().scaled(width, kButtonHeight, Qt::IgnoreAspectRatio,
                                              Qt::SmoothTransformation));
    button->SetTakeImg(true);
    button->SetBounds(left, kButtonTop, width, kButtonHeight);
    button->SetIsRoundRect(true);
    if (!normal.Empty()) {
        button->SetBgBmp(&normal);
        button->SetBgOverBmp(&over);
        button->SetBgDownBmp(&down);
    }
    button->SetText(CaptionText(caption));
    return button;
}

// ---- showing -------------------------------------------------------------------------------

void TProgressWin::ShowProgress() {
    JournalSummary summary;
    if (journal_ != nullptr) {
        journal_->Flush(500);
        summary = journal_->Summary();
        CbLadder->setChecked(journal_->LadderOn());
    }
    ShowSummary(summary);
    // Nothing to show may mean a journal that cannot be read just now.
    const bool unreadable = journal_ == nullptr || (!journal_->Writing() && summary.Empty());
    LStatus->setText(unreadable ? MessageText(416) : QString());
    Show();
    raise();
    activateWindow();
}

void TProgressWin::ShowSummary(const JournalSummary& summary) {
    empty_ = summary.Empty();
    LWelcome->setVisible(empty_);
    LTotals->setVisible(!empty_);
    if (empty_) {
        LWelcome->setText("<p style='font-size:22px'><b>" + MessageText(408).toHtmlEscaped() +
                          "</b></p><p>" + MessageText(409).toHtmlEscaped() + "</p>");
        for (int i = 0; i < 4; ++i) {
            PanelTitles[static_cast<std::size_t>(i)]->hide();
            ShowPanel(i, nullptr, QString());
        }
        Invalidate();
        return;
    }
    LTotals->setText(MessageText(410)
                         .arg(TotalHours(summary))
                         .arg(TotalMinutesPastHour(summary))
                         .arg(summary.DaysPractised));
    for (QLabel* title : PanelTitles) title->show();
    PanelTitles[0]->setText(CaptionText(403) + "   " + DaysShown(summary));
    ShowPanel(0, MinutesChart(summary), MessageText(413));
    ShowPanel(1, LevelsChart(summary), MessageText(413));
    ShowPanel(2, QuizChart(summary), MessageText(411));
    ShowPanel(3, ScoresChart(summary), MessageText(412));
    Invalidate();
}

// A chart, or the text that stands for it.
void TProgressWin::ShowPanel(int panel, QChart* chart, const QString& emptyText) {
    QChartView* view = Charts[static_cast<std::size_t>(panel)];
    QChart* old = view->chart();
    if (chart != nullptr) {
        view->setChart(chart);
    } else {
        view->setChart(new QChart());
    }
    delete old;
    view->setVisible(chart != nullptr);
    QLabel* text = EmptyTexts[static_cast<std::size_t>(panel)];
    text->setText(emptyText);
    text->setVisible(chart == nullptr && !emptyText.isEmpty());
}

// ---- handlers -------------------------------------------------------------------------------

QString TProgressWin::DefaultCsvFile() const {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
    return QDir(folder).filePath("zupfari-journal.csv");
}

void TProgressWin::BCsvClick(TObject*) {
    if (journal_ == nullptr) return;
    const QString file = ChooseCsvFile ? ChooseCsvFile() : QString();
    if (file.isEmpty()) return;
    QString error;
    if (journal_->ExportCsv(file, &error))
        LStatus->setText(MessageText(414).arg(QDir::toNativeSeparators(file)));
    else
        LStatus->setText(MessageText(415).arg(QDir::toNativeSeparators(file)));
}

void TProgressWin::BCloseClick(TObject*) {
    Hide();
}

void TProgressWin::CbLadderClick() {
    if (journal_ != nullptr) journal_->SetLadderOn(CbLadder->isChecked());
}

void TProgressWin::FormKeyDown(TObject*, WORD& key, TShiftState) {
    if (key == VK_ESCAPE) {
        key = 0;
        BCloseClick(BClose);
    } else if (key == VK_F4) {
        // Alt+F4 closes this window, never the program.
        key = 0;
        BCloseClick(BClose);
    }
}

// ---- painting -----------------------------------------------------------------------------

void TProgressWin::FormPaint(TObject*) {
    TCanvas* canvas = Canvas();
    if (!background_.Empty())
        canvas->Draw(0, 0, &background_);
    else {
        canvas->Brush()->SetColor(0xF4E8DC);
        canvas->FillRect(ClientRect());
    }
    if (empty_) {
        DrawPanel(TRect(kMargin, kPanelsTop, kCardRight, kPanelsBottom));
        return;
    }
    for (const TRect& panel : Panels()) DrawPanel(panel);
}

// A white panel with the quiz's bevelled frame.
void TProgressWin::DrawPanel(const TRect& r) {
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Pen()->SetColor(kFrameOuter);
    canvas->Brush()->SetColor(kFrameOuter);
    canvas->FrameRect(r);
    canvas->Brush()->SetColor(clWhite);
    canvas->Pen()->SetColor(kFrameInner);
    canvas->Rectangle(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    canvas->MoveTo(r.Left + 1, r.Top + 2);
    canvas->LineTo(r.Right - 1, r.Top + 2);
    canvas->MoveTo(r.Left + 2, r.Top + 1);
    canvas->LineTo(r.Left + 2, r.Bottom - 1);
    canvas->Pen()->SetColor(kFrameLight);
    canvas->MoveTo(r.Left + 3, r.Bottom - 2);
    canvas->LineTo(r.Right - 2, r.Bottom - 2);
    canvas->MoveTo(r.Right - 2, r.Top + 3);
    canvas->LineTo(r.Right - 2, r.Bottom - 2);
}

} // namespace journal
