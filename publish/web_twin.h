// The poster picture and the MP4 twin of the published video: the page shows the poster in the
// player's box from its first paint and falls back to the browser's own player on the MP4 where
// the Flash runtime cannot start. The companion "webtwin" in the resources folder makes both.
#pragma once

#include <QString>

namespace publish {

// The name of a file made after the video `video_name`: its last part up to its last "."
// (unless that is the part's first character), then "." and `extension`. "clip.flv" gives
// "clip.jpg", "sub/clip.flv" gives "sub/clip.jpg".
QString TwinName(const QString& video_name, const QString& extension);

// Runs the companion of `program_folder` on `flv_path` and waits for it to end. An empty path
// asks for no such output. A companion that cannot be started returns at once, silently; one
// that fails leaves the outputs it could not finish as they were.
void RunWebTwin(const QString& program_folder, const QString& flv_path, const QString& poster_path,
                const QString& mp4_path);

}  // namespace publish
