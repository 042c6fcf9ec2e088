// Short clips made by ffmpeg from its test picture (and a tone), for the tests that encode.
#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>

namespace test_support {

struct ClipSource {
  QString picture = "testsrc=size=160x120:rate=25";
  bool sound = true;  // a 22,050 Hz tone
  int seconds = 2;
};

// Writes the clip to `path` with `codec_options` (codecs, tags) before the output name.
inline void MakeTestClip(const QString& path, const QStringList& codec_options,
                         const ClipSource& source = {}) {
  QStringList args = {"-v", "error", "-f", "lavfi", "-i", source.picture};
  if (source.sound)
    args << "-f"
         << "lavfi"
         << "-i"
         << "sine=sample_rate=22050";
  args << "-t" << QString::number(source.seconds) << codec_options << path;
  EXPECT_EQ(QProcess::execute("ffmpeg", args), 0) << path.toStdString();
}

}  // namespace test_support
