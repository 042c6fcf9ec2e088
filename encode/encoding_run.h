// One encoding run: from Start Encoding to the finished FLV, or to the offer to convert an input
// the encoder cannot read. The encoder runs as its own process, polled from a 500 ms timer. The
// run knows nothing of the window's controls: it takes the job as plain values and reports
// through its signals (progress, busy, the completed output name, success, failure); the window
// connects them and acts. Its messages and the Convert Video dialog belong to `owner`.
#pragma once

#include <QBasicTimer>
#include <QDateTime>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>

#include "encode/encoder_command_line.h"
#include "platform/process_runner.h"

namespace encode {

// What the Convert Video dialog ended with.
struct ConversionChoice {
  bool encode = false;  // false: Cancel
  QString converted_path;
  bool delete_converted = false;
};

class EncodingRun : public QObject {
  Q_OBJECT

 public:
  // Shows the Convert Video dialog for an input and waits for it.
  using ConversionOffer = std::function<ConversionChoice(QWidget* owner, const QString& input)>;

  explicit EncodingRun(QWidget* owner);
  ~EncodingRun() override;

  // Start Encoding with the job as the window's controls hold it now: always from the input
  // field, never from an earlier temporary file.
  void StartEncoding(const EncoderJob& job);

  void SetConversionOffer(ConversionOffer offer) { offer_conversion_ = std::move(offer); }

  // Stop Encoding: the encoder is asked to end and made to after 2 s; the FLV that was there
  // before the run stays, the progress file goes, the bar returns to 0, and the window is
  // given back, without a message. Nothing happens when no run goes.
  void Stop();

  bool running() const { return timer_.isActive(); }
  const QString& converted_path() const { return converted_path_; }
  const QString& run_input_path() const { return run_input_path_; }
  const QString& output_flv_path() const { return output_flv_path_; }
  bool needs_conversion() const { return needs_conversion_; }

 signals:
  // The output name as the encoder will write it: the window writes it into its field (whose
  // change handler clears the old results), on every run that starts.
  void OutputNameCompleted(const QString& output_video);
  void ProgressChanged(int percent);
  // While busy the window takes no input; it is given back at the end of the run, or when a
  // run stops before it starts.
  void BusyChanged(bool busy);
  // The FLV is written; its metadata is stamped right after.
  void Succeeded();
  // The run ended without an FLV; the offer to convert the input may follow.
  void Failed();

 protected:
  void timerEvent(QTimerEvent* event) override;

 private:
  // One run; also the start of encoding a converted file.
  void BeginRun();
  void OnEncodingTimer();
  // Checks the folder and the input and builds the parameter string; nothing when the run
  // stopped after its message.
  std::optional<EncoderRun> PrepareEncoderArguments();
  void EnterBusy();
  void LeaveBusy();
  void FinishSuccess();
  void FinishFailure();

  QWidget* owner_;
  EncoderJob job_;  // the job of Start Encoding, with the output name as written back
  ConversionOffer offer_conversion_;
  QBasicTimer timer_;
  std::unique_ptr<platform::RunningProcess> encoder_process_;
  bool busy_ = false;

  QString converted_path_;
  bool delete_converted_ = false;
  bool needs_conversion_ = false;
  QString run_input_path_;
  QString output_flv_path_;
  // The FLV that was there before the run, if any: an encoder that ends without writing
  // leaves it as it was, and that is no success.
  QDateTime stale_output_time_;
};

}  // namespace encode
