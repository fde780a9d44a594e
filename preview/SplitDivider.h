#pragma once
// The divider of a split scene view: a vertical line over the view at the column where the other
// table starts, dragged with the mouse and moved with the arrow keys when it has the focus (a
// column a press, ten with Shift), staying on its column as the view zooms and scrolls.
#include <QWidget>

namespace palettor {

class SceneView;

class SplitDivider : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kWidth = 9;  // the line and room to grab it either side

  explicit SplitDivider(SceneView& view);

  int Column() const { return column_; }
  // Held within 0 ... the scene's width.
  void SetColumn(int column);
  void SetSceneWidth(int width);

 signals:
  void ColumnChanged(int column);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Place();

  SceneView& view_;
  int column_ = 0;
  int sceneWidth_ = 0;
  bool dragging_ = false;
};

}  // namespace palettor
