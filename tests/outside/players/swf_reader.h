// Our own reading of SWF files, to check what the writer produces: the header, every tag, and
// the action records inside DoAction tags with their branch and function extents.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace players_test {

struct SwfTag {
  int code = 0;
  std::string body;
  bool long_form = false;
};

struct SwfFile {
  char signature[4] = {};
  int version = 0;
  uint32_t file_length = 0;
  int32_t x_min = 0, x_max = 0, y_min = 0, y_max = 0;  // twips
  double frame_rate = 0;
  int frame_count = 0;
  std::vector<SwfTag> tags;
};

// Throws std::runtime_error with a reason when the bytes are not a well-formed SWF.
SwfFile ReadSwf(const std::string& bytes);

struct ActionRecord {
  int offset = 0;  // from the start of the action bytes
  uint8_t code = 0;
  std::string payload;
};

struct ActionListing {
  std::vector<ActionRecord> records;
  std::vector<std::string> pool;  // the first constant pool
  int functions = 0;
  int branches = 0;
};

// Walks the records of a DoAction body and checks that every branch lands on a record, every
// function body ends on one, every pool index exists, and the list ends with the end record.
// Throws std::runtime_error with a reason otherwise.
ActionListing ReadActions(const std::string& actions);

// The values of a Push record, as text: strings as they are, numbers in decimal, "null",
// "undefined", "true", "false", "r<n>" for registers; pool entries are looked up.
std::vector<std::string> PushedValues(const ActionRecord& push,
                                      const std::vector<std::string>& pool);

// Bytes as upper-case hex pairs separated by spaces ("08 01"), for readable expectations.
std::string Hex(const std::string& bytes);

}  // namespace players_test
