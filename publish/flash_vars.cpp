#include "publish/flash_vars.h"

namespace publish {

namespace {

const char* TrueOrFalse(bool value) {
  return value ? "true" : "false";
}

}  // namespace

FlashVars ComposeFlashVars(const FlashVarsInput& input) {
  FlashVars result;
  QString& text = result.text;
  text = "contentPath=";
  if (input.videos_url_enabled) text += input.videos_url;
  text += input.output_video;
  text += "&affiliateID=" + input.affiliate_id;
  text += "&bufferTime=" + input.buffer_size;
  text += QString("&autoPlay=") + TrueOrFalse(!input.paused_at_start);
  text += QString("&startStreaming=") + TrueOrFalse(input.preload_movie);
  text += QString("&hasVideoChrome=") + TrueOrFalse(input.show_border);

  // The label in front of the box already says "http://", so a pasted address loses its own
  // (the first one, exact case). The box is cleaned whether or not the redirect is on.
  QString address = input.redirect_url.trimmed();
  const qsizetype scheme = address.indexOf("http://");
  if (scheme >= 0) {
    address.remove(scheme, 7);
    result.cleaned_redirect_url = address;
  }
  if (input.enable_redirect_url) text += "&redirectURL=http://" + address;
  return result;
}

}  // namespace publish
