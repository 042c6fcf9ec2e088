// The rows of the main window's six lists, in order, and the row each starts on. None sorts.
#pragma once

#include <QComboBox>
#include <QStringList>

struct ListContents {
  int id;  // control id in res/resource.h
  QStringList rows;
  int start_row;
};

// In the order in which the lists are filled at start-up.
const QList<ListContents>& MainWindowLists();

// A row number as a list takes it: a number outside the list selects no row.
inline int RowOrNone(const QComboBox* list, int row) {
  return row >= 0 && row < list->count() ? row : -1;
}
