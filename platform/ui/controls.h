#pragma once
// The standard controls that the course uses: label, shape,
// image and panel. Labels, shapes and images are non-windowed: painted over
// their parent in the order they were given it, below all windowed controls.

#include "platform/ui/components.h"
#include "platform/ui/graphics.h"

#include <QImage>
#include <QString>
#include <QStringList>

namespace platform {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
using enum TAlignment;

// A text. With AutoSize (the default) it takes the size of its text: as wide
// as its widest line and as high as its lines; with WordWrap the width stays
// fixed, lines break between words and only the height follows the text.
// CR LF (also a lone CR or LF) breaks a line. '&' marks an accelerator
// ("&&" shows one '&') unless ShowAccelChar is off. A transparent label shows
// its parent through; otherwise it fills its area with Color().
class TLabel : public TControl {
public:
    explicit TLabel(TComponent* owner);

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool show);

    // The lines as they are drawn (after breaking).
    QStringList Lines() const;
    // The caption without its accelerator marks, as a screen reader says it.
    QString PresentedName() const override;

protected:
    void FontChanged() override;
    void CaptionChanged() override;
    void Resized() override;
    void PaintControl(QPainter& painter) override;

private:
    QString ShownText() const;
    void AdjustBounds();

    bool autoSize_ = true;
    bool wordWrap_ = false;
    bool transparent_ = false;
    TAlignment alignment_ = taLeftJustify;
    bool showAccelChar_ = true;
    bool adjusting_ = false;
};

enum class TShapeType { stRectangle, stSquare, stRoundRect, stEllipse, stCircle };
using enum TShapeType;

// A filled figure with an outline; a rectangle unless told otherwise. The
// outline lies inside the control, as wide as the pen. White brush, black
// one-pixel pen at first.
class TShape : public TControl {
public:
    explicit TShape(TComponent* owner);

    TShapeType Shape() const { return shape_; }
    void SetShape(TShapeType shape);
    TBrush* Brush() { return &brush_; }
    TPen* Pen() { return &pen_; }

protected:
    void PaintControl(QPainter& painter) override;

private:
    TShapeType shape_ = stRectangle;
    TBrush brush_;
    TPen pen_;
};

// A picture. Picture() is a bitmap owned by the image; the image repaints
// after every change of it, and with AutoSize takes the picture's size.
// Stretch scales the picture to the control (nearest pixel); Center centres
// it. An empty picture shows nothing.
class TImage : public TControl {
public:
    explicit TImage(TComponent* owner);

    TBitmap* Picture() { return &picture_; }
    // The picture's canvas (drawing on it changes the picture).
    TCanvas* Canvas() { return picture_.Canvas(); }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);
    bool Center() const { return center_; }
    void SetCenter(bool center);

protected:
    void PaintControl(QPainter& painter) override;

private:
    void PictureChanged();

    TBitmap picture_;
    bool autoSize_ = false;
    bool stretch_ = false;
    bool center_ = false;
    QImage scaled_; // the stretched picture, kept until picture or size change
};

enum class TBevelCut { bvNone, bvLowered, bvRaised };
using enum TBevelCut;

// A windowed container: other controls take it as their parent. It fills
// itself with Color(), draws its outer bevel and centres its caption. It can
// have a window region (region.h).
class TPanel : public TControl {
public:
    explicit TPanel(TComponent* owner);

    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut bevel);

protected:
    bool Windowed() const override { return true; }
    void PaintControl(QPainter& painter) override;

private:
    TBevelCut bevelOuter_ = bvRaised;
};

} // namespace platform
