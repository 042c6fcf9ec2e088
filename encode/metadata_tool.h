// The FLV metadata tool "metastamp" in the program folder, and the frame size it reports. Run
// with the FLV path alone it updates the FLV's metadata; with "/x" after the path it also
// writes a size report beside the FLV, which ReadFlvFrameSize reads and deletes.
#pragma once

#include <QString>

namespace encode {

struct FrameSize {
  int width = 0;  // 0: not available
  int height = 0;
};

// Runs the tool on `flv_path` in the program folder and waits for it to end, without a time
// limit. A tool that cannot be started returns at once, silently.
void RunMetadataTool(const QString& program_folder, const QString& flv_path, bool report_size);

// The size report's path: the FLV path up to its last "." (unless that is the first
// character), followed by ".xml". "/out/clip.flv" gives "/out/clip.xml".
QString FlvReportPath(const QString& flv_path);

// The frame size from the report beside `flv_path`, 0 where it is not available. The report
// is deleted once read, also when it did not load.
FrameSize ReadFlvFrameSize(const QString& flv_path);

}  // namespace encode
