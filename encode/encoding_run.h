// One encoding run of the main window: from Start Encoding to the finished FLV, or to the
// offer to convert an input the encoder cannot read. The encoder runs as its own process; the
// window disables itself for the whole run and polls the process from a 500 ms timer.
#pragma once

#include <QBasicTimer>
#include <QDateTime>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>

#include "encode/encoder_command_line.h"
#include "platform/process_runner.h"

class CMainDialog;

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

  explicit EncodingRun(CMainDialog& dialog);
  ~EncodingRun() override;

  // Start Encoding: always from the input field, never from an earlier temporary file.
  void StartEncoding();
  // One run; also the start of encoding a converted file.
  void BeginRun();
  // The window's timer handler: acts only for the encoding timer's id.
  void OnEncodingTimer(int timer_id);

  void SetConversionOffer(ConversionOffer offer) { offer_conversion_ = std::move(offer); }

  bool running() const { return timer_.isActive(); }
  const QString& converted_path() const { return converted_path_; }
  const QString& run_input_path() const { return run_input_path_; }
  const QString& output_flv_path() const { return output_flv_path_; }
  bool needs_conversion() const { return needs_conversion_; }

 protected:
  void timerEvent(QTimerEvent* event) override;

 private:
  // Checks the folder and the input and builds the parameter string; nothing when the run
  // stopped after its message.
  std::optional<EncoderRun> PrepareEncoderArguments();
  void EnterBusy();
  void LeaveBusy();
  void FinishSuccess();
  void FinishFailure();

  CMainDialog& dialog_;
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
