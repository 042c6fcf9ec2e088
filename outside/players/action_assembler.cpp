#include "outside/players/action_assembler.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <stdexcept>

#include "outside/players/swf_writer.h"

namespace players {
namespace {

// A pool entry is addressed with one byte for the first 256 strings, two beyond.
constexpr size_t kShortPoolEntries = 256;
// The pool record's length is 16 bits.
constexpr size_t kMaxPoolBytes = 65535;

std::string ActionRecord(ActionCode code, const std::string& payload) {
  ByteWriter writer;
  writer.U8(code);
  writer.U16(static_cast<uint32_t>(payload.size()));
  writer.Bytes(payload);
  return writer.bytes();
}

// Doubles are stored as two little-endian 32-bit words, the high word first.
void WriteDouble(ByteWriter& writer, double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  writer.U32(static_cast<uint32_t>(bits >> 32));
  writer.U32(static_cast<uint32_t>(bits));
}

}  // namespace

ActionAssembler::Label ActionAssembler::NewLabel() {
  return Label{labels_++};
}

void ActionAssembler::Bind(Label label) {
  Record record{Record::kBind};
  record.label = label.id;
  records_.push_back(record);
}

void ActionAssembler::Op(ActionCode code) {
  Record record{Record::kPlain};
  record.code = code;
  records_.push_back(record);
}

void ActionAssembler::Push(const std::vector<PushValue>& values) {
  Record record{Record::kPush};
  record.values = values;
  records_.push_back(record);
}

void ActionAssembler::Jump(Label target) {
  Record record{Record::kBranch};
  record.code = kActionJump;
  record.label = target.id;
  records_.push_back(record);
}

void ActionAssembler::BranchIfTrue(Label target) {
  Record record{Record::kBranch};
  record.code = kActionIf;
  record.label = target.id;
  records_.push_back(record);
}

void ActionAssembler::StoreRegister(uint8_t number) {
  Record record{Record::kStoreRegister};
  record.number = number;
  records_.push_back(record);
}

void ActionAssembler::GetUrl2() {
  records_.push_back(Record{Record::kGetUrl2});
}

void ActionAssembler::BeginFunction(const std::string& name,
                                    const std::vector<std::string>& parameters) {
  Record record{Record::kFunction};
  record.name = name;
  record.parameters = parameters;
  record.label = NewLabel().id;
  open_functions_.push_back(record.label);
  records_.push_back(record);
}

void ActionAssembler::EndFunction() {
  if (open_functions_.empty()) throw std::logic_error("EndFunction without BeginFunction");
  Bind(Label{open_functions_.back()});
  open_functions_.pop_back();
}

// Every string pushed, the most used first so that they get the one-byte indices.
std::vector<std::string> ActionAssembler::Pool() const {
  std::map<std::string, int> uses;
  for (const Record& record : records_)
    for (const PushValue& value : record.values)
      if (auto* text = std::get_if<std::string>(&value)) ++uses[*text];
  std::vector<std::pair<std::string, int>> ordered(uses.begin(), uses.end());
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  std::vector<std::string> pool;
  size_t bytes = 2;
  for (const auto& [text, count] : ordered) {
    if (text.find('\0') != std::string::npos || bytes + text.size() + 1 > kMaxPoolBytes) continue;
    bytes += text.size() + 1;
    pool.push_back(text);
  }
  return pool;
}

std::string ActionAssembler::Encode(const Record& record, const std::vector<std::string>& pool,
                                    const std::vector<int>& label_offsets, int offset) const {
  ByteWriter payload;
  switch (record.kind) {
    case Record::kBind:
      return {};
    case Record::kPlain:
      return std::string(1, static_cast<char>(record.code));
    case Record::kPush:
      for (const PushValue& value : record.values) {
        if (auto* text = std::get_if<std::string>(&value)) {
          auto found = std::find(pool.begin(), pool.end(), *text);
          size_t index = static_cast<size_t>(found - pool.begin());
          if (found == pool.end()) {
            payload.U8(0);
            payload.String(*text);
          } else if (index < kShortPoolEntries) {
            payload.U8(8);
            payload.U8(static_cast<uint32_t>(index));
          } else {
            payload.U8(9);
            payload.U16(static_cast<uint32_t>(index));
          }
        } else if (auto* number = std::get_if<double>(&value)) {
          payload.U8(6);
          WriteDouble(payload, *number);
        } else if (auto* integer = std::get_if<int32_t>(&value)) {
          payload.U8(7);
          payload.U32(static_cast<uint32_t>(*integer));
        } else if (auto* flag = std::get_if<bool>(&value)) {
          payload.U8(5);
          payload.U8(*flag ? 1 : 0);
        } else if (std::holds_alternative<PushNull>(value)) {
          payload.U8(2);
        } else if (std::holds_alternative<PushUndefined>(value)) {
          payload.U8(3);
        } else {
          payload.U8(4);
          payload.U8(std::get<PushRegister>(value).number);
        }
      }
      return ActionRecord(kActionPush, payload.bytes());
    case Record::kBranch: {
      // The offset counts from the end of the branch record, which is 5 bytes long.
      const int target = label_offsets.at(static_cast<size_t>(record.label));
      if (target < 0) throw std::logic_error("branch to a label that is never bound");
      payload.U16(static_cast<uint32_t>(static_cast<int16_t>(target - (offset + 5))));
      return ActionRecord(record.code, payload.bytes());
    }
    case Record::kStoreRegister:
      payload.U8(record.number);
      return ActionRecord(kActionStoreRegister, payload.bytes());
    case Record::kGetUrl2:
      payload.U8(0);
      return ActionRecord(kActionGetUrl2, payload.bytes());
    case Record::kFunction: {
      payload.String(record.name);
      payload.U16(static_cast<uint32_t>(record.parameters.size()));
      payload.U8(4);   // registers: none are preloaded, so this is only room for StoreRegister
      payload.U16(0);  // flags: this, arguments, super stay ordinary variables
      for (const std::string& parameter : record.parameters) {
        payload.U8(0);  // not in a register: a named variable
        payload.String(parameter);
      }
      std::string head =
          ActionRecord(kActionDefineFunction2, payload.bytes() + std::string(2, '\0'));
      const int body_start = offset + static_cast<int>(head.size());
      const int body_end = label_offsets.at(static_cast<size_t>(record.label));
      const int size = body_end - body_start;
      head[head.size() - 2] = static_cast<char>(size & 0xFF);
      head[head.size() - 1] = static_cast<char>((size >> 8) & 0xFF);
      return head;
    }
  }
  return {};
}

std::string ActionAssembler::Finish() const {
  if (!open_functions_.empty()) throw std::logic_error("a function is still open");
  const std::vector<std::string> pool = Pool();
  ByteWriter pool_payload;
  pool_payload.U16(static_cast<uint32_t>(pool.size()));
  for (const std::string& text : pool) pool_payload.String(text);
  const std::string pool_record = ActionRecord(kActionConstantPool, pool_payload.bytes());

  // The sizes of records do not depend on label offsets, so one pass measures and a second
  // writes with every label known.
  std::vector<int> label_offsets(static_cast<size_t>(labels_), -1);
  const std::vector<int> unknown(static_cast<size_t>(labels_), 0);
  int offset = 0;
  for (const Record& record : records_) {
    if (record.kind == Record::kBind) label_offsets[static_cast<size_t>(record.label)] = offset;
    offset += static_cast<int>(Encode(record, pool, unknown, offset).size());
  }
  std::string code;
  for (const Record& record : records_)
    code += Encode(record, pool, label_offsets, static_cast<int>(code.size()));
  if (code.size() > 0xFFFF * 64) throw std::length_error("action code too long");
  return pool_record + code + std::string(1, '\0');
}

}  // namespace players
