// A push button that is a picture: a normal, pressed, hover and disabled bitmap, chosen by the
// button's state and the mouse. Nothing else is drawn (no frame, no caption) but a dotted focus
// mark inside the face while the button has a focus that came from the keyboard.
#pragma once

#include <QAbstractButton>
#include <QImage>

class CSkinButton : public QAbstractButton {
  Q_OBJECT

 public:
  explicit CSkinButton(QWidget* parent = nullptr);

  // Bitmap ids (-1 for none). Loads them (the 8-bit ones with 3D colour mapping), resizes the
  // button to the bitmaps keeping its position, and raises it above its siblings.
  void SetBitmaps(int normal, int pressed, int hover, int disabled);

  // The id of the bitmap that a paint would draw now (-1 when the button has none).
  int CurrentFaceId() const;
  bool hover() const { return hover_; }
  // Whether a paint would draw the focus mark now.
  bool ShowsFocusMark() const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  virtual void OnMouseHover();
  virtual void OnMouseLeave();

 private:
  struct Face {
    int id = -1;
    QImage image;
  };
  const Face& CurrentFace() const;

  Face normal_, pressed_, hover_face_, disabled_;
  bool hover_ = false;
  bool tracking_ = false;
  bool keyboard_focus_ = false;
  QSize bitmap_size_;
};
