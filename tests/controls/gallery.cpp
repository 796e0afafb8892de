#include "tests/controls/gallery.h"

#include "controls/aquabutton.h"
#include "controls/fadebutton.h"
#include "controls/trackbar.h"
#include "tests/support/jpegmaker.h"

#include <algorithm>
#include <fstream>

namespace gallery {
namespace {

using namespace controls;
using platform::TBitmap;
using platform::TForm;

// A buttery landscape: sky fading into a sandy ground with a dark ridge.
std::uint32_t Landscape(int x, int y) {
    if (y > 330 + (x % 160 < 80 ? x % 80 : 80 - x % 80) / 2)
        return 0x8C6A3C - std::min((y - 330) / 6, 0x30) * 0x010101;
    int sky = 255 - y / 3;
    return (std::uint32_t(sky / 2) << 16) | (std::uint32_t(sky * 3 / 4) << 8) | 255u;
}

std::uint32_t Guitar(int x, int y) {
    int dx = x - 45, dy = y - 60;
    if (dx * dx + dy * dy < 28 * 28) return (dx * dx + dy * dy < 9 * 9) ? 0x201008 : 0xC07830;
    if (x > 40 && x < 50 && y < 40) return 0x603010;
    return 0xF0F0E0;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string SkinText(const std::string& folder) {
    const std::string lines[] = {
        "1",
        "$I", "TAG200", "0", "0", folder + "hintergrund.jpg",
        "$S", "TAG230", "20", "20", "360", "150", "16777215", "0",
        "$S", "TAG270", "400", "20", "380", "150", "6697728", "0",
        "$S", "TAG201", "20", "190", "120", "40", "3381759", "0",
        "$S", "TAG250", "150", "190", "120", "40", "3381759", "0",
        "$S", "TAG299", "280", "190", "120", "40", "3381759", "0",
        "$L", "30", "30", "Liberation Sans", "18", "1", "0", "Lektion 1: Die Saiten",
        "$L", "30", "62", "Liberation Serif", "12", "2", "8388608",
        "Sechs Saiten, von tief nach hoch:$nE A D G H E",
        "$L", "30", "110", "Liberation Sans", "10", "7", "255", "Stil 7: fett, kursiv, unterstrichen",
        "$L", "30", "130", "Liberation Sans", "10", "8", "0", "Stil 8: normal",
        "$L", "TAG101", "410", "30", "Liberation Sans", "14", "0", "16777215",
        "Tint 270 (blau) $N und Tint 230 (wei\xDF)",
        "$S", "420", "90", "60", "40", "65280", "0",
        "$S", "450", "110", "60", "40", "16711680", "16777215",
        "$I", "TAG141", "540", "70", folder + "gitarre.jpg",
        "$I", "680", "70", "$$",
        "$L", "30", "238", "Liberation Sans", "8", "0", "0", "Tint 201",
        "$L", "160", "238", "Liberation Sans", "8", "0", "0", "Tint 250",
        "$L", "290", "238", "Liberation Sans", "8", "0", "0", "Tint 299",
        "$L", "430", "200", "Liberation Sans", "10", "1", "0", "Frage: Wie viele Saiten?",
        "$C", "0", "3", "430", "225", "500", "225", "570", "225",
        "$L", "447", "224", "Liberation Sans", "8", "0", "0", "vier",
        "$L", "517", "224", "Liberation Sans", "8", "0", "0", "sechs",
        "$L", "587", "224", "Liberation Sans", "8", "0", "0", "zw\xF6lf",
    };
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// A fade button whose looks the gallery drives the way the mouse would.
struct DrivenFadeButton : TXFadeButton {
    using TXFadeButton::TXFadeButton;
    using TXFadeButton::MouseDown;
    using TXFadeButton::MouseEnter;
    using TXFadeButton::MouseUp;
};

template <class Button> Button* Place(TForm* form, int left, int top, const char* text) {
    auto* button = new Button(form);
    button->SetParent(form);
    button->SetBounds(left, top, 110, 28);
    button->SetText(text);
    return button;
}

void StyleFade(TXFadeButton* button) {
    button->MOverBrush()->SetColor(0x40C0FF);
    button->MDownBrush()->SetColor(0x2060A0);
    button->SetTopTextColor(0xFFFFFF);
    button->SetTopTextClOver(0x000000);
    button->SetTopTextClDown(0x00FFFF);
    button->SetTShadeDimension(1);
    button->Brush()->SetColor(0x603020);
}

void AddFadeButtons(TForm* form) {
    struct Sample { const char* text; int look; };
    const Sample samples[] = {{"Normal", 1}, {"Maus dr\xFC" "ber", 2}, {"Gedr\xFC" "ckt", 3},
                              {"Eingerastet", 5}, {"Gesperrt", 6}, {"Rund", 7}};
    int left = 20;
    for (const Sample& sample : samples) {
        auto* button = Place<DrivenFadeButton>(form, left, 290, "");
        button->SetText(QString::fromLatin1(sample.text));
        StyleFade(button);
        left += 125;
        auto* driver = button;
        switch (sample.look) {
        case 2:
            driver->MouseEnter();
            break;
        case 3:
            driver->MouseEnter();
            driver->MouseDown(platform::mbLeft, {}, 5, 5);
            break;
        case 5:
            button->SetFix(true);
            driver->MouseDown(platform::mbLeft, {}, 5, 5);
            driver->MouseUp(platform::mbLeft, {}, 5, 5);
            break;
        case 6:
            button->SetEnabled(false);
            driver->MouseEnter();
            break;
        case 7:
            button->SetRadiusH(20);
            button->SetRadiusV(20);
            button->SetIsRoundRect(true);
            break;
        }
    }
}

void AddAquaButtons(TForm* form) {
    TBitmap back(2, 2), look(1, 2);
    back.Canvas()->SetPixel(0, 0, 0xFFFFFF);
    back.Canvas()->SetPixel(1, 0, 0xC0C0C0);
    back.Canvas()->SetPixel(0, 1, 0x808080);
    back.Canvas()->SetPixel(1, 1, 0x404040);
    look.Canvas()->SetPixel(0, 0, 0xFF8000);
    look.Canvas()->SetPixel(0, 1, 0x802000);
    const int transparencies[] = {0, 40, 100};
    int left = 20;
    for (int transparency : transparencies) {
        auto* button = Place<TXAquaButton>(form, left, 340, "");
        button->SetText(QString("Aqua %1 %").arg(transparency));
        button->SetTakeImg(true);
        button->SetTransparency(transparency);
        button->SetBackBmp(&back);
        button->SetBgBmp(&look);
        button->SetTopTextColor(0xFFFFFF);
        button->Font()->SetColor(0x000000);
        button->SetTShadeDimension(1);
        left += 125;
    }
    auto* wrapped = Place<TXAquaButton>(form, left, 340, "");
    wrapped->SetBounds(left, 340, 235, 44);
    wrapped->SetText(QString::fromUtf8("Zeilenumbruch\r\nrechtsbündig"));
    wrapped->SetWordWrap(true);
    wrapped->SetTextAlign(3);
    wrapped->Brush()->SetColor(0x30A030);
    wrapped->Font()->SetColor(0xFFFFFF);
}

void AddTrackBars(TForm* form) {
    auto* vertical = new TXTrackBar(form);
    vertical->SetParent(form);
    vertical->SetBounds(20, 400, 40, 176);
    vertical->SetMin(1);
    vertical->SetMax(10);
    vertical->SetTickWidth(5);
    vertical->SetTickColor(0xFFFFFF);
    vertical->ThumbBrush()->SetColor(0x0060FF);
    vertical->SetTextVisible(true);
    vertical->SetTopTextColor(0xFFFFFF);
    vertical->StyleChanged();
    vertical->SetPosition(5);

    auto* horizontal = new TXTrackBar(form);
    horizontal->SetParent(form);
    horizontal->SetBounds(90, 420, 300, 40);
    horizontal->SetHorizontal(true);
    horizontal->SetThumbWidth(16);
    horizontal->SetThumbHeight(28);
    horizontal->SetMax(20);
    horizontal->SetStep(4);
    horizontal->SetTickWidth(6);
    horizontal->SetTickColor(0x000080);
    horizontal->Brush()->SetColor(0xC08040);
    horizontal->ThumbBrush()->SetColor(0x00C000);
    horizontal->SetThFadeOutColor(0x004000);
    horizontal->SetTextVisible(true);
    horizontal->SetTopTextColor(0xFFFFFF);
    horizontal->StyleChanged();
    horizontal->SetPosition(12);
}

} // namespace

void Build(TForm* form, lessons::SkinLoader* loader, const std::string& folder) {
    form->SetBounds(0, 0, 800, 600);
    form->SetColor(0x202020);
    WriteFile(folder + "hintergrund.jpg", testjpeg::Make(800, 600, Landscape));
    WriteFile(folder + "gitarre.jpg", testjpeg::Make(90, 100, Guitar));
    WriteFile(folder + "gallery.zs1", SkinText(folder));
    loader->LoadSkin(QString::fromStdString(folder + "gallery.zs1"), "1");
    for (const auto& picture : loader->Pictures())
        if (picture->Image()->Tag() == 200) lessons::BackdropTint(form, picture->Image());
    lessons::CheckGroup* group = loader->Group(0);
    if (group != nullptr) group->Box(2)->Click();
    AddFadeButtons(form);
    AddAquaButtons(form);
    AddTrackBars(form);
}

} // namespace gallery
