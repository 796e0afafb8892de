#include "content/generator/art_paint.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

namespace art {

namespace {

Palette g_palette;
bool g_prepared = false;

constexpr const char* kFontFolder = "/usr/share/fonts/truetype/liberation/";
constexpr const char* kFontFiles[] = {
    "LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf", "LiberationSans-Italic.ttf",
    "LiberationSans-BoldItalic.ttf", "LiberationSerif-Regular.ttf", "LiberationSerif-Bold.ttf",
    "LiberationSerif-Italic.ttf",
};

std::string Trim(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

unsigned Hash(int x, int y, unsigned seed) {
    unsigned h = seed * 374761393u + static_cast<unsigned>(x) * 668265263u +
                 static_cast<unsigned>(y) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

double Lattice(int x, int y, unsigned seed) { return (Hash(x, y, seed) & 0xFFFFFF) / 16777216.0; }

double Smooth(double t) { return t * t * (3.0 - 2.0 * t); }

double Fbm(double x, double y, unsigned seed) {
    return 0.55 * Noise(x, y, seed) + 0.3 * Noise(x * 2.03, y * 2.03, seed + 17) +
           0.15 * Noise(x * 4.1, y * 4.1, seed + 31);
}

QRgb Mix(QColor a, QColor b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return qRgb(static_cast<int>(a.red() + (b.red() - a.red()) * t),
                static_cast<int>(a.green() + (b.green() - a.green()) * t),
                static_cast<int>(a.blue() + (b.blue() - a.blue()) * t));
}

// Three box blurs of the alpha channel approximate a Gaussian.
void BlurAlpha(QImage& image, int radius) {
    if (radius < 1) return;
    const int w = image.width(), h = image.height();
    std::vector<int> alpha(w * h), tmp(w * h);
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) alpha[y * w + x] = qAlpha(line[x]);
    }
    const int window = 2 * radius + 1;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y) {
            int sum = 0;
            for (int x = -radius; x <= radius; ++x) sum += alpha[y * w + std::clamp(x, 0, w - 1)];
            for (int x = 0; x < w; ++x) {
                tmp[y * w + x] = sum / window;
                sum += alpha[y * w + std::min(x + radius + 1, w - 1)] -
                       alpha[y * w + std::max(x - radius, 0)];
            }
        }
        for (int x = 0; x < w; ++x) {
            int sum = 0;
            for (int y = -radius; y <= radius; ++y) sum += tmp[std::clamp(y, 0, h - 1) * w + x];
            for (int y = 0; y < h; ++y) {
                alpha[y * w + x] = sum / window;
                sum += tmp[std::min(y + radius + 1, h - 1) * w + x] - tmp[std::max(y - radius, 0) * w + x];
            }
        }
    }
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            QColor c = QColor::fromRgba(line[x]);
            line[x] = qRgba(c.red(), c.green(), c.blue(), alpha[y * w + x]);
        }
    }
}

QPainterPath RoundedPath(const QRectF& rect, double radius) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

} // namespace

bool Palette::Load(const std::filesystem::path& file, std::string& error) {
    std::ifstream in(file);
    if (!in) {
        error = "cannot read " + file.string();
        return false;
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        std::string text = Trim(line);
        if (text.empty() || text[0] == '#') continue;
        size_t equals = text.find('=');
        size_t hash = equals == std::string::npos ? std::string::npos : text.find('#', equals);
        QColor colour = hash == std::string::npos ? QColor() : QColor(QString::fromStdString(text.substr(hash, 7)));
        std::string name = Trim(text.substr(0, equals));
        if (equals == std::string::npos || name.empty() || !colour.isValid()) {
            error = file.string() + ":" + std::to_string(number) + ": expected 'name = #RRGGBB'";
            return false;
        }
        colours_[name] = colour;
    }
    return true;
}

QColor Palette::operator[](const std::string& name) const {
    auto found = colours_.find(name);
    if (found == colours_.end()) {
        std::fprintf(stderr, "art: palette has no colour '%s'\n", name.c_str());
        return QColor(255, 0, 255);
    }
    return found->second;
}

bool PrepareArt(const std::filesystem::path& sources) {
    if (g_prepared) return true;
    if (!QGuiApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "zupfari-content";
        static char* argv[] = {name, nullptr};
        // Lives until the process ends: destroying it from a static destructor
        // would run after Qt's own thread storage is gone.
        new QGuiApplication(argc, argv);
    }
    for (const char* file : kFontFiles) {
        QString path = QString::fromLatin1(kFontFolder) + QString::fromLatin1(file);
        if (QFontDatabase::addApplicationFont(path) < 0) {
            std::fprintf(stderr, "art: cannot load the font %s\n", path.toLocal8Bit().constData());
            return false;
        }
    }
    std::string error;
    if (!g_palette.Load(sources / "art" / "palette.txt", error)) {
        std::fprintf(stderr, "art: %s\n", error.c_str());
        return false;
    }
    g_prepared = true;
    return true;
}

const Palette& Colours() { return g_palette; }
QColor C(const std::string& name) { return g_palette[name]; }
QColor C(const std::string& name, int alpha) {
    QColor colour = g_palette[name];
    colour.setAlpha(alpha);
    return colour;
}

static QFont MakeFont(const char* family, int pixelSize, bool bold, bool italic) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QFont Sans(int pixelSize, bool bold, bool italic) { return MakeFont("Liberation Sans", pixelSize, bold, italic); }
QFont Serif(int pixelSize, bool bold, bool italic) { return MakeFont("Liberation Serif", pixelSize, bold, italic); }

QImage Canvas(QSize size, QColor fill) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

void BeginPainter(QPainter& painter, QImage& image) {
    painter.begin(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

double Noise(double x, double y, unsigned seed) {
    int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    double fx = Smooth(x - ix), fy = Smooth(y - iy);
    double a = Lattice(ix, iy, seed), b = Lattice(ix + 1, iy, seed);
    double c = Lattice(ix, iy + 1, seed), d = Lattice(ix + 1, iy + 1, seed);
    return (a + (b - a) * fx) * (1 - fy) + (c + (d - c) * fx) * fy;
}

QImage Wood(QSize size, unsigned seed, double tone, int plankHeight) {
    QImage image(size, QImage::Format_RGB32);
    QColor dark = C("wood-dark"), light = C("wood-light");
    if (tone < 0) light = QColor(Mix(light, dark, -tone));
    if (tone > 0) dark = QColor(Mix(dark, light, tone));
    for (int y = 0; y < size.height(); ++y) {
        int plank = y / plankHeight;
        unsigned plankSeed = seed + 97 * plank;
        double shift = (Lattice(plank, 3, seed) - 0.5) * 0.16;
        int inPlank = y % plankHeight;
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            double warp = 3.2 * Fbm(x * 0.004, y * 0.02, plankSeed);
            double ring = y * 0.06 + warp + x * 0.0015;
            double grain = 0.5 + 0.5 * std::sin(ring * 6.2831853);
            grain = std::pow(grain, 1.6);
            double fibre = Noise(x * 0.03, y * 0.9, plankSeed + 5);
            double t = 0.30 + 0.38 * grain + 0.18 * fibre + 0.14 * Fbm(x * 0.01, y * 0.01, plankSeed + 9) + shift;
            if (inPlank == 0) t -= 0.35;                 // seam between planks, lit from above
            else if (inPlank == 1) t += 0.12;
            line[x] = Mix(dark, light, t);
        }
    }
    return image;
}

QImage Paper(QSize size, unsigned seed, QColor base) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            double n = Noise(x * 0.25, y * 0.25, seed) * 0.6 + Noise(x * 0.02, y * 0.03, seed + 1) * 0.4;
            int delta = static_cast<int>((n - 0.5) * 10.0);
            line[x] = qRgb(std::clamp(base.red() + delta, 0, 255), std::clamp(base.green() + delta, 0, 255),
                           std::clamp(base.blue() + delta - 1, 0, 255));
        }
    }
    return image;
}

void SoftShadow(QPainter& painter, const QPainterPath& path, QPointF offset, int blur, QColor colour) {
    QRectF bounds = path.boundingRect().adjusted(-3 * blur, -3 * blur, 3 * blur, 3 * blur);
    QImage shadow(bounds.size().toSize() + QSize(1, 1), QImage::Format_ARGB32);
    shadow.fill(Qt::transparent);
    {
        QPainter p(&shadow);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(-bounds.topLeft());
        p.fillPath(path, colour);
    }
    BlurAlpha(shadow, blur);
    painter.drawImage(bounds.topLeft() + offset, shadow);
}

void Inset(QPainter& painter, const QRectF& rect, double radius, int strength) {
    painter.save();
    QPainterPath clip = RoundedPath(rect, radius);
    painter.setClipPath(clip);
    QPainterPath outer;
    outer.addRect(rect.adjusted(-20, -20, 20, 20));
    outer = outer.subtracted(RoundedPath(rect.translated(2, 2), radius));
    SoftShadow(painter, outer, QPointF(0, 0), 3, C("shadow", strength * 2));
    painter.setClipping(false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, strength / 2), 1.0));
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, 0.5, 0.5), radius, radius);
    painter.setPen(QPen(C("shadow", strength + 40), 1.0));
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    painter.restore();
}

void Raised(QPainter& painter, const QRectF& rect, double radius, int strength) {
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setClipRect(QRectF(rect.left(), rect.top(), rect.width(), rect.height() * 0.5));
    painter.setPen(QPen(QColor(255, 255, 255, strength), 1.0));
    painter.drawRoundedRect(rect.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1, radius - 1);
    painter.setClipRect(QRectF(rect.left(), rect.center().y(), rect.width(), rect.height() * 0.5));
    painter.setPen(QPen(C("shadow", strength), 1.0));
    painter.drawRoundedRect(rect.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1, radius - 1);
    painter.setClipping(false);
    painter.setPen(QPen(C("shadow", 150), 1.0));
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    painter.restore();
}

void PaperCard(QPainter& painter, const QRectF& rect, double radius, unsigned seed, QColor base) {
    QPainterPath path = RoundedPath(rect, radius);
    SoftShadow(painter, path, QPointF(3, 4), 5, C("shadow", 150));
    painter.save();
    painter.setClipPath(path);
    painter.drawImage(rect.topLeft(), Paper(rect.size().toSize() + QSize(1, 1), seed, base));
    QLinearGradient shade(rect.topLeft(), rect.bottomLeft());
    shade.setColorAt(0, QColor(255, 255, 255, 40));
    shade.setColorAt(1, QColor(120, 80, 40, 30));
    painter.fillPath(path, shade);
    painter.restore();
    painter.setPen(QPen(C("wood", 160), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

void EmbossedText(QPainter& painter, const QRectF& rect, int flags, const QString& text, const QFont& font,
                  QColor colour) {
    painter.save();
    painter.setFont(font);
    painter.setPen(C("shadow", 170));
    painter.drawText(rect.translated(1, 1), flags, text);
    painter.setPen(colour);
    painter.drawText(rect, flags, text);
    painter.restore();
}

void EngravedText(QPainter& painter, const QRectF& rect, int flags, const QString& text, const QFont& font,
                  QColor colour) {
    painter.save();
    painter.setFont(font);
    painter.setPen(QColor(255, 255, 255, 150));
    painter.drawText(rect.translated(0, 1), flags, text);
    painter.setPen(colour);
    painter.drawText(rect, flags, text);
    painter.restore();
}

void DrawRosette(QPainter& painter, QPointF centre, double radius, bool glowing) {
    painter.save();
    QRadialGradient face(centre - QPointF(radius * 0.3, radius * 0.35), radius * 1.3);
    face.setColorAt(0, glowing ? C("accent-light") : C("honey"));
    face.setColorAt(0.7, glowing ? C("accent") : C("wood-light"));
    face.setColorAt(1, C("wood"));
    painter.setPen(QPen(C("wood-dark"), 2));
    painter.setBrush(face);
    painter.drawEllipse(centre, radius - 1, radius - 1);
    // The rosette rings around the sound hole.
    const double rings[] = {0.80, 0.74, 0.70};
    for (double r : rings) {
        painter.setPen(QPen(r == 0.74 ? C("cream") : C("wood-dark"), r == 0.74 ? 2.5 : 1.2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(centre, radius * r, radius * r);
    }
    for (int i = 0; i < 24; ++i) {
        double angle = i * 3.14159265 / 12;
        QPointF dot = centre + QPointF(std::cos(angle), std::sin(angle)) * radius * 0.74;
        painter.setPen(Qt::NoPen);
        painter.setBrush(i % 2 ? C("wood-dark") : C("accent"));
        painter.drawEllipse(dot, 1.3, 1.3);
    }
    QRadialGradient hole(centre + QPointF(radius * 0.1, radius * 0.12), radius * 0.6);
    hole.setColorAt(0, C("shadow"));
    hole.setColorAt(1, C("wood-dark"));
    painter.setBrush(hole);
    painter.setPen(QPen(C("shadow"), 1));
    painter.drawEllipse(centre, radius * 0.6, radius * 0.6);
    painter.restore();
}

void DrawGuitar(QPainter& painter, const QRectF& box, double swing) {
    painter.save();
    painter.translate(box.topLeft());
    const double s = box.height() / 100.0; // the guitar is drawn on a 250 x 100 grid
    painter.scale(s, s);
    // Neck and head.
    painter.setPen(QPen(C("wood-dark"), 1.2));
    QLinearGradient neckShade(0, 40, 0, 60);
    neckShade.setColorAt(0, C("wood-light"));
    neckShade.setColorAt(1, C("wood"));
    painter.setBrush(neckShade);
    painter.drawRect(QRectF(118, 42, 100, 16));
    painter.setBrush(C("fretboard"));
    painter.drawRect(QRectF(118, 43.5, 98, 13));
    QPainterPath head;
    head.moveTo(216, 41);
    head.lineTo(246, 36);
    head.quadTo(250, 50, 246, 64);
    head.lineTo(216, 59);
    head.closeSubpath();
    painter.setBrush(C("wood-dark"));
    painter.drawPath(head);
    painter.setPen(QPen(C("fret"), 0.8));
    for (int f = 0; f < 11; ++f) {
        double x = 216 - 98 * (1 - std::pow(0.9439, f + 1)) * 1.6;
        if (x < 119) break;
        painter.drawLine(QPointF(x, 43.5), QPointF(x, 56.5));
    }
    for (int i = 0; i < 3; ++i) {
        painter.setBrush(C("cream"));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPointF(230 + i * 5, 39.5), 1.6, 1.6);
        painter.drawEllipse(QPointF(230 + i * 5, 60.5), 1.6, 1.6);
    }
    // Body: two bouts and a waist.
    QPainterPath body;
    body.moveTo(122, 50);
    body.cubicTo(122, 24, 98, 20, 84, 28);
    body.cubicTo(74, 33, 66, 30, 58, 22);
    body.cubicTo(40, 4, 2, 10, 2, 50);
    body.cubicTo(2, 90, 40, 96, 58, 78);
    body.cubicTo(66, 70, 74, 67, 84, 72);
    body.cubicTo(98, 80, 122, 76, 122, 50);
    SoftShadow(painter, body, QPointF(2.5, 3.5), 4, C("shadow", 140));
    QRadialGradient top(QPointF(40, 35), 90);
    top.setColorAt(0, C("honey").lighter(112));
    top.setColorAt(0.6, C("honey"));
    top.setColorAt(1, C("wood"));
    painter.setBrush(top);
    painter.setPen(QPen(C("wood-dark"), 2));
    painter.drawPath(body);
    painter.setPen(QPen(C("cream"), 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(body.translated(0, 0));
    // Sound hole, bridge.
    painter.setPen(QPen(C("wood-dark"), 1.4));
    painter.setBrush(C("shadow"));
    painter.drawEllipse(QPointF(84, 50), 12, 12);
    painter.setPen(QPen(C("cream"), 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(84, 50), 14.5, 14.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(C("wood-dark"));
    painter.drawRoundedRect(QRectF(28, 40, 7, 20), 2, 2);
    // Six strings from the bridge to the head; the middle swings when played.
    for (int i = 0; i < 6; ++i) {
        double y = 44.5 + i * 2.2;
        double amplitude = swing * (i % 2 ? 1.0 : -0.8) * (0.6 + 0.1 * i);
        QPainterPath string;
        string.moveTo(31, y);
        string.quadTo(125, y + amplitude, 218, y);
        painter.setPen(QPen(i < 2 ? C("string-plain") : C("string-wound"), 0.5 + i * 0.12));
        painter.drawPath(string);
    }
    painter.restore();
}

void DrawIcon(QPainter& painter, Icon icon, const QRectF& box, QColor colour) {
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const QPointF c = box.center();
    const double r = std::min(box.width(), box.height()) / 2.0;
    auto triangle = [&](double cx, double direction) {
        QPolygonF poly;
        poly << QPointF(cx - direction * r * 0.55, c.y() - r * 0.7) << QPointF(cx + direction * r * 0.65, c.y())
             << QPointF(cx - direction * r * 0.55, c.y() + r * 0.7);
        painter.drawPolygon(poly);
    };
    switch (icon) {
    case Icon::Play: triangle(c.x() + r * 0.05, 1); break;
    case Icon::Pause:
        painter.drawRoundedRect(QRectF(c.x() - r * 0.55, c.y() - r * 0.65, r * 0.4, r * 1.3), 1.5, 1.5);
        painter.drawRoundedRect(QRectF(c.x() + r * 0.15, c.y() - r * 0.65, r * 0.4, r * 1.3), 1.5, 1.5);
        break;
    case Icon::Stop: painter.drawRoundedRect(QRectF(c.x() - r * 0.6, c.y() - r * 0.6, r * 1.2, r * 1.2), 2, 2); break;
    case Icon::Rewind:
        triangle(c.x() - r * 0.35 + r * 0.1, -1);
        triangle(c.x() + r * 0.35 + r * 0.1, -1);
        break;
    case Icon::Forward:
        triangle(c.x() - r * 0.35 - r * 0.1, 1);
        triangle(c.x() + r * 0.35 - r * 0.1, 1);
        break;
    case Icon::Loop: {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(colour, r * 0.22, Qt::SolidLine, Qt::RoundCap));
        QRectF ring(c.x() - r * 0.62, c.y() - r * 0.5, r * 1.24, r * 1.0);
        painter.drawArc(ring, 30 * 16, 300 * 16);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        QPointF tip = QPointF(ring.right() - r * 0.02, c.y() - r * 0.28);
        QPolygonF head;
        head << tip + QPointF(-r * 0.32, -r * 0.05) << tip + QPointF(r * 0.28, -r * 0.15) << tip + QPointF(r * 0.02, r * 0.38);
        painter.drawPolygon(head);
        break;
    }
    case Icon::Locator: {
        // A flag planted where the exercise is to start.
        const double pole = c.x() - r * 0.4;
        painter.drawRect(QRectF(pole, c.y() - r * 0.8, r * 0.16, r * 1.5));
        QPolygonF flag;
        flag << QPointF(pole + r * 0.16, c.y() - r * 0.8) << QPointF(pole + r * 1.1, c.y() - r * 0.48)
             << QPointF(pole + r * 0.16, c.y() - r * 0.16);
        painter.drawPolygon(flag);
        painter.drawRoundedRect(QRectF(pole - r * 0.3, c.y() + r * 0.62, r * 0.76, r * 0.16), 1, 1);
        break;
    }
    case Icon::Dot: painter.drawEllipse(c, r * 0.18, r * 0.18); break;
    case Icon::Lock: {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(colour, r * 0.18));
        painter.drawArc(QRectF(c.x() - r * 0.4, c.y() - r * 0.85, r * 0.8, r * 0.9), 0, 180 * 16);
        painter.drawLine(QPointF(c.x() - r * 0.4, c.y() - r * 0.4), QPointF(c.x() - r * 0.4, c.y() - r * 0.1));
        painter.drawLine(QPointF(c.x() + r * 0.4, c.y() - r * 0.4), QPointF(c.x() + r * 0.4, c.y() - r * 0.1));
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawRoundedRect(QRectF(c.x() - r * 0.6, c.y() - r * 0.15, r * 1.2, r * 0.85), 2, 2);
        break;
    }
    }
    painter.restore();
}

QPainterPath QuarterRestPath(double x, double mid, double height, double width) {
    const double h = height, w = width;
    QPainterPath path;
    path.moveTo(x - w * 0.4, mid - h / 2);
    path.lineTo(x + w * 0.6, mid - h * 0.15);
    path.lineTo(x - w * 0.1, mid + h * 0.05);
    path.lineTo(x + w * 0.55, mid + h * 0.3);
    path.cubicTo(x - w * 0.9, mid + h * 0.15, x - w * 0.6, mid + h * 0.55, x, mid + h / 2);
    path.cubicTo(x - w * 1.3, mid + h * 0.35, x - w * 0.9, mid + h * 0.05, x + w * 0.2, mid + h * 0.2);
    path.lineTo(x - w * 0.55, mid - h * 0.05);
    path.lineTo(x + w * 0.15, mid - h * 0.2);
    path.closeSubpath();
    return path;
}

} // namespace art
