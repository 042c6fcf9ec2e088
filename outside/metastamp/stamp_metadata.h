// The plain form, "metastamp FILE.flv": gives the file a new onMetaData describing it.
#pragma once

#include <string>

namespace metastamp {

// Reads the FLV once. When its onMetaData has room for the new one, rewrites only that, in
// place; otherwise writes the file anew beside itself with a fresh onMetaData (any old one
// dropped) and renames it over the original. Throws Error, leaving the media as they were.
void StampMetadata(const std::string& path);

}  // namespace metastamp
