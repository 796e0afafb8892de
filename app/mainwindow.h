#pragma once
// TForm1: the main window of Zupfari Basis. It finds the program and data
// folders, shows the start screen, builds and owns everything the course
// needs (lists, sounds, skin loader, worker threads, panels), chooses the
// MIDI output device, greets the learner, answers the keys and leads the way
// out of the program so that no progress is lost.
//
// The main window's look (backgrounds, skinned buttons, LED panel) is set up
// in mainskin.cpp; the greeting and no-lesson screens in lessonscreen.cpp.

#include "app/sounddevicechoice.h"
#include "controls/aquabutton.h"
#include "controls/fadebutton.h"
#include "controls/trackbar.h"
#include "lessons/lessonhost.h"
#include "lessons/lessonregistry.h"
#include "lessons/skinloader.h"
#include "plan/liststore.h"
#include "plan/panelhost.h"
#include "plan/planpanel.h"
#include "platform/core/inifile.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/graphics.h"
#include "platform/ui/menus.h"
#include "platform/ui/sessionend.h"
#include "platform/ui/timer.h"
#include "playback/exerciseengine.h"
#include "playback/playcursor.h"
#include "playback/soundcues.h"
#include "playback/videoplayer.h"
#include "tools/explorer.h"
#include "tools/monitor.h"
#include "tools/tuner.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace playback {
class ClockThread;
class DrawBeat;
class TDrawLEDThread;
}

namespace app {

class TStartScreen;
class THelpWindow;

// The colour that stands in for a background picture that could not be
// loaded (red 0x33, green 0x44, blue 0x55).
inline constexpr platform::TColor kBackdropFailureFill = 0x554433;

// The five values of the transport's loop record.
struct TLoopRecord {
    int Beat = 1;
    int FirstBeat = 1;
    int TotalBeats = 0;
    int BeatsPerBar = 0;
    int LastBeat = 0;
};

class TForm1 : public platform::TForm {
public:
    // `services`: the machine's MIDI devices, drive test and program folder
    // (the real ones unless a test passes its own).
    explicit TForm1(platform::TComponent* owner, ShellServices services = {});
    ~TForm1() override;

    // ---- Controls of the window ------------------------------------------
    controls::TXFadeButton *BExplorer, *BKontrolle, *BUeplan, *BMonitor, *BStimm, *BHilfe,
        *BBeenden;
    controls::TXFadeButton *BPlay, *BPause, *BStop, *BLoop, *BLocator, *BRewind, *BForward,
        *BExtraFunction;
    controls::TXFadeButton *BLogo, *BVideoStop, *BScrollUp, *BScrollDown, *BTunerAkkord;
    controls::TXAquaButton *BVonVorn = nullptr, *BNext = nullptr; // on the practice plan panel
    controls::TXTrackBar* TrBarTempo;
    platform::TLabel *LDisplayCap1, *LDisplayCap2, *LDisplayCap3, *LSoundcard, *LModusAnzeige,
        *LDate, *LClock, *LLevelCap, *LLevel;
    platform::TImage *ImgModus, *ImgLevel;
    platform::TPanel *PUeplan, *PExplorer, *PMonitor, *PTuner, *VideoPanel;
    platform::TTimer* Timer2;
    platform::TPopupMenu* PopupSoundcard;

    // ---- State -----------------------------------------------------------
    std::string ProgramFolder; // Windows-1252, ends in a separator
    std::string DataFolder;    // Windows-1252, ends in a separator
    std::string ProgramDrive;
    std::unique_ptr<platform::IniFile> SettingsFile;
    bool ImportantFilesPresent = true;
    unsigned short SoundDeviceCount = 0;
    short MapperMenuIndex = -1;
    int DefaultDeviceIndex = 0;
    QString SoundDeviceName;
    int LanguageCode = 0;
    QString HelpFileName;
    QString WebSiteAddress;
    std::string IntroVideoPath;
    QStringList StartLog;
    std::string StartLogPath;
    int StartCount = 0;
    bool WebQuestionPending = true;
    bool WebQuestionAnswered = false;
    bool IntroPending = false;
    bool VideoPlaying = false;
    bool OpenedFromLessonScreen = false;
    bool QuizFinished = false;
    bool ExplorerMode = false;
    bool CursorActive = false;
    int CurrentLesson = -1;
    int PlayCount = 0;
    bool TaskbarShown = true;
    TLoopRecord LoopRecord;

    TStartScreen* StartScreen = nullptr;
    platform::TTimer* StartScreenTimer = nullptr;
    bool StartScreenActive = false;

    // ---- Owned objects ---------------------------------------------------
    std::unique_ptr<plan::ListStore> Lists;
    std::unique_ptr<playback::SoundCues> Cues;
    std::unique_ptr<lessons::SkinLoader> Skin;
    QStringList ExplorerTitles, ExplorerTexts;
    playback::ClockThread* Clock = nullptr;

    // ---- Bitmaps (the look of the window) --------------------------------
    platform::TBitmap DialogBackdrop, WindowBackground, KontrolleCover, LedBackground, LedDark,
        LedLight, VideoPlayBmp, VideoStopBmp, PointBmp, PointWork;
    platform::TBitmap BackdropBitmap;
    int BackdropLeft = 0, BackdropTop = 0;

    // ---- Handlers ----------------------------------------------------------
    void FormCreate(platform::TObject* Sender);
    void FormShow(platform::TObject* Sender);
    void FormPaint(platform::TObject* Sender);
    void FormCloseQuery(platform::TObject* Sender, bool& CanClose);
    void FormKeyDown(platform::TObject* Sender, platform::WORD& Key, platform::TShiftState Shift);
    void BHilfeClick(platform::TObject* Sender);
    void BLogoClick(platform::TObject* Sender);
    void BVideoStopClick(platform::TObject* Sender);
    void BBeendenClick(platform::TObject* Sender);
    void Timer2Timer(platform::TObject* Sender);
    void LSoundcardClick(platform::TObject* Sender);
    void PopupSoundcardItemClick(platform::TObject* Sender);
    void StartScreenTimerTimer(platform::TObject* Sender);

    // ---- Operations other windows call -----------------------------------
    void LockControls(bool restore);
    void SaveAndClose();
    bool ProgramOnCdRom() const;

    // Skin (mainskin.cpp).
    void SetUpSkin();
    bool LoadJpegBitmap(platform::TBitmap* bitmap, const std::string& fileName);
    void LoadPictureInto(platform::TImage* picture, const std::string& fileName);

    // The lesson screen (lessonscreen.cpp).
    void ClearLessonScreen();
    void ShowNoLessonScreen();
    void ShowGreetingScreen();
    void WireScreenElements();
    void DisableTransport();

    // ---- Lessons: the registry, opening a lesson, the play cursor ----------
    // (mainwindow_lessons.cpp)
    // The lessons' cursor geometry and tempo rows for the learner's language,
    // and the bound LoadMainScreen calls of the 30 lessons.
    std::array<playback::CursorGeometry, lessons::kLessonCount> CursorGeometry{};
    std::array<lessons::TempoRow, lessons::kLessonCount> TempoTable{};
    lessons::LessonRegistry::Table MainScreenEntries;
    std::unique_ptr<lessons::MainScreenHost> MainScreenFields;
    // Full paths (Windows-1252) of the exercise files of levels 1 to 10; [0] unused.
    std::array<std::string, lessons::kLevelCount + 1> LevelMidiFiles;
    std::string SlidePicturePrefix;
    int CountInBeats = 4;
    // Horizontal offset of the beat display strip (read by the beat display).
    int BeatDisplayOffset = 20;
    // The LED thread's delay in ms, handed on by SetLedDelay.
    int LedDelay = 0;
    std::unique_ptr<playback::PlayCursor> PlayCursor;
    platform::TTimer* TimerPC1 = nullptr; // the transport's 100 ms poll
    // The transport's state.
    // Read by the LED thread without a lock.
    std::atomic<int> ExerciseBeat{0};
    int ShownBeat = 0;
    bool Paused = false;
    int PauseBeat = 0;
    int EnginePauseBeats = 0;
    int StartPosition = 0; // in eighths of a beat
    bool PassEnded = false;
    bool CountInDone = false;
    bool LoopOn = false;
    int LocatorBeat = 0;
    bool TopLevelRun = false;

    // OpenLesson (declared with the slide windows' block) opens CurrentLesson;
    // nothing for a number outside 0..29.
    void ResetCourse();
    void EnableTransportTools();
    // The tempo level a lesson opens at: 1 in explorer mode, else the plan
    // entry's level when it lies in 1..10, else 1.
    int OpeningLevel() const;
    // Hands the LED thread its delay.
    void SetLedDelay(int delay);
    // Loads an exercise file into the engine; throws when the file cannot be
    // read as a MIDI file.
    virtual void MidiLoadExercise(const std::string& ansiPath);
    // The point at the cursor's position, erasing the one shown before when
    // `erase` is set; and the point drawn again by the paint handler.
    void MovePlayPoint(bool erase);
    void RedrawPlayPoint();
    // Hands the opened lesson to the monitor: its pictures from the first,
    // none shown yet (mainwindow_panels.cpp).
    void ResetMonitorPicture();


    // ---- Transport: playing the exercise (mainwindow_transport.cpp) --------
    // The engine the transport plays through (tests put a fake in its place).
    std::unique_ptr<playback::ExerciseEngine> Engine;
    // The LED column and the pre-roll; both free themselves when they end.
    playback::TDrawLEDThread* LedThread = nullptr;
    playback::DrawBeat* BeatThread = nullptr;
    void BLoopClick(platform::TObject* Sender);
    void BForwardClick(platform::TObject* Sender);
    void BRewindClick(platform::TObject* Sender);
    void BLocatorClick(platform::TObject* Sender);
    void TimerPC1Timer(platform::TObject* Sender);
    void TrBarTempoMouseMove(platform::TObject* Sender, platform::TShiftState Shift, int X, int Y);
    void TrBarTempoMouseUp(platform::TObject* Sender, platform::TMouseButton Button,
                           platform::TShiftState Shift, int X, int Y);
    // Stops playback and brings the transport to Ready.
    void ResetTransport();
    // The poll noticed the end of the piece: loop on or reset.
    void EndOfPass();
    // The tempo level on the tempo bar, and its tempo for the open lesson.
    int CurrentLevel() const;
    int LevelTempo() const;
    // The open lesson's cursor slots (the defaults when none is open).
    const playback::CursorGeometry& CurrentGeometry() const;

    // ---- Pieces of features still to come ----------------------------------
    // Called at their places; each is filled in with its feature and does
    // nothing yet.
    void CreatePlayCursor();
    void CreateLedThreads();
    void SetUpPlanPanel();
    void SetUpExplorer();
    void SetUpMonitor();
    void SetUpTuner();
    void BuildCursorGeometry();
    void FillLessonRegistry();
    void RefreshPlanPanel();
    void SuspendLedThread();
    void TerminateLedThreads();
    void FreePlayCursor();
    void RedrawMark();
    bool MarkShown() const;
    // The transport's and the tool buttons' actions (virtual: tests watch
    // which one a key leads to).
    virtual void BStopClick(platform::TObject* Sender);
    virtual void BPauseClick(platform::TObject* Sender);
    virtual void BPlayClick(platform::TObject* Sender);
    virtual void BKontrolleClick(platform::TObject* Sender);
    virtual void BStimmClick(platform::TObject* Sender);
    void OpenSlides(int window);

    // ---- Video player (mainwindow_video.cpp) ------------------------------
    // PlayVideo (declared below, with the slide windows' host) plays the video `file` (Windows-1252 path) in `panel`, placed at
    // `left`, `top` and sized by displayRect's right and bottom; the video
    // fills displayRect inside it. `midiFile` is the accompaniment played by
    // the MIDI engine from its beginning, or "0" for none. The main controls
    // stay locked until the video ends or is stopped. A missing file does
    // nothing; a file the player refuses is reported (error 3).
    // The media player's notification: the video ended or was stopped.
    void MidiPlayerNotify(platform::TObject* Sender);
    bool MediaPlayerPlaying() const;
    void StopMediaPlayer();
    void PlayIntroVideo();
    playback::VideoPlayer& MidiPlayer();
    // ---- The left column's panels: practice plan, tuner, explorer, monitor,
    // and progress kept on disk (mainwindow_panels.cpp) ----------------------
    std::unique_ptr<plan::PanelHost> PanelLink; // what the panels ask of this window
    std::unique_ptr<plan::PlanPanel> PlanView;
    std::unique_ptr<tools::TunerPanel> Tuner;
    std::unique_ptr<tools::ExplorerPanel> Explorer;
    std::unique_ptr<tools::MonitorPanel> Monitor;
    std::unique_ptr<platform::SessionEndGuard> SessionEnd;
    controls::TXFadeButton* BRemove = nullptr; // hidden: removes the current plan entry
    void BUeplanClick(platform::TObject* Sender);
    void BMonitorClick(platform::TObject* Sender);
    void BExplorerClick(platform::TObject* Sender);
    void BNextClick(platform::TObject* Sender);
    void BVonVornClick(platform::TObject* Sender);
    void BRemoveClick(platform::TObject* Sender);
    void SelectPlanEntry(platform::TObject* Sender);
    // Tells the learner when the lists cannot be written (first showing).
    void TellIfListsCannotBeSaved();
    // Shows `panel`, hides the other three tool panels.
    void ShowToolPanel(platform::TPanel* panel);

    // The hidden tester key: Shift + this letter.
    static constexpr platform::WORD kTesterKey = 'K';

    // ---- Slide windows and quiz (mainwindow_slides.cpp) -------------------
    // True while no quiz is under way (also false while the learner goes
    // through the slides again after a failed quiz).
    bool QuizIdle = true;
    // The lesson that was open before "Neue Übung" started a new one.
    int PreviousLesson = -1;
    // The slide windows and the quiz of CurrentLesson (virtual: tests watch
    // which one opens).
    virtual void OpenSlidesA();
    void OpenSlidesB();
    void OpenSlidesC();
    void ShowQuiz();
    // Key T: asks whether the taskbar shows and does as answered.
    void AskTaskbarQuestion();
    // Writes the plan and the waiting list now, through the list store
    // (to DataFolder, never from a CD-ROM); false when nothing was written.
    bool SaveListsNow();
    // OpenLesson: see the lessons block (mainwindow_lessons.cpp); PlayVideo:
    // see the video player above. Both virtual so that tests can watch the
    // slide windows call them.
    virtual void OpenLesson();
    virtual void PlayVideo(const std::string& file, const std::string& midiFile,
                           const platform::TRect& displayRect, int top, int left,
                           platform::TPanel* panel);
    // Hands the slide windows and the quiz their way to this window.
    void ConnectCourseWindows();
    std::unique_ptr<lessons::LessonHost> CourseHost;

    // ---- Screen readers and the keyboard (mainwindow_access.cpp) ----------
    // Names the picture buttons and the panels, puts the tempo bar's level in
    // words, colours the focus ring and sets the window's tab order.
    void DescribeControls();
    // Tempo level `level` in words, with its beats per minute when a lesson
    // is open.
    QString TempoLevelText(int level) const;
    // The tempo bar was moved by the keyboard or a screen reader: as when
    // the mouse lets go of it.
    void TrBarTempoChange(platform::TObject* Sender);
    // The quiz button tells how many passes at the fastest level count.
    void DescribePassCount();
    // The main window's tab order: the tool panel that shows, the left
    // column, the lesson screen, the transport, the tempo bar, the rest.
    std::vector<platform::TControl*> MainTabOrder();

    // ---- Start-up and leaving (shell; mainwindow_shell.cpp) ----------------
    // The program entry calls this once every window exists; the main window
    // comes when this, its own construction, the device choice and the start
    // screen's three seconds are all done.
    void ProgramWindowsCreated();
    // True once the MIDI output device has been chosen (on a worker).
    bool SoundDevicesChosen() const { return soundDevicesChosen_; }
    // The devices of the sound-device menu.
    const SoundDeviceList& SoundDevices() const { return soundDevices_; }

private:
    // Transport steps (mainwindow_transport.cpp).
    void WireTransportControls();
    void StopEverythingSounding();
    void SaveCountInBackground();
    bool LoadLevelFile();
    void ChooseStartPosition();
    void CountTopLevelRun();
    void RunPreRoll();
    void StartEngine();
    void ShowCountInDigit(int number);
    void RestoreCountInBackground();
    void TakeBackTopLevelRun();
    void ClearLedColumn();
    void LeavePause();
    void JumpCursor(bool erase);
    void StoreInCurrentEntry(std::optional<int> level, std::optional<int> playCount);
    platform::TPoint CountInDigitPlace() const;
    void PrepareFolders();
    void CreateOwnedObjects();
    void SetUpPanelsAndLists();
    void SetStartState();
    void ConnectFormHandlers();
    void ShowMainWindowWhenDue();
    void StartSoundDeviceChoice();
    void SoundDevicesReady(const SoundDeviceList& list, const SoundDeviceChoiceResult& choice);
    void JoinDeviceWorker();
    void TellAboutDamagedLists();
    void BringDialogToFront();
    bool OpenHelpWindow();
    void CreatePanels();
    void CreateButtons();
    void CreateDisplayControls();
    void ConnectButtons();
    void LoadWindowBitmaps();
    void PlaceDisplayBlock();
    void PlaceLevelBlock();
    void SkinTempoBar();

    bool constructed_ = false;
    const ShellServices services_;
    // The MIDI engine's device calls.
    MidiDevices& Midi() const;
    bool windowsCreated_ = false;
    bool startScreenTimeUp_ = false;
    bool mainWindowShown_ = false;
    bool soundDevicesChosen_ = false;
    SoundDeviceList soundDevices_;
    std::thread deviceWorker_;
    THelpWindow* helpWindow_ = nullptr;

    void CreateControls();
    void SkinButtons();
    controls::TXFadeButton* MakeButton(platform::TControl* parent, const QString& name);
    platform::TLabel* MakeLabel(platform::TControl* parent, const QString& name);
    platform::TPanel* MakePanel(const QString& name, int left, int top, int width, int height);

    void SplitProgramFile();
    void FindFolders();
    void CreateStartScreen();
    void ReadStoredLists();
    void SetTodaysDate();
    void HideTaskbarOnSmallScreen();
    void CountStart();
    void ChooseIntroVideo();
    void ChooseLanguage();
    void AskStartQuestion();
    void ShowTaskbar(bool show);
    void TearDown();
    bool ScreenGuardsPass() const;
    void WirePicture(platform::TControl* control, int tag);

    // Video player (mainwindow_video.cpp).
    void EndRunningVideo();
    void ShowVideoPanel(platform::TPanel* panel, int left, int top, platform::TRect displayRect,
                        const QString& loading);
    bool OpenVideo(const std::string& file, platform::TRect displayRect, platform::TPanel* panel);
    void StartVideo(const std::string& midiFile);
    void VideoErrorBox(const QString& text);
    std::unique_ptr<playback::VideoPlayer> midiPlayer_;
    QPointer<platform::TPanel> videoPanel_;

    bool tornDown_ = false;
    std::array<bool, 12> savedEnabled_{};
};

// The main window of the program (created by the program entry).
extern TForm1* Form1;

// The addresses of the product pages, German and English.
inline constexpr const char* kWebSiteGerman = "https://www.zupfari.de/basis/";
inline constexpr const char* kWebSiteEnglish = "https://www.zupfari.de/en/basis/";

} // namespace app
