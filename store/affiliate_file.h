// The affiliate file "affiliate.cfg" in the program folder: the text of the "Affiliate ID:" box
// as one line without a line end.
#pragma once

#include <QString>

namespace store {

inline constexpr char kAffiliateFileName[] = "affiliate.cfg";
inline constexpr qsizetype kMaxAffiliateIdLength = 498;

QString AffiliateFilePath(const QString& program_folder);

// The first line: the characters up to the first line feed (a carriage return before it is not
// part of the line), at most 498 of them. Empty when the file is missing or empty.
QString ReadAffiliateId(const QString& path);

// The text unchanged and with no line end, replacing the old file once the new one is
// complete. False when the file cannot be written; the program says nothing.
bool WriteAffiliateId(const QString& path, const QString& affiliate_id);

}  // namespace store
