// Random skin files: a deterministic mutation loop over a valid skin. Every
// load either succeeds or ends in a skin file error, the
// window's components always match the loader's elements, and the next load
// leaves nothing of the one before.
#include "lessons/skinloader.h"
#include "platform/ui/application.h"
#include "platform/ui/forms.h"
#include "tests/support/jpegmaker.h"
#include "tests/support/testsupport.h"

#include <chrono>
#include <cstdio>
#include <gtest/gtest.h>
#include <random>

namespace {

using namespace lessons;

std::vector<std::string> SeedSkin(const std::string& picture) {
    return {"1",     "$I", "TAG200", "0",   "0",   picture, "$S",   "TAG250", "40", "60",
            "200",   "30", "65535",  "0",   "$L",  "TAG101", "120", "100",    "Arial", "12",
            "3",     "0",  "Zeile 1$nZeile 2", "$C", "0",   "2",    "100",    "200", "100",
            "230",   "$C", "1",      "3",   "5",   "5",    "5",     "25",     "5",   "45",
            "$I",    "300", "10",    "$$",  "$L",  "1",    "1",     "Liberation Sans", "-4",
            "7",     "16777215", "x"};
}

std::vector<std::string> Tokens(const std::string& picture) {
    return {"$L", "$S", "$I", "$C", "$l", "TAG", "TAG-5", "TAG200", "tag1", "0", "1", "2", "3",
            "6", "7", "-1", "99999", "2147483647", "-2147483648", "2147483648", "", " ", "$$",
            "$n", "abc", "12 ", picture, "/", "\xFF\xFE", std::string(300, 'x')};
}

void Mutate(std::vector<std::string>& lines, std::mt19937& random,
            const std::vector<std::string>& tokens) {
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    switch (random() % 5) {
    case 0:
        if (lines.size() > 1) lines.erase(lines.begin() + pick(lines.size()));
        break;
    case 1:
        lines.insert(lines.begin() + pick(lines.size() + 1), tokens[pick(tokens.size())]);
        break;
    case 2:
        if (!lines.empty()) lines[pick(lines.size())] = tokens[pick(tokens.size())];
        break;
    case 3:
        if (!lines.empty()) lines.insert(lines.begin() + pick(lines.size()), lines[pick(lines.size())]);
        break;
    default:
        if (lines.size() > 1) std::swap(lines[pick(lines.size())], lines[pick(lines.size())]);
        break;
    }
}

int ElementControls(const SkinLoader& loader) {
    int groups = 0;
    for (int slot = 0; slot < SkinLoader::kGroupSlots; ++slot) groups += loader.Group(slot) != nullptr;
    return static_cast<int>(loader.Texts().size() + loader.Pictures().size() +
                            loader.Shapes().size()) +
           CheckGroup::kBoxes * groups;
}

TEST(SkinLoaderMutation, RandomSkinsNeverBreakTheLoader) {
    testsupport::ScopedCurrentFolder keep; // pictures are read from the program folder
    testsupport::TempFolder temp;
    std::string picture = temp.Write("bild.jpg", testjpeg::MakeSolid(30, 20, 0x336699));
    std::string broken = temp.Write("kaputt.jpg", testjpeg::MakeSolid(30, 20, 0x336699).substr(0, 100));
    std::vector<std::string> tokens = Tokens(picture);
    tokens.push_back(broken);
    auto previous = platform::SetMessageBoxHook([](const QString&, const QString&, unsigned) {
        return platform::IDOK;
    });

    platform::TForm form(nullptr);
    SkinLoader loader(&form);
    std::mt19937 random(20261207);
    const int rounds = 800;
    int loaded = 0, refused = 0, conversionErrors = 0, listErrors = 0;
    auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < rounds; ++round) {
        std::vector<std::string> lines = SeedSkin(picture);
        int mutations = 1 + static_cast<int>(random() % 8);
        for (int m = 0; m < mutations; ++m) Mutate(lines, random, tokens);
        std::string bytes;
        for (const std::string& line : lines) bytes += line + (random() % 7 == 0 ? "\n" : "\r\n");
        std::string path = temp.Write("mutant.zs1", bytes);
        try {
            (loader.LoadSkin(QString::fromStdString(path), "1") ? loaded : refused)++;
        } catch (const SkinError& error) {
            ++(error.ErrorKind() == SkinError::Kind::NotANumber ? conversionErrors : listErrors);
        }
        ASSERT_LE(loader.GroupCount(), SkinLoader::kGroupSlots);
        ASSERT_EQ(form.ComponentCount(), ElementControls(loader)) << bytes;
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%d mutated skins in %.2f s: %d loaded, %d refused, %d conversion errors, "
                "%d list errors\n",
                rounds, seconds, loaded, refused, conversionErrors, listErrors);
    EXPECT_GT(loaded, 0);
    EXPECT_GT(conversionErrors, 0);
    EXPECT_GT(listErrors, 0);
    loader.ClearElements();
    EXPECT_EQ(form.ComponentCount(), 0);
    platform::SetMessageBoxHook(previous);
}

} // namespace
