#pragma once
// The learner's progress: the practice plan of at most three lessons being
// practised and the waiting list with one entry per lesson, read from two
// small text files at start-up and written back whenever progress changes
// and when the learner leaves (never from a CD-ROM); and
// the explorer's titles and texts, read from a third file of the same family.
//
// List files are CR LF text in Windows-1252: line 1 "3" (fields per entry,
// not read back), then Lesson, Level and PlayCount of each entry, one decimal
// integer a line. Folder and file names handed in are Windows-1252 like every
// other text of the program, and go through the content path resolver.

#include <QStringList>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace plan {

// How a list file was found at start-up.
enum class ListFileState {
    Read,    // read (a short file keeps the values that were there before)
    Missing, // in neither folder
    Damaged, // present but unreadable, empty or holding a line that is no number
};

// One entry of the plan or of the waiting list.
//   in a plan slot: Lesson 0..29 or -1 (empty), the tempo Level last used,
//                   PlayCount passes at level 10;
//   in the waiting list: Lesson 1 while the lesson waits, 0 once it was
//                   taken; the Level and PlayCount it will start with.
struct ListEntry {
    std::int32_t Lesson = 0;
    std::int32_t Level = 0;
    std::int32_t PlayCount = 0;
};

class ListStore {
public:
    static constexpr int kPlanSlots = 3;
    static constexpr int kLessonCount = 30;
    // Passes played through at the top level before a lesson's quiz opens.
    static constexpr int kQuizPasses = 3;
    static constexpr int kExplorerEntries = 31;
    static constexpr int kFieldsPerEntry = 3;

    // Content names of the three files, relative to a folder.
    static constexpr const char* kPlanFile = "Listen\\ListeUeplan.ztl";
    static constexpr const char* kWaitingFile = "Listen\\ListeWarten.ztl";
    static constexpr const char* kExplorerFile = "Listen\\LTextXplorer.ztl";

    // All entries zero, IntroMode on, CurrentEntry 0.
    ListStore() = default;

    std::array<ListEntry, kPlanSlots> Plan{};
    std::array<ListEntry, kLessonCount> Waiting{};
    // The plan slot of the lesson being practised.
    int CurrentEntry = 0;

    bool IntroMode() const { return introMode_; }
    void SetIntroMode() { introMode_ = true; }
    void ClearIntroMode() { introMode_ = false; }

    // Fills `count` entries from the list file `fileName` (Windows-1252). Line p*3+f+1 gives
    // field f of entry p; a missing line leaves the field as it was, and so
    // does a line that is not a decimal integer (optionally signed, blanks
    // around it allowed, within 32 bits). Returns false when the file could
    // not be read (then nothing changes).
    static bool ReadList(ListEntry* entries, int count, const std::string& fileName);

    // Writes "3" and the `count` entries, CR LF after every line, replacing
    // the file only once the new one is complete and flushed; a read-only file
    // is made writable first. Returns false when the file could not be
    // written, and then the old file is as it was.
    static bool WriteList(const ListEntry* entries, int count, const std::string& fileName);

    // The defaults of a fresh start: plan slots (-1, 1, 0), waiting entries (1, 1, 0).
    void ResetLists();

    // The lowest lesson whose waiting entry is set (Lesson != 0), or -1.
    int FirstWaiting() const;

    // Puts `lesson` into the first empty plan slot with the Level and
    // PlayCount of its waiting entry; returns the slot, or 3 when the plan is
    // full (nothing changes then, nor for a lesson outside 0..29).
    int AddToPlan(int lesson);

    // True when the last plan slot is empty.
    bool PlanHasRoom() const;

    // Empties `slot` and moves the later entries up by one; nothing for an
    // empty slot or a slot outside 0..2.
    void RemoveFromPlan(int slot);

    // The learner's data folder ("ZupfariDemo" with its "Listen" folder under
    // the per-user application data folder), as platform::FindDataFolder finds
    // and creates it, here in Windows-1252. False when it cannot be had; the
    // caller then uses the program folder.
    static bool FindDataFolder(std::string& path);

    // Like ReadList, but tells a damaged file from a good one: a file that
    // cannot be read, is empty or holds a line that is not a decimal integer
    // where a field is expected gives Damaged and changes nothing.
    static ListFileState ReadListChecked(ListEntry* entries, int count,
                                         const std::string& fileName);

    // Start-up: the plan from dataFolder + kPlanFile, else programFolder +
    // kPlanFile; the waiting list the same way. Values that the rest of the
    // program could not use are then mended (see MendEntries). When a list
    // file is damaged, both lists start fresh (ResetLists) and the list files
    // of the data folder are kept aside before they are next written (see
    // SaveLists), so the learner's progress is never overwritten. Returns
    // false when either list was found in neither folder (the program then
    // reports missing files and closes).
    bool ReadStoredLists(const std::string& dataFolder, const std::string& programFolder);

    // The list files (Windows-1252 names) that ReadStoredLists found damaged.
    const std::vector<std::string>& DamagedFiles() const { return damagedFiles_; }

    // Start-up: the explorer titles and texts from programFolder +
    // kExplorerFile: the header line is skipped, then lines pair up as title
    // and text; a last unpaired line is ignored. Without the file both lists
    // get 31 entries of a single space, and a file with fewer than 31 pairs is
    // made up to 31 with such entries, so that no reader runs past the end.
    // The lists are replaced, not appended to.
    static void ReadExplorerTexts(const std::string& programFolder, QStringList& titles,
                                  QStringList& texts);

    // Leaving: unless the program runs from a CD-ROM, writes the plan and the
    // waiting list to dataFolder (both are tried even when the first fails).
    // After a damaged read, each list file already in dataFolder is first
    // renamed to a free name beside it (name + ".bak", ".bak2", ...); a file
    // that cannot be put aside is not written. Returns false when a list
    // could not be written.
    bool SaveLists(const std::string& dataFolder, bool programDriveIsCdRom) const;

    // The name a damaged list file was kept under, or empty.
    static std::string KeepAside(const std::string& fileName);

    // ---- Saving as the learner goes ----------------------------------------
    // From now on the store writes both lists to dataFolder whenever progress
    // changes (a lesson enters or leaves the plan, the course starts over) and
    // whenever SaveNow is called, so that a crash or a killed process loses
    // nothing; from a CD-ROM it never writes. Only lists that were read (or
    // reset) are ever written, so missing files are not replaced by blanks.
    void KeepSavedIn(const std::string& dataFolder, bool programDriveIsCdRom);
    // Writes both lists at once when saving is kept up (see KeepSavedIn);
    // false when nothing was written or writing failed.
    bool SaveNow() const;
    // Whether the lists can be written where they are kept: a file can be
    // made in that folder's "Listen" (tried, then removed again). True when
    // nothing is to be written (saving not kept up, from a CD-ROM, or lists
    // that were never read).
    bool CanSave() const;
    // The folder the lists are written to (Windows-1252), for telling the learner.
    std::string SaveFolder() const { return saveFolder_ + "Listen"; }
    // The end of a lesson's introduction: AddToPlan, the lesson no longer
    // waits, and both lists are saved. Returns the slot (3 when full: then
    // nothing changes).
    int TakeIntoPlan(int lesson);
    // The transport's record of the running exercise: level and play count
    // into Plan[CurrentEntry], then both lists are saved.
    void RecordProgress(int level, int playCount);

private:
    // Brings values read from a damaged list back into the ranges the program
    // indexes with: a plan lesson outside -1..29 empties its slot, a level
    // outside 1..10 becomes 1, a negative play count 0.
    void MendEntries();

    bool WriteKeepingOld(const ListEntry* entries, int count, const std::string& fileName) const;

    bool introMode_ = true;
    std::vector<std::string> damagedFiles_;
    // Set by a damaged read, cleared once the old files are put aside.
    mutable bool keepOldFiles_ = false;
    // A lesson that sits in the plan no longer waits (a list written between
    // the two steps of taking a lesson in would otherwise offer it again).
    void ForgetPlannedInWaiting();

    bool listsValid_ = false;
    bool keepSaved_ = false;
    bool savedFromCdRom_ = false;
    std::string saveFolder_;
};

} // namespace plan
