#include "store/project_writer.h"

#include "store/atomic_file.h"
#include "store/project_reader.h"

namespace store {

namespace {

QString LineFor(const ProjectKeyInfo& info, const ProjectSnapshot& job) {
  QString line = QString::fromLatin1(info.text);
  if (!line.endsWith(u'=')) line += u'=';
  std::visit(
      [&](auto field) {
        const auto& value = job.*field;
        using Value = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<Value, QString>) {
          line += value;
        } else if constexpr (std::is_same_v<Value, int>) {
          line += QString::number(value);
        } else if constexpr (std::is_same_v<Value, bool>) {
          line += value ? u'1' : u'0';
        } else {
          line += QLatin1String(value.enabled() ? "1," : "0,") + value.url();
        }
      },
      FieldOf(info.key));
  return line;
}

// The job as the file can hold it at best: URLs and the preset name are read back trimmed.
ProjectSnapshot Representable(ProjectSnapshot job) {
  job.preset_name = job.preset_name.trimmed();
  for (store::ExternalUrlOption* option : {&job.players_url, &job.videos_url, &job.js_url}) {
    option->Set(option->enabled(), option->url().trimmed());
  }
  return job;
}

// `job` with the text of `key` emptied (an external location keeps its switch).
ProjectSnapshot WithEmptyValue(ProjectSnapshot job, ProjectKey key) {
  std::visit(
      [&](auto field) {
        auto& value = job.*field;
        using Value = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<Value, QString>) {
          value.clear();
        } else if constexpr (std::is_same_v<Value, store::ExternalUrlOption>) {
          value.Set(value.enabled(), QString());
        }
      },
      FieldOf(key));
  return job;
}

// Whether the loader, reading `line`, sets exactly `key` to its value in `job`.
bool LoadsBackAs(const QString& line, ProjectKey key, const ProjectSnapshot& job) {
  if (line.contains(u'\n')) return false;
  // As written, with its CR LF; the reader takes the line feed off and DecodeProjectLine the rest.
  const std::optional<ProjectLine> read =
      ClassifyProjectLine(DecodeProjectLine(line.toUtf8() + '\r'));
  if (!read || read->key != key) return false;
  ProjectSnapshot loaded = job;
  ApplyProjectLine(*read, loaded);
  return loaded == job;
}

}  // namespace

QString ProjectFileText(const ProjectSnapshot& job, std::vector<ProjectKey>* emptied) {
  const ProjectSnapshot target = Representable(job);
  QString text;
  for (const ProjectKeyInfo& info : kProjectKeys) {
    QString line = LineFor(info, target);
    if (!LoadsBackAs(line, info.key, target)) {
      line = LineFor(info, WithEmptyValue(target, info.key));
      if (emptied) emptied->push_back(info.key);
    }
    text += line + QLatin1String("\r\n");
  }
  return text;
}

bool SaveProjectFile(const QString& path, const QString& text) {
  return ReplaceFileContents(path, text.toUtf8());
}

}  // namespace store
