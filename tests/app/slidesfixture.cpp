#include "tests/app/slidesfixture.h"

#include "platform/ui/exceptions.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdlib>

namespace slidestest {

using namespace platform;

bool FakeHost::SaveListsNow() {
    calls << "Save";
    saved.push_back(lists);
    return true;
}

void FakeHost::OpenLesson() {
    calls << QString("OpenLesson %1 entry %2").arg(currentLesson).arg(lists.CurrentEntry);
}

void FakeHost::StopMediaPlayer() {
    calls << "StopMediaPlayer";
    if (stopFails) throw Exception("player jammed");
    mediaPlaying = false;
}

void FakeHost::PlayVideo(const std::string& videoFile, const std::string& midiFile,
                         const TRect& display,
                         int top, int left, TPanel* panel) {
    calls << QString("PlayVideo %1 %2 %3,%4,%5,%6 at %7,%8 %9")
                 .arg(QString::fromStdString(videoFile.substr(programFolder.size())))
                 .arg(QString::fromStdString(midiFile.substr(programFolder.size())))
                 .arg(display.Left)
                 .arg(display.Top)
                 .arg(display.Right)
                 .arg(display.Bottom)
                 .arg(top)
                 .arg(left)
                 .arg(panel != nullptr ? panel->Name() : "none");
}

int FakeHost::AskMessage(const QString& title, const QString& body, const QString& cancelCaption,
                         const QString& okCaption) {
    asked.push_back({title, body, cancelCaption, okCaption});
    if (answers.empty()) return 2;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

void SlidesTest::SetUp() {
    setenv("SPRACHBANK_LANGUAGE", "0", 1);
    host_.programFolder = folder_.Path();
    lessons::SetLessonHost(&host_);
    lessons::ExtWinA = new lessons::TExtWinA(nullptr);
    lessons::ExtWinB = new lessons::TExtWinB(nullptr);
    lessons::ExtWinC = new lessons::TExtWinC(nullptr);
    lessons::QuizWin = new lessons::TQuizWin(nullptr);
    FreshLists();
}

void SlidesTest::TearDown() {
    delete lessons::QuizWin;
    delete lessons::ExtWinC;
    delete lessons::ExtWinB;
    delete lessons::ExtWinA;
    lessons::QuizWin = nullptr;
    lessons::ExtWinA = nullptr;
    lessons::ExtWinB = nullptr;
    lessons::ExtWinC = nullptr;
    lessons::SetLessonHost(nullptr);
    QCoreApplication::processEvents();
    QDir::setCurrent(QDir::tempPath());
}

void SlidesTest::WriteSkin(const std::string& name, const std::string& header,
                           const std::vector<std::string>& lines) {
    std::string text = header + "\r\n";
    for (const std::string& line : lines)
        text += line + "\r\n";
    folder_.Write(name, text);
}

void SlidesTest::Touch(const std::string& name) {
    folder_.Write(name, "");
}

void SlidesTest::WriteSlideSkin(int lesson, char window, const std::vector<std::string>& lines) {
    std::vector<std::string> all = {"$I", "TAG110", "100", "80", "$$"};
    all.insert(all.end(), lines.begin(), lines.end());
    const std::string header = lesson >= 1 && lesson <= 3 ? std::to_string(lesson) : "0";
    WriteSkin("lektion" + std::to_string(lesson) + "/Win" + window + ".zs1", header, all);
}

void SlidesTest::WriteQuizSkin(int lesson, int groups, bool answerTexts) {
    std::vector<std::string> lines = {"$L", "40", "40", "Arial", "10", "1", "0", "Frage"};
    for (int group = 0; answerTexts && group < groups; ++group)
        for (int box = 0; box < 6; ++box)
            lines.insert(lines.end(),
                         {"$L", std::to_string(80 + 374 * (group % 2)),
                          std::to_string(79 + 274 * (group / 2) + 30 * box), "Arial", "10", "0", "0",
                          "Frage " + std::to_string(group + 1) + " Antwort " + std::to_string(box + 1)});
    for (int group = 0; group < groups; ++group) {
        lines.insert(lines.end(), {"$C", std::to_string(group), "6"});
        for (int box = 0; box < 6; ++box) {
            lines.push_back(std::to_string(60 + 374 * (group % 2)));
            lines.push_back(std::to_string(80 + 274 * (group / 2) + 30 * box));
        }
    }
    WriteSkin("lektion" + std::to_string(lesson) + "/Kontrolle.zs1", "0", lines);
}

void SlidesTest::Tick(int question, int box) {
    lessons::CheckGroup* group = lessons::QuizWin->Skin->Group(question - 1);
    ASSERT_NE(group, nullptr);
    group->Box(box)->Click();
}

void SlidesTest::FreshLists() {
    host_.lists.ResetLists();
    host_.lists.SetIntroMode();
    host_.lists.CurrentEntry = 0;
}

std::string SlidesTest::Showing() const {
    std::string showing;
    if (lessons::ExtWinA->isVisible()) showing += "A";
    if (lessons::ExtWinB->isVisible()) showing += "B";
    if (lessons::ExtWinC->isVisible()) showing += "C";
    if (lessons::QuizWin->isVisible()) showing += "Q";
    return showing;
}

} // namespace slidestest
