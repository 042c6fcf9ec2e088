// The player's options as one FlashVars text: pairs of a name, "=" and a value joined by "&",
// in a fixed order. Each value is percent-encoded where it would split the text, so the user's
// text reaches the player as typed.
#pragma once

#include <QString>
#include <optional>

namespace publish {

// The publishing values the window reads from its controls at the moment of use.
struct FlashVarsInput {
  QString output_video;  // taken unchanged, not trimmed
  bool videos_url_enabled = false;
  QString videos_url;  // put straight in front of the video name: it must end in "/" itself
  QString affiliate_id;
  QString buffer_size;
  bool paused_at_start = false;  // sent inverted, as autoPlay
  bool preload_movie = false;
  bool show_border = false;
  bool enable_redirect_url = false;
  QString redirect_url;  // the box after the fixed "http://" label
};

struct FlashVars {
  QString text;
  // The redirect box's new text when cleaning took an "http://" out of it; nothing when the
  // box is to stay exactly as the user typed it.
  std::optional<QString> cleaned_redirect_url;
};

FlashVars ComposeFlashVars(const FlashVarsInput& input);

}  // namespace publish
