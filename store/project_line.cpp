#include "store/project_line.h"

#include "store/value_text.h"

namespace store {

std::optional<ProjectLine> ClassifyProjectLine(const QString& line) {
  for (const ProjectKeyInfo& info : kProjectKeys) {
    if (!line.contains(QLatin1String(info.text))) continue;
    ProjectLine result{info.key, info.form, {}, std::nullopt, false};
    const qsizetype equals = line.indexOf(u'=');
    const QString value = equals >= 0 ? line.mid(equals + 1) : line;
    switch (info.form) {
      case ValueForm::Text:
        result.text = value;
        break;
      case ValueForm::Name:
        result.text = value.trimmed();
        break;
      case ValueForm::Number:
        result.number = ParseLeadingInt(value.trimmed());
        break;
      case ValueForm::Flag:
        result.flag = value.trimmed() != u"0";
        break;
      case ValueForm::UrlOption:
        result.text = line;
        break;
    }
    return result;
  }
  return std::nullopt;
}

}  // namespace store
