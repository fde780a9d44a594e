#include "DroppedChannels.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace palettor {

ChannelHint ChannelHintOf(const QString& path) {
  static const QRegularExpression nonLetters(QStringLiteral("[^A-Za-z]+"));
  bool infrared = false, visible = false;
  for (const QString& word : QFileInfo(path).completeBaseName().toLower().split(nonLetters, Qt::SkipEmptyParts)) {
    if (word == u"ir" || word == u"infrared" || word == u"thermal" || word == u"tir") infrared = true;
    if (word == u"vis" || word == u"visible") visible = true;
  }
  if (infrared == visible) return ChannelHint::None;
  return infrared ? ChannelHint::Infrared : ChannelHint::Visible;
}

DroppedChannels AssignDroppedChannels(const QString& first, const QString& second) {
  const ChannelHint a = ChannelHintOf(first), b = ChannelHintOf(second);
  const bool firstIsVisible = (a == ChannelHint::Visible && b != ChannelHint::Visible) ||
                              (b == ChannelHint::Infrared && a != ChannelHint::Infrared);
  const bool firstIsInfrared = (a == ChannelHint::Infrared && b != ChannelHint::Infrared) ||
                               (b == ChannelHint::Visible && a != ChannelHint::Visible);
  if (firstIsVisible) return {second, first, true};
  return {first, second, firstIsInfrared};
}

}  // namespace palettor
