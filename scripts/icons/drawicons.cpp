// Draws the program's icons and splash image into gui/icones. Run once after
// changing a drawing; the PNGs it writes are committed.
//
//   g++ -std=c++17 -fPIC drawicons.cpp $(pkg-config --cflags --libs Qt5Gui) -o /tmp/drawicons
//   QT_QPA_PLATFORM=offscreen /tmp/drawicons gui/icones
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include <cstdio>
#include <functional>

namespace {

QString target;

void save(const QString& name, int w, int h, const std::function<void(QPainter&)>& draw)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        draw(p);
    }
    const QString path = QDir(target).filePath(name);
    if (!image.save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

void sphere(QPainter& p, QPointF c, double r, QColor colour)
{
    QRadialGradient g(c - QPointF(r / 3, r / 3), r * 1.3);
    g.setColorAt(0, colour.lighter(170));
    g.setColorAt(1, colour.darker(140));
    p.setPen(QPen(colour.darker(200), 1));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
}

void bond(QPainter& p, QPointF a, QPointF b)
{
    p.setPen(QPen(QColor(90, 90, 100), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(a, b);
}

// Axes of a small plot in a 96 x 96 icon.
void axes(QPainter& p)
{
    p.setPen(QPen(QColor(40, 40, 60), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(14, 10, 14, 84);
    p.drawLine(14, 84, 88, 84);
}

QPainterPath bandPath(double centre, double width, double height, double left, double right)
{
    QPainterPath path;
    for (double x = left; x <= right; x += 0.5) {
        const double y = 84 - height * qExp(-qPow((x - centre) / width, 2));
        if (x == left)
            path.moveTo(x, y);
        else
            path.lineTo(x, y);
    }
    return path;
}

void arrow(QPainter& p, QPointF from, QPointF to, QColor colour, double width)
{
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QLineF line(to, from);
    const double angle = qDegreesToRadians(line.angle());
    const double len = width * 3.2;
    QPolygonF head;
    head << to
         << to + QPointF(qCos(angle + 0.45) * len, -qSin(angle + 0.45) * len)
         << to + QPointF(qCos(angle - 0.45) * len, -qSin(angle - 0.45) * len);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(head);
}

void page(QPainter& p, QRectF r, QColor fold)
{
    QPainterPath sheet;
    const double f = r.width() * 0.28;
    sheet.moveTo(r.topLeft());
    sheet.lineTo(r.right() - f, r.top());
    sheet.lineTo(r.right(), r.top() + f);
    sheet.lineTo(r.bottomRight());
    sheet.lineTo(r.bottomLeft());
    sheet.closeSubpath();
    p.setPen(QPen(QColor(70, 70, 90), 2));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    QPolygonF corner;
    corner << QPointF(r.right() - f, r.top()) << QPointF(r.right() - f, r.top() + f)
           << QPointF(r.right(), r.top() + f);
    p.setBrush(fold);
    p.drawPolygon(corner);
    p.setPen(QPen(QColor(120, 130, 160), 2));
    for (double y = r.top() + f + 6; y < r.bottom() - 5; y += 7)
        p.drawLine(QPointF(r.left() + 6, y), QPointF(r.right() - 6, y));
}

void avatar(QPainter& p, QColor shirt, QColor background)
{
    p.setPen(Qt::NoPen);
    p.setBrush(background);
    p.drawRoundedRect(QRectF(0, 0, 120, 140), 10, 10);
    p.setBrush(shirt);
    p.drawEllipse(QPointF(60, 150), 50, 50);
    p.setBrush(QColor(235, 205, 180));
    p.drawEllipse(QPointF(60, 62), 26, 30);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    target = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(target);

    // Module 1: a ball-and-stick complex, ion in the middle.
    save("geo_opt.png", 96, 96, [](QPainter& p) {
        const QPointF c(48, 50);
        const QPointF ligands[] = {{18, 22}, {80, 20}, {84, 76}, {14, 78}, {48, 12}};
        for (auto l : ligands)
            bond(p, c, l);
        for (auto l : ligands)
            sphere(p, l, 9, QColor(220, 40, 40));
        sphere(p, c, 17, QColor(40, 170, 120));
    });

    // Absorption spectrum: broadened band over its stick lines.
    save("absorption_spectrum.png", 96, 96, [](QPainter& p) {
        axes(p);
        p.setPen(QPen(QColor(150, 150, 170), 3));
        p.drawLine(36, 84, 36, 38);
        p.drawLine(52, 84, 52, 18);
        p.drawLine(66, 84, 66, 52);
        QPainterPath band = bandPath(50, 15, 68, 16, 88);
        p.setPen(QPen(QColor(30, 90, 200), 4));
        p.setBrush(Qt::NoBrush);
        p.drawPath(band);
    });

    // Emission spectrum: narrow lines, the strongest in the red.
    save("emission_spectrum.png", 96, 96, [](QPainter& p) {
        axes(p);
        const struct { double x, h; QColor c; } lines[] = {
            {26, 18, QColor(230, 150, 0)}, {40, 30, QColor(240, 110, 0)},
            {56, 68, QColor(220, 20, 20)}, {72, 14, QColor(170, 0, 30)},
            {82, 26, QColor(140, 0, 40)}};
        p.setBrush(Qt::NoBrush);
        for (const auto& l : lines) {
            p.setPen(QPen(l.c, 3));
            p.drawPath(bandPath(l.x, 2.2, l.h, l.x - 7, l.x + 7));
        }
    });

    // Chromaticity diagram button: the horseshoe of the CIE 1931 diagram,
    // blue at its foot, green at its top, red at its right corner.
    save("cie1931_450.png", 96, 96, [](QPainter& p) {
        axes(p);
        QPainterPath horseshoe;
        horseshoe.moveTo(34, 86);
        horseshoe.cubicTo(14, 70, 14, 18, 30, 12);
        horseshoe.cubicTo(40, 8, 58, 30, 86, 62);
        horseshoe.closeSubpath();
        QLinearGradient g(20, 12, 80, 86);
        g.setColorAt(0.0, QColor(40, 220, 60));
        g.setColorAt(0.45, QColor(250, 250, 240));
        g.setColorAt(0.75, QColor(240, 40, 60));
        g.setColorAt(1.0, QColor(70, 60, 230));
        p.setPen(QPen(QColor(60, 60, 80), 2));
        p.setBrush(g);
        p.drawPath(horseshoe);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawEllipse(QPointF(62, 58), 5, 5);
    });

    // Energy transfer: ligand levels to ion levels.
    save("energy_transfer.png", 96, 96, [](QPainter& p) {
        p.setPen(QPen(QColor(40, 60, 140), 4, Qt::SolidLine, Qt::RoundCap));
        for (int y : {82, 30, 44})
            p.drawLine(8, y, 36, y);
        p.setPen(QPen(QColor(200, 30, 30), 4, Qt::SolidLine, Qt::RoundCap));
        for (int y : {84, 76, 52, 40})
            p.drawLine(60, y, 88, y);
        arrow(p, QPointF(36, 44), QPointF(60, 40), QColor(240, 150, 0), 3.5);
        arrow(p, QPointF(74, 52), QPointF(74, 74), QColor(220, 30, 30), 3);
        arrow(p, QPointF(22, 80), QPointF(22, 34), QColor(60, 120, 220), 3);
    });

    // Intensity parameters: a capital omega in a tile.
    save("omega.png", 96, 96, [](QPainter& p) {
        QLinearGradient g(0, 0, 0, 96);
        g.setColorAt(0, QColor(120, 150, 240));
        g.setColorAt(1, QColor(40, 60, 170));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(QRectF(6, 6, 84, 84), 16, 16);
        QFont font(QStringLiteral("DejaVu Serif"));
        font.setPixelSize(62);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(2, 0, 80, 90), Qt::AlignCenter, QString(QChar(0x03A9)));
        font.setPixelSize(26);
        font.setItalic(true);
        p.setFont(font);
        p.drawText(QRectF(56, 48, 32, 36), Qt::AlignCenter, QString(QChar(0x03BB)));
    });

    // Files converter: two sheets and a turning arrow.
    save("files_convert.png", 96, 96, [](QPainter& p) {
        page(p, QRectF(6, 8, 42, 56), QColor(150, 190, 250));
        page(p, QRectF(48, 32, 42, 56), QColor(250, 200, 120));
        arrow(p, QPointF(30, 70), QPointF(44, 84), QColor(30, 150, 70), 4);
        arrow(p, QPointF(68, 26), QPointF(54, 12), QColor(30, 150, 70), 4);
    });

    // About: an information disc.
    save("InfoBox-icon.png", 96, 96, [](QPainter& p) {
        QRadialGradient g(QPointF(38, 34), 60);
        g.setColorAt(0, QColor(110, 170, 255));
        g.setColorAt(1, QColor(20, 70, 180));
        p.setPen(QPen(QColor(15, 50, 130), 2));
        p.setBrush(g);
        p.drawEllipse(QPointF(48, 48), 42, 42);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(48, 26), 7, 7);
        p.drawRoundedRect(QRectF(41, 40, 14, 38), 4, 4);
    });

    // File viewer button: a written page.
    save("white.png", 32, 32, [](QPainter& p) {
        QPainterPath sheet;
        sheet.addRect(7, 3, 18, 26);
        p.setPen(QPen(QColor(70, 70, 90), 1.5));
        p.setBrush(Qt::white);
        p.drawPath(sheet);
        p.setPen(QPen(QColor(90, 110, 170), 1.5));
        for (int y = 9; y <= 24; y += 4)
            p.drawLine(10, y, 22, y);
    });

    // Status panel button: lines of text in a frame.
    save("view_text.png", 32, 32, [](QPainter& p) {
        p.setPen(QPen(QColor(50, 60, 90), 2));
        p.setBrush(QColor(250, 250, 235));
        p.drawRoundedRect(QRectF(3, 5, 26, 22), 3, 3);
        p.setPen(QPen(QColor(30, 120, 60), 2));
        p.drawLine(7, 11, 23, 11);
        p.drawLine(7, 16, 19, 16);
        p.drawLine(7, 21, 25, 21);
    });

    // Update check: a turning arrow.
    save("update.png", 32, 32, [](QPainter& p) {
        p.setPen(QPen(QColor(30, 150, 70), 3.5, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(5, 5, 22, 22), 100 * 16, 280 * 16);
        QPolygonF head;
        head << QPointF(15, 1) << QPointF(22, 6) << QPointF(14, 11);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 150, 70));
        p.drawPolygon(head);
    });


    // Toolbar icons of the viewer, find bar and calculation pages.
    save("fileopen.png", 48, 48, [](QPainter& p) {
        p.setPen(QPen(QColor(150, 110, 30), 2));
        p.setBrush(QColor(240, 190, 80));
        p.drawRoundedRect(QRectF(4, 10, 38, 30), 3, 3);
        QPolygonF flap;
        flap << QPointF(10, 20) << QPointF(46, 20) << QPointF(40, 40) << QPointF(4, 40);
        p.setBrush(QColor(250, 215, 120));
        p.drawPolygon(flap);
    });
    save("filesave.png", 48, 48, [](QPainter& p) {
        p.setPen(QPen(QColor(30, 50, 110), 2));
        p.setBrush(QColor(60, 100, 190));
        p.drawRoundedRect(QRectF(6, 6, 36, 36), 4, 4);
        p.setBrush(QColor(235, 240, 250));
        p.drawRect(QRectF(13, 6, 22, 14));
        p.setBrush(QColor(30, 50, 110));
        p.drawRect(QRectF(27, 9, 5, 8));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(12, 26, 24, 14));
    });
    save("find.png", 48, 48, [](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 70), 6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(29, 29), QPointF(42, 42));
        p.setPen(QPen(QColor(60, 60, 70), 3));
        p.setBrush(QColor(200, 225, 255, 200));
        p.drawEllipse(QPointF(20, 20), 13, 13);
    });
    save("back.png", 48, 48, [](QPainter& p) {
        arrow(p, QPointF(40, 24), QPointF(8, 24), QColor(40, 110, 200), 6);
    });
    save("forward.png", 48, 48, [](QPainter& p) {
        arrow(p, QPointF(8, 24), QPointF(40, 24), QColor(40, 110, 200), 6);
    });
    save("clear_project.png", 48, 48, [](QPainter& p) {
        page(p, QRectF(8, 4, 28, 38), QColor(220, 220, 230));
        p.setPen(QPen(QColor(210, 40, 40), 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(24, 26), QPointF(42, 44));
        p.drawLine(QPointF(42, 26), QPointF(24, 44));
    });
    // Plot a spectrum: axes and a broadened band.
    save("plotGraph.png", 48, 48, [](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 70), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(7, 5), QPointF(7, 42));
        p.drawLine(QPointF(7, 42), QPointF(44, 42));
        QPainterPath band;
        band.moveTo(9, 40);
        for (int x = 9; x <= 43; ++x) {
            const double u = (x - 22) / 6.0, v = (x - 34) / 4.0;
            band.lineTo(x, 40 - 30 * qExp(-u * u) - 14 * qExp(-v * v));
        }
        p.setPen(QPen(QColor(215, 35, 35), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(band);
    });
    save("stop_optimization.png", 48, 48, [](QPainter& p) {
        QPolygonF octagon;
        for (int k = 0; k < 8; ++k) {
            const double a = M_PI / 8 + k * M_PI / 4;
            octagon << QPointF(24 + 21 * qCos(a), 24 + 21 * qSin(a));
        }
        p.setPen(QPen(QColor(120, 10, 10), 2));
        p.setBrush(QColor(215, 35, 35));
        p.drawPolygon(octagon);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(14, 21, 20, 6));
    });

    // Buttons of the spectroscopic calculation page.
    save("transfer_mechanisms.png", 48, 48, [](QPainter& p) {
        // A ligand level handing its energy down to an ion level.
        p.setPen(QPen(QColor(40, 60, 140), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(4, 12, 20, 12);
        p.drawLine(4, 42, 20, 42);
        p.setPen(QPen(QColor(200, 30, 30), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(28, 22, 44, 22);
        p.drawLine(28, 42, 44, 42);
        arrow(p, QPointF(18, 14), QPointF(32, 20), QColor(240, 150, 0), 3);
        arrow(p, QPointF(36, 24), QPointF(36, 38), QColor(220, 30, 30), 2.5);
    });
    save("printing.png", 48, 48, [](QPainter& p) {
        // A report sheet with ticked sections.
        page(p, QRectF(8, 3, 30, 42), QColor(220, 220, 230));
        p.setPen(QPen(QColor(30, 150, 70), 3, Qt::SolidLine, Qt::RoundCap));
        for (double y : {22.0, 34.0}) {
            p.drawLine(QPointF(30, y), QPointF(34, y + 4));
            p.drawLine(QPointF(34, y + 4), QPointF(44, y - 6));
        }
    });
    save("run_calculation.png", 48, 48, [](QPainter& p) {
        // A green start triangle.
        QPolygonF play;
        play << QPointF(12, 6) << QPointF(42, 24) << QPointF(12, 42);
        QLinearGradient g(0, 6, 0, 42);
        g.setColorAt(0, QColor(110, 210, 110));
        g.setColorAt(1, QColor(20, 130, 40));
        p.setPen(QPen(QColor(10, 90, 30), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(g);
        p.drawPolygon(play);
    });

    // Buttons that add and remove a ligand-atom group (shown at 11 x 11).
    auto roundSign = [](QPainter& p, QColor fill, bool plus) {
        p.setPen(QPen(fill.darker(160), 1.5));
        p.setBrush(fill);
        p.drawEllipse(QPointF(12, 12), 10.5, 10.5);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5, 10, 14, 4));
        if (plus)
            p.drawRect(QRectF(10, 5, 4, 14));
    };
    save("add.png", 24, 24, [&](QPainter& p) { roundSign(p, QColor(40, 150, 70), true); });
    save("remove.png", 24, 24, [&](QPainter& p) { roundSign(p, QColor(200, 50, 50), false); });
    // Window icon of the transfer-channel options: a ligand state handing its
    // energy to the ion. A bitmap has no transparency, so it has a background.
    save("optimize.bmp", 32, 32, [](QPainter& p) {
        p.fillRect(QRectF(0, 0, 32, 32), QColor(245, 245, 250));
        sphere(p, QPointF(8, 22), 6, QColor(60, 90, 200));
        sphere(p, QPointF(24, 10), 6, QColor(235, 40, 40));
        arrow(p, QPointF(12, 18), QPointF(20, 13), QColor(230, 150, 20), 2);
    });

    // Program emblem: a red emitting ion in its ring of ligands.
    auto emblem = [](QPainter& p, double size) {
        const double s = size / 96.0;
        p.save();
        p.scale(s, s);
        QRadialGradient glow(QPointF(48, 48), 44);
        glow.setColorAt(0, QColor(255, 80, 60, 230));
        glow.setColorAt(0.45, QColor(230, 30, 40, 120));
        glow.setColorAt(1, QColor(230, 30, 40, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(QPointF(48, 48), 46, 46);
        p.setPen(QPen(QColor(30, 50, 120), 5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(48, 48), 32, 32);
        for (int k = 0; k < 8; ++k) {
            const double a = k * M_PI / 4;
            sphere(p, QPointF(48 + 32 * qCos(a), 48 + 32 * qSin(a)), 6.5, QColor(60, 90, 200));
        }
        sphere(p, QPointF(48, 48), 13, QColor(235, 40, 40));
        p.restore();
    };
    save("orvane.png", 96, 96, [&](QPainter& p) { emblem(p, 96); });

    // Splash: 401 x 219.
    save("SplashImage.png", 401, 219, [&](QPainter& p) {
        QLinearGradient g(0, 0, 401, 219);
        g.setColorAt(0, QColor(14, 20, 60));
        g.setColorAt(1, QColor(70, 20, 90));
        p.fillRect(QRect(0, 0, 401, 219), g);
        // A faint emission spectrum along the bottom.
        const struct { double x, h; QColor c; } lines[] = {
            {60, 20, QColor(255, 170, 0)}, {120, 40, QColor(255, 120, 0)},
            {200, 90, QColor(255, 40, 40)}, {280, 22, QColor(200, 0, 60)},
            {330, 36, QColor(170, 0, 70)}};
        for (const auto& l : lines) {
            QPainterPath path;
            for (double x = l.x - 30; x <= l.x + 30; x += 0.5) {
                const double y = 214 - l.h * qExp(-qPow((x - l.x) / 5.0, 2));
                if (x == l.x - 30)
                    path.moveTo(x, y);
                else
                    path.lineTo(x, y);
            }
            p.setPen(QPen(l.c, 2));
            p.setBrush(Qt::NoBrush);
            p.drawPath(path);
        }
        p.translate(24, 30);
        emblem(p, 110);
        p.resetTransform();
        QFont title(QStringLiteral("DejaVu Sans"));
        title.setPixelSize(44);
        title.setBold(true);
        title.setLetterSpacing(QFont::AbsoluteSpacing, 2);
        p.setFont(title);
        p.setPen(QColor(245, 245, 255));
        p.drawText(QRectF(148, 34, 250, 64), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("ORVANE"));
        QFont sub(QStringLiteral("DejaVu Sans"));
        sub.setPixelSize(14);
        p.setFont(sub);
        p.setPen(QColor(210, 210, 240));
        p.drawText(QRectF(152, 96, 240, 40), Qt::AlignLeft,
                   QStringLiteral("Theoretical lanthanide\nluminescence"));
        sub.setPixelSize(11);
        p.setFont(sub);
        p.setPen(QColor(170, 170, 210));
        p.drawText(QRectF(152, 140, 240, 20), Qt::AlignLeft, QStringLiteral("Loading..."));
    });

    // About page pictures.
    save("about_banner.png", 360, 90, [&](QPainter& p) {
        QLinearGradient g(0, 0, 360, 0);
        g.setColorAt(0, QColor(14, 20, 60));
        g.setColorAt(1, QColor(70, 20, 90));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(QRectF(0, 0, 360, 90), 10, 10);
        p.translate(8, 5);
        emblem(p, 80);
        p.resetTransform();
        QFont title(QStringLiteral("DejaVu Sans"));
        title.setPixelSize(40);
        title.setBold(true);
        p.setFont(title);
        p.setPen(Qt::white);
        p.drawText(QRectF(100, 6, 250, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ORVANE"));
        QFont sub(QStringLiteral("DejaVu Sans"));
        sub.setPixelSize(12);
        p.setFont(sub);
        p.setPen(QColor(210, 210, 240));
        p.drawText(QRectF(102, 56, 250, 24), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Lanthanide luminescence, from theory"));
    });
    save("about_lab.png", 136, 90, [&](QPainter& p) {
        // A honeycomb: the project's many small parts.
        p.setPen(QPen(QColor(40, 70, 150), 3));
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 4; ++col) {
                const QPointF c(18 + col * 28 + (row % 2) * 14, 18 + row * 25);
                QPolygonF hex;
                for (int k = 0; k < 6; ++k) {
                    const double a = M_PI / 6 + k * M_PI / 3;
                    hex << c + QPointF(14 * qCos(a), 14 * qSin(a));
                }
                p.setBrush(row == 1 && col == 1 ? QColor(230, 50, 50) : QColor(220, 230, 250));
                p.drawPolygon(hex);
            }
        }
    });
    save("about_author1.png", 120, 140, [](QPainter& p) { avatar(p, QColor(40, 90, 170), QColor(225, 235, 250)); });
    save("about_author2.png", 120, 140, [](QPainter& p) { avatar(p, QColor(180, 50, 50), QColor(250, 232, 228)); });
    save("about_author3.png", 120, 140, [](QPainter& p) { avatar(p, QColor(40, 140, 90), QColor(228, 246, 236)); });
    save("about_institution.png", 120, 90, [&](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 80), 3));
        p.setBrush(QColor(240, 240, 248));
        QPolygonF roof;
        roof << QPointF(10, 34) << QPointF(60, 6) << QPointF(110, 34);
        p.drawPolygon(roof);
        for (int x = 22; x <= 98; x += 19)
            p.drawRect(QRectF(x - 4, 38, 8, 38));
        p.drawRect(QRectF(8, 78, 104, 8));
    });
    return 0;
}
