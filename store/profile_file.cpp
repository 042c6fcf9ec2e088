#include "store/profile_file.h"

#include <QFile>

#include "store/atomic_file.h"
#include "store/regular_file.h"
#include "store/value_text.h"

namespace store {

namespace {

QString Folded(const QString& name) {
  return name.trimmed().toCaseFolded();
}

QString WithoutLineBreaks(QString text) {
  text.replace(u'\r', u' ');
  text.replace(u'\n', u' ');
  return text;
}

// The name of a section header line, or nothing when the line is no header.
std::optional<QString> SectionName(const QString& line) {
  const QString text = line.trimmed();
  if (!text.startsWith(u'[')) return std::nullopt;
  const qsizetype close = text.lastIndexOf(u']');
  if (close < 1) return std::nullopt;
  return text.mid(1, close - 1).trimmed();
}

QString WithoutMatchingQuotes(const QString& value) {
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
      value.back() == value.front()) {
    return value.mid(1, value.size() - 2);
  }
  return value;
}

}  // namespace

ProfileFile::ProfileFile() : sections_(1) {}

ProfileFile ProfileFile::Load(const QString& path) {
  QFile file;
  if (!OpenRegularFileForReading(file, path)) return {};
  ProfileFile profile = FromBytes(file.read(kMaxBytes));
  profile.complete_ = file.read(1).isEmpty();
  return profile;
}

ProfileFile ProfileFile::FromBytes(const QByteArray& bytes) {
  ProfileFile profile;
  if (bytes.isEmpty()) return profile;
  QList<QByteArray> lines = bytes.split('\n');
  if (bytes.endsWith('\n')) lines.removeLast();
  for (QByteArray& bytes_of_line : lines) {
    if (bytes_of_line.endsWith('\r')) bytes_of_line.chop(1);
    const QString line = QString::fromUtf8(bytes_of_line);
    if (const std::optional<QString> name = SectionName(line)) {
      const QString folded = name->toCaseFolded();
      if (!profile.first_section_.contains(folded)) {
        profile.first_section_.insert(folded, qsizetype(profile.sections_.size()));
      }
      profile.sections_.push_back(Section{line, {}, {}});
      continue;
    }
    Entry entry{line, {}, {}};
    const qsizetype equals = line.indexOf(u'=');
    if (equals >= 0) {
      entry.key = line.left(equals).trimmed();
      entry.value = line.mid(equals + 1).trimmed();
    }
    profile.sections_.back().entries.push_back(std::move(entry));
  }
  for (Section& section : profile.sections_) IndexEntries(section);
  return profile;
}

void ProfileFile::IndexEntries(Section& section) {
  section.first_entry.clear();
  for (qsizetype i = 0; i < qsizetype(section.entries.size()); ++i) {
    const QString& key = section.entries[i].key;
    if (key.isEmpty()) continue;
    const QString folded = key.toCaseFolded();
    if (!section.first_entry.contains(folded)) section.first_entry.insert(folded, i);
  }
}

const ProfileFile::Entry* ProfileFile::Find(const QString& section, const QString& key) const {
  const auto found_section = first_section_.constFind(Folded(section));
  if (found_section == first_section_.cend()) return nullptr;
  const Section& in = sections_[*found_section];
  const auto found_entry = in.first_entry.constFind(Folded(key));
  if (found_entry == in.first_entry.cend()) return nullptr;
  return &in.entries[*found_entry];
}

QString ProfileFile::ReadString(const QString& section, const QString& key,
                                const QString& default_value, int buffer_size) const {
  const Entry* entry = Find(section, key);
  const QString value = entry ? WithoutMatchingQuotes(entry->value) : default_value;
  return CutToLength(value, buffer_size - 1);
}

int ProfileFile::ReadInt(const QString& section, const QString& key, int default_value) const {
  const Entry* entry = Find(section, key);
  if (!entry) return default_value;
  const QString value = WithoutMatchingQuotes(entry->value);
  if (value.isEmpty()) return default_value;
  return ParseLeadingInt(value).value_or(0);
}

ProfileFile::Section& ProfileFile::SectionForWriting(const QString& name) {
  const QString folded = Folded(name);
  const auto found = first_section_.constFind(folded);
  if (found != first_section_.cend()) return sections_[*found];
  first_section_.insert(folded, qsizetype(sections_.size()));
  sections_.push_back(Section{'[' + name.trimmed() + ']', {}, {}});
  return sections_.back();
}

void ProfileFile::WriteString(const QString& section_name, const QString& key_name,
                              const QString& value_text) {
  const QString key = WithoutLineBreaks(key_name).trimmed();
  const QString value = WithoutLineBreaks(value_text);
  Section& section = SectionForWriting(WithoutLineBreaks(section_name));
  const auto found = section.first_entry.constFind(key.toCaseFolded());
  if (found != section.first_entry.cend()) {
    Entry& entry = section.entries[*found];
    entry.line = entry.key + '=' + value;
    entry.value = value.trimmed();
    return;
  }
  // A new key goes after the section's last non-blank line, so that the blank lines that
  // separate it from the next section stay where they are.
  qsizetype at = qsizetype(section.entries.size());
  while (at > 0 && section.entries[at - 1].line.trimmed().isEmpty()) --at;
  section.entries.insert(section.entries.begin() + at,
                         Entry{key + '=' + value, key, value.trimmed()});
  if (at == qsizetype(section.entries.size()) - 1) {
    section.first_entry.insert(key.toCaseFolded(), at);
  } else {
    IndexEntries(section);
  }
}

void ProfileFile::WriteInt(const QString& section, const QString& key, int value) {
  WriteString(section, key, QString::number(value));
}

QByteArray ProfileFile::ToBytes() const {
  QString text;
  for (const Section& section : sections_) {
    if (!section.header.isEmpty()) text += section.header + QLatin1String("\r\n");
    for (const Entry& entry : section.entries) text += entry.line + QLatin1String("\r\n");
  }
  return text.toUtf8();
}

bool ProfileFile::Save(const QString& path) const {
  if (!complete_) return false;
  return ReplaceFileContents(path, ToBytes());
}

}  // namespace store
