#pragma once
// Drawing helpers shared by the art steps of the content generator: the
// palette, the fonts, procedural wood and paper, soft shadows, bevels and the
// few motifs (guitar, rosette, icons) that the pictures and bitmaps are made
// of. Everything is deterministic: the same call gives the same pixels.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <filesystem>
#include <map>
#include <string>

namespace art {

// The palette read from sources/art/palette.txt ("name = #RRGGBB" lines).
class Palette {
public:
    // Reads the file; on failure returns false and says why in `error`.
    bool Load(const std::filesystem::path& file, std::string& error);
    // The named colour; an unknown name is a programming error and gives magenta.
    QColor operator[](const std::string& name) const;
    const std::map<std::string, QColor>& All() const { return colours_; }

private:
    std::map<std::string, QColor> colours_;
};

// Makes sure a headless QGuiApplication exists (offscreen platform) and the
// Liberation fonts are loaded from their files; loads the palette once.
// Returns false (with a message on stderr) when fonts or palette are missing.
bool PrepareArt(const std::filesystem::path& sources);
const Palette& Colours();
QColor C(const std::string& name);                     // shorthand for Colours()[name]
QColor C(const std::string& name, int alpha);

// "Liberation Sans" (or "Liberation Serif") at a pixel size.
QFont Sans(int pixelSize, bool bold = false, bool italic = false);
QFont Serif(int pixelSize, bool bold = false, bool italic = false);

// A fresh opaque 24-bit-able image (Format_RGB32) filled with `fill`.
QImage Canvas(QSize size, QColor fill);
// An antialiased painter on `image`.
void BeginPainter(QPainter& painter, QImage& image);

// Wood with horizontal grain in planks; `tone` 0 = as the palette, < 0 darker, > 0 lighter.
QImage Wood(QSize size, unsigned seed, double tone = 0.0, int plankHeight = 150);
// Cream paper with a faint fibre.
QImage Paper(QSize size, unsigned seed, QColor base);

// A blurred shadow of `path` drawn beneath, moved by `offset`.
void SoftShadow(QPainter& painter, const QPainterPath& path, QPointF offset, int blur, QColor colour);
// A recess: inner shadow along the top and left, light along the bottom and right.
void Inset(QPainter& painter, const QRectF& rect, double radius, int strength = 60);
// A raised edge: light along the top and left, shadow along the bottom and right.
void Raised(QPainter& painter, const QRectF& rect, double radius, int strength = 80);
// A rounded card of paper with a drop shadow and a thin border.
void PaperCard(QPainter& painter, const QRectF& rect, double radius, unsigned seed, QColor base);

// Text helpers; `flags` are Qt alignment flags within `rect`.
void EmbossedText(QPainter& painter, const QRectF& rect, int flags, const QString& text,
                  const QFont& font, QColor colour);  // light text on wood, shadow below right
void EngravedText(QPainter& painter, const QRectF& rect, int flags, const QString& text,
                  const QFont& font, QColor colour);  // dark text cut into a light surface

// Motifs.
// The quarter rest's zigzag, `height` tall and about `width` wide, centred
// on (x, mid).
QPainterPath QuarterRestPath(double x, double mid, double height, double width);

void DrawRosette(QPainter& painter, QPointF centre, double radius, bool glowing);
// An acoustic guitar lying with its neck to the right inside `box`; the
// strings swing by `swing` pixels (0 = at rest).
void DrawGuitar(QPainter& painter, const QRectF& box, double swing);

// The transport and video symbols.
enum class Icon { Play, Pause, Stop, Loop, Locator, Rewind, Forward, Dot, Lock };
void DrawIcon(QPainter& painter, Icon icon, const QRectF& box, QColor colour);

// Deterministic value noise in [0, 1).
double Noise(double x, double y, unsigned seed);

} // namespace art
