#include "widgets/mainwindow/toolbaricons.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace ToolbarIcons {

namespace {

using Draw = std::function<void(QPainter &)>;

const QColor kInk(0x30, 0x30, 0x38);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kBlue(0x2F, 0x6F, 0xC0);
const QColor kGreen(0x2E, 0x9A, 0x3C);
const QColor kRed(0xC8, 0x32, 0x2A);
const QColor kYellow(0xF0, 0xC0, 0x40);
const QColor kTeal(0x0A, 0x90, 0xA0);
const QColor kGrey(0xB8, 0xBC, 0xC4);

QPen pen(const QColor &color, qreal width = 1.0)
{
    QPen p(color, width);
    p.setJoinStyle(Qt::RoundJoin);
    p.setCapStyle(Qt::RoundCap);
    return p;
}

/// A page with a folded corner, in the box from (x, y), 10 by 13.
void page(QPainter &p, qreal x, qreal y)
{
    QPainterPath path;
    path.moveTo(x, y);
    path.lineTo(x + 7, y);
    path.lineTo(x + 10, y + 3);
    path.lineTo(x + 10, y + 13);
    path.lineTo(x, y + 13);
    path.closeSubpath();
    p.setPen(pen(kInk));
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawPolyline(QPolygonF({QPointF(x + 7, y), QPointF(x + 7, y + 3), QPointF(x + 10, y + 3)}));
}

void plus(QPainter &p, QPointF c, const QColor &color)
{
    p.setPen(pen(color, 2.0));
    p.drawLine(c + QPointF(-2.5, 0), c + QPointF(2.5, 0));
    p.drawLine(c + QPointF(0, -2.5), c + QPointF(0, 2.5));
}

void cross(QPainter &p, QPointF c, const QColor &color)
{
    p.setPen(pen(color, 2.0));
    p.drawLine(c + QPointF(-2.2, -2.2), c + QPointF(2.2, 2.2));
    p.drawLine(c + QPointF(-2.2, 2.2), c + QPointF(2.2, -2.2));
}

void arrow(QPainter &p, QPointF from, QPointF to, const QColor &color)
{
    p.setPen(pen(color, 1.8));
    p.drawLine(from, to);
    const QPointF d = to - from;
    const qreal len = std::hypot(d.x(), d.y());
    const QPointF u = d / len;
    const QPointF n(-u.y(), u.x());
    p.setBrush(color);
    p.setPen(pen(color, 1.0));
    p.drawPolygon(QPolygonF({to + u * 1.5, to - u * 2.5 + n * 2.5, to - u * 2.5 - n * 2.5}));
}

/// A small table of three rows and two columns.
void table(QPainter &p, const QRectF &r)
{
    p.setPen(pen(kInk));
    p.setBrush(kPaper);
    p.drawRect(r);
    p.setPen(pen(kGrey));
    for (int i = 1; i < 3; ++i)
        p.drawLine(QPointF(r.left() + 0.5, r.top() + r.height() * i / 3),
                   QPointF(r.right() - 0.5, r.top() + r.height() * i / 3));
    p.drawLine(QPointF(r.center().x(), r.top() + 0.5), QPointF(r.center().x(), r.bottom() - 0.5));
}

void letters(QPainter &p, const QRectF &r, const QString &text, const QColor &color, qreal size,
             bool bold = true)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(qRound(size));
    f.setBold(bold);
    p.setFont(f);
    p.setPen(color);
    p.drawText(r, Qt::AlignCenter, text);
}

void magnifier(QPainter &p, QPointF c, qreal radius)
{
    p.setPen(pen(kInk, 2.0));
    p.drawLine(c + QPointF(radius * 0.7, radius * 0.7), c + QPointF(radius * 1.9, radius * 1.9));
    p.setPen(pen(kInk, 1.4));
    p.setBrush(QColor(0xD8, 0xEC, 0xFF));
    p.drawEllipse(c, radius, radius);
}

void funnel(QPainter &p, const QColor &color)
{
    p.setPen(pen(kInk));
    p.setBrush(color);
    p.drawPolygon(QPolygonF({QPointF(1.5, 2), QPointF(14.5, 2), QPointF(9.5, 8), QPointF(9.5, 14),
                             QPointF(6.5, 12.5), QPointF(6.5, 8)}));
}

/// Rows (horizontal bands) or columns (vertical bands) of a table.
void bands(QPainter &p, bool rows)
{
    p.setPen(pen(kInk));
    for (int i = 0; i < 3; ++i) {
        p.setBrush(i == 1 ? QColor(0xD8, 0xEC, 0xFF) : kPaper);
        if (rows)
            p.drawRect(QRectF(1.5, 1.5 + i * 4, 9, 4));
        else
            p.drawRect(QRectF(1.5 + i * 4, 1.5, 4, 9));
    }
}

Draw drawing(Command c)
{
    switch (c) {
    case Command::New:
        return [](QPainter &p) {
            page(p, 2.5, 1.5);
            plus(p, {12, 12}, kGreen);
        };
    case Command::Clone:
        return [](QPainter &p) {
            page(p, 1.5, 0.5);
            page(p, 4.5, 2.5);
        };
    case Command::Open:
        return [](QPainter &p) {
            p.setPen(pen(kInk));
            p.setBrush(kYellow.darker(115));
            p.drawPolygon(QPolygonF({QPointF(1.5, 3.5), QPointF(6, 3.5), QPointF(7.5, 5),
                                     QPointF(13.5, 5), QPointF(13.5, 13.5), QPointF(1.5, 13.5)}));
            p.setBrush(kYellow);
            p.drawPolygon(QPolygonF(
                {QPointF(1.5, 13.5), QPointF(4, 7.5), QPointF(15.5, 7.5), QPointF(13.5, 13.5)}));
        };
    case Command::Save:
        return [](QPainter &p) {
            p.setPen(pen(kInk));
            p.setBrush(kBlue);
            p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
            p.setBrush(kPaper);
            p.drawRect(QRectF(4, 1.5, 8, 5));
            p.setBrush(kGrey);
            p.drawRect(QRectF(4, 9.5, 8, 5));
        };
    case Command::Install:
        return [](QPainter &p) {
            p.setPen(pen(kInk));
            p.setBrush(QColor(0x50, 0x55, 0x60));
            p.drawRoundedRect(QRectF(3.5, 0.5, 9, 15), 2, 2);
            p.setBrush(QColor(0xC8, 0xE6, 0xC0));
            p.drawRect(QRectF(5, 2, 6, 7));
            arrow(p, {8, 2.5}, {8, 6.5}, kGreen.darker(130));
            p.setBrush(kGrey);
            p.drawEllipse(QPointF(8, 12.5), 1.3, 1.3);
        };
    case Command::Print:
        return [](QPainter &p) {
            p.setPen(pen(kInk));
            p.setBrush(kPaper);
            p.drawRect(QRectF(4.5, 1.5, 7, 5));
            p.setBrush(kGrey);
            p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
            p.setBrush(kPaper);
            p.drawRect(QRectF(4.5, 10.5, 7, 4.5));
            p.setPen(pen(kGreen));
            p.drawPoint(QPointF(12.5, 8.5));
        };
    case Command::Import:
        return [](QPainter &p) {
            page(p, 5.5, 1.5);
            arrow(p, {0.5, 9}, {8.5, 9}, kGreen);
        };
    case Command::Export:
        return [](QPainter &p) {
            page(p, 0.5, 1.5);
            arrow(p, {6, 9}, {14.5, 9}, kBlue);
        };
    case Command::EditCell:
        return [](QPainter &p) {
            table(p, QRectF(0.5, 3.5, 12, 9));
            p.setPen(pen(kYellow.darker(150), 2.5));
            p.drawLine(QPointF(7, 12), QPointF(14, 5));
            p.setPen(pen(kInk, 1.0));
            p.drawLine(QPointF(5.5, 13.5), QPointF(7, 12));
        };
    case Command::CutCell:
        return [](QPainter &p) {
            p.setPen(pen(kInk, 1.4));
            p.drawLine(QPointF(4, 1), QPointF(10.5, 10));
            p.drawLine(QPointF(12, 1), QPointF(5.5, 10));
            p.setBrush(Qt::NoBrush);
            p.setPen(pen(kRed, 1.6));
            p.drawEllipse(QPointF(4.5, 12), 2.5, 2.5);
            p.drawEllipse(QPointF(11.5, 12), 2.5, 2.5);
        };
    case Command::CopyCell:
        return [](QPainter &p) {
            p.setPen(pen(kInk));
            p.setBrush(kPaper);
            p.drawRect(QRectF(1.5, 1.5, 8, 9));
            p.setBrush(QColor(0xD8, 0xEC, 0xFF));
            p.drawRect(QRectF(6.5, 5.5, 8, 9));
        };
    case Command::PasteCell:
        return [](QPainter &p) {
            p.setPen(pen(kInk));
            p.setBrush(QColor(0xB0, 0x80, 0x50));
            p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12), 1, 1);
            p.setBrush(kGrey);
            p.drawRect(QRectF(4, 1, 5, 3));
            p.setBrush(kPaper);
            p.drawRect(QRectF(6.5, 6.5, 8, 8.5));
        };
    case Command::Properties:
        return [](QPainter &p) {
            p.setPen(pen(kInk));
            p.setBrush(kPaper);
            p.drawRect(QRectF(1.5, 1.5, 13, 13));
            p.setPen(pen(kBlue, 1.5));
            for (int i = 0; i < 3; ++i) {
                p.drawLine(QPointF(4, 4.5 + i * 3.5), QPointF(5, 4.5 + i * 3.5));
                p.drawLine(QPointF(7, 4.5 + i * 3.5), QPointF(12, 4.5 + i * 3.5));
            }
        };
    case Command::Font:
        return [](QPainter &p) { letters(p, QRectF(0, 0, 16, 16), QStringLiteral("A"), kInk, 15); };
    case Command::Find:
        return [](QPainter &p) { magnifier(p, {6.5, 6.5}, 4.5); };
    case Command::Replace:
        return [](QPainter &p) {
            magnifier(p, {5, 5}, 3.5);
            arrow(p, {9, 13.5}, {15, 13.5}, kGreen);
        };
    case Command::AutoSizing:
        return [](QPainter &p) {
            p.setPen(pen(kInk));
            p.setBrush(kPaper);
            p.drawRect(QRectF(4.5, 1.5, 7, 13));
            arrow(p, {7, 8}, {1.5, 8}, kTeal);
            arrow(p, {9, 8}, {14.5, 8}, kTeal);
        };
    case Command::Filter:
        return [](QPainter &p) { funnel(p, kYellow); };
    case Command::AdvancedFilter:
        return [](QPainter &p) {
            funnel(p, kBlue.lighter(150));
            plus(p, {13, 12.5}, kGreen);
        };
    case Command::SortNormal:
    case Command::SortReverse: {
        const bool normal = c == Command::SortNormal;
        return [normal](QPainter &p) {
            letters(p, QRectF(0, -0.5, 8, 8), normal ? QStringLiteral("A") : QStringLiteral("Z"),
                    kInk, 8);
            letters(p, QRectF(0, 7.5, 8, 8), normal ? QStringLiteral("Z") : QStringLiteral("A"),
                    kInk, 8);
            arrow(p, {12, 1.5}, {12, 13}, normal ? kBlue : kRed);
        };
    }
    case Command::ColumnSum:
        return [](QPainter &p) {
            letters(p, QRectF(0, 0, 16, 16), QString(QChar(0x03A3)), kBlue, 15);
        };
    case Command::AppendRow:
        return [](QPainter &p) {
            bands(p, true);
            plus(p, {12.5, 12.5}, kGreen);
        };
    case Command::InsertRow:
        return [](QPainter &p) {
            bands(p, true);
            arrow(p, {15.5, 7.5}, {11.5, 7.5}, kGreen);
        };
    case Command::DeleteRow:
        return [](QPainter &p) {
            bands(p, true);
            cross(p, {13, 12.5}, kRed);
        };
    case Command::AppendColumn:
        return [](QPainter &p) {
            bands(p, false);
            plus(p, {12.5, 12.5}, kGreen);
        };
    case Command::InsertColumn:
        return [](QPainter &p) {
            bands(p, false);
            arrow(p, {7.5, 15.5}, {7.5, 11.5}, kGreen);
        };
    case Command::DeleteColumn:
        return [](QPainter &p) {
            bands(p, false);
            cross(p, {13, 12.5}, kRed);
        };
    case Command::Undo:
    case Command::Redo: {
        // A curved arrow turning back (undo) or forward (redo).
        const bool back = c == Command::Undo;
        return [back](QPainter &p) {
            if (!back) {
                p.translate(16, 0);
                p.scale(-1, 1);
            }
            p.setPen(pen(kBlue, 2.0));
            p.setBrush(Qt::NoBrush);
            QPainterPath path(QPointF(4.5, 7));
            path.cubicTo(QPointF(7, 3.5), QPointF(14, 4), QPointF(13.5, 9.5));
            path.cubicTo(QPointF(13, 12.5), QPointF(10.5, 13.5), QPointF(8.5, 13.5));
            p.drawPath(path);
            p.setPen(pen(kBlue, 1.0));
            p.setBrush(kBlue);
            p.drawPolygon(QPolygonF({QPointF(1.5, 4), QPointF(7.5, 9), QPointF(2, 10.5)}));
        };
    }
    case Command::Homepage:
        return [](QPainter &p) {
            p.setPen(pen(kBlue.darker(130)));
            p.setBrush(kBlue);
            p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
            letters(p, QRectF(0, 0, 16, 16), QStringLiteral("?"), kPaper, 11);
        };
    default:
        return {};
    }
}

QPixmap render(const Draw &draw, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / 16.0, size / 16.0);
    draw(p);
    return pixmap;
}

/// The picture of a command that cannot be used now: grey and faint, so
/// that it cannot be taken for one that can.
QPixmap disabled(const QPixmap &pixmap)
{
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x];
            const int grey = 128 + qGray(c) / 3;
            line[x] = qRgba(grey, grey, grey, qAlpha(c) * 2 / 5);
        }
    }
    return QPixmap::fromImage(image);
}

} // namespace

QIcon icon(Command command)
{
    const Draw draw = drawing(command);
    if (!draw)
        return {};
    QIcon icon;
    for (int size : {16, 32}) {
        const QPixmap pixmap = render(draw, size);
        icon.addPixmap(pixmap);
        icon.addPixmap(disabled(pixmap), QIcon::Disabled);
    }
    return icon;
}

QIcon commandIcon(Command c)
{
    const char *name = nullptr;
    switch (c) {
    case Command::New:
        name = "document-new";
        break;
    case Command::Open:
        name = "document-open";
        break;
    case Command::Save:
        name = "document-save";
        break;
    case Command::Print:
        name = "document-print";
        break;
    case Command::Import:
        name = "document-import";
        break;
    case Command::Export:
        name = "document-export";
        break;
    case Command::CutCell:
        name = "edit-cut";
        break;
    case Command::CopyCell:
        name = "edit-copy";
        break;
    case Command::PasteCell:
        name = "edit-paste";
        break;
    case Command::Properties:
        name = "document-properties";
        break;
    case Command::Font:
        name = "preferences-desktop-font";
        break;
    case Command::Find:
        name = "edit-find";
        break;
    case Command::Replace:
        name = "edit-find-replace";
        break;
    case Command::SortNormal:
        name = "view-sort-ascending";
        break;
    case Command::SortReverse:
        name = "view-sort-descending";
        break;
    case Command::Homepage:
        name = "help-browser";
        break;
    case Command::Exit:
        name = "application-exit";
        break;
    case Command::Undo:
        name = "edit-undo";
        break;
    case Command::Redo:
        name = "edit-redo";
        break;
    default:
        break;
    }
    // Our own pictures carry their grey disabled state; a theme's icons
    // are greyed by the style.
    const QIcon own = icon(c);
    if (!name || !QIcon::hasThemeIcon(QLatin1String(name)))
        return own;
    const QIcon themed = QIcon::fromTheme(QLatin1String(name));
    QIcon icon;
    for (int size : {16, 32}) {
        const QPixmap pixmap = themed.pixmap(size, size);
        icon.addPixmap(pixmap);
        icon.addPixmap(disabled(pixmap), QIcon::Disabled);
    }
    return icon;
}

} // namespace ToolbarIcons
