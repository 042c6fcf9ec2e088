// Assembles AVM1 bytecode (the action records of a DoAction tag). Strings pushed anywhere go
// into one constant pool written first; branch targets are labels resolved when the code is
// finished, and function bodies are closed by a label so their sizes are counted for us.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace players {

enum ActionCode : uint8_t {
  kActionEnd = 0x00,
  kActionSubtract = 0x0B,
  kActionMultiply = 0x0C,
  kActionDivide = 0x0D,
  kActionNot = 0x12,
  kActionPop = 0x17,
  kActionGetVariable = 0x1C,
  kActionSetVariable = 0x1D,
  kActionTrace = 0x26,
  kActionStartDrag = 0x27,
  kActionEndDrag = 0x28,
  kActionGetTime = 0x34,
  kActionDelete = 0x3A,
  kActionDefineLocal = 0x3C,
  kActionCallFunction = 0x3D,
  kActionReturn = 0x3E,
  kActionModulo = 0x3F,
  kActionNewObject = 0x40,
  kActionInitArray = 0x42,
  kActionInitObject = 0x43,
  kActionTypeOf = 0x44,
  kActionAdd2 = 0x47,
  kActionLess2 = 0x48,
  kActionEquals2 = 0x49,
  kActionToNumber = 0x4A,
  kActionToString = 0x4B,
  kActionPushDuplicate = 0x4C,
  kActionGetMember = 0x4E,
  kActionSetMember = 0x4F,
  kActionCallMethod = 0x52,
  kActionNewMethod = 0x53,
  kActionStrictEquals = 0x66,
  kActionGreater = 0x67,
  kActionStoreRegister = 0x87,
  kActionConstantPool = 0x88,
  kActionDefineFunction2 = 0x8E,
  kActionPush = 0x96,
  kActionJump = 0x99,
  kActionGetUrl2 = 0x9A,
  kActionIf = 0x9D,
};

// Values a Push record carries.
struct PushNull {};
struct PushUndefined {};
struct PushRegister {
  uint8_t number;
};
using PushValue =
    std::variant<std::string, double, int32_t, bool, PushNull, PushUndefined, PushRegister>;

class ActionAssembler {
 public:
  struct Label {
    int id = -1;
  };

  Label NewLabel();
  // The next record begins at `label`.
  void Bind(Label label);

  void Op(ActionCode code);
  void Push(const std::vector<PushValue>& values);
  void Jump(Label target);
  // Pops a value and branches when it is true.
  void BranchIfTrue(Label target);
  void StoreRegister(uint8_t number);
  // getURL with the method "don't send variables"; the stack holds url, then target.
  void GetUrl2();
  // Starts a function whose parameters are named variables (so nested functions see them) and
  // whose `this` and `arguments` are the usual variables. An empty name leaves the function on
  // the stack. EndFunction() closes the innermost open function.
  void BeginFunction(const std::string& name, const std::vector<std::string>& parameters);
  void EndFunction();

  // The bytes of a DoAction body: the constant pool, the code, and the end record.
  std::string Finish() const;

 private:
  struct Record {
    enum Kind { kPlain, kPush, kBranch, kStoreRegister, kGetUrl2, kFunction, kBind };
    explicit Record(Kind record_kind) : kind(record_kind) {}
    Kind kind;
    ActionCode code = kActionEnd;
    std::vector<PushValue> values;
    int label = -1;  // branch target, a bound label, or a function's end
    std::string name;
    std::vector<std::string> parameters;
    uint8_t number = 0;
  };

  std::vector<std::string> Pool() const;
  std::string Encode(const Record& record, const std::vector<std::string>& pool,
                     const std::vector<int>& label_offsets, int offset) const;

  std::vector<Record> records_;
  std::vector<int> open_functions_;
  int labels_ = 0;
};

}  // namespace players
