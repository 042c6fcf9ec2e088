#include "encode/encoding_run.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimerEvent>

#include "app/main_dialog.h"
#include "app/skin_progress.h"
#include "encode/codec_query.h"
#include "encode/encoder_contract.h"
#include "encode/metadata_tool.h"
#include "platform/program_folder.h"
#include "platform/prompter.h"
#include "platform/user_files.h"
#include "res/resource.h"

namespace encode {

namespace {

constexpr int kPollIntervalMs = 500;
const char kConvertedFileFailed[] = "Converted AVI file can not be encode to FLV format.";

}  // namespace

EncodingRun::EncodingRun(CMainDialog& dialog) : QObject(&dialog), dialog_(dialog) {}

EncodingRun::~EncodingRun() {
  if (busy_) QApplication::restoreOverrideCursor();
}

void EncodingRun::StartEncoding() {
  converted_path_.clear();
  BeginRun();
}

std::optional<EncoderRun> EncodingRun::PrepareEncoderArguments() {
  const ProjectSettings& s = dialog_.settings();
  EncoderJob job;
  job.output_folder = s.output_folder->text();
  job.converted_path = converted_path_;
  job.input_video = s.input_video->text();
  job.output_video = s.output_video->text();
  job.resolution_row = s.resolution->currentIndex();
  job.frame_rate_row = s.frame_rate->currentIndex();
  job.frame_rate = s.frame_rate->currentText();
  job.video_bitrate = s.video_bitrate->currentText();
  job.enabled_audio = s.enabled_audio->isChecked();
  job.audio_bitrate = s.audio_bitrate->currentText();
  job.sampling_rate = s.sampling_rate->currentText();
  job.mono = s.mono->isChecked();
  job.working_folder = platform::EncoderWorkingFolder();

  EncoderRun run = PrepareEncoderRun(job);
  if (run.Stopped()) {
    platform::CurrentPrompter().ShowMessage(&dialog_, run.stop_message);
    return std::nullopt;
  }
  // Written back in every case: its change handler starts the run with fresh results.
  dialog_.WriteEditText(dialog_.settings().output_video, run.output_video);
  run_input_path_ = run.run_input_path;
  output_flv_path_ = run.output_flv_path;
  return run;
}

void EncodingRun::BeginRun() {
  const std::optional<EncoderRun> run = PrepareEncoderArguments();
  if (!run) {
    LeaveBusy();  // a run started from the Convert Video dialog finds the window disabled
    return;
  }
  dialog_.EncodingProgress()->setValue(0);
  const QString codec = QueryVideoCodec(run_input_path_);
  needs_conversion_ = false;
  if (IsUnreadableCodec(codec)) {
    // No encoder: the first tick ends the run and offers the conversion.
    EnterBusy();
    needs_conversion_ = true;
    timer_.start(kPollIntervalMs, this);
    return;
  }
  stale_output_time_ = QFileInfo(output_flv_path_).lastModified();
  encoder_process_ =
      StartEncoder(platform::ProgramFolder(), platform::EncoderWorkingFolder(), *run);
  if (!encoder_process_) {
    LeaveBusy();
    return;
  }
  EnterBusy();
  timer_.start(kPollIntervalMs, this);
}

void EncodingRun::timerEvent(QTimerEvent* event) {
  if (event->timerId() == timer_.timerId())
    OnEncodingTimer(ID_ENCODING_TIMER);
  else
    QObject::timerEvent(event);
}

void EncodingRun::OnEncodingTimer(int timer_id) {
  if (timer_id != ID_ENCODING_TIMER) return;
  const QString working_folder = platform::EncoderWorkingFolder();
  if (const std::optional<int> percent = ReadProgressPercent(working_folder))
    dialog_.EncodingProgress()->setValue(*percent);
  if (!needs_conversion_ && encoder_process_ && !encoder_process_->HasEnded()) return;

  timer_.stop();
  encoder_process_.reset();
  if (busy_) {
    QApplication::restoreOverrideCursor();
    busy_ = false;  // the window stays disabled until the end below
  }
  DeleteProgressFile(working_folder);

  const bool written = QFileInfo(output_flv_path_).lastModified() != stale_output_time_;
  if (!needs_conversion_ && written && EncoderOutputReady(output_flv_path_))
    FinishSuccess();
  else
    FinishFailure();
}

void EncodingRun::FinishSuccess() {
  dialog_.EncodingProgress()->setValue(100);
  if (delete_converted_ && !converted_path_.isEmpty()) QFile::remove(converted_path_);
  dialog_.ShowEncodedResult();
  converted_path_.clear();
  RunMetadataTool(platform::ProgramFolder(), output_flv_path_, /*report_size=*/false);
  dialog_.setEnabled(true);
}

void EncodingRun::FinishFailure() {
  dialog_.EncodingProgress()->setValue(0);
  needs_conversion_ = false;
  if (!converted_path_.isEmpty()) {
    dialog_.setEnabled(true);
    platform::CurrentPrompter().ShowMessage(&dialog_, kConvertedFileFailed);
    return;
  }
  // The dialog is modal: the window takes no input while it is open, and a disabled owner
  // would disable the dialog with it.
  dialog_.setEnabled(true);
  const ConversionChoice choice =
      offer_conversion_ ? offer_conversion_(&dialog_, run_input_path_) : ConversionChoice{};
  if (!choice.encode) return;
  converted_path_ = choice.converted_path;
  delete_converted_ = choice.delete_converted;
  BeginRun();
}

void EncodingRun::EnterBusy() {
  if (!busy_) QApplication::setOverrideCursor(Qt::WaitCursor);
  busy_ = true;
  dialog_.setEnabled(false);
}

void EncodingRun::LeaveBusy() {
  if (busy_) QApplication::restoreOverrideCursor();
  busy_ = false;
  dialog_.setEnabled(true);
}

}  // namespace encode
