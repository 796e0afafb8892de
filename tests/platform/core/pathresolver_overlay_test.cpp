// The content overlay of the path resolver: files of the program folder are
// served from the overlay folder when it holds them, by absolute and
// relative paths and without regard to case; everything else as before.

#include "platform/core/contentpaths.h"
#include "platform/core/cp1252.h"
#include "platform/core/pathresolver.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <gtest/gtest.h>

using testsupport::ScopedEnv;
using testsupport::TempFolder;

namespace {

// The overlay on for the test's life; off again afterwards.
class OverlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        base_ = program_.QPath();
        german_ = QString::fromStdString(program_.Write("lektion12/MainWin.zs1", "german"));
        shared_ = QString::fromStdString(program_.Write("lektion12/Akkord1.wav", "shared"));
        english_ = QString::fromStdString(program_.Write("English/lektion12/MainWin.zs1", "english"));
        program_.Write("English/Midi/uebung12_1.mid", "english midi");
        platform::SetContentOverlay(base_, base_ + "English");
    }
    void TearDown() override {
        platform::SetContentOverlay(QString(), QString());
        QDir::setCurrent(previous_);
    }
    TempFolder program_;
    QString base_, german_, shared_, english_;
    QString previous_ = QDir::currentPath();
};

TEST_F(OverlayTest, ServesTheOverlaysFileFirstAndTheProgramFoldersOtherwise) {
    EXPECT_EQ(platform::ResolvePath(base_ + "lektion12\\MainWin.zs1"), english_);
    EXPECT_EQ(platform::ResolvePath(base_ + "LEKTION12\\mainwin.ZS1"), english_);
    EXPECT_EQ(platform::ResolvePath(base_ + "lektion12\\Akkord1.wav"), shared_);
    // A file only the overlay holds is found too; a folder is never overlaid.
    EXPECT_TRUE(platform::PathExists(base_ + "Midi\\uebung12_1.mid"));
    EXPECT_EQ(platform::ResolvePath(base_ + "lektion12"), base_ + "lektion12");
    // Relative paths count from the current folder, the program folder here.
    ASSERT_TRUE(QDir::setCurrent(base_));
    EXPECT_EQ(platform::ResolvePath("lektion12\\MainWin.zs1"), english_);
    EXPECT_EQ(platform::ResolvePath("lektion12\\Akkord1.wav"), "lektion12/Akkord1.wav");
    // Paths leading out of the program folder are not overlaid.
    TempFolder elsewhere;
    const QString outside = QString::fromStdString(elsewhere.Write("lektion12/MainWin.zs1", "other"));
    EXPECT_EQ(platform::ResolvePath(outside), outside);
}

TEST_F(OverlayTest, TurnedOffTheProgramFolderAloneIsSeen) {
    EXPECT_EQ(platform::ContentOverlay(), QDir::cleanPath(base_ + "English"));
    platform::SetContentOverlay(base_, QString());
    EXPECT_TRUE(platform::ContentOverlay().isEmpty());
    EXPECT_EQ(platform::ResolvePath(base_ + "lektion12\\MainWin.zs1"), german_);
    EXPECT_FALSE(platform::PathExists(base_ + "Midi\\uebung12_1.mid"));
}

TEST_F(OverlayTest, ReportsEachServedFileOnceWhenAsked) {
    ScopedEnv trace("ZUPFARI_TRACE_FILES", "1");
    platform::SetContentOverlay(base_, base_ + "English");
    testing::internal::CaptureStderr();
    platform::ResolvePath(base_ + "lektion12\\MainWin.zs1");
    platform::ResolvePath(base_ + "lektion12\\MainWin.zs1");
    platform::ResolvePath(base_ + "lektion12\\Akkord1.wav");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "ZUPFARI-OVERLAY " + english_.toStdString() + "\n");
}

// Content names resolve against the program folder whatever the current
// folder is, through the overlay; full paths are taken as they are.
TEST_F(OverlayTest, ContentPathsResolveAgainstTheProgramFolderNotTheCurrentOne) {
    TempFolder elsewhere;
    ASSERT_TRUE(QDir::setCurrent(elsewhere.QPath()));
    elsewhere.Write("lektion12/Akkord1.wav", "a decoy in the current folder");
    const platform::ContentPaths content(platform::ToAnsi(base_));
    EXPECT_EQ(QString::fromStdString(content.File("lektion12\\MainWin.zs1")), english_);
    EXPECT_EQ(QString::fromStdString(content.File("lektion12\\Akkord1.wav")), shared_);
    EXPECT_TRUE(content.Exists("Midi\\uebung12_1.mid"));
    EXPECT_FALSE(content.Exists("lektion13\\MainWin.zs1"));
    // A name that already holds the program folder, or another full path.
    EXPECT_EQ(content.Full(content.Folder() + "Bilder\\x.jpg"), content.Folder() + "Bilder\\x.jpg");
    const std::string outside = elsewhere.Write("other.jpg", "x");
    EXPECT_EQ(content.Full(outside), outside);
    EXPECT_TRUE(content.Exists(outside));
}

} // namespace
