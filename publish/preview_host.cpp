#include "publish/preview_host.h"

#include <cctype>
#include <string>

namespace publish {

bool IsPreviewHost(std::string_view host, int port) {
  const std::string own_port = ":" + std::to_string(port);
  if (host.size() <= own_port.size() || host.substr(host.size() - own_port.size()) != own_port)
    return false;
  const std::string_view name = host.substr(0, host.size() - own_port.size());
  if (name == "127.0.0.1") return true;
  if (name.size() != 9) return false;
  for (size_t i = 0; i < name.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(name[i])) != "localhost"[i]) return false;
  return true;
}

}  // namespace publish
