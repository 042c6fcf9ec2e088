// The plain form, "metastamp FILE.flv": gives the file a new onMetaData describing it.
#pragma once

#include <string>

namespace metastamp {

// Reads the FLV once, writes it anew beside itself with a fresh onMetaData (any old one
// dropped) and renames it over the original. Throws Error, leaving the file as it was.
void StampMetadata(const std::string& path);

}  // namespace metastamp
