// The desktop icon of the program: a guitar lying across a rounded tile of
// warm wood, drawn once large and scaled down to the sizes of the desktop's
// icon theme. Written with --icons DIR as DIR/<size>.png; the install puts
// each into the theme under the program's id.
#include "content/generator/art_paint.h"
#include "content/generator/contentstep.h"

#include <QLinearGradient>
#include <cstdio>

namespace art {

namespace {

constexpr int kMaster = 512;
constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

QImage MasterIcon() {
    QImage image(kMaster, kMaster, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p;
    BeginPainter(p, image);
    // The tile leaves a margin for its shadow, as the theme's icons do.
    const QRectF tile(kMaster * 0.06, kMaster * 0.06, kMaster * 0.86, kMaster * 0.86);
    const double radius = kMaster * 0.16;
    QPainterPath outline;
    outline.addRoundedRect(tile, radius, radius);
    SoftShadow(p, outline, QPointF(kMaster * 0.012, kMaster * 0.02), kMaster / 64, C("shadow", 150));
    p.setClipPath(outline);
    p.drawImage(tile.topLeft(), Wood(tile.size().toSize(), 19, -0.1, kMaster / 5));
    QLinearGradient sheen(tile.topLeft(), tile.bottomLeft());
    sheen.setColorAt(0, QColor(255, 255, 255, 60));
    sheen.setColorAt(0.5, QColor(255, 255, 255, 0));
    sheen.setColorAt(1, C("shadow", 70));
    p.fillRect(tile, sheen);
    p.setClipping(false);
    p.setPen(QPen(C("wood-dark"), kMaster / 64.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(tile.adjusted(kMaster / 128.0, kMaster / 128.0, -kMaster / 128.0, -kMaster / 128.0),
                      radius, radius);
    // The guitar from the lower left (body) to the upper right (head).
    const double length = tile.width() * 1.12;
    const double height = length * 100.0 / 250.0;
    p.save();
    p.translate(tile.center());
    p.rotate(-45);
    DrawGuitar(p, QRectF(-length / 2, -height / 2, length, height), 0);
    p.restore();
    p.end();
    return image;
}

bool WriteIcons(const content::GeneratorContext& context) {
    if (!PrepareArt(context.sources)) return false;
    const QImage master = MasterIcon();
    bool ok = true;
    for (int size : kSizes) {
        const QImage icon = master.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                .convertToFormat(QImage::Format_ARGB32);
        const std::string file = (context.out / (std::to_string(size) + ".png")).string();
        if (!icon.save(QString::fromStdString(file), "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", file.c_str());
            ok = false;
        }
    }
    return ok;
}

content::StepRegistration registration{"art-icon", WriteIcons, content::StepKind::Icons};

} // namespace

} // namespace art
