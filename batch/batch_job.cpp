#include "batch/batch_job.h"

#include <QFileInfo>

#include "encode/input_selection.h"
#include "platform/user_files.h"
#include "store/affiliate_file.h"
#include "store/project_reader.h"
#include "store/starting_job.h"

namespace batch {

namespace {

// The player whose shown name or file name is `name`, ignoring case; -1 when none is.
int FindPlayer(const std::vector<publish::PlayerSkin>& players, const QString& name) {
  for (size_t i = 0; i < players.size(); ++i) {
    if (players[i].display_name.compare(name, Qt::CaseInsensitive) == 0 ||
        players[i].player_file.compare(name, Qt::CaseInsensitive) == 0)
      return static_cast<int>(i);
  }
  return -1;
}

QString Choices(const QStringList& names) {
  return names.isEmpty() ? QStringLiteral("there are none")
                         : "choose one of: " + names.join(QStringLiteral(", "));
}

}  // namespace

store::StoredSettings ReadStoredSettings() {
  return store::ReadSettingsFile(platform::OwnFileToRead(store::kSettingsFileName));
}

store::ProjectSnapshot FreshWindowJob(const store::StoredSettings& stored) {
  return store::StartingJob(
      stored, store::ReadAffiliateId(platform::OwnFileToRead(store::kAffiliateFileName)));
}

std::optional<store::ProjectSnapshot> OpenProjectJob(const QString& path,
                                                     store::ProjectSnapshot start) {
  const std::optional<std::vector<store::ProjectLine>> lines = store::ReadProjectLines(path);
  if (!lines) return std::nullopt;
  start.preset_name.clear();
  for (const store::ProjectLine& line : *lines) store::ApplyProjectLine(line, start);
  return start;
}

std::optional<store::ProjectSnapshot> InputJob(const BatchOptions& options,
                                               store::ProjectSnapshot start,
                                               const store::PresetList& presets,
                                               const std::vector<publish::PlayerSkin>& players,
                                               QString* error) {
  const QFileInfo input(options.input);
  if (!input.isFile()) {
    *error = "no such file: " + options.input;
    return std::nullopt;
  }
  // The open-file dialogs hand back a whole path.
  const QString chosen = input.absoluteFilePath();
  const encode::InputSelection selection =
      input.suffix().compare("flv", Qt::CaseInsensitive) == 0
          ? encode::SelectFlv(chosen, start.output_folder, start.output_html)
          : encode::SelectMovie(chosen, start.output_folder, start.output_html);
  store::ProjectSnapshot job = std::move(start);
  job.input_video = selection.input_video;
  job.input_flv = selection.input_flv;
  job.output_folder = selection.output_folder;
  job.output_video = selection.output_video;
  job.output_html = selection.output_html;
  job.which_file = selection.which_file;

  // Then typed over, as a user types into the boxes after Browse.
  job.output_folder = QFileInfo(options.output_folder).absoluteFilePath();
  if (options.output_video) job.output_video = *options.output_video;
  if (options.output_html) job.output_html = *options.output_html;
  if (options.title) job.page_title = *options.title;
  if (options.preset) {
    const int row = store::FindPresetByName(presets, *options.preset);
    if (row < 0) {
      *error =
          "no preset named \"" + *options.preset + "\"; " + Choices(store::PresetNames(presets));
      return std::nullopt;
    }
    store::ApplyPresetValues(presets[row], job);
  }
  if (options.player) {
    const int row = FindPlayer(players, *options.player);
    if (row < 0) {
      QStringList names;
      for (const publish::PlayerSkin& player : players) names << player.display_name;
      *error = "no player named \"" + *options.player + "\"; " + Choices(names);
      return std::nullopt;
    }
    job.which_player = row;
  }
  return job;
}

}  // namespace batch
