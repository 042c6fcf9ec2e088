#include "publish/flash_vars.h"

#include "publish/page_values.h"

namespace publish {

namespace {

const char* TrueOrFalse(bool value) {
  return value ? "true" : "false";
}

}  // namespace

FlashVars ComposeFlashVars(const FlashVarsInput& input) {
  FlashVars result;
  QString& text = result.text;
  // Each value is encoded for the FlashVars text, so that none can add or override a pair.
  // The video's name is first made an address, so that a name with "#" or "%" still names it.
  text = "contentPath=";
  if (input.videos_url_enabled) text += FlashVarsValue(input.videos_url);
  text += FlashVarsValue(RelativeUrlPath(input.output_video));
  text += "&affiliateID=" + FlashVarsValue(input.affiliate_id);
  text += "&bufferTime=" + FlashVarsValue(input.buffer_size);
  text += QString("&autoPlay=") + TrueOrFalse(!input.paused_at_start);
  text += QString("&startStreaming=") + TrueOrFalse(input.preload_movie);
  text += QString("&hasVideoChrome=") + TrueOrFalse(input.show_border);

  // The label in front of the box already says "http://", so a pasted address loses its own
  // (the first one, exact case). The box is cleaned whether or not the redirect is on. An
  // address that names its own scheme (https above all) goes to the player as typed: the label
  // must not turn it into a host called "https".
  const QString typed = input.redirect_url.trimmed();
  QString target;
  if (typed.startsWith("http://", Qt::CaseInsensitive) ||
      typed.startsWith("https://", Qt::CaseInsensitive)) {
    target = typed;
    if (typed.startsWith("http://")) result.cleaned_redirect_url = typed.mid(7);
  } else {
    QString address = typed;
    const qsizetype scheme = address.indexOf("http://");
    if (scheme >= 0) {
      address.remove(scheme, 7);
      result.cleaned_redirect_url = address;
    }
    target = "http://" + address;
  }
  if (input.enable_redirect_url) text += "&redirectURL=" + FlashVarsValue(target);
  return result;
}

}  // namespace publish
