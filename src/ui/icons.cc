#include "ui/icons.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>
#include <numbers>

#include "ui/commands.h"

namespace kvqt::ui {

// A rising price line over a frame: what the program is about.
QImage ProgramIconImage(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal s = size;
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x1f, 0x4e, 0x8c));
  p.drawRoundedRect(QRectF(0.5, 0.5, s - 1, s - 1), s / 8, s / 8);
  QPen pen(QColor(0xff, 0xd1, 0x4a), s / 10.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(pen);
  const QPointF points[] = {{s * 0.15, s * 0.75}, {s * 0.35, s * 0.55}, {s * 0.5, s * 0.65},
                            {s * 0.7, s * 0.35}, {s * 0.85, s * 0.25}};
  p.drawPolyline(points, 5);
  return image;
}

namespace {

// The pictograms are drawn on a 24 by 24 grid and scaled to the size asked for.
const QColor kInk(0x3a, 0x42, 0x4c);
const QColor kPaper(0xff, 0xff, 0xff);
const QColor kFolder(0xf2, 0xc3, 0x5a);
const QColor kFolderDark(0xb0, 0x7d, 0x1c);
const QColor kBlue(0x1f, 0x4e, 0x8c);
const QColor kLightBlue(0xd6, 0xe6, 0xf8);
const QColor kGreen(0x2e, 0x9a, 0x44);
const QColor kGreenDark(0x1b, 0x62, 0x2a);

QPen Pen(const QColor& color, qreal width = 1.0) {
  return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Folder(QPainter& p, const QRectF& body) {
  QPainterPath tab;
  tab.addRoundedRect(QRectF(body.left(), body.top() - 3, body.width() * 0.42, 5), 1.2, 1.2);
  p.setPen(Pen(kFolderDark));
  p.setBrush(kFolderDark.lighter(150));
  p.drawPath(tab);
  p.setBrush(kFolder);
  p.drawRoundedRect(body, 1.5, 1.5);
}

// A sheet of paper with its top right corner folded, and `lines` lines of text.
void Sheet(QPainter& p, const QRectF& r, int lines, qreal lineStart = 0) {
  const qreal fold = std::min(r.width(), r.height()) * 0.3;
  QPainterPath sheet;
  sheet.moveTo(r.topLeft());
  sheet.lineTo(r.right() - fold, r.top());
  sheet.lineTo(r.right(), r.top() + fold);
  sheet.lineTo(r.bottomRight());
  sheet.lineTo(r.bottomLeft());
  sheet.closeSubpath();
  p.setPen(Pen(kInk));
  p.setBrush(kPaper);
  p.drawPath(sheet);
  QPainterPath corner;
  corner.moveTo(r.right() - fold, r.top());
  corner.lineTo(r.right() - fold, r.top() + fold);
  corner.lineTo(r.right(), r.top() + fold);
  p.setBrush(QColor(0xdd, 0xe1, 0xe6));
  p.drawPath(corner);
  p.setPen(Pen(QColor(0x8a, 0x93, 0x9e), 1.2));
  for (int i = 0; i < lines; ++i) {
    const qreal y = r.top() + fold + 2.5 + i * 3.0;
    if (y > r.bottom() - 1.5) break;
    p.drawLine(QPointF(r.left() + 2.5 + lineStart, y), QPointF(r.right() - 2.5, y));
  }
}

// A green arrow pointing down, its shaft from `top`, its point at `bottom`.
void ArrowDown(QPainter& p, qreal cx, qreal top, qreal bottom, qreal width) {
  const qreal head = width * 0.95;
  const qreal shaft = width * 0.45;
  QPolygonF arrow;
  arrow << QPointF(cx - shaft / 2, top) << QPointF(cx + shaft / 2, top) << QPointF(cx + shaft / 2, bottom - head)
        << QPointF(cx + width / 2, bottom - head) << QPointF(cx, bottom) << QPointF(cx - width / 2, bottom - head)
        << QPointF(cx - shaft / 2, bottom - head);
  p.setPen(Pen(kGreenDark));
  p.setBrush(kGreen);
  p.drawPolygon(arrow);
}

// A pencil lying from the lower left to the upper right, its point at `tip`.
void Pencil(QPainter& p, QPointF tip, qreal length) {
  p.save();
  p.translate(tip);
  p.rotate(-45);
  const qreal w = 3.6;
  QPolygonF point;
  point << QPointF(0, 0) << QPointF(3.2, -w / 2) << QPointF(3.2, w / 2);
  p.setPen(Pen(kInk, 0.8));
  p.setBrush(QColor(0xf3, 0xd9, 0xa8));
  p.drawPolygon(point);
  p.setBrush(QColor(0xe8, 0x8a, 0x1a));
  p.drawRect(QRectF(3.2, -w / 2, length - 5.2, w));
  p.setBrush(QColor(0xe0, 0x6c, 0x8c));
  p.drawRect(QRectF(length - 2.0, -w / 2, 2.0, w));
  p.restore();
}

void Magnifier(QPainter& p) {
  p.setPen(QPen(QColor(0x44, 0x44, 0x44), 3.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(14.8, 14.8), QPointF(20.8, 20.8));
  p.setPen(Pen(kBlue, 2.2));
  p.setBrush(kLightBlue);
  p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
  p.setPen(Pen(kPaper, 1.4));
  p.drawArc(QRectF(6.2, 6.2, 7.6, 7.6), 100 * 16, 70 * 16);
}

void Gear(QPainter& p) {
  const QPointF c(12, 12);
  const int teeth = 8;
  const qreal step = 2 * std::numbers::pi / teeth;
  // Each tooth: up from the rim, across the top, down again.
  const struct {
    qreal at;
    qreal radius;
  } outline[] = {{-0.32, 7.4}, {-0.17, 10.3}, {0.17, 10.3}, {0.32, 7.4}};
  QPolygonF gear;
  for (int i = 0; i < teeth; ++i) {
    for (const auto& o : outline) {
      const qreal angle = (i + o.at) * step;
      gear << QPointF(c.x() + o.radius * std::cos(angle), c.y() + o.radius * std::sin(angle));
    }
  }
  p.setPen(Pen(QColor(0x3f, 0x48, 0x53)));
  p.setBrush(QColor(0x8a, 0x96, 0xa3));
  QPainterPath path;
  path.addPolygon(gear);
  path.closeSubpath();
  path.addEllipse(c, 3.2, 3.2);
  p.drawPath(path);
}

void Tray(QPainter& p) {
  QPainterPath tray;
  tray.moveTo(2.5, 14);
  tray.lineTo(2.5, 21.5);
  tray.lineTo(21.5, 21.5);
  tray.lineTo(21.5, 14);
  tray.lineTo(17.5, 14);
  tray.lineTo(17.5, 17.5);
  tray.lineTo(6.5, 17.5);
  tray.lineTo(6.5, 14);
  tray.closeSubpath();
  p.setPen(Pen(QColor(0x24, 0x3f, 0x66)));
  p.setBrush(QColor(0x5b, 0x86, 0xc0));
  p.drawPath(tray);
}

void Draw(QPainter& p, int commandId) {
  switch (commandId) {
    case kCmdFileManager:  // the instruments of a directory
      Folder(p, QRectF(2.5, 9.5, 19, 12));
      Sheet(p, QRectF(6.5, 3.5, 11, 9), 2);
      p.setPen(Pen(kFolderDark, 1.2));
      for (qreal y : {14.0, 17.0}) p.drawLine(QPointF(6, y), QPointF(18, y));
      break;
    case kCmdSearch:  // the catalogue
      Magnifier(p);
      break;
    case kCmdDirectoryEditor:
      Folder(p, QRectF(1.5, 6.5, 18, 12));
      Pencil(p, QPointF(11.5, 21.5), 14);
      break;
    case kCmdListEditor: {
      Sheet(p, QRectF(3.5, 1.5, 14, 19), 0);
      p.setPen(Qt::NoPen);
      p.setBrush(kBlue);
      for (qreal y : {7.0, 11.0, 15.0}) p.drawRect(QRectF(6, y - 1, 2, 2));
      p.setPen(Pen(QColor(0x8a, 0x93, 0x9e), 1.2));
      for (qreal y : {7.0, 11.0, 15.0}) p.drawLine(QPointF(10, y), QPointF(15, y));
      Pencil(p, QPointF(12.5, 22), 13);
      break;
    }
    case kCmdConfigure:
      Gear(p);
      break;
    case kCmdFileDownload:  // into one file
      Sheet(p, QRectF(4.5, 7.5, 15, 14.5), 3);
      ArrowDown(p, 12, 1.5, 15.5, 9);
      break;
    case kCmdDefinitionFileDownload:  // by the lines of a definition file
      Sheet(p, QRectF(2.5, 1.5, 13, 19), 5);
      ArrowDown(p, 17.5, 9, 22.5, 8);
      break;
    case kCmdDownload:  // into the chart databases
      Tray(p);
      ArrowDown(p, 12, 1.5, 16.5, 11);
      break;
    default:
      break;
  }
}

}  // namespace

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 32, 48}) icon.addPixmap(QPixmap::fromImage(ProgramIconImage(size)));
  return icon;
}

const char* CommandIconName(int commandId) {
  switch (commandId) {
    case kCmdFileManager: return "system-file-manager";
    case kCmdSearch: return "edit-find";
    case kCmdDirectoryEditor: return "folder";
    case kCmdListEditor: return "view-list-details";
    case kCmdConfigure: return "preferences-system";
    case kCmdFileDownload: return "document-save";
    case kCmdDefinitionFileDownload: return "text-x-generic";
    case kCmdDownload: return "go-down";
    default: return "";
  }
}

QImage CommandIconImage(int commandId, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 24.0, size / 24.0);
  Draw(p, commandId);
  return image;
}

QIcon CommandIcon(int commandId) {
  QIcon shipped;
  for (int size : {16, 22, 24, 32, 48}) shipped.addPixmap(QPixmap::fromImage(CommandIconImage(commandId, size)));
  const char* name = CommandIconName(commandId);
  if (name[0] == '\0') return shipped;
  return QIcon::fromTheme(QString::fromLatin1(name), shipped);
}

}  // namespace kvqt::ui
