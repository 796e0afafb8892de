// The skin loader on a real window: header rule, records, element lists,
// component and stacking order, tick-box groups, failure handling and the
// backdrop tint.
#include "lessons/skinloader.h"
#include "platform/ui/application.h"
#include "platform/ui/forms.h"
#include "tests/support/jpegmaker.h"
#include "tests/support/testsupport.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

using namespace lessons;
using platform::TForm;
using testsupport::TempFolder;

// Records what the platform message box would show.
class MessageBoxRecorder {
public:
    MessageBoxRecorder() {
        previous_ = platform::SetMessageBoxHook([this](const QString& text, const QString& caption,
                                                       unsigned) {
            shown.push_back({text, caption});
            return platform::IDOK;
        });
    }
    ~MessageBoxRecorder() { platform::SetMessageBoxHook(previous_); }
    std::vector<std::pair<QString, QString>> shown;

private:
    platform::TMessageBoxHook previous_;
};

// A window with a loader and a folder for skin files.
class SkinLoaderTest : public ::testing::Test {
protected:
    SkinLoaderTest() : form(nullptr), loader(&form) { form.SetBounds(0, 0, 400, 300); }

    // Writes a skin file from lines joined with CR LF and loads it.
    bool Load(const std::vector<std::string>& lines, const QString& header = "1") {
        return loader.LoadSkin(QString::fromStdString(WriteSkin(lines)), header);
    }
    std::string WriteSkin(const std::vector<std::string>& lines) {
        std::string bytes;
        for (const std::string& line : lines) bytes += line + "\r\n";
        return temp.Write("skin" + std::to_string(++files_) + ".zs1", bytes);
    }
    template <class T> std::vector<T*> ComponentsOf() {
        std::vector<T*> found;
        for (int i = 0; i < form.ComponentCount(); ++i)
            if (auto* c = dynamic_cast<T*>(form.Components(i))) found.push_back(c);
        return found;
    }

    testsupport::ScopedCurrentFolder keep; // pictures are read from the program folder
    TempFolder temp;
    TForm form;
    SkinLoader loader;
    int files_ = 0;
};

const std::vector<std::string> kWorkedExample = {
    "1",   "$S", "TAG250", "40",  "60",  "200", "30",  "65535",           "0",
    "$L",  "120", "100",   "Arial", "12", "3",  "0",   "Zeile 1$nZeile 2", "$C",
    "0",   "2",  "100",    "200", "100", "230", ""};

TEST_F(SkinLoaderTest, TheWorkedExampleBuildsARectangleALabelAndAGroup) {
    ASSERT_TRUE(Load(kWorkedExample));
    EXPECT_EQ(loader.Header(), "1");
    ASSERT_EQ(loader.Shapes().size(), 1u);
    platform::TShape* shape = loader.Shapes()[0]->Shape();
    EXPECT_EQ(shape->Tag(), 250);
    EXPECT_EQ(shape->BoundsRect(), platform::Bounds(40, 60, 200, 30));
    EXPECT_EQ(shape->Brush()->Color(), 0x00FFFFu);
    EXPECT_EQ(shape->Pen()->Color(), 0u);

    ASSERT_EQ(loader.Texts().size(), 1u);
    platform::TLabel* label = loader.Texts()[0]->Label();
    EXPECT_EQ(label->Tag(), 0);
    EXPECT_EQ(label->Left(), 120);
    EXPECT_EQ(label->Top(), 100);
    EXPECT_EQ(label->Font()->Name(), "Arial");
    EXPECT_EQ(label->Font()->Height(), -16);
    EXPECT_EQ(label->Font()->Style(), platform::fsBold | platform::fsItalic);
    EXPECT_TRUE(label->Transparent());
    EXPECT_EQ(label->Caption(), "Zeile 1\r\nZeile 2");
    EXPECT_EQ(label->Lines(), (QStringList{"Zeile 1", "Zeile 2"}));

    EXPECT_TRUE(loader.Pictures().empty());
    EXPECT_EQ(loader.GroupCount(), 1);
    CheckGroup* group = loader.Group(0);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->Count(), 2);
    EXPECT_EQ(group->Selected(), 0);
    EXPECT_EQ(group->Box(1)->BoundsRect(), platform::Bounds(100, 200, 12, 12));
    EXPECT_EQ(group->Box(2)->BoundsRect(), platform::Bounds(100, 230, 12, 12));
    EXPECT_EQ(group->Box(3)->BoundsRect(), platform::Bounds(48, 0, 12, 12));
    EXPECT_TRUE(group->Box(2)->Visible());
    EXPECT_FALSE(group->Box(3)->Visible());
    EXPECT_FALSE(group->Box(6)->Visible());
    // Components in file order: rectangle, label, six boxes.
    ASSERT_EQ(form.ComponentCount(), 8);
    EXPECT_EQ(form.Components(0), shape);
    EXPECT_EQ(form.Components(1), label);
    EXPECT_EQ(form.Components(2), group->Box(1));
    EXPECT_EQ(form.Components(7), group->Box(6));
}

TEST_F(SkinLoaderTest, TheHeaderMustBeginWithTheExpectedText) {
    std::vector<std::string> skin = {"1", "$S", "0", "0", "5", "5", "0", "0"};
    EXPECT_TRUE(Load(skin, "1"));
    EXPECT_EQ(form.ComponentCount(), 1);
    EXPECT_FALSE(Load(skin, "2"));
    EXPECT_EQ(form.ComponentCount(), 0);
    EXPECT_TRUE(loader.Shapes().empty());
    EXPECT_TRUE(Load(skin, "0"));
    EXPECT_EQ(form.ComponentCount(), 1);

    // A longer header line begins with the expected text; a shorter one fails.
    EXPECT_TRUE(Load({"x-Hauptfenster", "$S", "0", "0", "5", "5", "0", "0"}, "x"));
    EXPECT_FALSE(Load({"x", "$S", "0", "0", "5", "5", "0", "0"}, "xy"));
    EXPECT_FALSE(Load({"X", "$S", "0", "0", "5", "5", "0", "0"}, "x"));
    // With the expected header "0" a file without a header line is accepted too.
    EXPECT_TRUE(Load({"$S", "0", "0", "5", "5", "0", "0"}, "0"));
    EXPECT_EQ(form.ComponentCount(), 0) << "line 0 is never a record";
}

TEST_F(SkinLoaderTest, AnEmptyFileCountsAsTheHeaderZero) {
    std::string empty = temp.Write("empty.zs1", "");
    EXPECT_TRUE(loader.LoadSkin(QString::fromStdString(empty), "0"));
    EXPECT_EQ(loader.Header(), "0");
    EXPECT_TRUE(loader.Lines().empty());
    EXPECT_FALSE(loader.LoadSkin(QString::fromStdString(empty), "1"));
    EXPECT_EQ(form.ComponentCount(), 0);
}

TEST_F(SkinLoaderTest, AMissingFileLeavesTheWindowEmpty) {
    ASSERT_TRUE(Load(kWorkedExample));
    EXPECT_FALSE(loader.LoadSkin(temp.QPath() + "nicht_da.zs1", "0"));
    EXPECT_EQ(form.ComponentCount(), 0);
    EXPECT_EQ(loader.GroupCount(), 0);
    EXPECT_FALSE(loader.LoadSkin(temp.QPath(), "0")) << "a folder is no skin file";
}

TEST_F(SkinLoaderTest, FileNamesAreFoundWithBackslashesAndAnyLetterCase) {
    temp.Write("Lektion1/MainWin.zs1", "1\r\n$S\r\n0\r\n0\r\n5\r\n5\r\n0\r\n0\r\n");
    QString written = temp.QPath() + "lektion1\\MAINWIN.ZS1";
    EXPECT_TRUE(loader.LoadSkin(written, "1"));
    EXPECT_EQ(loader.Shapes().size(), 1u);
}

TEST_F(SkinLoaderTest, ReadingEndsAtALineThatIsNoExactKeyword) {
    std::vector<std::string> shape = {"0", "0", "5", "5", "0", "0"};
    for (std::string stop : {"$s", "$S ", " $S", "", "$X"}) {
        std::vector<std::string> skin = {"1", "$S"};
        skin.insert(skin.end(), shape.begin(), shape.end());
        skin.push_back(stop);
        skin.push_back("$S");
        skin.insert(skin.end(), shape.begin(), shape.end());
        EXPECT_TRUE(Load(skin)) << "'" << stop << "'";
        EXPECT_EQ(loader.Shapes().size(), 1u) << "'" << stop << "'";
    }
    // Without a line ending the file, reading stops at its end.
    EXPECT_TRUE(Load({"1", "$S", "0", "0", "5", "5", "0", "0"}));
}

TEST_F(SkinLoaderTest, DollarNInAnyCaseBreaksALabelsText) {
    ASSERT_TRUE(Load({"1", "$L", "TAG7", "0", "0", "Arial", "10", "0", "255", "Gitarre$NStimmen"}));
    platform::TLabel* label = loader.Texts()[0]->Label();
    EXPECT_EQ(label->Tag(), 7);
    EXPECT_EQ(label->Font()->Height(), -13);
    EXPECT_EQ(label->Font()->Color(), 0x0000FFu);
    EXPECT_EQ(label->Lines(), (QStringList{"Gitarre", "Stimmen"}));
    EXPECT_GT(label->Height(), label->Font()->ToQFont().pixelSize() * 3 / 2) << "two lines high";
}

TEST_F(SkinLoaderTest, StyleCodesOutsideOneToSevenAreRegular) {
    auto styleOf = [&](const std::string& code) {
        EXPECT_TRUE(Load({"1", "$L", "0", "0", "Arial", "8", code, "0", "Text"}));
        return loader.Texts()[0]->Label()->Font()->Style();
    };
    EXPECT_EQ(styleOf("8"), 0u);
    EXPECT_EQ(styleOf("-1"), 0u);
    EXPECT_EQ(styleOf("0"), 0u);
    EXPECT_EQ(styleOf("7"), platform::fsBold | platform::fsItalic | platform::fsUnderline);
    EXPECT_EQ(styleOf("4"), platform::fsUnderline);
}

TEST_F(SkinLoaderTest, WindowsTextsAreRead) {
    ASSERT_TRUE(Load({"1", "$L", "0", "0", "Arial", "8", "0", "0", "\xDC" "bung f\xFC" "r H\xE4nde"}));
    EXPECT_EQ(loader.Texts()[0]->Label()->Caption(), QString::fromUtf8("Übung für Hände"));
}

TEST_F(SkinLoaderTest, ElementListsHoldTheNewestFirst) {
    ASSERT_TRUE(Load({"1", "$S", "TAG1", "0", "0", "5", "5", "0", "0", "$L", "TAG2", "0", "0",
                      "Arial", "8", "0", "0", "a", "$S", "TAG3", "0", "0", "5", "5", "0", "0",
                      "$I", "TAG4", "0", "0", "$$", "$L", "TAG5", "0", "0", "Arial", "8", "0",
                      "0", "b", "$I", "TAG6", "0", "0", "$$"}));
    EXPECT_EQ(loader.Shapes()[0]->Shape()->Tag(), 3);
    EXPECT_EQ(loader.Shapes()[1]->Shape()->Tag(), 1);
    EXPECT_EQ(loader.Texts()[0]->Label()->Tag(), 5);
    EXPECT_EQ(loader.Pictures()[0]->Image()->Tag(), 6);
    std::vector<int> order;
    for (int i = 0; i < form.ComponentCount(); ++i) order.push_back(form.Components(i)->Tag());
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

TEST_F(SkinLoaderTest, APictureWithoutFileKeepsItsRedPlaceholder) {
    ASSERT_TRUE(Load({"1", "$I", "TAG200", "10", "20", "$$", "$I", "30", "40",
                      temp.Path() + "fehlt.jpg"}));
    MessageBoxRecorder boxes;
    for (auto& picture : loader.Pictures()) {
        platform::TImage* image = picture->Image();
        EXPECT_EQ(image->Width(), 80);
        EXPECT_EQ(image->Height(), 80);
        ASSERT_EQ(image->Picture()->Width(), 80);
        EXPECT_EQ(image->Picture()->Canvas()->Pixel(0, 0), 0x0000FFu);
        EXPECT_EQ(image->Picture()->Canvas()->Pixel(79, 79), 0x0000FFu);
    }
    EXPECT_TRUE(boxes.shown.empty()) << "a missing picture is silent";
}

TEST_F(SkinLoaderTest, APictureTakesTheSizeOfItsJpeg) {
    std::string path = temp.Write("Bilder/Gitarre.jpg", testjpeg::MakeSolid(120, 45, 0x00FF00));
    (void)path;
    ASSERT_TRUE(Load({"1", "$I", "TAG110", "5", "6", temp.Path() + "bilder\\GITARRE.jpg"}));
    platform::TImage* image = loader.Pictures()[0]->Image();
    EXPECT_EQ(image->BoundsRect(), platform::Bounds(5, 6, 120, 45));
    platform::TColor centre = image->Picture()->Canvas()->Pixel(60, 22);
    EXPECT_LT(platform::GetRValue(centre), 16);
    EXPECT_GT(platform::GetGValue(centre), 240);
}

TEST_F(SkinLoaderTest, AnUnreadablePictureIsReportedToTheOwnerAndLoadingGoesOn) {
    std::string broken = temp.Write("kaputt.jpg", "\xFF\xD8\xFF\xE0 not really a JPEG");
    std::vector<std::string> reported;
    MessageBoxRecorder boxes;
    // Without a handler nothing is said; with one, it hears the file's name.
    ASSERT_TRUE(Load({"1", "$I", "0", "0", broken}));
    loader.OnPictureError = [&](const std::string& name) { reported.push_back(name); };
    ASSERT_TRUE(Load({"1", "$I", "0", "0", broken, "$S", "0", "0", "5", "5", "0", "0"}));
    EXPECT_EQ(reported, std::vector<std::string>{broken});
    EXPECT_TRUE(boxes.shown.empty()) << "the skin library opens no box itself";
    EXPECT_EQ(loader.Pictures()[0]->Image()->Width(), 80);
    EXPECT_EQ(loader.Shapes().size(), 1u);
}

TEST_F(SkinLoaderTest, ALowerCaseTagLineFailsTheConversionAndKeepsEarlierElements) {
    testsupport::ScopedEnv german("SPRACHBANK_LANGUAGE", "0"); // the German edition's texts
    std::vector<std::string> skin = {"1", "$S", "0", "0", "5", "5", "0", "0", "$L", "tag200",
                                     "0", "0", "Arial", "8", "0", "0", "x", "$S", "0", "0",
                                     "5", "5", "0", "0"};
    try {
        Load(skin);
        FAIL() << "no conversion error";
    } catch (const SkinError& error) {
        EXPECT_EQ(error.ErrorKind(), SkinError::Kind::NotANumber);
        EXPECT_STREQ(error.what(), "'tag200' ist kein gültiger Integerwert");
    }
    EXPECT_EQ(loader.Shapes().size(), 1u);
    EXPECT_TRUE(loader.Texts().empty());
    EXPECT_EQ(form.ComponentCount(), 1);
}

TEST_F(SkinLoaderTest, ARecordCutShortRaisesTheListErrorThroughTheErrorDisplay) {
    testsupport::ScopedEnv german("SPRACHBANK_LANGUAGE", "0"); // the German edition's texts
    platform::Application->SetTitle("Zupfari Basis");
    MessageBoxRecorder boxes;
    platform::GuardedCall(&form, [&] {
        Load({"1", "$I", "0", "0", "$$", "$S", "1", "2", "3"});
    });
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].first.startsWith(
        QString::fromUtf8("Der Index der Liste überschreitet das Maximum (9)")))
        << boxes.shown[0].first.toStdString();
    EXPECT_EQ(boxes.shown[0].second, "Zupfari Basis");
    EXPECT_EQ(loader.Pictures().size(), 1u) << "the picture before the error stays";
    EXPECT_TRUE(loader.Shapes().empty());
}

TEST_F(SkinLoaderTest, AFourthGroupCreatesNothing) {
    std::vector<std::string> skin = {"1"};
    for (int g = 0; g < 4; ++g) {
        for (const std::string& line :
             std::vector<std::string>{"$C", std::to_string(g), "1", "10", std::to_string(20 * g)})
            skin.push_back(line);
    }
    skin.insert(skin.end(), {"$S", "0", "0", "5", "5", "0", "0"});
    ASSERT_TRUE(Load(skin));
    EXPECT_EQ(loader.GroupCount(), 3);
    EXPECT_EQ(ComponentsOf<controls::TCheckBoxImage>().size(), 18u);
    EXPECT_EQ(loader.Group(2)->Box(1)->Top(), 40);
    EXPECT_EQ(loader.Shapes().size(), 1u) << "the fourth record's lines are consumed";
}

TEST_F(SkinLoaderTest, GroupsBreakingTheRulesAreKeptSafe) {
    ASSERT_TRUE(Load({"1", "$C", "7", "1", "1", "1",                // index outside: slot 0
                      "$C", "0", "8", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11",
                      "12", "13", "14", "15", "16",                 // repeated index, count 8
                      "$C", "2", "-3",                              // no boxes
                      "$S", "0", "0", "5", "5", "0", "0"}));
    EXPECT_EQ(loader.GroupCount(), 3);
    ASSERT_NE(loader.Group(0), nullptr);
    ASSERT_NE(loader.Group(1), nullptr);
    ASSERT_NE(loader.Group(2), nullptr);
    EXPECT_EQ(loader.Group(0)->Box(1)->BoundsRect(), platform::Bounds(1, 1, 12, 12));
    CheckGroup* big = loader.Group(1);
    EXPECT_EQ(big->Box(6)->BoundsRect(), platform::Bounds(11, 12, 12, 12));
    for (int box = 1; box <= 6; ++box) EXPECT_TRUE(big->Box(box)->Visible());
    for (int box = 1; box <= 6; ++box) EXPECT_FALSE(loader.Group(2)->Box(box)->Visible());
    EXPECT_EQ(loader.Shapes().size(), 1u);
}

TEST_F(SkinLoaderTest, ATickMovesButIsNeverRemovedByAClick) {
    ASSERT_TRUE(Load({"1", "$C", "1", "4", "0", "0", "0", "20", "0", "40", "0", "60"}));
    CheckGroup* group = loader.Group(1);
    ASSERT_NE(group, nullptr);
    const platform::TBitmap* ticked = loader.TickedBox();
    auto showsTick = [&](int box) {
        return group->Box(box)->Picture()->Canvas()->Pixel(5, 5) == 0u;
    };
    auto pixel = [](const platform::TBitmap* bitmap, int x, int y) {
        return platform::FromQColor(bitmap->Image().pixelColor(x, y));
    };
    EXPECT_EQ(pixel(ticked, 3, 3), 0u);
    EXPECT_EQ(pixel(ticked, 8, 8), 0u);
    EXPECT_EQ(pixel(ticked, 9, 9), 0xFFFFFFu) << "the square excludes its far edges";
    EXPECT_EQ(pixel(ticked, 2, 5), 0xFFFFFFu);
    EXPECT_EQ(pixel(loader.EmptyBox(), 0, 5), 0u);
    EXPECT_EQ(pixel(loader.EmptyBox(), 11, 11), 0u);
    EXPECT_EQ(pixel(loader.EmptyBox(), 5, 5), 0xFFFFFFu);

    group->Box(2)->Click();
    EXPECT_EQ(group->Selected(), 2);
    EXPECT_TRUE(showsTick(2));
    group->Box(3)->Click();
    EXPECT_EQ(group->Selected(), 3);
    EXPECT_EQ(group->Ticked(2), 0);
    EXPECT_EQ(group->Ticked(3), 1);
    EXPECT_FALSE(showsTick(2));
    EXPECT_TRUE(showsTick(3));
    group->Box(3)->Click();
    EXPECT_EQ(group->Selected(), 3);
    EXPECT_EQ(group->Ticked(3), 1);
    EXPECT_TRUE(showsTick(3));
    for (int box : {1, 4, 5, 6}) EXPECT_EQ(group->Ticked(box), 0);
}

TEST_F(SkinLoaderTest, ASecondLoadRemovesEveryElementOfTheFirst) {
    ASSERT_TRUE(Load(kWorkedExample));
    ASSERT_TRUE(Load({"1", "$I", "0", "0", "$$", "$C", "2", "1", "0", "0", "$C", "0", "1", "0",
                      "0"}));
    loader.Group(2)->Box(1)->Click();
    ASSERT_EQ(form.ComponentCount(), 13);
    ASSERT_TRUE(Load({"1", "$S", "0", "0", "5", "5", "0", "0"}));
    EXPECT_EQ(form.ComponentCount(), 1);
    EXPECT_EQ(loader.GroupCount(), 0);
    EXPECT_EQ(loader.Group(0), nullptr);
    EXPECT_EQ(loader.Group(2), nullptr);
    EXPECT_TRUE(loader.Texts().empty());
    EXPECT_TRUE(loader.Pictures().empty());
    loader.ClearElements();
    EXPECT_EQ(form.ComponentCount(), 0);
}

TEST(SkinLoaderLifetime, AWindowFreedBeforeItsLoaderFreesNothingTwice) {
    TempFolder temp;
    std::string path = temp.Write("s.zs1", "1\r\n$L\r\n0\r\n0\r\nArial\r\n8\r\n0\r\n0\r\nx\r\n"
                                           "$C\r\n0\r\n1\r\n5\r\n5\r\n");
    auto* form = new TForm(nullptr);
    SkinLoader loader(form);
    ASSERT_TRUE(loader.LoadSkin(QString::fromStdString(path), "1"));
    delete form;
    EXPECT_EQ(loader.Texts()[0]->Label(), nullptr);
    loader.ClearElements();
    EXPECT_EQ(loader.GroupCount(), 0);
}

TEST_F(SkinLoaderTest, LaterElementsAreDrawnOverEarlierOnes) {
    ASSERT_TRUE(Load({"1", "$S", "10", "10", "60", "60", "255", "255",       // red
                      "$S", "40", "40", "60", "60", "16711680", "16711680", // blue, over it
                      "$S", "0", "0", "30", "30", "65280", "65280"}));      // green, over red
    form.Show();
    QImage shot = form.grab().toImage();
    EXPECT_EQ(shot.pixelColor(50, 50), QColor(0, 0, 255));
    EXPECT_EQ(shot.pixelColor(20, 20), QColor(0, 255, 0));
    EXPECT_EQ(shot.pixelColor(35, 35), QColor(255, 0, 0));
    form.Hide();
}

TEST_F(SkinLoaderTest, BackdropTintBlendsTintRectanglesIntoTheBackdrop) {
    // The backdrop is the red placeholder (blue 0, green 0, red 255) at 20, 10.
    ASSERT_TRUE(Load({"1", "$I", "TAG200", "20", "10", "$$",
                      "$S", "TAG201", "20", "10", "10", "10", "8405024", "0",  // 0x804020
                      "$S", "TAG250", "40", "10", "10", "10", "65535", "0",    // yellow
                      "$S", "TAG299", "60", "10", "10", "10", "16777215", "0", // white
                      "$S", "TAG300", "20", "50", "10", "10", "0", "0",        // no tint
                      "$S", "TAG200", "20", "60", "10", "10", "0", "0",        // no tint
                      "$S", "TAG290", "95", "85", "20", "20", "0", "0"}));     // half outside
    platform::TImage* backdrop = loader.Pictures()[0]->Image();
    BackdropTint(&form, backdrop);
    platform::TCanvas* pixels = backdrop->Picture()->Canvas();
    // tag 201: trunc(1 × old × 0.01) + c × 0.99
    EXPECT_EQ(pixels->Pixel(0, 0), platform::RGB(33, 63, 126));
    EXPECT_EQ(pixels->Pixel(9, 9), platform::RGB(33, 63, 126));
    // tag 250: half and half; red trunc(127.5) + 127.5 = 254
    EXPECT_EQ(pixels->Pixel(25, 5), platform::RGB(254, 127, 0));
    // tag 299: trunc(252.45) + 2.55 = 254 red, 2 green and blue
    EXPECT_EQ(pixels->Pixel(45, 5), platform::RGB(254, 2, 2));
    EXPECT_EQ(pixels->Pixel(5, 45), platform::RGB(255, 0, 0)) << "tag 300 is no tint";
    EXPECT_EQ(pixels->Pixel(5, 55), platform::RGB(255, 0, 0)) << "tag 200 is no tint";
    EXPECT_EQ(pixels->Pixel(79, 79), platform::RGB(229, 0, 0)) << "trunc(0.9 × 255)";
    EXPECT_EQ(pixels->Pixel(74, 74), platform::RGB(255, 0, 0));
    for (auto& shape : loader.Shapes()) {
        int tag = shape->Shape()->Tag();
        EXPECT_EQ(shape->Shape()->Visible(), tag <= 200 || tag >= 300) << tag;
    }
}

} // namespace
