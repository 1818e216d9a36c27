// Draws the program's pictures into a folder: the window icon, the activity frames and the
// notification-area pictures, named by resource number. Usage: kw_draw_icons FOLDER
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>

namespace {

constexpr int kSize = 32;

const QColor kCard(0x3C, 0x4B, 0x5F);
const QColor kConnected(0x2E, 0xA0, 0x3A);
const QColor kIdle(0x9A, 0xA0, 0xA8);
const QColor kAlarm(0xD0, 0x30, 0x28);
const QColor kBlue(0x1E, 0x6F, 0xD0);
const QColor kOrange(0xE8, 0x8A, 0x1A);

// The adapter: a card with its antenna, lower left.
void DrawAdapter(QPainter& p) {
    p.setPen(QPen(kCard.darker(140), 1));
    p.setBrush(kCard);
    p.drawRoundedRect(QRectF(3.5, 19.5, 18, 9), 2, 2);
    p.setBrush(QColor(0xE0, 0xC0, 0x40));
    p.drawRect(QRectF(6.5, 22.5, 6, 3));
    p.setPen(QPen(kCard, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(17, 19), QPointF(17, 10));
    p.setBrush(kCard);
    p.drawEllipse(QPointF(17, 9), 1.8, 1.8);
}

// Radio waves to the right of the antenna.
void DrawWaves(QPainter& p, const QColor& color, int count) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(color, 2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < count; ++i) {
        qreal r = 4.5 + 4.5 * i;
        p.drawArc(QRectF(17 - r, 9 - r, 2 * r, 2 * r), -50 * 16, 100 * 16);
    }
}

void DrawCross(QPainter& p) {
    p.setPen(QPen(kAlarm, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(22, 4), QPointF(29, 11));
    p.drawLine(QPointF(29, 4), QPointF(22, 11));
}

void DrawAccessPoint(QPainter& p) {
    p.setPen(QPen(kCard.darker(140), 1));
    p.setBrush(kCard);
    p.drawRoundedRect(QRectF(6.5, 22.5, 19, 7), 2, 2);
    p.setBrush(kConnected);
    p.drawEllipse(QPointF(10, 26), 1.3, 1.3);
    p.setPen(QPen(kCard, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 22), QPointF(16, 12));
    p.setBrush(kCard);
    p.drawEllipse(QPointF(16, 11), 2, 2);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kBlue, 2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 2; ++i) {
        qreal r = 5 + 5 * i;
        p.drawArc(QRectF(16 - r, 11 - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
        p.drawArc(QRectF(16 - r, 11 - r, 2 * r, 2 * r), 135 * 16, 90 * 16);
    }
}

// Another program configures the adapter: a gear over the card.
void DrawZeroConfig(QPainter& p) {
    DrawAdapter(p);
    DrawWaves(p, kIdle, 2);
    QPointF centre(24, 9);
    p.setPen(Qt::NoPen);
    p.setBrush(kOrange);
    QPainterPath gear;
    for (int tooth = 0; tooth < 8; ++tooth) {
        p.save();
        p.translate(centre);
        p.rotate(tooth * 45);
        p.drawRect(QRectF(-1.5, -7, 3, 3));
        p.restore();
    }
    p.drawEllipse(centre, 5, 5);
    p.setBrush(Qt::white);
    p.drawEllipse(centre, 2, 2);
}

// Frame n of the activity animation: three bars, one lit after another.
void DrawActivity(QPainter& p, int frame) {
    for (int i = 0; i < 3; ++i) {
        QColor color = i == frame ? kConnected : kIdle.lighter(120);
        p.setPen(QPen(color.darker(130), 1));
        p.setBrush(color);
        p.drawRoundedRect(QRectF(3.5 + 9 * i, 26.5 - 7 * (i + 1), 7, 7 * (i + 1)), 1.5, 1.5);
    }
}

bool Write(const char* folder, int resource, const std::function<void(QPainter&)>& draw) {
    QImage image(kSize, kSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    QString path = QStringLiteral("%1/%2.png").arg(QString::fromLocal8Bit(folder)).arg(resource);
    if (image.save(path, "PNG")) return true;
    std::fprintf(stderr, "cannot write %s\n", path.toLocal8Bit().constData());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kw_draw_icons FOLDER\n");
        return 2;
    }
    const char* folder = argv[1];
    bool ok = true;
    ok &= Write(folder, 128, [](QPainter& p) { DrawAdapter(p); DrawWaves(p, kBlue, 3); });
    for (int frame = 0; frame < 3; ++frame) ok &= Write(folder, 175 + frame, [frame](QPainter& p) { DrawActivity(p, frame); });
    ok &= Write(folder, 189, [](QPainter& p) { DrawAdapter(p); DrawWaves(p, kConnected, 2); });
    ok &= Write(folder, 192, [](QPainter& p) { DrawAdapter(p); DrawWaves(p, kConnected, 3); });
    ok &= Write(folder, 193, [](QPainter& p) { DrawAdapter(p); DrawWaves(p, kIdle, 2); DrawCross(p); });
    ok &= Write(folder, 178, [](QPainter& p) { DrawAccessPoint(p); });
    ok &= Write(folder, 174, [](QPainter& p) { DrawZeroConfig(p); });
    return ok ? 0 : 1;
}
