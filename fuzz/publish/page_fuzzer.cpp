// Random templates, titles, sizes and options through page generation: it must not crash,
// must always end, and must keep the template's lines: one page line for every template line
// outside the player block (plus the script tag line after each START marker), and one script
// line for every line inside it, each a JavaScript string that stands for exactly that line.
// The same values through a template that places each one where the shipped template does must
// stay inside their title or attribute, and the FlashVars must split back into exactly the
// pairs written, each with its value.
#include <fuzzer/FuzzedDataProvider.h>

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "publish/page_generation.h"

namespace {

void Check(bool condition, const char* what) {
  if (!condition) {
    fprintf(stderr, "broken: %s\n", what);
    abort();
  }
}

// The boxes these come from hold one line each.
QString OneLine(FuzzedDataProvider& data) {
  QString text = QString::fromStdString(data.ConsumeRandomLengthString(80));
  text.remove('\n');
  return text;
}

// Undoes the escaping of a script line's string; false when the body could end the string or
// the script early (a bare quote, a raw line break, an unescaped "</").
bool DecodeJavaScriptString(const QString& body, QString& line) {
  line.clear();
  for (qsizetype i = 0; i < body.size(); ++i) {
    const QChar c = body[i];
    if (c == '\'' || c == '\n' || c == '\r' || c == QChar(0x2028) || c == QChar(0x2029))
      return false;
    if (c == '<' && i + 1 < body.size() && body[i + 1] == '/') return false;
    if (c != '\\') {
      line += c;
      continue;
    }
    if (++i == body.size()) return false;
    const QChar e = body[i];
    if (e == 'r')
      line += '\r';
    else if (e == 'n')
      line += '\n';
    else if (e == 'u' && body.mid(i + 1, 4) == "2028")
      line += QChar(0x2028), i += 4;
    else if (e == 'u' && body.mid(i + 1, 4) == "2029")
      line += QChar(0x2029), i += 4;
    else if (e == '\\' || e == '\'' || e == '/')
      line += e;
    else
      return false;
  }
  return true;
}

// The value as the page may carry it: without control characters.
QString Printable(QString text) {
  text.removeIf(
      [](QChar c) { return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F); });
  return text;
}

// Undoes HtmlText; false when the text could leave its element or quoted attribute: a quote,
// an angle bracket, or an "&" that starts anything but the five references it writes.
bool DecodeHtmlText(QString text, QString& value) {
  value.clear();
  static const std::pair<const char*, QChar> kReferences[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}};
  for (qsizetype i = 0; i < text.size();) {
    const QChar c = text[i];
    if (c == '<' || c == '>' || c == '"' || c == '\'') return false;
    if (c != '&') {
      value += c, ++i;
      continue;
    }
    bool known = false;
    for (const auto& [reference, character] : kReferences) {
      if (QStringView(text).mid(i).startsWith(QLatin1String(reference))) {
        value += character, i += qsizetype(strlen(reference)), known = true;
        break;
      }
    }
    if (!known) return false;
  }
  return true;
}

// The text between `before` and `after` on the page's line that starts with `before`.
bool Between(const QString& page, const QString& before, const QString& after, QString& middle) {
  for (const QString& line : page.split('\n')) {
    if (line.startsWith(before) && line.endsWith(after) &&
        line.size() >= before.size() + after.size()) {
      middle = line.mid(before.size(), line.size() - before.size() - after.size());
      return true;
    }
  }
  return false;
}

// The FlashVars text as the player reads it: pairs split at "&" and the first "=", decoded as a
// browser decodes a query.
QList<std::pair<QString, QString>> FlashVarsPairs(const QString& text) {
  QList<std::pair<QString, QString>> pairs;
  const auto decode = [](QString part) {
    return QUrl::fromPercentEncoding(part.replace('+', ' ').toUtf8());
  };
  for (const QString& pair : text.split('&')) {
    const qsizetype equals = pair.indexOf('=');
    pairs.append(
        {decode(pair.left(equals)), equals < 0 ? QString() : decode(pair.mid(equals + 1))});
  }
  return pairs;
}

void CheckValuesStayValues(publish::PageInput input) {
  input.template_text =
      "<title>#PAGE_TITLE_HOLDER</title>\n"
      "<!-- START Reelwright code -->\n<!-- END Reelwright code -->\n"
      "<object data=\"#SWF_FILE\">\n"
      "<param name=\"flashvars\" value=\"#FLASHVARS_HOLDER\">\n"
      "<video src=\"#MP4_FILE\">\n";
  input.frame_size = {320, 240};
  input.size_rules = publish::PlayerSizeRules{0, 0, 0, 0};
  const publish::GeneratedPage page = publish::GeneratePage(input);
  Check(page.ok, "the probe page is generated");

  QString text, value;
  Check(Between(page.page, "<title>", "</title>", text), "the title stays one element");
  // A "#" in the title may be a placeholder of its own, filled after the title went in (the
  // FlashVars bring their own "&" then, which stays text all the same).
  if (input.page_title.contains('#')) {
    for (const QChar c : QStringView(u"<>\"'")) Check(!text.contains(c), "the title stays text");
  } else {
    Check(DecodeHtmlText(text, value), "the title stays text");
    Check(value == Printable(input.page_title), "the title");
  }
  Check(Between(page.page, "<object data=\"", "\">", text), "the player's address stays one");
  Check(DecodeHtmlText(text, value), "the player's address stays in its attribute");
  if (input.players_url_enabled)
    Check(value == Printable(input.players_url) + "player.swf", "the player's address");
  if (input.js_url_enabled) {
    Check(Between(page.page, "<script type=\"text/javascript\" src=\"", "\"></script>", text),
          "the script tag stays one element");
    Check(DecodeHtmlText(text, value) && value == Printable(input.js_url),
          "the script's address stays in its attribute");
  }

  if (!input.mp4_name.isEmpty()) {
    // The address also goes into a script's string in the page: no backslash may escape there.
    Check(Between(page.page, "<video src=\"", "\">", text), "the twin's address stays one");
    Check(DecodeHtmlText(text, value) && !text.contains('\\'),
          "the twin's address stays in its attribute and string");
    const QString path = QUrl::fromPercentEncoding(value.toUtf8());
    Check(path.endsWith(Printable(input.mp4_name)), "the twin's address names the twin");
  }
  Check(Between(page.page, "<param name=\"flashvars\" value=\"", "\">", text),
        "the FlashVars stay in their attribute");
  for (const QChar c : QStringView(u"<>\"'#")) Check(!text.contains(c), "no raw quote or bracket");
  const publish::FlashVarsInput& vars = input.flash_vars;
  const auto pairs = FlashVarsPairs(text);
  Check(pairs.size() == (vars.enable_redirect_url ? 7 : 6), "exactly the pairs written");
  const QString video = vars.output_video;
  const QString path =
      pairs[0].second.mid(vars.videos_url_enabled ? Printable(vars.videos_url).size() : 0);
  Check(pairs[0].first == "contentPath" &&
            pairs[0].second.startsWith(vars.videos_url_enabled ? Printable(vars.videos_url) : ""),
        "contentPath");
  Check(!path.contains('#') && !path.contains('?') &&
            QUrl::fromPercentEncoding(path.toUtf8()) == Printable(video),
        "the video's address names the video");
  Check(pairs[1] == std::pair(QString("affiliateID"), Printable(vars.affiliate_id)), "affiliateID");
  Check(pairs[2] == std::pair(QString("bufferTime"), Printable(vars.buffer_size)), "bufferTime");
  Check(pairs[3].first == "autoPlay" && pairs[4].first == "startStreaming" &&
            pairs[5].first == "hasVideoChrome",
        "the flags");
  if (vars.enable_redirect_url) {
    const QString address = page.cleaned_redirect_url.value_or(vars.redirect_url.trimmed());
    Check(pairs[6] == std::pair(QString("redirectURL"), "http://" + Printable(address)),
          "redirectURL");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  FuzzedDataProvider data(bytes, size);
  publish::PageInput input;
  input.js_url_enabled = data.ConsumeBool();
  input.players_url_enabled = data.ConsumeBool();
  input.flash_vars.videos_url_enabled = data.ConsumeBool();
  input.flash_vars.enable_redirect_url = data.ConsumeBool();
  input.flash_vars.paused_at_start = data.ConsumeBool();
  input.frame_size = {data.ConsumeIntegralInRange(0, 5000), data.ConsumeIntegralInRange(0, 5000)};
  if (data.ConsumeBool()) {
    input.size_rules = publish::PlayerSizeRules{
        data.ConsumeIntegralInRange(-1, 100000), data.ConsumeIntegralInRange(-1, 100000),
        data.ConsumeIntegral<int>(), data.ConsumeIntegral<int>()};
  }
  input.page_title = OneLine(data);
  input.js_url = OneLine(data);
  input.players_url = OneLine(data);
  input.flash_vars.output_video = OneLine(data);
  input.flash_vars.redirect_url = OneLine(data);
  input.flash_vars.affiliate_id = OneLine(data);
  input.flash_vars.buffer_size = OneLine(data);
  input.poster_name = data.ConsumeBool() ? OneLine(data) : QString();
  input.mp4_name = data.ConsumeBool() ? OneLine(data) : QString();
  if (data.ConsumeIntegralInRange(0, 15) != 0) {
    const std::string rest = data.ConsumeRemainingBytesAsString();
    input.template_text = QByteArray(rest.data(), qsizetype(rest.size()));
  }

  CheckValuesStayValues(input);
  const publish::GeneratedPage page = publish::GeneratePage(input);
  if (!page.ok) {
    Check(!page.message.isEmpty(), "a failure has a message");
    Check(page.page.isEmpty() && page.script.isEmpty(), "a failure produces no text");
    return 0;
  }
  Check(page.page.endsWith('\n'), "the page ends with a line break");
  Check(page.script.isEmpty() || page.script.endsWith('\n'), "the script ends with a line break");

  // The template's lines and where each one goes.
  qsizetype page_lines = 0;
  QStringList block_lines;
  bool in_block = false;
  for (QByteArray line : input.template_text->split('\n')) {
    if (line.endsWith('\r')) line.chop(1);
    const QString text = QString::fromUtf8(line);
    if (input.js_url_enabled && text.contains("<!-- START Reelwright code -->")) {
      in_block = true;
      page_lines += 2;
    } else if (input.js_url_enabled && text.contains("<!-- END Reelwright code -->")) {
      in_block = false;
      ++page_lines;
    } else if ((input.poster_name.isEmpty() && text.contains("#POSTER_FILE")) ||
               (input.mp4_name.isEmpty() && text.contains("#MP4_FILE"))) {
      continue;  // a line naming a file that was not written is left out
    } else if (in_block) {
      block_lines << text;
    } else {
      ++page_lines;
    }
  }
  Check(page.page.count('\n') == page_lines, "one page line per template line outside the block");
  const QStringList script_lines = page.script.split('\n', Qt::SkipEmptyParts);
  Check(script_lines.size() == block_lines.size(), "one script line per line in the block");
  for (const QString& script_line : script_lines) {
    Check(script_line.startsWith(" document.write('") && script_line.endsWith("');"),
          "each script line is one document.write call");
    QString written;
    Check(DecodeJavaScriptString(script_line.mid(17, script_line.size() - 17 - 3), written),
          "each script line's string is closed only at its end");
    Check(!written.contains('\n'), "a written line holds no line break of its own");
  }
  return 0;
}
