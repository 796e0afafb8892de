// The generator itself: the same sources give the same bytes on every run
// (its run time is printed as a figure); the palette and the layout agree
// with each other and with the positions the course fixes.
#include "layout/screenlayout.h"
#include "platform/core/files.h"
#include "tests/support/testsupport.h"

#include <QColor>
#include <QDirIterator>
#include <QFile>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <regex>

namespace {

std::map<std::string, std::string> FolderBytes(const std::string& folder) {
    std::map<std::string, std::string> files;
    QDirIterator it(QString::fromStdString(folder), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files[path.mid(int(folder.size())).toStdString()] = platform::ReadFileBytes(path.toStdString()).value_or("");
    }
    return files;
}

double RunGenerator(const std::string& arguments) {
    const auto start = std::chrono::steady_clock::now();
    const std::string command = std::string(ZUPFARI_CONTENT_GENERATOR) + " --sources " + ZUPFARI_CONTENT_SOURCES + " " +
                                arguments + " > /dev/null 2>&1";
    EXPECT_EQ(testsupport::RunShell(command), 0) << command;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(ArtGenerator, TwoRunsGiveTheSameBytes) {
    testsupport::TempFolder first, second;
    double seconds = 0;
    for (const testsupport::TempFolder* folder : {&first, &second}) {
        seconds = RunGenerator("--resources " + folder->Path() + "res");
        for (const char* step : {"art-pictures", "art-skins", "art-videos", "lesson-screens"})
            seconds += RunGenerator("--out " + folder->Path() + "bin --only " + step);
    }
    std::printf("[ figure ] art steps of the content generator: %.2f s for one run\n", seconds);
    const auto a = FolderBytes(first.Path()), b = FolderBytes(second.Path());
    EXPECT_GE(a.size(), 51u + 19u);
    EXPECT_EQ(a.size(), b.size());
    for (const auto& [name, bytes] : a) {
        auto other = b.find(name);
        ASSERT_NE(other, b.end()) << name;
        EXPECT_TRUE(bytes == other->second) << name << " differs between two runs";
    }
}

TEST(ArtGenerator, LayoutColoursAreThoseOfThePalette) {
    std::ifstream in(std::string(ZUPFARI_CONTENT_SOURCES) + "/art/palette.txt");
    ASSERT_TRUE(in.good());
    std::map<std::string, unsigned> palette;
    const std::regex entry(R"(^\s*([a-z-]+)\s*=\s*#([0-9A-Fa-f]{6}))");
    std::string line;
    std::smatch match;
    while (std::getline(in, line))
        if (std::regex_search(line, match, entry)) palette[match[1]] = std::stoul(match[2], nullptr, 16);
    EXPECT_EQ(palette["ink"], layout::colour::Ink);
    EXPECT_EQ(palette["cream"], layout::colour::Cream);
    EXPECT_EQ(palette["cream-light"], layout::colour::CreamLight);
    EXPECT_EQ(palette["wood-dark"], layout::colour::WoodDark);
    EXPECT_EQ(palette["wood"], layout::colour::Wood);
    EXPECT_EQ(palette["honey"], layout::colour::Honey);
    EXPECT_EQ(palette["accent"], layout::colour::Accent);
}

// The derived positions follow from the fixed ones.
static_assert(layout::TransportKey(0, 1).x() ==
              layout::TransportKey(0, 0).x() + layout::TransportButton.width()); // right of BPlay
static_assert(layout::TransportKey(1, 0).y() ==
              layout::TransportKey(0, 0).y() + layout::TransportButton.height()); // below BPlay
static_assert(layout::LedSegmentAt(9).y() + layout::LedSegment.height() < layout::PreRollLamp.y());

TEST(ArtLayout, PreRollLampLiesOnTheLedPanel) {
    EXPECT_TRUE(layout::LedPanel.contains(QRect(layout::PreRollLamp, layout::LedSegment)));
}

TEST(ArtLayout, MainWindowAreasDoNotOverlap) {
    const QRect window(QPoint(0, 0), layout::MainWindow);
    const QRect leftColumn(layout::BExplorer, QPoint(layout::BBeenden.x() + layout::Button.width() - 1,
                                                     layout::BBeenden.y() + layout::Button.height() - 1));
    const QRect logo(layout::BLogo, layout::LogoButton);
    const std::vector<std::pair<const char*, QRect>> areas = {
        {"tool panel", layout::ToolPanel},   {"lesson screen", layout::LessonScreen},
        {"left column", leftColumn},          {"transport", layout::TransportBlock},
        {"logo", logo},                       {"LED", layout::LedPanel},
        {"level", layout::LevelBlock},        {"tempo bar", layout::TempoBar},
        {"name plate", layout::NamePlate}};
    for (size_t i = 0; i < areas.size(); ++i) {
        EXPECT_TRUE(window.contains(areas[i].second)) << areas[i].first;
        for (size_t j = i + 1; j < areas.size(); ++j)
            EXPECT_FALSE(areas[i].second.intersects(areas[j].second)) << areas[i].first << " / " << areas[j].first;
    }
    EXPECT_TRUE(layout::LessonScreen.contains(layout::IntroVideo));
    EXPECT_TRUE(layout::LessonScreen.contains(QRect(layout::BVideoStop, layout::VideoButton)));
    EXPECT_TRUE(leftColumn.contains(layout::ModeDisplay));
    EXPECT_TRUE(QRect(QPoint(0, 0), layout::ToolPanel.size()).contains(
        QRect(layout::BTunerAkkord, layout::TunerChordButton)));
}

} // namespace
