// The list store: plan and waiting-list operations, the list files (exact
// bytes, short, damaged, read-only, failed writes), start-up reading and the
// explorer texts.
#include "plan/liststore.h"
#include "platform/core/files.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using plan::ListEntry;
using plan::ListStore;
using testsupport::TempFolder;

namespace {

bool Same(const ListEntry& a, const ListEntry& b) {
    return a.Lesson == b.Lesson && a.Level == b.Level && a.PlayCount == b.PlayCount;
}

::testing::AssertionResult PlanIs(const ListStore& store, std::array<ListEntry, 3> expected) {
    for (int slot = 0; slot < 3; ++slot) {
        const ListEntry& e = store.Plan[slot];
        if (!Same(e, expected[slot]))
            return ::testing::AssertionFailure() << "slot " << slot << " is (" << e.Lesson << ", "
                                                 << e.Level << ", " << e.PlayCount << ")";
    }
    return ::testing::AssertionSuccess();
}

std::string ListFile(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + "\r\n";
    return text;
}

// A store with lessons 4, 9 and 17 in the plan.
ListStore FullPlan() {
    ListStore store;
    store.ResetLists();
    store.Plan = {ListEntry{4, 10, 3}, ListEntry{9, 5, 0}, ListEntry{17, 2, 1}};
    return store;
}

} // namespace

TEST(ListStore, StartsEmptyInIntroModeAndResetsToTheFreshStartDefaults) {
    ListStore store;
    EXPECT_TRUE(store.IntroMode());
    EXPECT_EQ(store.CurrentEntry, 0);
    EXPECT_TRUE(PlanIs(store, {}));
    store.ClearIntroMode();
    EXPECT_FALSE(store.IntroMode());
    store.SetIntroMode();
    EXPECT_TRUE(store.IntroMode());

    store.ResetLists();
    EXPECT_TRUE(PlanIs(store, {ListEntry{-1, 1, 0}, ListEntry{-1, 1, 0}, ListEntry{-1, 1, 0}}));
    for (const ListEntry& e : store.Waiting)
        EXPECT_TRUE(Same(e, ListEntry{1, 1, 0}));
}

TEST(ListStore, FirstWaitingSkipsTakenLessonsAndGivesMinusOneWhenAllAreTaken) {
    ListStore store;
    store.ResetLists();
    EXPECT_EQ(store.FirstWaiting(), 0);
    for (int lesson = 0; lesson < 12; ++lesson)
        store.Waiting[lesson].Lesson = 0;
    EXPECT_EQ(store.FirstWaiting(), 12);
    store.Waiting[5].Lesson = -7; // anything but 0 still waits
    EXPECT_EQ(store.FirstWaiting(), 5);
    for (ListEntry& e : store.Waiting)
        e.Lesson = 0;
    EXPECT_EQ(store.FirstWaiting(), -1);
}

TEST(ListStore, AddToPlanFillsTheFirstEmptySlotAndRefusesAFullPlan) {
    ListStore store;
    store.ResetLists();
    store.Waiting[7] = ListEntry{1, 6, 2};
    EXPECT_TRUE(store.PlanHasRoom());
    EXPECT_EQ(store.AddToPlan(7), 0);
    EXPECT_EQ(store.AddToPlan(3), 1);
    store.Plan[1].Lesson = -1; // a gap is filled first
    EXPECT_EQ(store.AddToPlan(8), 1);
    EXPECT_EQ(store.AddToPlan(9), 2);
    EXPECT_TRUE(PlanIs(store, {ListEntry{7, 6, 2}, ListEntry{8, 1, 0}, ListEntry{9, 1, 0}}));
    EXPECT_FALSE(store.PlanHasRoom());

    EXPECT_EQ(store.AddToPlan(10), 3);
    EXPECT_TRUE(PlanIs(store, {ListEntry{7, 6, 2}, ListEntry{8, 1, 0}, ListEntry{9, 1, 0}}));

    ListStore roomy;
    roomy.ResetLists();
    EXPECT_EQ(roomy.AddToPlan(30), 3);
    EXPECT_EQ(roomy.AddToPlan(-1), 3);
    EXPECT_TRUE(roomy.PlanHasRoom());
}

TEST(ListStore, RemoveFromPlanClosesTheGapAndIgnoresEmptyOrUnknownSlots) {
    ListStore store = FullPlan();
    store.RemoveFromPlan(0);
    EXPECT_TRUE(PlanIs(store, {ListEntry{9, 5, 0}, ListEntry{17, 2, 1}, ListEntry{-1, 2, 1}}));
    EXPECT_TRUE(store.PlanHasRoom());

    store.RemoveFromPlan(2); // empty: nothing
    store.RemoveFromPlan(-1);
    store.RemoveFromPlan(3);
    EXPECT_TRUE(PlanIs(store, {ListEntry{9, 5, 0}, ListEntry{17, 2, 1}, ListEntry{-1, 2, 1}}));

    store = FullPlan();
    store.RemoveFromPlan(1);
    EXPECT_TRUE(PlanIs(store, {ListEntry{4, 10, 3}, ListEntry{17, 2, 1}, ListEntry{-1, 2, 1}}));
    store = FullPlan();
    store.RemoveFromPlan(2);
    EXPECT_TRUE(PlanIs(store, {ListEntry{4, 10, 3}, ListEntry{9, 5, 0}, ListEntry{-1, 2, 1}}));
}

TEST(ListFiles, TheFreshStartPlanFileHasExactlyTheseBytes) {
    TempFolder temp;
    ListStore store;
    store.ResetLists();
    const std::string plan = temp.Path() + "ListeUeplan.ztl";
    ASSERT_TRUE(ListStore::WriteList(store.Plan.data(), 3, plan));
    EXPECT_EQ(*platform::ReadFileBytes(plan),
              "3\r\n-1\r\n1\r\n0\r\n-1\r\n1\r\n0\r\n-1\r\n1\r\n0\r\n");

    const std::string waiting = temp.Path() + "ListeWarten.ztl";
    ASSERT_TRUE(ListStore::WriteList(store.Waiting.data(), 30, waiting));
    EXPECT_EQ(platform::ReadTextLines(waiting).size(), 91u);
}

TEST(ListFiles, ReadsBackWhatWasWrittenAndShortFilesKeepWhatWasThere) {
    TempFolder temp;
    ListStore written = FullPlan();
    written.Plan[1].PlayCount = -2147483647 - 1;
    const std::string path = temp.Path() + "plan.ztl";
    ASSERT_TRUE(ListStore::WriteList(written.Plan.data(), 3, path));
    ListStore read;
    ASSERT_TRUE(ListStore::ReadList(read.Plan.data(), 3, path));
    EXPECT_TRUE(PlanIs(read, written.Plan));

    // Only the header: every slot stays as it was (zero after creation).
    temp.Write("header.ztl", "3\r\n");
    ListStore fresh;
    EXPECT_TRUE(ListStore::ReadList(fresh.Plan.data(), 3, temp.Path() + "header.ztl"));
    EXPECT_TRUE(PlanIs(fresh, {}));
    ListStore reset = FullPlan();
    ListStore::ReadList(reset.Plan.data(), 3, temp.Path() + "header.ztl");
    EXPECT_TRUE(PlanIs(reset, FullPlan().Plan));

    // One entry and a half, LF line ends.
    temp.Write("short.ztl", "3\n12\n7\n1\n-1\n");
    ListStore::ReadList(reset.Plan.data(), 3, temp.Path() + "short.ztl");
    EXPECT_TRUE(PlanIs(reset, {ListEntry{12, 7, 1}, ListEntry{-1, 5, 0}, ListEntry{17, 2, 1}}));

    EXPECT_FALSE(ListStore::ReadList(reset.Plan.data(), 3, temp.Path() + "missing.ztl"));
}

TEST(ListFiles, ALineThatIsNoDecimalIntegerKeepsTheFieldsValue) {
    TempFolder temp;
    temp.Write("odd.ztl", ListFile({"3", "abc", "", " 8 ", "+2", "0x10", "99999999999", "5", "1.5",
                                    "\xC4\xD6\xDC"}));
    ListStore store = FullPlan();
    ASSERT_TRUE(ListStore::ReadList(store.Plan.data(), 3, temp.Path() + "odd.ztl"));
    EXPECT_TRUE(PlanIs(store, {ListEntry{4, 10, 8}, ListEntry{2, 5, 0}, ListEntry{5, 2, 1}}));

    temp.Write("binary.ztl", std::string("3\r\n\0\0\xFF\r\n-\r\n--1\r\n", 16));
    EXPECT_TRUE(ListStore::ReadList(store.Plan.data(), 3, temp.Path() + "binary.ztl"));
    EXPECT_TRUE(PlanIs(store, {ListEntry{4, 10, 8}, ListEntry{2, 5, 0}, ListEntry{5, 2, 1}}));
}

TEST(ListFiles, AReadOnlyListFileIsReplaced) {
    TempFolder temp;
    const std::string path = temp.Write("ListeUeplan.ztl", ListFile({"3", "1", "1", "0"}));
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    ListStore store = FullPlan();
    ASSERT_TRUE(ListStore::WriteList(store.Plan.data(), 3, path));
    EXPECT_EQ(platform::ReadTextLines(path)[1], "4");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IWUSR);
}

TEST(ListFiles, AFailedWriteLeavesTheOldListIntact) {
    TempFolder temp;
    const std::string old = ListFile({"3", "2", "3", "1", "5", "1", "0", "-1", "1", "0"});
    const std::string path = temp.Write("Listen/ListeUeplan.ztl", old);
    // The new file beside it cannot be made: a folder stands in its place.
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(path + ".new")));
    ListStore store = FullPlan();
    EXPECT_FALSE(ListStore::WriteList(store.Plan.data(), 3, path));
    EXPECT_EQ(*platform::ReadFileBytes(path), old);

    // Leaving still writes the waiting list and reports the failure.
    EXPECT_FALSE(store.SaveLists(temp.Path(), false));
    EXPECT_EQ(*platform::ReadFileBytes(path), old);
    EXPECT_EQ(platform::ReadTextLines(temp.Path() + "Listen/ListeWarten.ztl").size(), 91u);
}

TEST(ListFiles, SaveListsWritesBothListsToTheDataFolderButNothingFromACdRom) {
    TempFolder data;
    ASSERT_TRUE(QDir().mkpath(data.QPath() + "Listen"));
    ListStore store = FullPlan();
    EXPECT_TRUE(store.SaveLists(data.Path(), true));
    EXPECT_FALSE(QFileInfo::exists(data.QPath() + "Listen/ListeUeplan.ztl"));
    EXPECT_FALSE(QFileInfo::exists(data.QPath() + "Listen/ListeWarten.ztl"));

    EXPECT_TRUE(store.SaveLists(data.Path(), false));
    ListStore read;
    ASSERT_TRUE(read.ReadStoredLists(data.Path(), "/nonexistent/"));
    EXPECT_TRUE(PlanIs(read, store.Plan));
    EXPECT_TRUE(Same(read.Waiting[29], ListEntry{1, 1, 0}));
}

TEST(StartUpLists, TheDataFolderComesFirstThenTheProgramFolder) {
    TempFolder data, program;
    program.Write("Listen/ListeUeplan.ztl", ListFile({"3", "2", "4", "0"}));
    program.Write("Listen/ListeWarten.ztl", ListFile({"3", "0", "3", "0", "1", "2", "0"}));
    data.Write("LISTEN/listeueplan.ZTL", ListFile({"3", "6", "9", "3"}));

    ListStore store;
    store.ResetLists();
    EXPECT_TRUE(store.ReadStoredLists(data.Path(), program.Path()));
    EXPECT_TRUE(Same(store.Plan[0], ListEntry{6, 9, 3})) << "plan from the data folder";
    EXPECT_TRUE(Same(store.Waiting[0], ListEntry{0, 3, 0})) << "waiting list from the program";
    EXPECT_TRUE(Same(store.Waiting[1], ListEntry{1, 2, 0}));
    EXPECT_EQ(store.FirstWaiting(), 1);
}

TEST(StartUpLists, AListMissingInBothFoldersIsReported) {
    TempFolder data, program;
    program.Write("Listen/ListeUeplan.ztl", ListFile({"3", "2", "4", "0"}));
    ListStore store;
    store.ResetLists();
    EXPECT_FALSE(store.ReadStoredLists(data.Path(), program.Path()));
    EXPECT_TRUE(Same(store.Plan[0], ListEntry{2, 4, 0})) << "the list that exists is read";
}

TEST(StartUpLists, DamagedValuesAreMendedIntoUsableRanges) {
    TempFolder data;
    data.Write("Listen/ListeUeplan.ztl",
               ListFile({"3", "57", "4", "1", "3", "0", "-5", "-2", "11", "2"}));
    data.Write("Listen/ListeWarten.ztl", ListFile({"3", "1", "0", "0", "0", "99", "-1"}));
    ListStore store;
    store.ResetLists();
    EXPECT_TRUE(store.ReadStoredLists(data.Path(), data.Path()));
    EXPECT_TRUE(PlanIs(store, {ListEntry{-1, 4, 1}, ListEntry{3, 1, 0}, ListEntry{-1, 1, 2}}));
    EXPECT_TRUE(Same(store.Waiting[0], ListEntry{1, 1, 0}));
    EXPECT_TRUE(Same(store.Waiting[1], ListEntry{0, 1, 0}));
}

// A list file that is there but cannot be read or understood: both lists
// start fresh, the file is named, and the next save keeps the old files
// aside instead of writing over them.
TEST(DamagedLists, UnreadableEmptyOrGarbledFilesStartFreshAndAreKept) {
    struct Case {
        const char* what;
        std::function<void(const TempFolder&)> damage;
    };
    const std::vector<Case> cases = {
        {"empty", [](const TempFolder& d) { d.Write("Listen/ListeUeplan.ztl", ""); }},
        {"garbled",
         [](const TempFolder& d) {
             d.Write("Listen/ListeUeplan.ztl", ListFile({"3", "4", "zwei", "0"}));
         }},
        {"a folder",
         [](const TempFolder& d) {
             QDir().mkpath(d.QPath() + "Listen/ListeUeplan.ztl/inner");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder data, program;
        const std::string waiting = ListFile({"3", "0", "4", "2", "1", "1", "0"});
        data.Write("Listen/ListeWarten.ztl", waiting);
        program.Write("Listen/ListeUeplan.ztl", ListFile({"3", "0", "7", "2"}));
        c.damage(data);

        ListStore store;
        EXPECT_TRUE(store.ReadStoredLists(data.Path(), program.Path()));
        ASSERT_EQ(store.DamagedFiles().size(), 1u);
        EXPECT_EQ(store.DamagedFiles()[0], data.Path() + "Listen\\ListeUeplan.ztl");
        EXPECT_TRUE(PlanIs(store, {ListEntry{-1, 1, 0}, ListEntry{-1, 1, 0}, ListEntry{-1, 1, 0}}));
        EXPECT_TRUE(Same(store.Waiting[0], ListEntry{1, 1, 0})) << "the fresh-start lists";

        EXPECT_TRUE(store.SaveLists(data.Path(), false));
        EXPECT_TRUE(QFileInfo::exists(data.QPath() + "Listen/ListeUeplan.ztl.bak"));
        EXPECT_EQ(*platform::ReadFileBytes(data.Path() + "Listen/ListeWarten.ztl.bak"), waiting);
        EXPECT_EQ(platform::ReadTextLines(data.Path() + "Listen/ListeUeplan.ztl")[1], "-1");
        // Kept once: a later save replaces only the new files.
        EXPECT_TRUE(store.SaveLists(data.Path(), false));
        EXPECT_FALSE(QFileInfo::exists(data.QPath() + "Listen/ListeUeplan.ztl.bak2"));
    }
}

TEST(DamagedLists, AKeptCopyNeverReplacesAnEarlierOne) {
    TempFolder data;
    data.Write("Listen/ListeUeplan.ztl", "");
    data.Write("Listen/ListeUeplan.ztl.bak", "earlier");
    data.Write("Listen/ListeWarten.ztl", ListFile({"3", "1", "1", "0"}));
    ListStore store;
    ASSERT_TRUE(store.ReadStoredLists(data.Path(), data.Path()));
    ASSERT_TRUE(store.SaveLists(data.Path(), false));
    EXPECT_EQ(*platform::ReadFileBytes(data.Path() + "Listen/ListeUeplan.ztl.bak"), "earlier");
    EXPECT_EQ(*platform::ReadFileBytes(data.Path() + "Listen/ListeUeplan.ztl.bak2"), "");

    // A damaged list in the program folder is never written, so nothing is
    // put aside there.
    TempFolder data2, program;
    program.Write("Listen/ListeUeplan.ztl", "");
    program.Write("Listen/ListeWarten.ztl", ListFile({"3", "1", "1", "0"}));
    ListStore fromProgram;
    ASSERT_TRUE(fromProgram.ReadStoredLists(data2.Path(), program.Path()));
    EXPECT_EQ(fromProgram.DamagedFiles().size(), 1u);
    ASSERT_TRUE(QDir().mkpath(data2.QPath() + "Listen"));
    EXPECT_TRUE(fromProgram.SaveLists(data2.Path(), false));
    EXPECT_TRUE(QFileInfo::exists(program.QPath() + "Listen/ListeUeplan.ztl"));
    EXPECT_FALSE(QFileInfo::exists(program.QPath() + "Listen/ListeUeplan.ztl.bak"));
}

TEST(DamagedLists, AHeaderOnlyFileIsNoDamage) {
    TempFolder data;
    data.Write("Listen/ListeUeplan.ztl", ListFile({"3"}));
    data.Write("Listen/ListeWarten.ztl", ListFile({"3", "0", "2", "0"}));
    ListStore store;
    ASSERT_TRUE(store.ReadStoredLists(data.Path(), data.Path()));
    EXPECT_TRUE(store.DamagedFiles().empty());
    EXPECT_TRUE(Same(store.Waiting[0], ListEntry{0, 2, 0}));
}

TEST(ExplorerTexts, PairsTitlesAndTextsAfterTheHeaderAndDropsAnUnpairedLine) {
    TempFolder program;
    std::vector<const char*> lines{"Zupfari"};
    std::vector<std::string> numbered;
    for (int n = 0; n < 31; ++n)
        numbered.push_back(std::to_string(n));
    for (const std::string& n : numbered) {
        lines.push_back(n.c_str());
        lines.push_back(n.c_str());
    }
    lines[1] = "Lektion 0$nDie Gitarre";
    lines[3] = "\xDC"
               "bung 1";
    lines[4] = "Gr\xFC\xDF"
               "e";
    std::string even;
    for (const char* line : lines)
        even += std::string(line) + "\r\n";
    program.Write("Listen/LTextXplorer.ztl", even);
    QStringList titles{"old"}, texts{"old"};
    ListStore::ReadExplorerTexts(program.Path(), titles, texts);
    ASSERT_EQ(titles.size(), 31);
    ASSERT_EQ(texts.size(), 31);
    EXPECT_EQ(titles[0], "Lektion 0$nDie Gitarre");
    EXPECT_EQ(texts[0], "0");
    EXPECT_EQ(titles[1], QString::fromUtf8("Übung 1"));
    EXPECT_EQ(texts[1], QString::fromUtf8("Grüße"));
    EXPECT_EQ(titles[30], "30");
    EXPECT_EQ(texts[30], "30");

    program.Write("Listen/LTextXplorer.ztl", even + "unpaired\r\n");
    ListStore::ReadExplorerTexts(program.Path(), titles, texts);
    EXPECT_EQ(titles.size(), 31);
    EXPECT_EQ(texts.size(), 31);
    EXPECT_FALSE(titles.contains("unpaired"));
    EXPECT_FALSE(texts.contains("unpaired"));
}

TEST(ExplorerTexts, AMissingOrShortFileGivesBlankEntriesUpToThirtyOne) {
    TempFolder program;
    QStringList titles, texts;
    ListStore::ReadExplorerTexts(program.Path(), titles, texts);
    ASSERT_EQ(titles.size(), 31);
    ASSERT_EQ(texts.size(), 31);
    EXPECT_EQ(titles.count(" "), 31);
    EXPECT_EQ(texts.count(" "), 31);

    program.Write("Listen/LTextXplorer.ztl", ListFile({"Zupfari", "T0", "X0", "T1"}));
    ListStore::ReadExplorerTexts(program.Path(), titles, texts);
    ASSERT_EQ(titles.size(), 31);
    ASSERT_EQ(texts.size(), 31);
    EXPECT_EQ(titles[0], "T0");
    EXPECT_EQ(texts[0], "X0");
    EXPECT_EQ(titles[1], " ") << "the unpaired last line is ignored";

    program.Write("Listen/LTextXplorer.ztl", "");
    ListStore::ReadExplorerTexts(program.Path(), titles, texts);
    EXPECT_EQ(titles.count(" "), 31);
}

TEST(DataFolder, IsTheUsersZupfariDemoFolderWithItsListenFolder) {
    std::string folder;
    ASSERT_TRUE(ListStore::FindDataFolder(folder));
    EXPECT_EQ(folder, testsupport::TestHome() + "/.local/share/ZupfariDemo/");
    EXPECT_TRUE(QFileInfo(QString::fromStdString(folder + "Listen")).isDir());
}
