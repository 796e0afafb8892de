// The main window's non-window logic on its own, with pretend devices, files
// and answers: the start count, the device choice, saving on the way out,
// and the keys every dialog shares.

#include "app/progresssaver.h"
#include "app/sounddevicechoice.h"
#include "app/startcount.h"
#include "controls/dialogkeys.h"
#include "platform/core/files.h"
#include "tests/app/shellfixture.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <limits>

namespace {

using app::ProgressSaver;
using app::SoundDeviceChoice;
using app::StartCounter;
using shelltest::FakeDevices;
using testsupport::TempFolder;

TEST(StartCount, CountsUpAndKeepsTheOtherLines) {
    TempFolder folder;
    const std::string log = folder.Path() + "session.log";
    EXPECT_EQ(StartCounter(log, true).CountStart(), 1);
    EXPECT_EQ(StartCounter(log, true).CountStart(), 2);
    EXPECT_EQ(*platform::ReadFileBytes(log), "2\r\n");

    folder.Write("session.log", "41\r\nnote\r\n");
    StartCounter counter(log, true);
    EXPECT_EQ(counter.CountStart(), 42);
    EXPECT_EQ(counter.Lines(), (QStringList{"42", "note"}));
    EXPECT_EQ(*platform::ReadFileBytes(log), "42\r\nnote\r\n");

    EXPECT_EQ(StartCounter(log, false).CountStart(), 43);
    EXPECT_EQ(*platform::ReadFileBytes(log), "42\r\nnote\r\n") << "nothing written from a CD-ROM";
}

TEST(StartCount, NeverOverflowsAndTakesDamageAsAFirstStart) {
    constexpr int kMax = std::numeric_limits<int>::max();
    EXPECT_EQ(StartCounter::NextCount("2147483646"), kMax);
    EXPECT_EQ(StartCounter::NextCount("2147483647"), kMax);
    EXPECT_EQ(StartCounter::NextCount("99999999999999999999999"), kMax);
    EXPECT_EQ(StartCounter::NextCount(" 7 "), 8);
    for (const char* damaged : {"", "abc", "-5", "0", "12x", "-99999999999999999999"})
        EXPECT_EQ(StartCounter::NextCount(damaged), 1) << damaged;

    TempFolder folder;
    folder.Write("session.log", "2147483647\r\n");
    EXPECT_EQ(StartCounter(folder.Path() + "session.log", true).CountStart(), kMax);

    folder.Write("empty.log", "");
    EXPECT_EQ(StartCounter(folder.Path() + "empty.log", true).CountStart(), 1);
}

TEST(StartCount, AFolderInThePlaceOfTheLogCountsAsAFirstStart) {
    TempFolder folder;
    ASSERT_TRUE(QDir().mkpath(folder.QPath() + "session.log/inner"));
    EXPECT_EQ(StartCounter(folder.Path() + "session.log", true).CountStart(), 1);
    EXPECT_TRUE(QFileInfo(folder.QPath() + "session.log").isDir()) << "left as it is";
}

class DeviceChoice : public ::testing::Test {
protected:
    void SetUp() override { devices_.devices = {{"Port One", 1}, {"Zupfari Synth", 2}}; }
    FakeDevices devices_;
};

TEST_F(DeviceChoice, ListsDevicesThenTheMapperAndFindsTheFirstSynthesizer) {
    const app::SoundDeviceList list = SoundDeviceChoice(devices_).ListDevices();
    EXPECT_EQ(list.Captions, (QStringList{"Port One", "Zupfari Synth", "MIDI Mapper"}));
    EXPECT_EQ(list.DeviceCount, 2);
    EXPECT_EQ(list.MapperMenuIndex, 2);
    EXPECT_EQ(list.DefaultDeviceIndex, 1);

    devices_.mapperListed = false;
    devices_.devices = {{"Odd", 3}, {"Odder", 5}};
    const app::SoundDeviceList odd = SoundDeviceChoice(devices_).ListDevices();
    EXPECT_EQ(odd.MapperMenuIndex, -1);
    EXPECT_EQ(odd.DefaultDeviceIndex, 0);
}

TEST_F(DeviceChoice, TheStoredSettingDecides) {
    SoundDeviceChoice choice(devices_);
    const app::SoundDeviceList list = choice.ListDevices();
    EXPECT_EQ(choice.ChooseAtStart(list, "FAILED").DeviceName, "Zupfari Synth");
    EXPECT_EQ(choice.ChooseAtStart(list, "MIDI MAPPER").DeviceName, "MIDI MAPPER");
    EXPECT_EQ(choice.ChooseAtStart(list, "Port One").DeviceName, "Port One");
    const app::SoundDeviceChoiceResult gone = choice.ChooseAtStart(list, "Old Card");
    EXPECT_EQ(gone.DeviceName, "Port One");
    EXPECT_EQ(devices_.selections, (std::vector<std::string>{"id:1", "id:65535", "name:Port One",
                                                             "name:Old Card", "id:0"}));
}

TEST_F(DeviceChoice, MenuEntriesSelectAndReportNotReady) {
    SoundDeviceChoice choice(devices_);
    const app::SoundDeviceList list = choice.ListDevices();
    const app::SoundDeviceChoiceResult mapper = choice.ChooseEntry(list, 2);
    EXPECT_EQ(mapper.DeviceName, "MIDI MAPPER");
    EXPECT_EQ(mapper.Hint, "MIDI Mapper");
    devices_.mapperListed = false; // the mapper can no longer be opened
    EXPECT_EQ(choice.ChooseEntry(list, 2).Hint, "Not Ready");
    EXPECT_EQ(choice.ChooseEntry(list, 0).Hint, "Port One");
}

// Saving on the way out with a list folder that refuses the new files.
class SavingOnLeaving : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(data_.QPath() + "Listen"));
        lists_.ResetLists();
    }
    void Block() { QDir().mkpath(data_.QPath() + "Listen/ListeUeplan.ztl.new/x"); }
    void Unblock() { QDir(data_.QPath() + "Listen/ListeUeplan.ztl.new").removeRecursively(); }
    ProgressSaver Saver() {
        return ProgressSaver(lists_, data_.Path(), false,
                             [this](const QString& title, const QString& body,
                                    const QString& cancel, const QString& ok) {
                                 asked_ << title + "|" + body + "|" + cancel + "|" + ok;
                                 const int answer = answers_.empty() ? 2 : answers_.front();
                                 if (!answers_.empty()) answers_.erase(answers_.begin());
                                 if (answer == 1 && unblockOnRetry_) Unblock();
                                 return answer;
                             });
    }
    TempFolder data_;
    plan::ListStore lists_;
    QStringList asked_;
    std::vector<int> answers_;
    bool unblockOnRetry_ = false;
};

TEST_F(SavingOnLeaving, ASavedListAsksNothing) {
    EXPECT_TRUE(Saver().SaveBeforeLeaving());
    EXPECT_TRUE(asked_.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(data_.QPath() + "Listen/ListeUeplan.ztl"));
}

TEST_F(SavingOnLeaving, AFailureNamesTheFolderAndOffersToTryAgain) {
    Block();
    answers_ = {1, 1, 2}; // try again twice, then leave anyway
    EXPECT_FALSE(Saver().SaveBeforeLeaving());
    ASSERT_EQ(asked_.size(), 3);
    EXPECT_TRUE(asked_[0].contains(data_.QPath() + "Listen")) << asked_[0].toStdString();
    EXPECT_TRUE(asked_[0].endsWith("|" + ProgressSaver::LeaveCaption() + "|" +
                                   ProgressSaver::RetryCaption()));
}

TEST_F(SavingOnLeaving, TryingAgainAfterTheCauseIsGoneSaves) {
    Block();
    unblockOnRetry_ = true;
    answers_ = {1};
    EXPECT_TRUE(Saver().SaveBeforeLeaving());
    EXPECT_EQ(asked_.size(), 1);
    EXPECT_EQ(platform::ReadTextLines(data_.Path() + "Listen/ListeUeplan.ztl")[1], "-1");
}

TEST_F(SavingOnLeaving, FromACdRomNothingIsWrittenOrAsked) {
    Block();
    ProgressSaver saver(lists_, data_.Path(), true,
                        [](const QString&, const QString&, const QString&, const QString&) {
                            ADD_FAILURE() << "asked";
                            return 2;
                        });
    EXPECT_TRUE(saver.SaveBeforeLeaving());
    EXPECT_FALSE(QFileInfo::exists(data_.QPath() + "Listen/ListeWarten.ztl"));
}

TEST(DialogKeys, EnterConfirmsEscCancelsAltF4IsSwallowed) {
    using namespace platform;
    QStringList ran;
    const auto confirm = [&] { ran << "confirm"; };
    const auto cancel = [&] { ran << "cancel"; };
    WORD key = VK_RETURN;
    controls::HandleDialogKey(key, {}, confirm, cancel);
    EXPECT_EQ(key, 0);
    key = VK_ESCAPE;
    controls::HandleDialogKey(key, {}, confirm, cancel);
    EXPECT_EQ(key, 0);
    key = VK_F4;
    controls::HandleDialogKey(key, TShiftState{ssAlt}, confirm, cancel);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(ran, (QStringList{"confirm", "cancel"}));

    // Plain F4, and Enter or Esc where the window has no such action, pass.
    key = VK_F4;
    controls::HandleDialogKey(key, {}, confirm, cancel);
    EXPECT_EQ(key, VK_F4);
    key = VK_ESCAPE;
    controls::HandleDialogKey(key, {}, {}, {});
    EXPECT_EQ(key, VK_ESCAPE);
    EXPECT_EQ(ran.size(), 2);
}

} // namespace
