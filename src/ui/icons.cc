#include "ui/icons.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

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

QPixmap ChartPixmap(int size) { return QPixmap::fromImage(ProgramIconImage(size)); }

const char* Glyph(int id) {
  switch (id) {
    case kCmdFileManager: return "FM";
    case kCmdSearch: return "S";
    case kCmdDirectoryEditor: return "DE";
    case kCmdListEditor: return "LE";
    case kCmdConfigure: return "C";
    case kCmdFileDownload: return "FD";
    case kCmdDefinitionFileDownload: return "DF";
    case kCmdDownload: return "D";
    default: return "?";
  }
}

}  // namespace

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 32, 48}) icon.addPixmap(ChartPixmap(size));
  return icon;
}

QIcon CommandIcon(int commandId) {
  const int size = 24;
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QColor(0x1f, 0x4e, 0x8c));
  p.setBrush(QColor(0xe8, 0xef, 0xfa));
  p.drawRoundedRect(QRectF(1.5, 1.5, size - 3, size - 3), 3, 3);
  QFont font = p.font();
  font.setBold(true);
  font.setPixelSize(10);
  p.setFont(font);
  p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QString::fromLatin1(Glyph(commandId)));
  return QIcon(pixmap);
}

}  // namespace kvqt::ui
