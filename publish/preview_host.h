// Which Host a request to the preview server must name. A page on another site can make its own
// name lead to 127.0.0.1 (DNS rebinding); its requests still carry that name, so answering only
// the server's own names keeps such a page from reading the folder.
#pragma once

#include <string_view>

namespace publish {

// Whether `host` (a Host header's value) is "127.0.0.1:PORT" or "localhost:PORT" with the
// server's own `port` spelled as the browser spells it, "localhost" in any letter case.
bool IsPreviewHost(std::string_view host, int port);

}  // namespace publish
