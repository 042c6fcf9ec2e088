#include "encode/encoding_run.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimerEvent>
#include <QWidget>

#include "encode/codec_query.h"
#include "encode/encoder_contract.h"
#include "encode/metadata_tool.h"
#include "platform/program_folder.h"
#include "platform/prompter.h"
#include "platform/user_files.h"

namespace encode {

namespace {

constexpr int kPollIntervalMs = 500;
// How long a stopped encoder has to end by itself before it is made to.
constexpr int kStopGraceMs = 2000;
const char kConvertedFileFailed[] = "Converted AVI file can not be encode to FLV format.";

// What is wrong with an input before the encoder is tried: a file that is gone, or one with
// only sound. Neither is helped by the conversion the encoder's failure would offer. Empty
// when the encoder may try.
QString InputProblem(const QString& input) {
  const QString name = QDir::toNativeSeparators(input);
  if (!QFileInfo::exists(input)) return QString("The video %1 cannot be found.").arg(name);
  if (HasSoundButNoPicture(input)) return QString("%1 has no picture to encode.").arg(name);
  return {};
}

}  // namespace

EncodingRun::EncodingRun(QWidget* owner) : QObject(owner), owner_(owner) {}

EncodingRun::~EncodingRun() {
  // The program never leaves its encoder running behind it.
  if (running()) Stop();
  if (busy_) QApplication::restoreOverrideCursor();
}

void EncodingRun::Stop() {
  if (!running()) return;
  timer_.stop();
  if (encoder_process_) encoder_process_->Stop(kStopGraceMs);
  encoder_process_.reset();
  needs_conversion_ = false;
  DeleteProgressFile(platform::EncoderWorkingFolder());
  // A converted file goes as the user chose for it after the run.
  if (delete_converted_ && !converted_path_.isEmpty()) QFile::remove(converted_path_);
  converted_path_.clear();
  emit ProgressChanged(0);
  LeaveBusy();
}

void EncodingRun::StartEncoding(const EncoderJob& job) {
  job_ = job;
  converted_path_.clear();
  BeginRun();
}

std::optional<EncoderRun> EncodingRun::PrepareEncoderArguments() {
  job_.converted_path = converted_path_;
  job_.working_folder = platform::EncoderWorkingFolder();
  EncoderRun run = PrepareEncoderRun(job_);
  if (run.Stopped()) {
    platform::ShowProgramMessage(owner_, run.stop_message);
    return std::nullopt;
  }
  // Written back in every case: its change handler starts the run with fresh results. The
  // field then holds the completed name, which a run of a converted file starts from.
  job_.output_video = run.output_video;
  emit OutputNameCompleted(run.output_video);
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
  if (const QString problem = InputProblem(run_input_path_); !problem.isEmpty()) {
    platform::ShowProgramMessage(owner_, problem);
    LeaveBusy();
    return;
  }
  emit ProgressChanged(0);
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
    OnEncodingTimer();
  else
    QObject::timerEvent(event);
}

void EncodingRun::OnEncodingTimer() {
  const QString working_folder = platform::EncoderWorkingFolder();
  if (const std::optional<int> percent = ReadProgressPercent(working_folder))
    emit ProgressChanged(*percent);
  if (!needs_conversion_ && encoder_process_ && !encoder_process_->HasEnded()) return;

  timer_.stop();
  const bool ended_well = encoder_process_ && encoder_process_->EndedWell();
  encoder_process_.reset();
  if (busy_) {
    QApplication::restoreOverrideCursor();
    busy_ = false;  // the window stays busy until the end below
  }
  DeleteProgressFile(working_folder);

  // Success is the encoder's own word and a new, non-empty file: an encoder that failed
  // leaves the FLV of an earlier run where it was.
  const bool written = QFileInfo(output_flv_path_).lastModified() != stale_output_time_;
  if (!needs_conversion_ && ended_well && written && EncoderOutputReady(output_flv_path_))
    FinishSuccess();
  else
    FinishFailure();
}

void EncodingRun::FinishSuccess() {
  emit ProgressChanged(100);
  if (delete_converted_ && !converted_path_.isEmpty()) QFile::remove(converted_path_);
  emit Succeeded();
  converted_path_.clear();
  RunMetadataTool(platform::ProgramFolder(), output_flv_path_, /*report_size=*/false);
  emit BusyChanged(false);
}

void EncodingRun::FinishFailure() {
  emit ProgressChanged(0);
  emit Failed();
  needs_conversion_ = false;
  if (!converted_path_.isEmpty()) {
    emit BusyChanged(false);
    platform::ShowProgramMessage(owner_, kConvertedFileFailed);
    return;
  }
  // The dialog is modal: the window takes no input while it is open, and a busy (disabled)
  // owner would disable the dialog with it.
  emit BusyChanged(false);
  const ConversionChoice choice =
      offer_conversion_ ? offer_conversion_(owner_, run_input_path_) : ConversionChoice{};
  if (!choice.encode) return;
  converted_path_ = choice.converted_path;
  delete_converted_ = choice.delete_converted;
  BeginRun();
}

void EncodingRun::EnterBusy() {
  if (!busy_) QApplication::setOverrideCursor(Qt::WaitCursor);
  busy_ = true;
  emit BusyChanged(true);
}

void EncodingRun::LeaveBusy() {
  if (busy_) QApplication::restoreOverrideCursor();
  busy_ = false;
  emit BusyChanged(false);
}

}  // namespace encode
