#include "publish/get_code.h"

#include <QUrl>

namespace publish {

QString GetCodeText(const QString& generated_html) {
  QString code = generated_html;
  const qsizetype body = code.indexOf("<body>");
  if (body >= 0) code.remove(0, body + 6);
  // The end tag and at most 99999 characters after it go, as the code has always been cut.
  const qsizetype end = code.indexOf("</body>");
  if (end >= 0) code.remove(end, 99999);
  code.replace("\n", "\r\n");
  return code;
}

bool PreviewWarns(bool players_url_enabled, bool videos_url_enabled, bool js_url_enabled,
                  const QString& js_url) {
  if (players_url_enabled || videos_url_enabled) return true;
  const QString lowered = js_url.toLower();
  return js_url_enabled && (lowered.contains("http:") || lowered.contains("https:"));
}

QString PreviewWarningText() {
  return "Warning!\n\nYou have chosen to use a template that pulls files from an external "
         "location.\nThe preview function will not work properly when files are played from an "
         "external location.\n\nTo test this page properly, you must upload it to your webserver "
         "now.";
}

QString PreviewAddress(int port, const QString& output_html) {
  // Each part of the name is percent-encoded, so a name with spaces or "#" still names the file.
  QStringList parts = output_html.split('/');
  for (QString& part : parts) part = QString::fromUtf8(QUrl::toPercentEncoding(part));
  return QString("http://127.0.0.1:%1/").arg(port) + parts.join('/');
}

}  // namespace publish
