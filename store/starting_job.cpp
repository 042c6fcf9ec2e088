#include "store/starting_job.h"

namespace store {

void ApplyPresetValues(const EncodingPreset& preset, ProjectSnapshot& job) {
  job.preset_name = preset.name;
  job.resolution = preset.resolution;
  job.frame_rate = preset.frame_rate;
  job.video_bitrate = preset.video_bitrate;
  job.audio_bitrate = preset.audio_bitrate;
  job.sampling_rate = preset.sampling_rate;
  job.enabled_audio = preset.enabled_audio != 0;
  job.mono = preset.mono != 0;
}

ProjectSnapshot StartingJob(const StoredSettings& stored, const QString& affiliate_id) {
  ProjectSnapshot job;
  job.affiliate_id = affiliate_id;
  job.disable_i_button = stored.disable_i_button;
  job.players_url = stored.players_url;
  job.videos_url = stored.videos_url;
  job.js_url = stored.js_url;
  if (!stored.presets.empty()) ApplyPresetValues(stored.presets.front(), job);
  job.enabled_audio = true;
  job.show_border = true;
  return job;
}

}  // namespace store
