// A profile (INI) file in memory, with the semantics of the Windows profile functions the
// settings file was first made with:
// - a line "[name]" opens a section, a line "key=value" gives a value; section and key names
//   match without regard to case; the first of two equal sections or keys is the one read;
// - a value is read trimmed, and without its quotes when the whole value is in matching quotes;
// - text is read through a buffer of a given size, so at most size - 1 characters come back;
// - writing an existing key replaces its value in place; a missing key is added at the end of
//   its section, a missing section at the end of the file; everything else keeps its place.
// Blank lines, junk lines and lines before the first section are kept as they are. The file is
// written with CR LF line ends.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <vector>

namespace store {

class ProfileFile {
 public:
  // More than any settings file holds; the rest of a larger file is not read.
  static constexpr qint64 kMaxBytes = qint64(1) << 20;

  ProfileFile();

  // A missing or unreadable file gives an empty profile.
  static ProfileFile Load(const QString& path);
  static ProfileFile FromBytes(const QByteArray& bytes);

  // The value of `key` in `section`, or `default_value` when either is missing; either way cut
  // to `buffer_size` - 1 characters.
  QString ReadString(const QString& section, const QString& key, const QString& default_value,
                     int buffer_size) const;
  // The integer at the start of the value: leading blanks, an optional sign, the digits.
  // `default_value` when the key is missing or its value is empty, 0 when it holds no digit.
  int ReadInt(const QString& section, const QString& key, int default_value) const;

  // Line breaks in any of the texts become blanks: one value can never add lines of its own.
  void WriteString(const QString& section, const QString& key, const QString& value);
  void WriteInt(const QString& section, const QString& key, int value);

  // False when Load stopped at kMaxBytes before the end of the file.
  bool complete() const { return complete_; }

  QByteArray ToBytes() const;
  // Replaces the file only once the new one is complete. Refuses (false) to write back a
  // profile that was loaded from a file larger than kMaxBytes, whose tail it never read.
  bool Save(const QString& path) const;

 private:
  struct Entry {
    QString line;   // the line as read or written, without its line end
    QString key;    // the key as spelled in the file; empty for other lines
    QString value;  // trimmed text after the "="
  };
  struct Section {
    QString header;  // "[name]" as read; empty for the lines before the first section
    std::vector<Entry> entries;
    QHash<QString, qsizetype> first_entry;  // case-folded key -> index into entries
  };

  const Entry* Find(const QString& section, const QString& key) const;
  Section& SectionForWriting(const QString& name);
  static void IndexEntries(Section& section);

  std::vector<Section> sections_;            // [0]: the lines before the first section
  QHash<QString, qsizetype> first_section_;  // case-folded name -> index into sections_
  bool complete_ = true;
};

}  // namespace store
