#include "encode/codec_query.h"

#include <MediaInfo/MediaInfo.h>

#include <QStringList>

namespace encode {

namespace {

// One open file; each query opens its own and closes it when done.
class OpenedMedia {
 public:
  explicit OpenedMedia(const QString& path) {
    // The codec parameters ("Codec", "Codec/Info", "Codec/Url") are only answered in the
    // library's legacy mode.
    info_.Option(__T("Legacy"), __T("1"));
    opened_ = info_.Open(path.toStdWString()) != 0;
  }
  ~OpenedMedia() { info_.Close(); }
  OpenedMedia(const OpenedMedia&) = delete;
  OpenedMedia& operator=(const OpenedMedia&) = delete;

  bool opened() const { return opened_; }
  size_t Streams(MediaInfoLib::stream_t kind) { return info_.Count_Get(kind); }

  // A parameter of the first video stream as text, searched by name.
  QString Video(const wchar_t* parameter) {
    return QString::fromStdWString(info_.Get(MediaInfoLib::Stream_Video, 0, parameter,
                                             MediaInfoLib::Info_Text, MediaInfoLib::Info_Name));
  }

 private:
  MediaInfoLib::MediaInfo info_;
  bool opened_ = false;
};

}  // namespace

QString QueryVideoCodec(const QString& path) {
  OpenedMedia media(path);
  if (!media.opened()) return {};
  return media.Video(__T("Codec"));
}

QString DescribeVideoCodec(const QString& path) {
  OpenedMedia media(path);
  if (!media.opened()) return {};
  QString description = media.Video(__T("Codec/Info")) + " (" + media.Video(__T("Codec")) + ')';
  const QString address = media.Video(__T("Codec/Url"));
  if (!address.isEmpty()) description += "\nPlease visit: " + address;
  return description;
}

bool HasSoundButNoPicture(const QString& path) {
  OpenedMedia media(path);
  return media.opened() && media.Streams(MediaInfoLib::Stream_Video) == 0 &&
         media.Streams(MediaInfoLib::Stream_Audio) > 0;
}

bool IsUnreadableCodec(const QString& codec) {
  static const QStringList kUnreadable = {"cram", "msvidc", "msvideo1"};
  return kUnreadable.contains(codec.toLower());
}

}  // namespace encode
