#include "ui/skin_button.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "res/bitmaps.h"

namespace {

// The mouse must rest this long on a button before its hover face shows.
constexpr int kHoverDelayMs = 1;

// How far inside the face the dotted focus mark is drawn.
constexpr int kFocusMarkInset = 3;

}  // namespace

CSkinButton::CSkinButton(QWidget* parent) : QAbstractButton(parent) {
  setMouseTracking(true);
  setFocusPolicy(Qt::TabFocus);
}

void CSkinButton::SetBitmaps(int normal, int pressed, int hover, int disabled) {
  auto load = [this](int id) {
    Face face;
    face.id = id;
    if (id != -1) face.image = LoadBitmapResourceMapped(id, palette());
    return face;
  };
  normal_ = load(normal);
  pressed_ = load(pressed);
  hover_face_ = load(hover);
  disabled_ = load(disabled);
  if (!normal_.image.isNull()) {
    bitmap_size_ = normal_.image.size();
    resize(bitmap_size_);
  }
  raise();
  update();
}

// A button counts as disabled only when it was disabled itself: a disabled parent window
// (the main window during an encoding run) leaves its buttons' faces as they are.
const CSkinButton::Face& CSkinButton::CurrentFace() const {
  if (testAttribute(Qt::WA_ForceDisabled) && disabled_.id != -1) return disabled_;
  if (testAttribute(Qt::WA_ForceDisabled)) return normal_;
  if (isDown() && pressed_.id != -1) return pressed_;
  if (hover_ && hover_face_.id != -1) return hover_face_;
  return normal_;
}

int CSkinButton::CurrentFaceId() const {
  return CurrentFace().id;
}

QSize CSkinButton::sizeHint() const {
  return bitmap_size_.isValid() ? bitmap_size_ : QAbstractButton::sizeHint();
}

bool CSkinButton::ShowsFocusMark() const {
  return keyboard_focus_ && hasFocus();
}

void CSkinButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const Face& face = CurrentFace();
  if (!face.image.isNull()) painter.drawImage(QPoint(0, 0), face.image);
  if (ShowsFocusMark()) {
    // One-pixel dots, three pixels inside the face's edge, in the text colour.
    painter.setPen(QPen(palette().color(QPalette::ButtonText), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(kFocusMarkInset, kFocusMarkInset, -kFocusMarkInset - 1,
                                     -kFocusMarkInset - 1));
  }
}

void CSkinButton::focusInEvent(QFocusEvent* event) {
  // Only a focus that came from the keyboard is marked, as with owner-drawn buttons.
  keyboard_focus_ = event->reason() == Qt::TabFocusReason ||
                    event->reason() == Qt::BacktabFocusReason ||
                    event->reason() == Qt::ShortcutFocusReason;
  QAbstractButton::focusInEvent(event);
}

void CSkinButton::focusOutEvent(QFocusEvent* event) {
  keyboard_focus_ = false;
  QAbstractButton::focusOutEvent(event);
}

void CSkinButton::keyPressEvent(QKeyEvent* event) {
  // Enter presses a focused button as Space does.
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat() &&
      isEnabled()) {
    click();
    return;
  }
  QAbstractButton::keyPressEvent(event);
}

void CSkinButton::mouseMoveEvent(QMouseEvent* event) {
  if (!tracking_) {
    tracking_ = true;
    QTimer::singleShot(kHoverDelayMs, this, [this] {
      if (tracking_) OnMouseHover();
    });
  }
  QAbstractButton::mouseMoveEvent(event);
}

void CSkinButton::leaveEvent(QEvent* event) {
  OnMouseLeave();
  QAbstractButton::leaveEvent(event);
}

void CSkinButton::changeEvent(QEvent* event) {
  // A button disabled by itself gets no mouse, so for it the mouse has left: enabled again, it
  // shows its normal face until the mouse rests on it anew. A disabled parent changes nothing.
  if (event->type() == QEvent::EnabledChange && testAttribute(Qt::WA_ForceDisabled)) {
    tracking_ = false;
    hover_ = false;
  }
  QAbstractButton::changeEvent(event);
}

void CSkinButton::OnMouseHover() {
  hover_ = true;
  update();
}

void CSkinButton::OnMouseLeave() {
  tracking_ = false;
  hover_ = false;
  update();
}
