#include "batch/batch_run.h"

#include <QCoreApplication>

#include "batch/batch_output.h"
#include "batch/interruption.h"
#include "encode/codec_query.h"
#include "encode/encoder_command_line.h"
#include "encode/encoder_contract.h"
#include "encode/video_conversion.h"
#include "outside/videofile/video_file.h"
#include "platform/program_folder.h"
#include "platform/prompter.h"
#include "platform/user_files.h"
#include "publish/output_files.h"
#include "publish/publish_job.h"
#include "res/convert_template.h"
#include "res/resource.h"

namespace batch {

namespace {

const char kCannotCreate[] = "Can't create VideoFile control";

// The Convert Video dialog's offer, as its template words it.
QString ConversionOfferText() {
  for (const ControlTemplate& control : ConvertVideoTemplate().controls)
    if (control.id == IDC_CONVERT_TEXT) return QString::fromUtf8(control.caption);
  return {};
}

// Start Encoding, waited for to its end (a conversion and the run of its file included).
// True when the FLV was written.
bool Encode(store::ProjectSnapshot& job) {
  encode::EncodingRun run(nullptr);
  bool encoded = false;
  QObject::connect(&run, &encode::EncodingRun::OutputNameCompleted,
                   [&job](const QString& name) { job.output_video = name; });
  QObject::connect(&run, &encode::EncodingRun::ProgressChanged,
                   [](int percent) { PrintProgress(percent); });
  QObject::connect(&run, &encode::EncodingRun::Succeeded, [&encoded] { encoded = true; });
  QObject::connect(&run, &encode::EncodingRun::Failed, [&encoded] {
    encoded = false;
    EndProgress();
  });
  run.SetConversionOffer([](QWidget*, const QString& input) { return ConvertForBatch(input); });
  run.StartEncoding(encode::EncoderJobFor(job));
  while (run.running() && !Interruption())
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  // Interrupted: the encoder goes as Stop Encoding ends it.
  run.Stop();
  EndProgress();
  return encoded;
}

}  // namespace

encode::ConversionChoice ConvertForBatch(const QString& input) {
  PrintAnswered(ConversionOfferText(), "Convert");
  const auto reader = videofile::CreateVideoFile(videofile::kVideoFileClassId);
  const auto writer = videofile::CreateVideoFile(videofile::kVideoFileClassId);
  if (!reader || !writer) {
    platform::ShowProgramMessage(nullptr, kCannotCreate);
    return {};
  }
  encode::ConversionHooks hooks;
  hooks.set_progress = [](int percent) { PrintProgress(percent); };
  hooks.dispatch_events = [] {};
  // A signal stops the conversion as Cancel does in the window; main says why.
  hooks.stop_requested = [] { return Interruption() != 0; };
  hooks.describe_codec = [](const QString& path) { return encode::DescribeVideoCodec(path); };
  // Not beside the input: another run may be converting the same video right now.
  hooks.temporary_folder = platform::EncoderWorkingFolder();
  const encode::ConversionResult result =
      encode::ConvertToTemporaryAvi(*reader, *writer, input, hooks);
  EndProgress();
  if (!result.succeeded) {
    if (!result.stopped) platform::ShowProgramMessage(nullptr, result.message);
    return {};
  }
  return {true, result.converted_path, /*delete_converted=*/true};
}

bool RunBatchJob(store::ProjectSnapshot& job, bool publish_mp4, QString* page_path,
                 QString* page_folder) {
  if (Interruption() || (job.which_file == 1 && !Encode(job)) || Interruption()) return false;

  const QString program_folder = platform::ProgramFolder();
  std::vector<publish::PlayerSkin> players;
  publish::ScanPlayerSkins(players, program_folder);
  publish::PublishJob publish_job = publish::PublishJobFor(job, program_folder, players);
  publish_job.publish_mp4_twin = publish_mp4;
  const publish::PublishResult result = publish::PublishPage(
      publish_job, publish::PublishTools::Real(program_folder, [](const QString& text) {
        platform::ShowProgramMessage(nullptr, text);
      }));
  if (result.output_video) job.output_video = *result.output_video;
  if (result.output_html) job.output_html = *result.output_html;
  if (result.redirect_url) job.redirect_url = *result.redirect_url;
  if (!result.published) return false;
  encode::OutputFolderExists(job.output_folder, page_folder);
  *page_path = encode::JoinPath(*page_folder, job.output_html);
  return true;
}

}  // namespace batch
