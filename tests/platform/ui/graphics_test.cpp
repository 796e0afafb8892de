// Bitmaps and canvas: the pixel rules the skins and controls rely on (block
// transfers, lines without their end point, rectangles without their right
// and bottom edges, bottom-padded scan lines, fonts).
#include "platform/ui/exceptions.h"
#include "platform/ui/graphics.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// A bitmap whose every pixel has a colour of its own.
void FillPattern(TBitmap& bitmap) {
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            bitmap.Canvas()->SetPixel(x, y, RGB(10 + 7 * x, 20 + 11 * y, (x * y) & 0xFF));
        }
    }
}

bool SamePixels(TBitmap& a, TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            if (a.Canvas()->Pixel(x, y) != b.Canvas()->Pixel(x, y)) return false;
        }
    }
    return true;
}

} // namespace

TEST(BlockTransfer, MaskAndThenSpriteOrGivesTransparentSpriteAndCopyRestores) {
    TBitmap background(20, 16);
    FillPattern(background);
    TBitmap original;
    original.Assign(&background);

    // A 4 x 3 sprite at (5, 6): its left column is transparent.
    TBitmap mask(4, 3), sprite(4, 3);
    mask.Canvas()->Brush()->SetColor(clBlack);
    mask.Canvas()->FillRect(Rect(0, 0, 4, 3));
    mask.Canvas()->Brush()->SetColor(clWhite);
    mask.Canvas()->FillRect(Rect(0, 0, 1, 3)); // white = keep background
    sprite.Canvas()->Brush()->SetColor(RGB(200, 40, 90));
    sprite.Canvas()->FillRect(Rect(1, 0, 4, 3));

    TBitmap saved(4, 3);
    saved.Canvas()->CopyRect(Rect(0, 0, 4, 3), background.Canvas(), Bounds(5, 6, 4, 3));
    ASSERT_TRUE(BitBlt(background.Canvas(), 5, 6, 4, 3, mask.Canvas(), 0, 0, SRCAND));
    ASSERT_TRUE(BitBlt(background.Canvas(), 5, 6, 4, 3, sprite.Canvas(), 0, 0, SRCPAINT));

    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 20; ++x) {
            bool inSprite = x >= 6 && x < 9 && y >= 6 && y < 9;
            TColor expected = inSprite ? RGB(200, 40, 90) : original.Canvas()->Pixel(x, y);
            ASSERT_EQ(background.Canvas()->Pixel(x, y), expected) << x << "," << y;
        }
    }
    ASSERT_TRUE(BitBlt(background.Canvas(), 5, 6, 4, 3, saved.Canvas(), 0, 0, SRCCOPY));
    EXPECT_TRUE(SamePixels(background, original));
}

TEST(BlockTransfer, CombinesBytesExactlyAndClipsAtEveryEdge) {
    TBitmap dest(4, 4), source(4, 4);
    dest.Canvas()->Brush()->SetColor(RGB(0xF0, 0x0F, 0x55));
    dest.Canvas()->FillRect(Rect(0, 0, 4, 4));
    source.Canvas()->Brush()->SetColor(RGB(0x3C, 0xFF, 0xAA));
    source.Canvas()->FillRect(Rect(0, 0, 4, 4));

    BitBlt(dest.Canvas(), 0, 0, 1, 1, source.Canvas(), 0, 0, SRCAND);
    BitBlt(dest.Canvas(), 1, 0, 1, 1, source.Canvas(), 0, 0, SRCPAINT);
    BitBlt(dest.Canvas(), 2, 0, 1, 1, source.Canvas(), 0, 0, SRCINVERT);
    EXPECT_EQ(dest.Canvas()->Pixel(0, 0), RGB(0x30, 0x0F, 0x00));
    EXPECT_EQ(dest.Canvas()->Pixel(1, 0), RGB(0xFC, 0xFF, 0xFF));
    EXPECT_EQ(dest.Canvas()->Pixel(2, 0), RGB(0xCC, 0xF0, 0xFF));
    EXPECT_FALSE(BitBlt(dest.Canvas(), 0, 0, 1, 1, source.Canvas(), 0, 0, 0x12345678));
    EXPECT_FALSE(BitBlt(dest.Canvas(), 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));

    // Partly outside the destination and the source: only the overlap changes.
    TBitmap white(4, 4);
    white.Canvas()->Brush()->SetColor(clWhite);
    white.Canvas()->FillRect(Rect(0, 0, 4, 4));
    BitBlt(dest.Canvas(), -2, 3, 10, 10, white.Canvas(), 0, 0, SRCCOPY);
    EXPECT_EQ(dest.Canvas()->Pixel(0, 3), clWhite);
    EXPECT_EQ(dest.Canvas()->Pixel(1, 3), clWhite);
    EXPECT_EQ(dest.Canvas()->Pixel(2, 3), RGB(0xF0, 0x0F, 0x55)); // source ran out
    EXPECT_EQ(dest.Canvas()->Pixel(1, 2), RGB(0xF0, 0x0F, 0x55)); // row above untouched
}

TEST(BlockTransfer, OverlappingCopyWithinOneBitmapReadsBeforeWriting) {
    TBitmap bitmap(6, 1);
    for (int x = 0; x < 6; ++x)
        bitmap.Canvas()->SetPixel(x, 0, RGB(x, 0, 0));
    BitBlt(bitmap.Canvas(), 1, 0, 5, 1, bitmap.Canvas(), 0, 0, SRCCOPY);
    for (int x = 1; x < 6; ++x)
        EXPECT_EQ(bitmap.Canvas()->Pixel(x, 0), RGB(x - 1, 0, 0));
}

TEST(BlockTransfer, StretchTakesTheNearestPixel) {
    TBitmap small(2, 2), large(4, 6);
    small.Canvas()->SetPixel(0, 0, clRed);
    small.Canvas()->SetPixel(1, 0, clLime);
    small.Canvas()->SetPixel(0, 1, clBlue);
    small.Canvas()->SetPixel(1, 1, clWhite);
    large.Canvas()->StretchDraw(Rect(0, 0, 4, 6), &small);
    EXPECT_EQ(large.Canvas()->Pixel(1, 2), clRed);
    EXPECT_EQ(large.Canvas()->Pixel(2, 2), clLime);
    EXPECT_EQ(large.Canvas()->Pixel(1, 3), clBlue);
    EXPECT_EQ(large.Canvas()->Pixel(3, 5), clWhite);
}

TEST(Lines, LeaveOutTheEndPointInEveryDirection) {
    TBitmap bitmap(10, 10);
    TCanvas* canvas = bitmap.Canvas();
    canvas->Pen()->SetColor(clWhite);
    canvas->MoveTo(1, 1);
    canvas->LineTo(5, 1);
    EXPECT_EQ(canvas->Pixel(1, 1), clWhite);
    EXPECT_EQ(canvas->Pixel(4, 1), clWhite);
    EXPECT_EQ(canvas->Pixel(5, 1), clBlack);
    EXPECT_EQ(canvas->PenPos(), Point(5, 1));

    canvas->LineTo(5, 4); // continues from the pen position, downwards
    EXPECT_EQ(canvas->Pixel(5, 1), clWhite);
    EXPECT_EQ(canvas->Pixel(5, 3), clWhite);
    EXPECT_EQ(canvas->Pixel(5, 4), clBlack);

    canvas->MoveTo(8, 8);
    canvas->LineTo(6, 6); // diagonal, up and left
    EXPECT_EQ(canvas->Pixel(8, 8), clWhite);
    EXPECT_EQ(canvas->Pixel(7, 7), clWhite);
    EXPECT_EQ(canvas->Pixel(6, 6), clBlack);

    canvas->MoveTo(0, 9);
    canvas->LineTo(0, 9); // no length: nothing at all
    EXPECT_EQ(canvas->Pixel(0, 9), clBlack);
}

TEST(Shapes, RectanglesExcludeTheirRightAndBottomEdges) {
    TBitmap bitmap(10, 10);
    TCanvas* canvas = bitmap.Canvas();
    canvas->Pen()->SetColor(clRed);
    canvas->Brush()->SetColor(clWhite);
    canvas->Rectangle(1, 1, 5, 4);
    EXPECT_EQ(canvas->Pixel(1, 1), clRed);
    EXPECT_EQ(canvas->Pixel(4, 3), clRed);
    EXPECT_EQ(canvas->Pixel(2, 2), clWhite);
    EXPECT_EQ(canvas->Pixel(5, 2), clBlack);
    EXPECT_EQ(canvas->Pixel(2, 4), clBlack);

    canvas->Brush()->SetColor(clLime);
    canvas->FillRect(Rect(6, 6, 8, 8));
    EXPECT_EQ(canvas->Pixel(7, 7), clLime);
    EXPECT_EQ(canvas->Pixel(8, 7), clBlack);

    // Without a pen the filled area is one pixel smaller.
    canvas->Pen()->SetStyle(psClear);
    canvas->Brush()->SetColor(clBlue);
    canvas->Rectangle(0, 6, 3, 9);
    EXPECT_EQ(canvas->Pixel(1, 7), clBlue);
    EXPECT_EQ(canvas->Pixel(2, 7), clBlack);

    // A filled ellipse stays inside its box.
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetColor(clYellow);
    canvas->Brush()->SetColor(clYellow);
    TBitmap round(12, 12);
    round.Canvas()->Pen()->SetColor(clYellow);
    round.Canvas()->Brush()->SetColor(clYellow);
    round.Canvas()->Ellipse(2, 2, 10, 10);
    EXPECT_EQ(round.Canvas()->Pixel(6, 6), clYellow);
    EXPECT_EQ(round.Canvas()->Pixel(2, 2), clBlack);
    EXPECT_EQ(round.Canvas()->Pixel(10, 6), clBlack);
    EXPECT_EQ(round.Canvas()->Pixel(6, 10), clBlack);
}

TEST(Bitmap, ScanLinesAreLaidOutLikeADib) {
    TBitmap bitmap(5, 3);
    bitmap.Canvas()->SetPixel(2, 1, RGB(1, 2, 3));
    const std::uint8_t* row = bitmap.ScanLine(1);
    EXPECT_EQ(row[6], 3);                                   // blue
    EXPECT_EQ(row[7], 2);                                   // green
    EXPECT_EQ(row[8], 1);                                   // red
    EXPECT_EQ(bitmap.ScanLine(2) - bitmap.ScanLine(1), 16); // 15 bytes padded to 16

    bitmap.ScanLine(0)[0] = 0xFF; // blue of pixel (0, 0)
    EXPECT_EQ(bitmap.Canvas()->Pixel(0, 0), clBlue);
    EXPECT_THROW(bitmap.ScanLine(3), Exception);
    EXPECT_THROW(bitmap.ScanLine(-1), Exception);
}

TEST(Bitmap, ResizingKeepsWhatFitsAndEachSideCanBeSetAlone) {
    TBitmap bitmap;
    EXPECT_TRUE(bitmap.Empty());
    bitmap.SetWidth(3);
    bitmap.SetHeight(2);
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(bitmap.Height(), 2);
    bitmap.Canvas()->SetPixel(1, 1, clWhite);
    bitmap.SetSize(5, 5);
    EXPECT_EQ(bitmap.Canvas()->Pixel(1, 1), clWhite);
    EXPECT_EQ(bitmap.Canvas()->Pixel(4, 4), clBlack);
    bitmap.SetSize(-4, 2);
    EXPECT_TRUE(bitmap.Empty());

    TBitmap copy;
    bitmap.SetSize(2, 2);
    bitmap.Canvas()->SetPixel(0, 1, clRed);
    copy.Assign(&bitmap);
    bitmap.Canvas()->SetPixel(0, 1, clBlue);
    EXPECT_EQ(copy.Canvas()->Pixel(0, 1), clRed); // a copy, not shared
    copy.Assign(static_cast<const TBitmap*>(nullptr));
    EXPECT_TRUE(copy.Empty());
    EXPECT_THROW(copy.LoadFromResourceName("NO_SUCH_RESOURCE"), Exception);
}

TEST(Bitmap, LoadsAProgramResourceByNameWithRowsFromTheTop) {
    TBitmap bitmap;
    bitmap.LoadFromResourceName("TESTSPRITE");
    ASSERT_EQ(bitmap.Width(), 3);
    ASSERT_EQ(bitmap.Height(), 2);
    EXPECT_EQ(bitmap.Canvas()->Pixel(0, 0), clRed);
    EXPECT_EQ(bitmap.Canvas()->Pixel(2, 0), clBlue);
    const std::uint8_t* bottom = bitmap.ScanLine(1);
    EXPECT_EQ(bottom[0], 30); // blue, green, red of RGB(10, 20, 30)
    EXPECT_EQ(bottom[1], 20);
    EXPECT_EQ(bottom[2], 10);
}

TEST(Text, ClearBrushLeavesTheBackgroundAndSolidBrushFillsTheCell) {
    TBitmap bitmap(60, 30);
    TCanvas* canvas = bitmap.Canvas();
    canvas->Font()->SetHeight(-16);
    canvas->Font()->SetColor(clWhite);
    int width = canvas->TextWidth("4");
    int height = canvas->TextHeight("4");
    EXPECT_GT(width, 4);
    EXPECT_GE(height, 16);

    canvas->Brush()->SetStyle(bsClear);
    canvas->TextOut(2, 2, "4");
    int white = 0, other = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 60; ++x) {
            TColor c = canvas->Pixel(x, y);
            // Text is smoothed: count the clearly light pixels of the glyph.
            if (GetRValue(c) > 128 && GetRValue(c) == GetBValue(c))
                ++white;
            else if (c != clBlack && (x >= 2 + width + 2 || y >= 2 + height))
                ++other;
        }
    }
    EXPECT_GT(white, 5);
    EXPECT_EQ(other, 0);
    EXPECT_EQ(canvas->Pixel(2 + width + 3, 2), clBlack);

    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clRed);
    canvas->Font()->SetColor(clRed);
    canvas->TextOut(30, 2, "4");
    EXPECT_EQ(canvas->Pixel(30, 2), clRed);
    EXPECT_EQ(canvas->Pixel(30 + width - 1, 2 + height - 1), clRed);
    EXPECT_EQ(canvas->Pixel(30 + width, 2), clBlack);
}

TEST(Text, DrawTextBreaksAtCrLfAndMeasures) {
    TBitmap bitmap(100, 100);
    TCanvas* canvas = bitmap.Canvas();
    int line = canvas->TextHeight("X");
    TRect box = Rect(0, 0, 100, 0);
    canvas->DrawText("one\r\ntwo\nthree", box, DT_LEFT | DT_CALCRECT);
    EXPECT_EQ(box.Height(), 3 * line);
    EXPECT_EQ(box.Width(), canvas->TextWidth("three"));
    box = Rect(0, 0, canvas->TextWidth("aa bb") + 1, 0);
    canvas->DrawText("aa bb cc", box, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(box.Height(), 2 * line);
    box = Rect(0, 0, 100, 0);
    canvas->DrawText("R&&B", box, DT_CALCRECT);
    EXPECT_EQ(box.Width(), canvas->TextWidth("R&B"));
}

// Written onto another painter, text lands exactly where the canvas writes it.
TEST(Text, OntoAPainterAsOntoTheCanvas) {
    TBitmap onCanvas(120, 60), onPainter(120, 60);
    for (TBitmap* bitmap : {&onCanvas, &onPainter}) {
        TCanvas* canvas = bitmap->Canvas();
        canvas->Font()->SetHeight(-14);
        canvas->Font()->SetColor(clWhite);
        canvas->Brush()->SetStyle(bsClear);
    }
    TRect box = Rect(10, 20, 110, 60);
    onCanvas.Canvas()->TextOut(3, 2, "Weiter");
    onCanvas.Canvas()->DrawText("R&&B\r\nzwei", box, DT_CENTER);
    QImage image(120, 60, QImage::Format_BGR888); // as the canvas keeps its pixels
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        onPainter.Canvas()->TextOutOn(painter, 3, 2, "Weiter");
        onPainter.Canvas()->DrawTextOn(painter, "R&&B\r\nzwei", box, DT_CENTER);
    }
    int lit = 0, differing = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 120; ++x) {
            const TColor drawn = onCanvas.Canvas()->Pixel(x, y);
            lit += drawn != clBlack;
            differing += drawn != FromQColor(image.pixelColor(x, y));
        }
    }
    EXPECT_GT(lit, 50);
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(onPainter.Canvas()->Pixel(5, 8), clBlack); // the canvas itself untouched
}

TEST(Font, PointsAndPixelHeightsConvertAt96Dpi) {
    TFont font;
    const int points[] = {8, 10, 12, 14};
    const int heights[] = {-11, -13, -16, -19};
    for (int i = 0; i < 4; ++i) {
        font.SetSize(points[i]);
        EXPECT_EQ(font.Height(), heights[i]);
        EXPECT_EQ(font.Size(), points[i]);
    }
    font.SetHeight(-13);
    font.SetStyle(fsBold | fsUnderline);
    QFont qfont = font.ToQFont();
    EXPECT_EQ(qfont.pixelSize(), 13);
    EXPECT_TRUE(qfont.bold());
    EXPECT_TRUE(qfont.underline());
    EXPECT_FALSE(qfont.italic());

    int changes = 0;
    font.OnChange = [&] { ++changes; };
    TFont other;
    other.SetColor(clRed);
    font.Assign(&other);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(font.Color(), clRed);
    EXPECT_FALSE(other.OnChange); // copying takes attributes only
}
