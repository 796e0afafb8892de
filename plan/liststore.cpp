#include "plan/liststore.h"

#include "platform/core/cp1252.h"
#include "platform/core/files.h"
#include "platform/core/folders.h"
#include "platform/core/pathresolver.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <sys/stat.h>

namespace plan {
namespace {

constexpr int kLowestLevel = 1;
constexpr int kHighestLevel = 10;
constexpr const char* kBlankEntry = " ";

// The line as a 32-bit decimal integer ("-12", " 7 "), or nothing.
std::optional<std::int32_t> ParseDecimal(const std::string& line) {
    const char* first = line.data();
    const char* last = line.data() + line.size();
    while (first < last && (*first == ' ' || *first == '\t'))
        ++first;
    while (last > first && (last[-1] == ' ' || last[-1] == '\t'))
        --last;
    if (first < last && *first == '+') ++first;
    std::int32_t value = 0;
    auto [end, error] = std::from_chars(first, last, value, 10);
    if (error != std::errc() || end != last || first == last) return std::nullopt;
    return value;
}

std::int32_t& Field(ListEntry& entry, int field) {
    if (field == 0) return entry.Lesson;
    if (field == 1) return entry.Level;
    return entry.PlayCount;
}

// Clears the read-only state: the owner may write again. Errors are ignored.
void MakeWritable(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return;
    ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR);
}

// The list from the first folder that has it.
ListFileState ReadFromFirstFolder(ListEntry* entries, int count, const char* name,
                                  const std::string& dataFolder, const std::string& programFolder,
                                  std::string& foundIn) {
    for (const std::string* folder : {&dataFolder, &programFolder}) {
        if (platform::AnsiPathExists(*folder + name)) {
            foundIn = *folder + name;
            return ListStore::ReadListChecked(entries, count, foundIn);
        }
    }
    return ListFileState::Missing;
}

bool IsPlainFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool PathTaken(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

} // namespace

bool ListStore::ReadList(ListEntry* entries, int count, const std::string& fileName) {
    const std::string path = platform::ResolveAnsiPath(fileName);
    if (!platform::ReadFileBytes(path)) return false;
    const std::vector<std::string> lines = platform::ReadTextLines(path);
    for (int p = 0; p < count; ++p) {
        for (int f = 0; f < kFieldsPerEntry; ++f) {
            const std::size_t index = static_cast<std::size_t>(p * kFieldsPerEntry + f + 1);
            if (index >= lines.size()) return true;
            if (std::optional<std::int32_t> value = ParseDecimal(lines[index]))
                Field(entries[p], f) = *value;
        }
    }
    return true;
}

ListFileState ListStore::ReadListChecked(ListEntry* entries, int count,
                                         const std::string& fileName) {
    const std::string path = platform::ResolveAnsiPath(fileName);
    if (!IsPlainFile(path)) return ListFileState::Damaged;
    const std::optional<std::string> bytes = platform::ReadFileBytes(path);
    if (!bytes || bytes->empty()) return ListFileState::Damaged;
    const std::vector<std::string> lines = platform::ReadTextLines(path);
    std::vector<ListEntry> read(entries, entries + count);
    for (int p = 0; p < count; ++p) {
        for (int f = 0; f < kFieldsPerEntry; ++f) {
            const std::size_t index = static_cast<std::size_t>(p * kFieldsPerEntry + f + 1);
            if (index >= lines.size()) break;
            const std::optional<std::int32_t> value = ParseDecimal(lines[index]);
            if (!value) return ListFileState::Damaged;
            Field(read[p], f) = *value;
        }
    }
    std::copy(read.begin(), read.end(), entries);
    return ListFileState::Read;
}

bool ListStore::WriteList(const ListEntry* entries, int count, const std::string& fileName) {
    const std::string path = platform::ResolveAnsiPath(fileName);
    MakeWritable(path);
    std::string text = std::to_string(kFieldsPerEntry) + "\r\n";
    for (int p = 0; p < count; ++p) {
        text += std::to_string(entries[p].Lesson) + "\r\n";
        text += std::to_string(entries[p].Level) + "\r\n";
        text += std::to_string(entries[p].PlayCount) + "\r\n";
    }
    return platform::WriteFileAtomically(path, text);
}

void ListStore::ResetLists() {
    Plan.fill(ListEntry{-1, 1, 0});
    Waiting.fill(ListEntry{1, 1, 0});
    listsValid_ = true;
    SaveNow();
}

int ListStore::FirstWaiting() const {
    for (int lesson = 0; lesson < kLessonCount; ++lesson) {
        if (Waiting[lesson].Lesson != 0) return lesson;
    }
    return -1;
}

int ListStore::AddToPlan(int lesson) {
    if (lesson < 0 || lesson >= kLessonCount) return kPlanSlots;
    for (int slot = 0; slot < kPlanSlots; ++slot) {
        if (Plan[slot].Lesson == -1) {
            Plan[slot] = ListEntry{lesson, Waiting[lesson].Level, Waiting[lesson].PlayCount};
            SaveNow();
            return slot;
        }
    }
    return kPlanSlots;
}

bool ListStore::PlanHasRoom() const {
    return Plan[kPlanSlots - 1].Lesson == -1;
}

void ListStore::RemoveFromPlan(int slot) {
    if (slot < 0 || slot >= kPlanSlots) return;
    if (Plan[slot].Lesson < 0 || Plan[slot].Lesson >= kLessonCount) return;
    Plan[slot].Lesson = -1;
    for (int j = slot; j < kPlanSlots - 1; ++j) {
        Plan[j] = Plan[j + 1];
        Plan[j + 1].Lesson = -1;
    }
    SaveNow();
}

bool ListStore::FindDataFolder(std::string& path) {
    std::string native;
    const bool found = platform::FindDataFolder(native);
    path = platform::ToAnsi(QFile::decodeName(QByteArray::fromStdString(native)));
    return found;
}

bool ListStore::ReadStoredLists(const std::string& dataFolder, const std::string& programFolder) {
    damagedFiles_.clear();
    std::string planPath, waitingPath;
    const ListFileState plan = ReadFromFirstFolder(Plan.data(), kPlanSlots, kPlanFile, dataFolder,
                                                   programFolder, planPath);
    const ListFileState waiting = ReadFromFirstFolder(Waiting.data(), kLessonCount, kWaitingFile,
                                                      dataFolder, programFolder, waitingPath);
    if (plan == ListFileState::Damaged) damagedFiles_.push_back(planPath);
    if (waiting == ListFileState::Damaged) damagedFiles_.push_back(waitingPath);
    if (!damagedFiles_.empty()) {
        // The lists belong together (a lesson is either waiting or in the
        // plan): with one of them lost both start fresh, and both old files
        // are kept.
        // The old files are put aside before anything is written, also by
        // the save that resetting may start.
        keepOldFiles_ = true;
        ResetLists();
    }
    MendEntries();
    ForgetPlannedInWaiting();
    // Lists that were read, or started fresh after damage, may be written;
    // missing ones never are.
    listsValid_ = plan != ListFileState::Missing && waiting != ListFileState::Missing;
    return listsValid_;
}

std::string ListStore::KeepAside(const std::string& fileName) {
    const std::string path = platform::ResolveAnsiPath(fileName);
    if (!PathTaken(path)) return {};
    for (int n = 1; n < 1000; ++n) {
        const std::string suffix = n == 1 ? ".bak" : ".bak" + std::to_string(n);
        if (PathTaken(path + suffix)) continue;
        if (::rename(path.c_str(), (path + suffix).c_str()) != 0) return {};
        return fileName + suffix;
    }
    return {};
}

bool ListStore::WriteKeepingOld(const ListEntry* entries, int count,
                                const std::string& fileName) const {
    if (keepOldFiles_ && PathTaken(platform::ResolveAnsiPath(fileName)) &&
        KeepAside(fileName).empty())
        return false;
    return WriteList(entries, count, fileName);
}

void ListStore::ReadExplorerTexts(const std::string& programFolder, QStringList& titles,
                                  QStringList& texts) {
    titles.clear();
    texts.clear();
    const std::string path = platform::ResolveAnsiPath(programFolder + kExplorerFile);
    std::vector<std::string> lines = platform::ReadTextLines(path);
    if (!lines.empty()) lines.erase(lines.begin()); // the header
    for (std::size_t k = 0; k + 1 < lines.size(); k += 2) {
        titles.append(platform::FromAnsi(lines[k]));
        texts.append(platform::FromAnsi(lines[k + 1]));
    }
    // A missing or short file: blank entries for every entry it lacks, so
    // that the explorer and the plan can show any of the 31.
    while (titles.size() < kExplorerEntries) {
        titles.append(kBlankEntry);
        texts.append(kBlankEntry);
    }
}

bool ListStore::SaveLists(const std::string& dataFolder, bool programDriveIsCdRom) const {
    if (programDriveIsCdRom) return true;
    const bool planWritten = WriteKeepingOld(Plan.data(), kPlanSlots, dataFolder + kPlanFile);
    const bool waitingWritten =
        WriteKeepingOld(Waiting.data(), kLessonCount, dataFolder + kWaitingFile);
    // The old files are aside now; later saves replace the new ones.
    if (planWritten && waitingWritten) keepOldFiles_ = false;
    return planWritten && waitingWritten;
}

void ListStore::KeepSavedIn(const std::string& dataFolder, bool programDriveIsCdRom) {
    keepSaved_ = true;
    saveFolder_ = dataFolder;
    savedFromCdRom_ = programDriveIsCdRom;
}

bool ListStore::SaveNow() const {
    if (!keepSaved_ || !listsValid_ || savedFromCdRom_) return false;
    return SaveLists(saveFolder_, false);
}

bool ListStore::CanSave() const {
    if (!keepSaved_ || !listsValid_ || savedFromCdRom_) return true;
    const QString file =
        QFile::decodeName(QByteArray::fromStdString(platform::ResolveAnsiPath(saveFolder_ + kPlanFile)));
    QTemporaryFile probe(QFileInfo(file).absolutePath() + "/.probe-XXXXXX");
    return probe.open();
}

int ListStore::TakeIntoPlan(int lesson) {
    const int slot = AddToPlan(lesson);
    if (slot < kPlanSlots) {
        Waiting[lesson].Lesson = 0;
        SaveNow();
    }
    return slot;
}

void ListStore::RecordProgress(int level, int playCount) {
    if (CurrentEntry < 0 || CurrentEntry >= kPlanSlots) return;
    Plan[CurrentEntry].Level = level;
    Plan[CurrentEntry].PlayCount = playCount;
    SaveNow();
}

void ListStore::ForgetPlannedInWaiting() {
    for (const ListEntry& entry : Plan)
        if (entry.Lesson >= 0 && entry.Lesson < kLessonCount) Waiting[entry.Lesson].Lesson = 0;
}

void ListStore::MendEntries() {
    auto mendLevelAndCount = [](ListEntry& entry) {
        if (entry.Level < kLowestLevel || entry.Level > kHighestLevel) entry.Level = kLowestLevel;
        if (entry.PlayCount < 0) entry.PlayCount = 0;
    };
    for (ListEntry& entry : Plan) {
        if (entry.Lesson < -1 || entry.Lesson >= kLessonCount) entry.Lesson = -1;
        mendLevelAndCount(entry);
    }
    for (ListEntry& entry : Waiting)
        mendLevelAndCount(entry);
}

} // namespace plan
