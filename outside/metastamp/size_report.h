// The "/x" form: the frame size written as a small XML file beside the FLV.
#pragma once

#include <string>

#include "outside/metastamp/picture_size.h"

namespace metastamp {

// The FLV path up to its last "." (when there is one that is not the first character of the
// whole path) followed by ".xml": clip.flv gives clip.xml, my.flv.old gives my.flv.xml, a name
// without a dot gets ".xml" appended. The reader of the report derives the same name.
std::string SizeReportPath(const std::string& flv_path);

std::string SizeReportXml(FrameSize size);

// Finds the frame size of the FLV and writes the report; throws Error, writing nothing, when
// the file is no FLV or says no size.
void WriteSizeReport(const std::string& flv_path);

}  // namespace metastamp
