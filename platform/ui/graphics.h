#pragma once
// Drawing: fonts, brushes and pens, the canvas with its block transfers, and
// 24-bit bitmaps whose scan lines hold B, G, R bytes per pixel, rows padded
// to four bytes, row 0 at the top (the layout of the program's BMP files).
//
// Drawing is pixel-exact, so that skins line up with their pictures:
// rectangles exclude their right and bottom edges, a line leaves out its end
// point, shapes and lines are not antialiased, text is written with its
// cell's top-left corner at the given point, and block transfers combine
// pixels exactly (copy, AND, OR). Only glyph edges are smoothed.

#include "platform/ui/types.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>

class QPainter;

namespace platform {

// ---- Font, brush, pen -----------------------------------------------------

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
// A set of TFontStyle flags.
using TFontStyles = unsigned;

// A text font. Height below zero selects the character height in pixels,
// above zero the cell height (character plus internal leading); Size is in
// points at 96 pixels per inch (Size 8 <-> Height -11). Copying takes the
// attributes, never the change handler.
class TFont {
public:
    TFont() = default;
    TFont(const TFont& other);
    TFont& operator=(const TFont& other);

    QString Name() const { return name_; }
    void SetName(const QString& name);
    int Height() const { return height_; }
    void SetHeight(int height);
    int Size() const;
    void SetSize(int points);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    void Assign(const TFont* source);

    // The Qt font with these attributes (no kerning, so widths stay whole pixels).
    QFont ToQFont() const;

    // Called after every change.
    std::function<void()> OnChange;

private:
    void Changed();
    QString name_ = "Arial";
    int height_ = -11;
    TFontStyles style_ = 0;
    TColor color_ = clBlack;
};

enum class TBrushStyle { bsSolid, bsClear };
using enum TBrushStyle;

// The fill of shapes and of text backgrounds.
class TBrush {
public:
    TBrush() = default;
    TBrush(const TBrush& other);
    TBrush& operator=(const TBrush& other);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);
    void Assign(const TBrush* source) { *this = *source; }
    std::function<void()> OnChange;

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
};

// Dashed and dotted pens are drawn solid.
enum class TPenStyle { psSolid, psDash, psDot, psClear };
using enum TPenStyle;

// The outline of shapes and lines.
class TPen {
public:
    TPen() = default;
    TPen(const TPen& other);
    TPen& operator=(const TPen& other);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Width() const { return width_; }
    void SetWidth(int width);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style);
    void Assign(const TPen* source) { *this = *source; }
    std::function<void()> OnChange;

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
};

// ---- Canvas ---------------------------------------------------------------

// Raster operations of block transfers (Windows values).
constexpr std::uint32_t SRCCOPY = 0x00CC0020;
constexpr std::uint32_t SRCPAINT = 0x00EE0086;  // OR
constexpr std::uint32_t SRCAND = 0x008800C6;    // AND
constexpr std::uint32_t SRCINVERT = 0x00660046; // XOR
constexpr std::uint32_t NOTSRCCOPY = 0x00330008;
constexpr std::uint32_t BLACKNESS = 0x00000042;
constexpr std::uint32_t WHITENESS = 0x00FF0062;

// Text formats of TCanvas::DrawText (Windows values).
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_VCENTER = 0x4;
constexpr unsigned DT_BOTTOM = 0x8;
constexpr unsigned DT_WORDBREAK = 0x10;
constexpr unsigned DT_SINGLELINE = 0x20;
constexpr unsigned DT_NOCLIP = 0x100;
constexpr unsigned DT_CALCRECT = 0x400;
constexpr unsigned DT_NOPREFIX = 0x800;

class TBitmap;

// What a canvas draws on: a bitmap, a form or a custom-drawn control. It owns
// the 24-bit image (QImage::Format_BGR888) and hears of every change.
class TCanvasTarget {
public:
    virtual ~TCanvasTarget() = default;
    virtual QImage& CanvasImage() = 0;
    // `area` (in image coordinates, already clipped) was drawn on.
    virtual void CanvasChanged(const TRect& area) = 0;
    // Changes between the two calls reach the screen together at the end
    // (nested pairs count; a target that shows nothing ignores them).
    virtual void BeginChanges() {}
    virtual void EndChanges() {}
};

// A drawing surface with the current brush, pen and font. Colours are
// 0x00BBGGRR; everything outside the surface is clipped.
class TCanvas : public TObject {
public:
    explicit TCanvas(TCanvasTarget* target);
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // While one lives, what is drawn on the canvas is shown on the screen in
    // one picture when it ends, rather than after every drawing call: for
    // the several pieces that make one moment of a display.
    class ChangeBatch {
    public:
        explicit ChangeBatch(TCanvas* canvas);
        ~ChangeBatch();
        ChangeBatch(const ChangeBatch&) = delete;
        ChangeBatch& operator=(const ChangeBatch&) = delete;

    private:
        TCanvasTarget* target_;
    };

    TFont* Font() { return &font_; }
    TBrush* Brush() { return &brush_; }
    TPen* Pen() { return &pen_; }
    const TFont* Font() const { return &font_; }
    TPoint PenPos() const { return penPos_; }
    void SetPenPos(TPoint position) { penPos_ = position; }
    // The raster operation of CopyRect (SRCCOPY at first).
    std::uint32_t CopyMode() const { return copyMode_; }
    void SetCopyMode(std::uint32_t rop) { copyMode_ = rop; }

    int Width() const;
    int Height() const;
    // A pixel's colour; 0 outside the surface.
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    void MoveTo(int x, int y);
    // Draws from the pen position to (x, y), leaving out (x, y) itself.
    void LineTo(int x, int y);
    void FillRect(const TRect& rect);
    void FrameRect(const TRect& rect);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight);

    // Writes `text` with its top-left corner at (x, y). With a solid brush the
    // text cell is filled with the brush colour first; with a clear brush the
    // background stays. CR LF is not interpreted here.
    void TextOut(int x, int y, const QString& text);
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;
    // Writes `text` into `rect` with DT_ flags; returns the text's height.
    // DT_CALCRECT only measures and sets rect's right and bottom edges.
    // Lines break at CR LF (and at a lone CR or LF), and with DT_WORDBREAK
    // also between words; '&' marks an accelerator unless DT_NOPREFIX.
    int DrawText(const QString& text, TRect& rect, unsigned format);
    // TextOut and DrawText onto `painter` instead of the canvas's image, with
    // the canvas's font and brush: a control shown on a scaled screen writes
    // its caption this way, at the screen's own resolution.
    void TextOutOn(QPainter& painter, int x, int y, const QString& text) const;
    void DrawTextOn(QPainter& painter, const QString& text, const TRect& rect,
                    unsigned format) const;

    // Copies `bitmap` unscaled with its top-left corner at (x, y).
    void Draw(int x, int y, const TBitmap* bitmap);
    // Copies `bitmap` scaled to `rect` (nearest pixel, no smoothing).
    void StretchDraw(const TRect& rect, const TBitmap* bitmap);
    // Copies `sourceRect` of `source` into `dest`, scaled to fit, combined
    // with CopyMode.
    void CopyRect(const TRect& dest, const TCanvas* source, const TRect& sourceRect);

    // The image drawn on, for code that talks to Qt directly.
    QImage& Image() { return target_->CanvasImage(); }
    const QImage& Image() const { return target_->CanvasImage(); }
    // Tells the owner that `area` was changed behind the canvas's back (for
    // instance through a bitmap's scan lines).
    void Changed(const TRect& area);

private:
    friend bool StretchBlt(TCanvas*, int, int, int, int, const TCanvas*, int, int, int, int,
                           std::uint32_t);
    void FillArea(const TRect& rect, TColor color);
    void DrawLine(int x1, int y1, int x2, int y2);
    void DrawTextLines(QPainter& painter, const QStringList& lines, const TRect& box,
                       unsigned format, bool clip) const;
    QStringList TextLines(const QString& text, const TRect& rect, unsigned format) const;
    void WriteLine(QPainter& painter, int x, int y, const QString& text, int& width,
                   int& height) const;

    TCanvasTarget* target_;
    TFont font_;
    TBrush brush_;
    TPen pen_;
    TPoint penPos_;
    std::uint32_t copyMode_ = SRCCOPY;
};

// Block transfer of a w x h area from (sx, sy) of `source` to (x, y) of
// `dest`, combining source and destination pixels by `rop` (SRCCOPY, SRCAND,
// SRCPAINT, SRCINVERT, NOTSRCCOPY; BLACKNESS and WHITENESS need no source).
// Pixels outside either surface are left alone. Returns false for an unknown
// operation or a missing source.
bool BitBlt(TCanvas* dest, int x, int y, int w, int h, const TCanvas* source, int sx, int sy,
            std::uint32_t rop);
// The same, scaling the sw x sh source area to w x h (nearest pixel).
// Widths and heights must be positive.
bool StretchBlt(TCanvas* dest, int x, int y, int w, int h, const TCanvas* source, int sx, int sy,
                int sw, int sh, std::uint32_t rop);

// ---- Bitmap ---------------------------------------------------------------

enum class TPixelFormat { pfDevice, pf24bit };
using enum TPixelFormat;

// A 24-bit bitmap with a canvas. Row `y` of ScanLine holds Width() pixels of
// three bytes each, blue first. A new or enlarged area is black, as in a fresh
// DIB. Not copyable: use Assign.
class TBitmap : public TObject, private TCanvasTarget {
public:
    TBitmap() = default;
    TBitmap(int width, int height);
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;
    ~TBitmap() override;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Changing the size keeps the pixels that still fit. Negative sizes count
    // as 0; a size too large to allocate raises Exception.
    void SetWidth(int width) { SetSize(width, Height()); }
    void SetHeight(int height) { SetSize(Width(), height); }
    void SetSize(int width, int height);
    bool Empty() const { return width_ == 0 || height_ == 0; }
    // Always 24 bits per pixel; setting the format is accepted and changes
    // nothing.
    TPixelFormat PixelFormat() const { return pf24bit; }
    void SetPixelFormat(TPixelFormat) {}

    // The bytes of row `row`; raises Exception for a row outside the bitmap.
    std::uint8_t* ScanLine(int row);
    const std::uint8_t* ScanLine(int row) const;
    TCanvas* Canvas();

    // Takes a copy of `source` (an empty bitmap when null).
    void Assign(const TBitmap* source);
    // Takes a copy of `image`, converted to 24 bits.
    void Assign(const QImage& image);
    const QImage& Image() const { return image_; }

    // Loads the program's bitmap resource `name` (the Qt resource ":/res/NAME",
    // with or without ".bmp"/".png"); raises Exception when it does not exist.
    void LoadFromResourceName(const QString& name);
    // Loads a BMP or PNG file; raises Exception when it cannot be read.
    void LoadFromFile(const QString& path);
    // Writes the bitmap as a BMP file (PNG when the name ends in ".png").
    bool SaveToFile(const QString& path) const;

    // Called after every change of size, content loaded or drawn.
    std::function<void()> OnChange;

private:
    QImage& CanvasImage() override { return image_; }
    void CanvasChanged(const TRect& area) override;
    void Changed();

    QImage image_;
    int width_ = 0;
    int height_ = 0;
    std::unique_ptr<TCanvas> canvas_;
};

// The colour as Qt sees it, and back.
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);

} // namespace platform
