// The Convert Video dialog: offers to convert a video the encoder cannot read into a temporary
// AVI, converts it with a progress bar, and lets the user encode that file instead.
#pragma once

#include <QDialog>
#include <QHash>
#include <memory>

#include "outside/videofile/video_file.h"

class CSkinButton;
class CSkinProgress;
class QCheckBox;

class CEncodeVideoDialog : public QDialog {
  Q_OBJECT

 public:
  CEncodeVideoDialog(const QString& input_path, QWidget* parent = nullptr,
                     videofile::VideoFileFactory factory = {});
  ~CEncodeVideoDialog() override;

  // Fixes the font for the screen's DPI and runs the dialog: Accepted after Encode.
  int DoModal();
  // The same without the modal loop: what tests drive. False when the VideoFile control
  // could not be created (the user was told; the dialog has nothing to offer).
  bool Create(double dpi);

  const QString& converted_path() const { return converted_path_; }
  bool delete_choice() const { return delete_choice_; }
  QWidget* Control(int id) const { return controls_.value(id, nullptr); }

  // Handlers.
  void OnConvert();
  void OnEncode();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void reject() override;

 private:
  bool OnInitDialog();
  // While converting only Cancel, which then stops the conversion, stays usable.
  void EnableAllButCancel(bool on);

  QString input_path_;
  QString converted_path_;
  bool delete_choice_ = false;
  bool converting_ = false;
  bool stop_requested_ = false;
  videofile::VideoFileFactory factory_;
  std::unique_ptr<videofile::IVideoFile> reader_;
  std::unique_ptr<videofile::IVideoFile> writer_;
  QHash<int, QWidget*> controls_;
};
