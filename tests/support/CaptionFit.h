#pragma once
// Whether a control's caption, in the font the control really draws with, fits the room the
// style leaves for it, and whether another control covers part of it. Check boxes (beside their
// indicator), push buttons (inside their bevel), labels (plain or word-wrapped), group box titles.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <QStyleOptionGroupBox>
#include <algorithm>
#include <optional>
#include <utility>

namespace palettor::test {

struct CaptionRoom {
  QString caption;
  QRect room;    // where the style lets the caption go, in the control's coordinates
  QRect needed;  // the pixels the caption's glyphs cover there
};

// The columns the glyphs of `text` cover when drawn from x = 0 in `font` (a mnemonic's '&' not
// drawn): a glyph may reach past its advance, and the advance may end in blank space.
inline std::pair<int, int> InkColumns(const QFont& font, const QString& text) {
  const QFontMetrics metrics(font);
  const int pad = metrics.height();
  QImage canvas(metrics.horizontalAdvance(text) + 2 * pad, metrics.height() + 2 * pad, QImage::Format_RGB32);
  canvas.fill(Qt::white);
  {
    QPainter painter(&canvas);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(pad, pad, canvas.width() - pad, metrics.height()), Qt::AlignLeft | Qt::TextShowMnemonic,
                     text);
  }
  int first = canvas.width(), last = -1;
  for (int y = 0; y < canvas.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
    for (int x = 0; x < canvas.width(); ++x) {
      if (line[x] != qRgb(255, 255, 255)) {
        first = std::min(first, x - pad);
        last = std::max(last, x - pad);
      }
    }
  }
  return {first, last};
}

// The glyphs of `text` drawn in `room` with `alignment` (horizontally; vertically centred on
// the font's line height unless aligned to the top).
inline QRect InkIn(const QWidget* control, const QString& text, const QRect& room, Qt::Alignment alignment) {
  const QFontMetrics metrics = control->fontMetrics();
  const int advance = metrics.size(Qt::TextShowMnemonic, text).width();
  int origin = room.left();
  if (alignment & Qt::AlignRight) origin = room.right() + 1 - advance;
  if (alignment & Qt::AlignHCenter) origin = room.left() + (room.width() - advance) / 2;
  const int top = (alignment & Qt::AlignTop) ? room.top() : room.top() + (room.height() - metrics.height()) / 2;
  const auto [first, last] = InkColumns(control->font(), text);
  if (last < first) return {};
  return QRect(origin + first, top, last - first + 1, metrics.height());
}

// Nothing for a control without a caption of this kind.
inline std::optional<CaptionRoom> CaptionRoomOf(QWidget* control) {
  if (auto* box = qobject_cast<QCheckBox*>(control)) {
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = box->text();
    const QRect room = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
    return CaptionRoom{box->text(), room, InkIn(box, box->text(), room, Qt::AlignLeft | Qt::AlignVCenter)};
  }
  if (auto* button = qobject_cast<QPushButton*>(control)) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    return CaptionRoom{button->text(), room, InkIn(button, button->text(), room, Qt::AlignCenter)};
  }
  if (auto* group = qobject_cast<QGroupBox*>(control)) {
    QStyleOptionGroupBox option;
    option.initFrom(group);
    option.text = group->title();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    const QRect label = group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
    return CaptionRoom{group->title(), group->rect(),
                       InkIn(group, group->title(), label, Qt::AlignLeft | Qt::AlignTop)};
  }
  if (auto* label = qobject_cast<QLabel*>(control)) {
    if (label->text().isEmpty() || label->textFormat() == Qt::RichText) return std::nullopt;
    const QRect room = label->contentsRect();
    if (label->wordWrap()) {
      const QRect wrapped = label->fontMetrics().boundingRect(room.left(), room.top(), room.width(), 10000,
                                                              Qt::TextWordWrap, label->text());
      return CaptionRoom{label->text(), room, wrapped};
    }
    return CaptionRoom{label->text(), room, InkIn(label, label->text(), room, label->alignment())};
  }
  return std::nullopt;
}

// Every visible captioned control under `top`: its caption within its room, its room within the
// parent, and no sibling drawn over the caption.
inline void ExpectEveryCaptionFits(QWidget* top) {
  for (QWidget* control : top->findChildren<QWidget*>()) {
    if (!control->isVisibleTo(top)) continue;
    const auto caption = CaptionRoomOf(control);
    if (!caption) continue;
    const std::string what = control->objectName().toStdString() + " \"" + caption->caption.toStdString() + "\" in " +
                             QFontInfo(control->font()).family().toStdString();
    EXPECT_TRUE(caption->room.contains(caption->needed))
        << what << " needs " << caption->needed.width() << " x " << caption->needed.height() << " at ("
        << caption->needed.x() << ", " << caption->needed.y() << "), has " << caption->room.width() << " x "
        << caption->room.height() << " at (" << caption->room.x() << ", " << caption->room.y() << ")";
    const QRect inParent = caption->needed.translated(control->pos());
    QWidget* parent = control->parentWidget();
    EXPECT_TRUE(parent->rect().contains(inParent)) << what << " runs out of " << parent->objectName().toStdString();
    for (QWidget* sibling : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (sibling == control || !sibling->isVisibleTo(top)) continue;
      EXPECT_FALSE(sibling->geometry().intersects(inParent))
          << what << " is covered by " << sibling->objectName().toStdString();
    }
  }
}

}  // namespace palettor::test
