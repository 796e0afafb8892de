#include "app/mainwindow.h"

#include "app/fbeenden.h"
#include "app/msgwin.h"
#include "app/progresssaver.h"
#include "layout/screenlayout.h"
#include "lessons/registrydata.h"
#include "app/shellservices.h"
#include "app/skinerrors.h"
#include "app/startcount.h"
#include "app/testswitches.h"
#include "platform/core/cp1252.h"
#include "platform/core/files.h"
#include "platform/core/folders.h"
#include "platform/core/pathresolver.h"
#include "platform/ui/application.h"
#include "platform/ui/exceptions.h"
#include "platform/ui/shell.h"
#include "platform/ui/sound.h"
#include "sprachbank/sprachbank.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace app {

using namespace platform;

TForm1* Form1 = nullptr;

namespace {

constexpr int kSmallScreenHeight = 600;

} // namespace

// ============================================================ construction

TForm1::TForm1(TComponent* owner, ShellServices services)
    : TForm(owner), services_(std::move(services)) {
    SetName("Form1");
    SetPosition(poScreenCenter);
    SetKeyPreview(true);
    // The start screen first, so that the learner sees it at once; the
    // window's own controls are made while it shows.
    PrepareFolders();
    CreateWindowControls();
    CreateOwnedObjects();
    SetUpPanelsAndLists();
    Access = std::make_unique<MainWindowAccess>(*this);
    Access->DescribeControls();
    SetStartState();
    ConnectFormHandlers();
    FormCreate(this);
    Start->WindowBuilt();
}

// The form resource's controls, the window's timer and menu, and the
// handlers of its buttons.
void TForm1::CreateWindowControls() {
    CreateControls(this);
    SoundMenu = std::make_unique<SoundDeviceMenu>(this, Midi(), LSoundcard);
    ConnectButtons();
}

void TForm1::ConnectButtons() {
    BHilfe->OnClick = [this](TObject* sender) { BHilfeClick(sender); };
    BBeenden->OnClick = [this](TObject* sender) { BBeendenClick(sender); };
    BLogo->OnClick = [this](TObject* sender) { BLogoClick(sender); };
    BVideoStop->OnClick = [this](TObject* sender) { BVideoStopClick(sender); };
    BKontrolle->OnClick = [this](TObject* sender) { BKontrolleClick(sender); };
    BStimm->OnClick = [this](TObject* sender) { BStimmClick(sender); };
    BPlay->OnClick = [this](TObject* sender) { BPlayClick(sender); };
    BPause->OnClick = [this](TObject* sender) { BPauseClick(sender); };
    BStop->OnClick = [this](TObject* sender) { BStopClick(sender); };
    LSoundcard->OnClick = [this](TObject* sender) { LSoundcardClick(sender); };
    BWeiter->OnClick = [this](TObject* sender) { BWeiterClick(sender); };
}

// Text fields, folders, the list store, the settings file, the start screen.
void TForm1::PrepareFolders() {
    ImportantFilesPresent = true;
    SplitProgramFile();
    Lists = std::make_unique<plan::ListStore>();
    CreateStartScreen();
}

// The window's size, worker threads, play cursor, lists, skin loader, sound
// cues and the look. The window paints into its own surface, so erasing the
// background needs no interception.
void TForm1::CreateOwnedObjects() {
    SetBounds(Left(), Top(), layout::MainWindow.width(), layout::MainWindow.height());
    Clock = std::make_unique<playback::ClockDisplay>(LClock, LDate);
    CreateTransport();
    Skin = std::make_unique<lessons::SkinLoader>(this);
    Skin->SetContent(Content);
    ReportPictureErrors(*Skin);
    Cues = std::make_unique<playback::SoundCues>(Places->ProgramFolder);
    Videos = std::make_unique<VideoDesk>(*this, this, Places->ProgramFolder, VideoDesk::Hooks{
        [this] { BStopClick(this); },
        [this](const QString& title, const QString& body, const QString& cancel, const QString& ok) {
            return AskMessage(title, body, cancel, ok);
        },
        [this] { ShowGreetingScreen(); }});
    Leaving = std::make_unique<LeavingSequence>(*this, LeavingSequence::Hooks{
        [this] { Videos->StopForLeaving(*Video); if (Transport->Busy()) BStopClick(BStop); },
        [this] { Cues->PlayClick(true, false); }, app::AskMessage,
        [this] { ShellOpen(Places->WebSiteAddress); },
        [](bool shown) { if (FBeenden != nullptr) shown ? FBeenden->Show() : FBeenden->Hide(); },
        [this] { ProgressSaver(*Lists, Places->DataFolder, ProgramOnCdRom(), app::AskMessage).SaveBeforeLeaving(); }});
    Videos->Delay->OnTimer = [this](TObject* sender) { Timer2Timer(sender); };
    Video = std::make_unique<VideoShow>(*Videos, Midi(), VideoPanel);
    CreateMainScreen();
    SetUpSkin();
}

// The course session (tutorial mode, no lesson, the registry's tables), the
// panels, tempo level 1 and the stored lists.
void TForm1::SetUpPanelsAndLists() {
    Course = std::make_unique<lessons::CourseSession>(*Lists, *Cues, *this, Places->ProgramFolder,
                                                      DLL_GetLanguage());
    Transport->AddObserver(Course.get());
    Practice = std::make_unique<PracticeJournal>(
        [this](const QString& title, const QString& body, const QString& cancel, const QString& ok) {
            return AskMessage(title, body, cancel, ok);
        },
        [this](journal::Journal* journal) {
            if (Tools && Tools->PlanView) Tools->PlanView->SetJournal(journal);
            if (Course) Course->SetJournal(journal);
        });
    Transport->AddObserver(&Practice->Passes);
    PlayAlong = std::make_unique<tools::PlayAlongPanel>(this, Canvas(), *Transport, services_.MidiEngine(), Practice->Journal,
                                                        Places->DataFolder + "zupfaripref.ini");
    LModusAnzeige->SetCaption("Tutorial");
    SetUpToolColumn();
    Keys->Reset();
    ReadStoredLists();
    if (ImportantFilesPresent) RefreshPlanPanel();
}

// No lesson yet, the flags, the date, the taskbar, the start count and the
// intro video.
void TForm1::SetStartState() {
    DisableTransport();
    BVideoStop->Hide();
    ClearLessonScreen();
    Video->Playing = Videos->Pending = false;
    Leaving->Reset();
    LDate->SetCaption(playback::ShortDateToday()); // the clock keeps it from its start
    HideTaskbarOnSmallScreen();
    Places->CountStart(!ProgramOnCdRom());
    ChooseIntroVideo();
}

void TForm1::ConnectFormHandlers() {
    // The first showing's work (question, greeting screen) runs once the
    // window is on the screen, so that the learner sees the window first;
    // like every handler it reports its errors in the standard display.
    OnShow = [this](TObject* sender) {
        QTimer::singleShot(0, this,
                           [this, sender] { GuardedCall(this, [&] { FormShow(sender); }); });
    };
    OnPaint = [this](TObject* sender) { FormPaint(sender); };
    OnCloseQuery = [this](TObject* sender, bool& canClose) { FormCloseQuery(sender, canClose); };
    OnKeyDown = [this](TObject* sender, WORD& key, TShiftState shift) {
        FormKeyDown(sender, key, shift);
    };
}

TForm1::~TForm1() {
    TearDown();
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::SplitProgramFile() {
    const std::string folder = services_.Folder();
    Places = std::make_unique<ProgramPlaces>(folder, DLL_GetLanguage());
    Content = ContentPaths(Places->ProgramFolder);
    // Every content file is looked for in the edition's overlay folder first.
    const QString programFolder = QString::fromStdString(folder);
    platform::SetContentOverlay(programFolder, lessons::CourseEdition(DLL_GetLanguage()) == 0
                                                   ? QString()
                                                   : QDir(programFolder).filePath(lessons::kEnglishEditionFolder));
}

void TForm1::CreateStartScreen() {
    Start = std::make_unique<StartSequence>(this, [this] { return SoundMenu && SoundMenu->Chosen; }, [this] {
        Show();
        ReportTestTime("mainwindow");
    });
    Start->ShowStartScreen(new TStartScreen(this, Places->ProgramFolder, Places->WebSiteAddress,
                                            [this](TImage* picture, const std::string& file) { LoadPicture(picture, file); }));
    ReportTestTime("startscreen");
}

void TForm1::ReadStoredLists() {
    if (!Lists->ReadStoredLists(Places->DataFolder, Places->ProgramFolder)) ImportantFilesPresent = false;
    Tools->ReadExplorerTexts();
}

// The platform has no taskbar that a program may hide: the wish is kept, so
// that the program behaves the same, and nothing else happens.
void TForm1::HideTaskbarOnSmallScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen != nullptr && screen->geometry().height() <= kSmallScreenHeight)
        TaskbarShown = false;
}

void TForm1::ChooseIntroVideo() {
    const int firstWaiting = Lists->FirstWaiting();
    const bool courseGoesOn = firstWaiting >= 0 || Lists->Plan[0].Lesson >= 0;
    Videos->ChooseVideo(courseGoesOn);
    BVonVorn->SetVisible(firstWaiting != 0);
}

bool TForm1::ProgramOnCdRom() const { return services_.ProgramOnCdRom(); }

playback::ExerciseEngine& TForm1::Midi() const { return services_.MidiEngine(); }

// ============================================================== FormCreate

void TForm1::FormCreate(TObject*) {
    Midi().InitWin(QApplication::instance());
    StartSoundDeviceChoice();
    Help = std::make_unique<HelpDesk>(Places->ProgramFolder, Places->HelpFileName);
}

// ============================================================ sound device

void TForm1::LSoundcardClick(TObject*) {
    SoundMenu->PopupSoundcard->Popup(LSoundcard->Left() + Left(), LSoundcard->Top() + Top());
}

void TForm1::PopupSoundcardItemClick(TObject* sender) {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (item == nullptr) return;
    BStopClick(sender);
    SoundMenu->ChooseEntry(item->MenuIndex());
}

// ============================================================ start screen

void TForm1::StartScreenTimerTimer(TObject*) {
    Start->TimeUp();
}

void TForm1::BLogoClick(TObject*) {
    Start->ShowStartScreenAgain();
}

// ================================================================ FormShow

void TForm1::FormShow(TObject*) {
    if (!ImportantFilesPresent) {
        platform::MessageBox(MessageText(307), MessageText(306), MB_OK);
        Close();
        return;
    }
    if (!Leaving->WebQuestionPending) return;
    Leaving->WebQuestionPending = false;
    TellAboutDamagedLists();
    TellIfListsCannotBeSaved();
    Leaving->AskWebQuestionAtStart();
    TellJournalNotice();
    if (!Clock->Running()) Clock->Start();
    ShowGreetingScreen();
    ReportTestTime("greeting");
    platform::ReturnFreedMemorySoon();
    if (Places->StartCount == 1) Videos->WaitAfterFirstStart();
}

void TForm1::Timer2Timer(TObject*) {
    Videos->WaitOver();
}

// ================================================================= paint

void TForm1::FormPaint(TObject*) {
    TCanvas* canvas = Canvas();
    canvas->StretchDraw(ClientRect(), &WindowBackground);
    Screen->Paint(canvas);
    canvas->Draw(layout::LedPanel.x(), layout::LedPanel.y(), &LedBackground);
    if (!BKontrolle->Visible())
        canvas->Draw(layout::KontrolleCover.x(), layout::KontrolleCover.y(), &KontrolleCover);
    // The window may be painted before its cursor exists (without its
    // important files, while it says so and closes) and after leaving.
    if (!PlayCursor) return;
    if (PlayCursor->MarkShown) PlayCursor->RedrawMark();
    PlayCursor->RedrawPoint(&PointBmp);
}

// ================================================================== keys

void TForm1::FormKeyDown(TObject* sender, WORD& key, TShiftState shift) {
    const bool shiftOnly =
        shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt);
    if (key == kTesterKey && shiftOnly) {
        Course->SetPlayCount(lessons::CourseSession::kQuizPasses);
        BKontrolleClick(sender);
    } else if (key == VK_F1) {
        BHilfeClick(sender);
    } else if (key == VK_F5) {
        if (BPlay->Enabled())
            BPlayClick(sender);
        else if (!lessons::IsLesson(Course->CurrentLesson()))
            AskMessage(MessageText(600), MessageText(601), "", CaptionText(1));
    } else if (key == VK_F6) {
        if (BStop->Enabled()) BPauseClick(sender);
    } else if (key == VK_F7) {
        if (BPause->Enabled()) BStopClick(sender);
    } else if (key == VK_ADD || key == VK_SUBTRACT) {
        Keys->StepLevel(key == VK_ADD ? 1 : -1);
    } else if (key == VK_ESCAPE) {
        key = 0;
        if (Video->Playing) StopMediaPlayer();
    } else if (key == 'T') {
        AskTaskbarQuestion();
    } else if (key == VK_F4 && shift.Contains(ssAlt)) {
        key = 0;
        // While a dialog holds the window (disabled), a close request only
        // brings that dialog to the front.
        if (Enabled())
            BBeendenClick(sender);
        else
            LeavingSequence::BringDialogToFront();
    }
}

void TForm1::AskTaskbarQuestion() {
    TaskbarShown =
        AskMessage(MessageText(1), MessageText(30), CaptionText(4), CaptionText(3)) == mrOk;
}

// ================================================================== help

void TForm1::BHilfeClick(TObject* sender) {
    ShowHelp(sender, HelpTopic());
}

// The help page of what the learner sees: the tool panel in view, else the
// open lesson's screen, else the start page.
QString TForm1::HelpTopic() const {
    if (PTuner->Visible()) return "tuner.html";
    if (PExplorer->Visible() || PMonitor->Visible()) return "explorer.html";
    if (lessons::IsLesson(Course->CurrentLesson())) return "hauptfenster.html";
    if (PUeplan->Visible()) return "uebeplan.html";
    return "index.html";
}

void TForm1::ShowHelp(TObject* sender, const QString& topic) {
    if (Video->Playing) return;
    if (MediaPlayerPlaying()) BStopClick(sender);
    PlaySound(nullptr, 0);
    Cues->PlayClick(true, false);
    if (!Help->Show(topic)) AskMessage(ErrorText(1), ErrorText(8), "", "OK");
}

// ============================================================ intro video

void TForm1::BVideoStopClick(TObject*) {
    PlaySound(nullptr, 0);
    if (MediaPlayerPlaying()) {
        Videos->EnableVideoButton(false);
        StopMediaPlayer();
        Videos->ShowVideoButton(false);
        return;
    }
    if (Video->Playing) return;
    if (Videos->VideoThere()) {
        Videos->EnableVideoButton(false);
        Videos->ShowVideoButton(true);
        PlayIntroVideo();
    } else {
        AskMessage(ErrorText(1), ErrorText(5), "", "OK");
    }
}

// ============================================================ leaving

void TForm1::BBeendenClick(TObject*) {
    Leaving->Leave();
}

void TForm1::FormCloseQuery(TObject*, bool& canClose) {
    TearDown();
    canClose = true;
}

// Frees what the window made and stores the chosen device. Runs once.
void TForm1::TearDown() {
    if (tornDown_) return;
    tornDown_ = true;
    TaskbarShown = true;
    // The transport draws with the play cursor: it goes first.
    if (Keys) Keys->Poll->SetEnabled(false);
    if (Access) Access->LeaveTransport(); // it leaves the transport's observers
    PlayAlong.reset();                     // so does it
    Transport.reset();
    if (Practice) Practice->Close();
    PlayCursor.reset();
    Clock.reset();
    Skin.reset();
    Help.reset();
    if (Start) Start->Cancel();
    Cues.reset();
    if (Places && Places->SettingsFile) {
        SoundMenu->Store(*Places->SettingsFile);
        Places->SettingsFile.reset();
    }
}

} // namespace app
