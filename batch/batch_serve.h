// reelwright-batch --serve DIR: the preview server of the window's Preview Web Page, on its own.
#pragma once

#include <QString>

namespace batch {

// Serves `folder` on 127.0.0.1, prints the address of its page (index.html, else its only page;
// the folder's own address when it has neither) on standard output and waits until the process
// is interrupted (SIGINT or SIGTERM). The exit status: 0 after an interruption, 1 when
// the folder does not exist or the server cannot start.
int ServeUntilInterrupted(const QString& folder);

}  // namespace batch
