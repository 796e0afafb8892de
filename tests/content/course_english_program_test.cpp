// The real program under language code 1 on a private X display: lesson 12,
// opened from the practice plan, comes from the English edition's overlay
// folder, its main screen and its exercise file alike.

#include "tests/support/realprogram.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <gtest/gtest.h>

#include <csignal>

namespace {

using testsupport::RealProgram;
using testsupport::WaitFor;
using testsupport::XDriver;
using testsupport::XvfbServer;

// A list file of the data folder as the program writes them (CR LF).
void WriteList(const QString& path, const QStringList& lines) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write((lines.join("\r\n") + "\r\n").toLatin1());
}

class EnglishProgram : public ::testing::Test {
protected:
    // Starts the program with lesson 12 at level 1 first in the plan and
    // opens it there.
    void StartWithLessonTwelve(const QString& code) {
        QStringList waiting{"3"};
        for (int lesson = 0; lesson < 30; ++lesson) waiting << (lesson == 12 ? "0" : "1") << "1" << "0";
        WriteList(program_.DataFolder() + "Listen/ListeUeplan.ztl", {"3", "12", "1", "0", "-1", "1", "0", "-1", "1", "0"});
        WriteList(program_.DataFolder() + "Listen/ListeWarten.ztl", waiting);
        program_.SetEnv("SPRACHBANK_LANGUAGE", code);
        program_.SetEnv("ZUPFARI_TRACE_FILES", "1");
        // The first start plays the intro video; the second only greets.
        ASSERT_TRUE(program_.Start("xcb", xvfb_.Display())) << Stderr();
        program_.EndWith(SIGTERM);
        program_.ClearStderr();
        ASSERT_TRUE(program_.Start("xcb", xvfb_.Display())) << Stderr();
        // The select button of the plan's first row (80 x 16 at 260, 62 on the
        // plan panel at 12, 12; the window is centred on the 1024 x 768 screen).
        XDriver pointer(xvfb_.Display());
        ASSERT_TRUE(pointer.Ready());
        const int left = (1024 - 800) / 2, top = (768 - 600) / 2;
        pointer.Click(left + 12 + 260 + 40, top + 12 + 62 + 8);
    }
    std::string Stderr() { return program_.Stderr().toStdString(); }
    bool Served(const QString& relative) {
        return program_.Stderr().contains("ZUPFARI-OVERLAY ") &&
               program_.Stderr().contains("/English/" + relative + "\n");
    }

    XvfbServer xvfb_;
    RealProgram program_;
};

TEST_F(EnglishProgram, LanguageOneOpensLessonTwelveFromTheEnglishEdition) {
    if (!xvfb_.Start()) GTEST_SKIP() << "no Xvfb on this machine";
    StartWithLessonTwelve("1");
    EXPECT_TRUE(WaitFor([this] { return Served("lektion12/MainWin.zs1"); }, 15000)) << Stderr();
    EXPECT_TRUE(WaitFor([this] { return Served("Midi/uebung12_1.mid"); }, 15000)) << Stderr();
    // The notation the English skin names is the English edition's too.
    EXPECT_TRUE(WaitFor([this] { return Served("lektion12/Notation.jpg"); }, 15000)) << Stderr();
    program_.EndWith(SIGTERM);
}

} // namespace
