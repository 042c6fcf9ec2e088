// Random templates, titles, sizes and options through page generation: it must not crash,
// must always end, and must keep the template's lines: one page line for every template line
// outside the player block (plus the script tag line after each START marker), and one script
// line for every line inside it, each a JavaScript string that stands for exactly that line.
#include <fuzzer/FuzzedDataProvider.h>

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

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
  if (data.ConsumeIntegralInRange(0, 15) != 0) {
    const std::string rest = data.ConsumeRemainingBytesAsString();
    input.template_text = QByteArray(rest.data(), qsizetype(rest.size()));
  }

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
