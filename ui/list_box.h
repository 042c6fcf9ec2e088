// The dialogs' list of choices (one row chosen at a time).
#pragma once

#include <QListWidget>

class CListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit CListBox(QWidget* parent = nullptr);

 protected:
  void focusInEvent(QFocusEvent* event) override;

 private:
  void AnnounceCurrentRow();
};
