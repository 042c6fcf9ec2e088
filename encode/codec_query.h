// The video codec of an input file, as the MediaInfo library names it. The name decides
// whether the encoder is tried at all; the description goes into the conversion's message.
#pragma once

#include <QString>

namespace encode {

// The codec name of the first video stream ("MP42", "CRAM"); empty when the file does not
// open or has no video stream.
QString QueryVideoCodec(const QString& path);

// "<codec info> (<codec>)", followed by "\nPlease visit: <address>" when the library knows
// where to get the codec; empty when the file does not open. A file without a video stream
// gives " ()".
QString DescribeVideoCodec(const QString& path);

// Whether the file opens and holds sound but no picture at all: nothing for the encoder to
// make a video of, and nothing a conversion would mend. A file the library cannot read is not
// one of these.
bool HasSoundButNoPicture(const QString& path);

// Whether the encoder cannot read video of this codec: the names under which Microsoft
// Video 1 is reported, compared without case and exactly.
bool IsUnreadableCodec(const QString& codec);

}  // namespace encode
