#include "AboutLUT.h"

namespace palettor {

TAboutBoxKel1::TAboutBoxKel1(QWidget* parent) : TAboutBoxKel(parent) {
  setObjectName("AboutBoxKel1");
  setWindowTitle("AboutBoxKel1");
}

}  // namespace palettor
