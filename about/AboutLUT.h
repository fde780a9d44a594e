#pragma once
// TAboutBoxKel1: Palettor's own about box. The program creates one after the main window and shows
// it with exec() from Help > About.
#include "kelAboutBox.h"

namespace palettor {

class TAboutBoxKel1 : public TAboutBoxKel {
  Q_OBJECT

 public:
  explicit TAboutBoxKel1(QWidget* parent = nullptr);
};

}  // namespace palettor
