// The rows of the main window's six lists, in order, and the row each starts on. None sorts.
#pragma once

#include <QStringList>

struct ListContents {
  int id;  // control id in res/resource.h
  QStringList rows;
  int start_row;
};

// In the order in which the lists are filled at start-up.
const QList<ListContents>& MainWindowLists();
