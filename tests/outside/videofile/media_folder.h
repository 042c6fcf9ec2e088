// A temporary folder in which a test makes its media with ffmpeg.
#pragma once

#include <QStringList>
#include <QTemporaryDir>
#include <string>

namespace videofile_test {

// Two seconds of a 160x120 test picture at 15 frames per second with a mono 44.1 kHz tone,
// MS Video 1 tagged CRAM and PCM in AVI: the kind of file the encoder cannot read.
inline const QStringList kCramAvi = {"-f",    "lavfi", "-i",   "testsrc=size=160x120:rate=15",
                                     "-f",    "lavfi", "-i",   "sine",
                                     "-t",    "2",     "-c:v", "msvideo1",
                                     "-vtag", "CRAM",  "-c:a", "pcm_s16le"};

class MediaFolder {
 public:
  // The path of `name` in the folder.
  std::string Path(const QString& name) const { return folder_.filePath(name).toStdString(); }

  // Makes `name` with ffmpeg from `arguments` (inputs and codecs, without the output); the
  // path, or empty when ffmpeg failed.
  std::string Make(const QString& name, const QStringList& arguments) const;

  // Writes `bytes` to `name`; the path.
  std::string Write(const QString& name, const QByteArray& bytes) const;

 private:
  QTemporaryDir folder_;
};

}  // namespace videofile_test
