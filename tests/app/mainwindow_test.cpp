// The main window's life: first start and start count, the device choice
// from the settings file, the first showing, the keys, help, the way out
// and what it writes, the skin's failure fill.

#include "app/mainwindow.h"
#include "app/startscreen.h"
#include "platform/core/inifile.h"
#include "tests/app/shellfixture.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace shelltest {
namespace {

using namespace platform;
using app::CaptionText;
using app::ErrorText;
using app::MessageText;

void WriteSetting(const std::string& dataFolder, const QString& value) {
    QDir().mkpath(QString::fromStdString(dataFolder));
    IniFile(dataFolder + "zupfaripref.ini").WriteString("Midi", "Soundcard", value);
}

QString ReadSetting(const std::string& dataFolder) {
    return IniFile(dataFolder + "zupfaripref.ini").ReadString("Midi", "Soundcard", "<none>");
}

TEST_F(ShellTest, FirstStartMakesTheDataFolderAndCountsStarts) {
    CreateWindows();
    EXPECT_TRUE(QFileInfo(QString::fromStdString(DataFolder())).isDir());
    EXPECT_TRUE(QFileInfo(QString::fromStdString(DataFolder() + "Listen")).isDir());
    EXPECT_EQ(ReadData("session.log"), "1\r\n");
    EXPECT_EQ(form_->Places->StartCount, 1);
    EXPECT_EQ(form_->Places->DataFolder, DataFolder());
    DestroyWindows();

    CreateWindows();
    EXPECT_EQ(ReadData("session.log"), "2\r\n");
    EXPECT_EQ(form_->Places->StartCount, 2);
}

TEST_F(ShellTest, FromACdRomNothingIsCounted) {
    cdRom_ = true;
    CreateWindows();
    EXPECT_EQ(form_->Places->StartCount, 1);
    EXPECT_EQ(ReadData("session.log"), "<missing>");
}

TEST_F(ShellTest, StartScreenThenMainWindowWithQuestionAndGreeting) {
    CreateWindows();
    ASSERT_NE(form_->Start->Screen, nullptr);
    EXPECT_TRUE(form_->Start->Screen->isVisible());
    EXPECT_FALSE(form_->isVisible());
    EXPECT_EQ(form_->Start->Screen->Width(), form_->Start->Screen->Picture->Width());
    ASSERT_NE(form_->Start->Timer, nullptr);
    EXPECT_TRUE(form_->Start->Timer->Enabled());
    EXPECT_EQ(form_->Start->Timer->Interval(), 3000u);

    answers_ = {1}; // yes, show me the web site
    ShowMainWindow();
    EXPECT_TRUE(form_->isVisible());
    EXPECT_FALSE(form_->Start->Screen->isVisible());
    EXPECT_FALSE(form_->Start->Active);
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0].title, MessageText(4));
    EXPECT_EQ(asked_[0].body, MessageText(6));
    EXPECT_EQ(asked_[0].ok, CaptionText(3));
    EXPECT_EQ(asked_[0].cancel, CaptionText(4));
    EXPECT_EQ(opener_.opened, QStringList{app::kWebSiteGerman});
    // The greeting screen: its backdrop taken over by the window.
    EXPECT_FALSE(form_->Screen->Backdrop.Empty());
    EXPECT_FALSE(form_->Skin->Texts().empty());
    EXPECT_FALSE(form_->BVideoStop->Visible());
    EXPECT_TRUE(form_->Clock->Running());

    // Later showings ask nothing.
    form_->Hide();
    form_->Show();
    ProcessEvents();
    EXPECT_EQ(asked_.size(), 1u);
}

TEST_F(ShellTest, MissingListFileEndsTheProgramWithAchtung) {
    UseProgramFolderWithout({"Listen/ListeWarten.ztl"});
    CreateWindows();
    EXPECT_FALSE(form_->ImportantFilesPresent);
    ShowMainWindow();
    ASSERT_EQ(platformBoxes_.size(), 1);
    EXPECT_EQ(platformBoxes_[0], "Achtung!|Einige wichtige Dateien wurden nicht gefunden!\n"
                                 "Das Programm wird beendet");
    EXPECT_TRUE(asked_.empty()); // no start question
    EXPECT_FALSE(form_->isVisible());
    EXPECT_NE(ReadSetting(DataFolder()), "<none>"); // closed through the tear-down
}

TEST_F(ShellTest, NoSettingChoosesTheFirstEvenTechnology) {
    CreateWindows();
    EXPECT_EQ(form_->SoundMenu->Devices.DeviceCount, 2);
    ASSERT_EQ(form_->SoundMenu->PopupSoundcard->Count(), 3);
    EXPECT_EQ(form_->SoundMenu->Devices.MapperMenuIndex, 2);
    EXPECT_EQ(form_->SoundMenu->Devices.DefaultDeviceIndex, 1);
    EXPECT_EQ(form_->SoundMenu->SoundDeviceName, "Zupfari Synth");
    EXPECT_EQ(form_->LSoundcard->Hint(), "Zupfari Synth");
    EXPECT_EQ(devices_.selections, std::vector<std::string>{"id:1"});
}

TEST_F(ShellTest, FailedSettingWithNoEvenDeviceChoosesTheFirst) {
    devices_.devices = {{"Port One", 1}, {"Port Two", 7}};
    WriteSetting(DataFolder(), "FAILED");
    CreateWindows();
    EXPECT_EQ(form_->SoundMenu->SoundDeviceName, "Port One");
    EXPECT_EQ(devices_.selections, std::vector<std::string>{"id:0"});
}

TEST_F(ShellTest, MapperSettingSelectsTheMapper) {
    WriteSetting(DataFolder(), "MIDI MAPPER");
    CreateWindows();
    EXPECT_EQ(form_->SoundMenu->SoundDeviceName, "MIDI MAPPER");
    EXPECT_EQ(devices_.selections, std::vector<std::string>{"id:65535"});
}

TEST_F(ShellTest, StoredDeviceIsSelectedByName) {
    WriteSetting(DataFolder(), "Port One");
    CreateWindows();
    EXPECT_EQ(form_->SoundMenu->SoundDeviceName, "Port One");
    EXPECT_EQ(form_->LSoundcard->Hint(), "Port One");
    EXPECT_EQ(devices_.selections, std::vector<std::string>{"name:Port One"});
}

TEST_F(ShellTest, VanishedDeviceFallsBackToTheFirstEntry) {
    WriteSetting(DataFolder(), "Old Card");
    CreateWindows();
    EXPECT_EQ(form_->SoundMenu->SoundDeviceName, "Port One");
    EXPECT_EQ(form_->LSoundcard->Hint(), "Port One");
    EXPECT_EQ(devices_.selections, (std::vector<std::string>{"name:Old Card", "id:0"}));
}

TEST_F(ShellTest, WithoutDevicesNothingIsSelectedAndTheMapperNameIsKept) {
    devices_.devices.clear();
    WriteSetting(DataFolder(), "Port One");
    CreateWindows();
    EXPECT_TRUE(devices_.selections.empty());
    EXPECT_EQ(form_->SoundMenu->SoundDeviceName, "MIDI Mapper");
    DestroyWindows();
    EXPECT_EQ(ReadSetting(DataFolder()), "MIDI Mapper");

    devices_.mapperListed = false;
    CreateWindows();
    EXPECT_EQ(form_->SoundMenu->PopupSoundcard->Count(), 0);
    EXPECT_TRUE(form_->SoundMenu->SoundDeviceName.isEmpty());
}

TEST_F(ShellTest, ChoosingAMenuEntryStopsAndSelects) {
    CreateWindows();
    devices_.selections.clear();
    form_->SoundMenu->PopupSoundcard->Items(0)->Click();
    EXPECT_EQ(form_->SoundMenu->SoundDeviceName, "Port One");
    EXPECT_EQ(form_->LSoundcard->Hint(), "Port One");
    form_->SoundMenu->PopupSoundcard->Items(2)->Click();
    EXPECT_EQ(form_->SoundMenu->SoundDeviceName, "MIDI MAPPER");
    EXPECT_EQ(form_->LSoundcard->Hint(), "MIDI Mapper");
    EXPECT_EQ(devices_.selections, (std::vector<std::string>{"id:0", "id:65535"}));
    EXPECT_EQ(form_->actions, (QStringList{"BStop", "BStop"}));
}

TEST_F(ShellTest, TaskbarQuestionComesWithAnyModifier) {
    CreateWindows();
    answers_ = {1, 2, 1};
    form_->KeyDown('T', {});
    EXPECT_TRUE(form_->TaskbarShown);
    form_->KeyDown('T', Shift(ssShift));
    EXPECT_FALSE(form_->TaskbarShown);
    form_->KeyDown('T', Shift(ssCtrl));
    EXPECT_TRUE(form_->TaskbarShown);
    ASSERT_EQ(asked_.size(), 3u);
    for (const AskedBox& box : asked_) {
        EXPECT_EQ(box.title, MessageText(1));
        EXPECT_EQ(box.body, MessageText(30));
    }
}

TEST_F(ShellTest, F6AndF7LookAtTheOtherButton) {
    CreateWindows();
    form_->BStop->SetEnabled(true);
    form_->BPause->SetEnabled(false);
    form_->KeyDown(VK_F6, {});
    form_->KeyDown(VK_F7, {});
    EXPECT_EQ(form_->actions, QStringList{"BPause"});

    form_->actions.clear();
    form_->BStop->SetEnabled(false);
    form_->BPause->SetEnabled(true);
    form_->KeyDown(VK_F6, {});
    form_->KeyDown(VK_F7, {});
    EXPECT_EQ(form_->actions, QStringList{"BStop"});

    form_->actions.clear();
    form_->KeyDown(VK_F5, {}); // BPlay is disabled without a lesson
    EXPECT_TRUE(form_->actions.isEmpty());
}

TEST_F(ShellTest, HiddenTesterKeyOpensTheQuizOnlyWithShift) {
    CreateWindows();
    form_->KeyDown(app::TForm1::kTesterKey, Shift(ssShift | ssCtrl));
    EXPECT_TRUE(form_->actions.isEmpty());
    form_->KeyDown(app::TForm1::kTesterKey, Shift(ssShift));
    EXPECT_EQ(form_->Course->PlayCount(), 3);
    EXPECT_EQ(form_->actions, QStringList{"BKontrolle"});
}

TEST_F(ShellTest, HelpDoesNothingWhileAVideoPlays) {
    UseProgramFolderWithout({"Hilfe"});
    CreateWindows();
    form_->Video->Playing = true;
    form_->BHilfeClick(nullptr);
    EXPECT_TRUE(opener_.opened.isEmpty());
    form_->Video->Playing = false;
    form_->KeyDown(VK_F1, {});
    ASSERT_EQ(opener_.opened.size(), 1);
    EXPECT_TRUE(opener_.opened[0].endsWith("/Hilfe.chm")) << opener_.opened[0].toStdString();
}

TEST_F(ShellTest, MissingHelpFileIsReported) {
    UseProgramFolderWithout({"Hilfe.chm", "Hilfe"});
    CreateWindows();
    form_->BHilfeClick(nullptr);
    EXPECT_TRUE(opener_.opened.isEmpty());
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0].title, ErrorText(1));
    EXPECT_EQ(asked_[0].body, ErrorText(8));
    EXPECT_TRUE(asked_[0].cancel.isEmpty());
}

TEST_F(ShellTest, AltF4LeadsToTheExitPath) {
    CreateWindows();
    ShowMainWindow();
    asked_.clear();
    EXPECT_TRUE(form_->KeyDown(VK_F4, Shift(ssAlt)));
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0].title, MessageText(5));
    EXPECT_EQ(asked_[0].body, MessageText(6));
    // Cancelled: on to the exit dialog, the main window waits disabled.
    EXPECT_TRUE(app::FBeenden->isVisible());
    EXPECT_FALSE(form_->Enabled());
    EXPECT_TRUE(form_->isVisible());
}

TEST_F(ShellTest, YesToTheExitQuestionKeepsTheProgramOpen) {
    CreateWindows();
    ShowMainWindow();
    opener_.opened.clear();
    asked_.clear();
    answers_ = {1};
    form_->BBeendenClick(nullptr);
    EXPECT_TRUE(form_->Leaving->WebQuestionAnswered);
    EXPECT_EQ(opener_.opened, QStringList{app::kWebSiteGerman});
    EXPECT_TRUE(form_->Enabled());
    EXPECT_FALSE(app::FBeenden->isVisible());

    form_->BBeendenClick(nullptr);
    EXPECT_EQ(asked_.size(), 1u); // straight to the dialog
    EXPECT_TRUE(app::FBeenden->isVisible());
}

TEST_F(ShellTest, YesInTheExitDialogSavesListsAndSettings) {
    CreateWindows();
    ShowMainWindow();
    form_->BBeendenClick(nullptr);
    ASSERT_TRUE(app::FBeenden->isVisible());
    app::FBeenden->BOK->Click();
    EXPECT_FALSE(form_->isVisible());
    EXPECT_FALSE(app::FBeenden->isVisible());
    // A fresh start writes the shipped lists back: plan empty, all waiting.
    const std::string plan = ReadData("Listen/ListeUeplan.ztl");
    const std::string waiting = ReadData("Listen/ListeWarten.ztl");
    EXPECT_EQ(plan.rfind("3\r\n-1\r\n", 0), 0u) << plan;
    EXPECT_EQ(waiting.rfind("3\r\n1\r\n1\r\n0\r\n", 0), 0u) << waiting;
    EXPECT_EQ(ReadSetting(DataFolder()), "Zupfari Synth");
}

TEST_F(ShellTest, FromACdRomTheExitDialogWritesOnlyTheSettings) {
    cdRom_ = true;
    CreateWindows();
    ShowMainWindow();
    form_->BBeendenClick(nullptr);
    app::FBeenden->KeyDown(VK_RETURN, {});
    EXPECT_EQ(ReadData("Listen/ListeUeplan.ztl"), "<missing>");
    EXPECT_EQ(ReadData("Listen/ListeWarten.ztl"), "<missing>");
    EXPECT_EQ(ReadSetting(DataFolder()), "Zupfari Synth");
}

TEST_F(ShellTest, LockControlsSavesAndRestoresTheButtons) {
    CreateWindows();
    form_->BHilfe->SetEnabled(true);
    form_->BPlay->SetEnabled(false);
    form_->Videos->LockControls(false);
    EXPECT_FALSE(form_->BHilfe->Enabled());
    EXPECT_FALSE(form_->TrBarTempo->Enabled());
    EXPECT_FALSE(form_->BLogo->Enabled());
    form_->Videos->LockControls(true);
    EXPECT_TRUE(form_->BHilfe->Enabled());
    EXPECT_FALSE(form_->BPlay->Enabled());
    EXPECT_TRUE(form_->BLogo->Enabled());
}

TEST_F(ShellTest, SkinPutsTheControlsInTheirPlaces) {
    CreateWindows();
    EXPECT_EQ(form_->Width(), 800);
    EXPECT_EQ(form_->Height(), 600);
    EXPECT_EQ(form_->BBeenden->BoundsRect(), Bounds(12, 554, 85, 24));
    EXPECT_EQ(form_->BPause->Left(), form_->BPlay->Left() + form_->BPlay->Width());
    EXPECT_EQ(form_->BLocator->Top(), form_->BPlay->Top() + form_->BPlay->Height());
    EXPECT_TRUE(form_->BLocator->Fix());
    EXPECT_EQ(form_->BPlay->Text(), " ");
    EXPECT_EQ(form_->LClock->Left(), form_->ImgModus->Left() + 20);
    EXPECT_EQ(form_->LClock->Top(), form_->LDisplayCap3->Top() + 10);
    EXPECT_FALSE(form_->LDate->Visible());
    EXPECT_FALSE(form_->LDate->Caption().isEmpty()); // filled all the same
    EXPECT_EQ(form_->TrBarTempo->Position(), 1);
    EXPECT_FALSE(form_->TrBarTempo->Enabled());
    EXPECT_EQ(form_->LModusAnzeige->Caption(), "Tutorial");
    // BExtraFunction shows one picture in all three looks.
    const TBitmap* normal = form_->BExtraFunction->Background(controls::LookNormal);
    EXPECT_EQ(normal->Image(), form_->BExtraFunction->Background(controls::LookOver)->Image());
    EXPECT_EQ(normal->Image(), form_->BExtraFunction->Background(controls::LookDown)->Image());
}

TEST_F(ShellTest, MissingBackgroundGivesTheDarkBlueGreyFill) {
    UseProgramFolderWithout({"Bilder/hintergrund.jpg"});
    CreateWindows();
    EXPECT_EQ(form_->WindowBackground.Width(), 10);
    EXPECT_EQ(form_->WindowBackground.Canvas()->Pixel(5, 5), RGB(0x33, 0x44, 0x55));
    EXPECT_TRUE(platformBoxes_.isEmpty()); // a missing file is silent
    ShowMainWindow();
    form_->Repaint();
    EXPECT_EQ(form_->Canvas()->Pixel(400, 5), RGB(0x33, 0x44, 0x55));
    EXPECT_EQ(form_->Canvas()->Pixel(790, 595), RGB(0x33, 0x44, 0x55));
}

TEST_F(ShellTest, DamagedPictureIsReportedAndFilled) {
    UseProgramFolderWithout({"Bilder/hintergrundklein.jpg"});
    programCopy_->Write("Bilder/hintergrundklein.jpg", "\xFF\xD8 not really a JPEG");
    CreateWindows();
    ASSERT_EQ(platformBoxes_.size(), 1);
    EXPECT_EQ(platformBoxes_[0], "|Fehler beim Öffnen der Bild-Datei");
    EXPECT_EQ(form_->DialogBackdrop.Canvas()->Pixel(0, 0), RGB(0x33, 0x44, 0x55));
}

TEST_F(ShellTest, LoadPictureIntoFillsMissingAndKeepsOnError) {
    CreateWindows();
    TImage image(nullptr);
    form_->LoadPictureInto(&image, "Bilder\\gibtsnicht.jpg");
    EXPECT_EQ(image.Width(), 10);
    EXPECT_EQ(image.Picture()->Canvas()->Pixel(3, 3), RGB(0xDC, 0x05, 0x1B));
    form_->LoadPictureInto(&image, "Bilder\\hintergrundklein.jpg");
    const int width = image.Width();
    EXPECT_GT(width, 10);
    testsupport::TempFolder folder;
    const std::string broken = folder.Write("kaputt.jpg", "\xFF\xD8\xFF junk");
    form_->LoadPictureInto(&image, broken);
    EXPECT_EQ(image.Width(), width); // keeps its picture
    EXPECT_EQ(platformBoxes_.size(), 1);
}

} // namespace
} // namespace shelltest
