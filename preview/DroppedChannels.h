#pragma once
// Which of two image files dropped together is the infrared channel and which the visible one.
//
// The names decide where they say it: a word "ir", "infrared", "thermal" or "tir" makes a file
// the infrared channel, "vis" or "visible" the visible one (words are the runs of letters in
// the file's name, in any case: "scene_IR108.png", "vis006.tif", "Visible-2024.png"). When the
// names do not tell them apart, the first file dropped is the infrared channel.
#include <QString>

namespace palettor {

enum class ChannelHint { None, Infrared, Visible };

// What a file's name says about its channel.
ChannelHint ChannelHintOf(const QString& path);

struct DroppedChannels {
  QString ir;
  QString vis;
  bool byName = false;  // false: by the order they were dropped in
};

DroppedChannels AssignDroppedChannels(const QString& first, const QString& second);

}  // namespace palettor
