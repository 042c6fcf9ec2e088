#include "publish/publish_job.h"

#include "encode/encoding_lists.h"

namespace publish {

PublishJob PublishJobFor(const store::ProjectSnapshot& job, const QString& program_folder,
                         const std::vector<PlayerSkin>& players) {
  PublishJob publish;
  publish.program_folder = program_folder;
  publish.output_folder = job.output_folder;
  publish.output_video = job.output_video;
  publish.output_html = job.output_html;
  publish.which_file = job.which_file;
  publish.input_flv = job.input_flv;
  publish.player_file = ChosenPlayerFile(players, job.which_player);
  publish.page_title = job.page_title;
  FlashVarsInput& vars = publish.flash_vars;
  vars.output_video = job.output_video;
  vars.videos_url_enabled = job.videos_url.enabled();
  vars.videos_url = job.videos_url.url();
  vars.affiliate_id = job.affiliate_id;
  vars.buffer_size = encode::RowText(encode::BufferSizeRows(), job.buffer_size);
  vars.paused_at_start = job.paused_at_start;
  vars.preload_movie = job.preload_movie;
  vars.show_border = job.show_border;
  vars.enable_redirect_url = job.enable_redirect_url;
  vars.redirect_url = job.redirect_url;
  publish.players_url_enabled = job.players_url.enabled();
  publish.players_url = job.players_url.url();
  publish.js_url_enabled = job.js_url.enabled();
  publish.js_url = job.js_url.url();
  return publish;
}

}  // namespace publish
