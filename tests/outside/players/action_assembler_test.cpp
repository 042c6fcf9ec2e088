// The assembler's records, and the script builder's control flow run on a small stack machine
// that knows the handful of actions plain expressions use.
#include "outside/players/action_assembler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <variant>

#include "outside/players/script.h"
#include "swf_reader.h"

namespace {

using players_test::Hex;

using namespace players;
using players_test::ReadActions;

// Runs straight-line code with branches: numbers, strings, booleans, undefined, variables.
class StackMachine {
 public:
  using Value = std::variant<std::monostate, double, std::string, bool>;

  void Run(const std::string& actions) {
    const auto listing = ReadActions(actions);
    std::map<int, size_t> at;
    for (size_t i = 0; i < listing.records.size(); ++i) at[listing.records[i].offset] = i;
    size_t pc = 0;
    for (int steps = 0; steps < 10000 && pc < listing.records.size(); ++steps) {
      const auto& record = listing.records[pc++];
      const int next = pc < listing.records.size() ? listing.records[pc].offset : -1;
      auto branch = [&] {
        const int16_t offset =
            static_cast<int16_t>(static_cast<unsigned char>(record.payload[0]) |
                                 (static_cast<unsigned char>(record.payload[1]) << 8));
        pc = at.at(next + offset);
      };
      switch (record.code) {
        case kActionEnd:
          return;
        case kActionConstantPool:
          break;
        case kActionPush:
          for (const std::string& text : players_test::PushedValues(record, listing.pool)) {
            if (text == "undefined")
              stack_.emplace_back(std::in_place_index<0>);
            else if (text == "true" || text == "false")
              stack_.emplace_back(std::in_place_index<3>, text == "true");
            else if (IsNumber(text))
              stack_.emplace_back(std::in_place_index<1>, std::stod(text));
            else
              stack_.emplace_back(std::in_place_index<2>, text);
          }
          break;
        case kActionPop:
          Pop();
          break;
        case kActionPushDuplicate:
          stack_.push_back(stack_.back());
          break;
        case kActionNot:
          stack_.push_back(!Truthy(Pop()));
          break;
        case kActionAdd2: {
          Value b = Pop(), a = Pop();
          if (std::holds_alternative<std::string>(a) || std::holds_alternative<std::string>(b))
            stack_.push_back(Text(a) + Text(b));
          else
            stack_.push_back(Number(a) + Number(b));
          break;
        }
        case kActionSubtract: {
          double b = Number(Pop()), a = Number(Pop());
          stack_.push_back(a - b);
          break;
        }
        case kActionMultiply: {
          double b = Number(Pop()), a = Number(Pop());
          stack_.push_back(a * b);
          break;
        }
        case kActionDivide: {
          double b = Number(Pop()), a = Number(Pop());
          stack_.push_back(a / b);
          break;
        }
        case kActionLess2: {
          double b = Number(Pop()), a = Number(Pop());
          stack_.push_back(a < b);
          break;
        }
        case kActionGreater: {
          double b = Number(Pop()), a = Number(Pop());
          stack_.push_back(a > b);
          break;
        }
        case kActionEquals2: {
          Value b = Pop(), a = Pop();
          stack_.push_back(a == b);
          break;
        }
        case kActionSetVariable: {
          Value v = Pop();
          variables_[Text(Pop())] = v;
          break;
        }
        case kActionGetVariable:
          stack_.push_back(variables_[Text(Pop())]);
          break;
        case kActionJump:
          branch();
          break;
        case kActionIf:
          if (Truthy(Pop())) branch();
          break;
        default:
          FAIL() << "the stack machine does not know action " << int(record.code);
      }
    }
  }
  Value variable(const std::string& name) { return variables_[name]; }
  size_t depth() const { return stack_.size(); }

  static std::string Text(const Value& v) {
    if (auto* s = std::get_if<std::string>(&v)) return *s;
    if (auto* d = std::get_if<double>(&v)) {
      std::string text = std::to_string(*d);
      text.erase(text.find_last_not_of('0') + 1);
      if (text.back() == '.') text.pop_back();
      return text;
    }
    if (auto* b = std::get_if<bool>(&v)) return *b ? "true" : "false";
    return "undefined";
  }

 private:
  static bool IsNumber(const std::string& text) {
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0';
  }
  static double Number(const Value& v) {
    if (auto* d = std::get_if<double>(&v)) return *d;
    if (auto* b = std::get_if<bool>(&v)) return *b ? 1 : 0;
    return NAN;
  }
  static bool Truthy(const Value& v) {
    if (auto* b = std::get_if<bool>(&v)) return *b;
    if (auto* d = std::get_if<double>(&v)) return *d != 0 && !std::isnan(*d);
    if (auto* s = std::get_if<std::string>(&v)) return !s->empty();
    return false;
  }
  Value Pop() {
    if (stack_.empty()) throw std::runtime_error("stack underflow");
    Value v = stack_.back();
    stack_.pop_back();
    return v;
  }
  std::vector<Value> stack_;
  std::map<std::string, Value> variables_;
};

TEST(ActionAssembler, PoolHoldsEachPushedStringOnceMostUsedFirst) {
  ActionAssembler a;
  a.Push({std::string("once")});
  a.Push({std::string("twice"), std::string("twice")});
  const auto listing = ReadActions(a.Finish());
  EXPECT_EQ(listing.pool, (std::vector<std::string>{"twice", "once"}));
  // Push: type 8 (pool index) with the index.
  EXPECT_EQ(Hex(listing.records[1].payload), "08 01");
  EXPECT_EQ(Hex(listing.records[2].payload), "08 00 08 00");
}

TEST(ActionAssembler, PushEncodesEachTypeAsTheRuntimeReadsIt) {
  ActionAssembler a;
  a.Push({2.5, int32_t{-2}, true, PushNull{}, PushUndefined{}, PushRegister{3}});
  const auto listing = ReadActions(a.Finish());
  // A double is two little-endian words, the high word first.
  EXPECT_EQ(Hex(listing.records[1].payload),
            "06 00 00 04 40 00 00 00 00 07 FE FF FF FF 05 01 02 03 04 03");
}

TEST(ActionAssembler, BranchesCountFromTheEndOfTheirRecordBothWays) {
  ActionAssembler a;
  auto top = a.NewLabel();
  auto done = a.NewLabel();
  a.Bind(top);
  a.Op(kActionPop);      // offset 0 of the code
  a.BranchIfTrue(done);  // 1..5
  a.Jump(top);           // 6..10
  a.Bind(done);          // 11
  a.Op(kActionPop);
  const std::string code = a.Finish();
  const auto listing = ReadActions(code);
  EXPECT_EQ(listing.branches, 2);
  // The pool record comes first: 5 bytes for an empty pool.
  EXPECT_EQ(Hex(listing.records[2].payload), "05 00");  // if: skip the 5-byte jump
  EXPECT_EQ(Hex(listing.records[3].payload), "F5 FF");  // jump: back 11 bytes to the pop
}

TEST(ActionAssembler, UnboundLabelOrOpenFunctionIsAnError) {
  ActionAssembler branch;
  branch.Jump(branch.NewLabel());
  EXPECT_THROW(branch.Finish(), std::logic_error);
  ActionAssembler function;
  function.BeginFunction("f", {});
  EXPECT_THROW(function.Finish(), std::logic_error);
}

TEST(ActionAssembler, FunctionBodiesEndWhereTheirCodeEndsAlsoWhenNested) {
  ActionAssembler a;
  a.BeginFunction("outer", {"x", "y"});
  a.Push({std::string("x")});
  a.BeginFunction("", {});
  a.Op(kActionPop);
  a.EndFunction();
  a.Op(kActionReturn);
  a.EndFunction();
  const auto listing = ReadActions(a.Finish());
  EXPECT_EQ(listing.functions, 2);
  const auto& outer = listing.records[1];
  EXPECT_EQ(outer.code, kActionDefineFunction2);
  // name, 2 parameters, 4 registers, no flags, each parameter a named variable, body size
  const std::string head("outer\0\x02\x00\x04\x00\x00\x00x\0\x00y\0", 17);
  ASSERT_EQ(outer.payload.size(), head.size() + 2);
  EXPECT_EQ(outer.payload.substr(0, head.size()), head);
  const int size = static_cast<unsigned char>(outer.payload[17]) |
                   (static_cast<unsigned char>(outer.payload[18]) << 8);
  // The outer body runs up to the end record of the whole list.
  EXPECT_EQ(outer.offset + 3 + static_cast<int>(outer.payload.size()) + size,
            listing.records.back().offset);
}

TEST(ScriptBuilder, ConditionsAndLogicRunAsActionScriptWould) {
  struct Case {
    const char* name;
    Expr expr;
    std::string want;
  };
  const std::vector<Case> cases = {
      {"choose true", Choose(Num(1) < Num(2), Str("yes"), Str("no")), "yes"},
      {"choose false", Choose(Num(3) < Num(2), Str("yes"), Str("no")), "no"},
      {"and gives the deciding operand", Num(0) && Str("never"), "0"},
      {"and goes on when true", Num(1) && Str("second"), "second"},
      {"or stops at the first truthy", Str("first") || Str("never"), "first"},
      {"or goes on when falsy", Str("") || Num(7), "7"},
      {"min", Min(Num(4), Num(9)), "4"},
      {"max", Max(Num(4), Num(9)), "9"},
      {"operand order of subtraction", Num(10) - Num(3), "7"},
      {"operand order of division", Num(12) / Num(4), "3"},
      {"string concatenation", Str("a") + Num(1), "a1"},
      {"greater or equal", Num(2) >= Num(2), "true"},
      {"not equal", Str("a") != Str("b"), "true"},
  };
  for (const Case& c : cases) {
    ActionAssembler a;
    Script s(a);
    s.Set("result", c.expr);
    StackMachine machine;
    machine.Run(a.Finish());
    EXPECT_EQ(StackMachine::Text(machine.variable("result")), c.want) << c.name;
    EXPECT_EQ(machine.depth(), 0u) << c.name << ": the stack must be balanced";
  }
}

TEST(ScriptBuilder, IfElseAndWhileTakeTheRightPaths) {
  ActionAssembler a;
  Script s(a);
  s.Set("i", Num(0));
  s.Set("sum", Num(0));
  s.While(Var("i") < Num(5), [&] {
    s.Set("i", Var("i") + Num(1));
    s.If(
        Var("i") == Num(3), [&] { s.Set("sum", Var("sum") + Num(100)); },
        [&] { s.Set("sum", Var("sum") + Var("i")); });
  });
  s.If(Var("sum") > Num(1000), [&] { s.Set("sum", Num(-1)); });
  StackMachine machine;
  machine.Run(a.Finish());
  EXPECT_EQ(StackMachine::Text(machine.variable("sum")), "112");  // 1+2+100+4+5
  EXPECT_EQ(machine.depth(), 0u);
}

}  // namespace
