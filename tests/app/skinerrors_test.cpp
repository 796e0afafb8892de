// The skin library reports an unreadable picture to its window; the program
// tells the learner with its own message box and loads on.
#include "app/skinerrors.h"
#include "lessons/skinloader.h"
#include "platform/ui/application.h"
#include "platform/ui/forms.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(SkinPictureErrors, ShowTheProgramsBoxWithItsTitleAndLoadingGoesOn) {
    testsupport::ScopedEnv german("SPRACHBANK_LANGUAGE", "0");
    testsupport::TempFolder temp;
    testsupport::ScopedCurrentFolder keep; // pictures are read from the program folder
    const std::string broken = temp.Write("kaputt.jpg", "\xFF\xD8\xFF\xE0 not really a JPEG");
    const std::string skin =
        temp.Write("skin.zs1", "1\r\n$I\r\n0\r\n0\r\n" + broken + "\r\n$S\r\n0\r\n0\r\n5\r\n5\r\n0\r\n0\r\n");
    platform::Application->SetTitle("Zupfari Basis");
    std::vector<QString> shown;
    platform::TMessageBoxHook previous =
        platform::SetMessageBoxHook([&](const QString& text, const QString& caption, unsigned) {
            shown.push_back(caption + "|" + text);
            return platform::IDOK;
        });
    platform::TForm form(nullptr);
    lessons::SkinLoader loader(&form);
    app::ReportPictureErrors(loader);
    EXPECT_TRUE(loader.LoadSkin(QString::fromStdString(skin), "1"));
    platform::SetMessageBoxHook(previous);
    EXPECT_EQ(shown, std::vector<QString>{QString::fromUtf8("Zupfari Basis|Fehler beim Öffnen der Bild-Datei")});
    EXPECT_EQ(loader.Shapes().size(), 1u);
    // In English the box says it in English.
    testsupport::ScopedEnv english("SPRACHBANK_LANGUAGE", "1");
    shown.clear();
    previous = platform::SetMessageBoxHook([&](const QString& text, const QString& caption, unsigned) {
        shown.push_back(caption + "|" + text);
        return platform::IDOK;
    });
    EXPECT_TRUE(loader.LoadSkin(QString::fromStdString(skin), "1"));
    platform::SetMessageBoxHook(previous);
    EXPECT_EQ(shown, std::vector<QString>{QStringLiteral("Zupfari Basis|Error opening the picture file")});
}

} // namespace
