#include "lessons/coursesession.h"

#include <utility>

namespace lessons {

CourseSession::CourseSession(plan::ListStore& lists, playback::SoundCues& cues,
                             CourseWindow& window, std::string programFolder, int languageCode)
    : lists_(lists),
      cues_(cues),
      window_(window),
      programFolder_(std::move(programFolder)),
      languageCode_(languageCode),
      tables_(LessonRegistry::BuildCourseTables(languageCode)),
      mainScreens_(LessonRegistry::MainScreenTable(*this)) {
    SetLessonHost(this);
}

CourseSession::~CourseSession() {
    if (Host() == this) SetLessonHost(nullptr);
}

plan::ListEntry* CourseSession::CurrentEntry() const {
    const int entry = lists_.CurrentEntry;
    if (entry < 0 || entry >= plan::ListStore::kPlanSlots) return nullptr;
    return &lists_.Plan[static_cast<std::size_t>(entry)];
}

// ---- Explorer mode -------------------------------------------------------------------

void CourseSession::SetExplorerMode(bool on) {
    if (on && !explorerMode_) {
        const plan::ListEntry* entry = CurrentEntry();
        const bool planned = entry != nullptr && IsLesson(currentLesson_) && entry->Lesson == currentLesson_;
        tutorialEntry_ = planned ? lists_.CurrentEntry : -1;
        tutorialLesson_ = planned ? currentLesson_ : -1;
    }
    explorerMode_ = on;
}

int CourseSession::TutorialEntryToReopen() const {
    if (tutorialEntry_ < 0 || tutorialEntry_ >= plan::ListStore::kPlanSlots) return -1;
    return lists_.Plan[std::size_t(tutorialEntry_)].Lesson == tutorialLesson_ ? tutorialEntry_ : -1;
}

// ---- Opening a lesson ----------------------------------------------------------------

int CourseSession::OpeningLevel() const {
    if (explorerMode_) return 1;
    const plan::ListEntry* entry = CurrentEntry();
    if (entry == nullptr) return 1;
    return entry->Level >= 1 && entry->Level <= kLevelCount ? entry->Level : 1;
}

void CourseSession::LessonOpening() {
    cursorActive_ = false;
    if (const plan::ListEntry* entry = CurrentEntry()) playCount_ = entry->PlayCount;
}

bool CourseSession::LoadMainScreen(int lesson) {
    return LessonRegistry::Run(mainScreens_, lesson);
}

void CourseSession::SetHoldRange(int lesson, const HoldRange& hold) {
    playback::CursorGeometry& geometry = tables_.CursorGeometry.at(static_cast<std::size_t>(lesson));
    geometry.HoldFrom = hold.From;
    geometry.HoldTo = hold.To;
}

playback::TransportLesson CourseSession::TransportLessonOf(int lesson) const {
    const auto index = static_cast<std::size_t>(lesson);
    playback::TransportLesson values;
    values.Lesson = lesson;
    values.CountInBeats = countInBeats_;
    values.CursorActive = cursorActive_;
    values.BeatDisplayOffset = beatDisplayOffset_;
    values.LoopRecordFifth = loopRecordFifth_;
    values.Geometry = tables_.CursorGeometry.at(index);
    values.Tempo = tables_.TempoTable.at(index);
    for (int level = 1; level <= kLevelCount; ++level)
        values.LevelFiles[static_cast<std::size_t>(level)] =
            programFolder_ + ExerciseFile(lesson, level);
    return values;
}

// ---- The passes -----------------------------------------------------------------------

// A level or a play count for the plan entry being practised, written to
// the list files at once so that no counted pass is lost.
void CourseSession::StoreInCurrentEntry(std::optional<int> level, std::optional<int> playCount) {
    plan::ListEntry* entry = CurrentEntry();
    if (entry == nullptr) return;
    if (level) entry->Level = *level;
    if (playCount) entry->PlayCount = *playCount;
    lists_.SaveNow();
}

void CourseSession::PassStarted(const playback::PassInfo& pass) {
    if (!explorerMode_) StoreInCurrentEntry(pass.Level, std::nullopt);
}

// A pass counts toward the quiz once it has been played through: one that
// was stopped, paused or cut short by the end of the program never counted,
// so the plan file's play count only ever holds passes played whole.
void CourseSession::PassPlayedThrough(const playback::PassInfo& pass) {
    if (!pass.TopLevel) return;
    playCount_ += 1;
    StoreInCurrentEntry(std::nullopt, playCount_);
    window_.PassProgressChanged();
}

void CourseSession::SetPlayCount(int count) {
    playCount_ = count;
    window_.PassProgressChanged();
}

// ---- The course -------------------------------------------------------------------------

// A reset is a change of progress: it is written at once.
void CourseSession::ResetCourse() {
    lists_.ResetLists();
    lists_.SaveNow();
    currentLesson_ = -1;
    window_.CourseWasReset();
}

} // namespace lessons
