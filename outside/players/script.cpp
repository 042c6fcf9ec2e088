#include "outside/players/script.h"

#include <cmath>

namespace players {
namespace {

// Arguments go on the stack last first, then their count.
void EmitArguments(ActionAssembler& a, const std::vector<Expr>& arguments) {
  for (auto it = arguments.rbegin(); it != arguments.rend(); ++it) it->Emit(a);
  a.Push({static_cast<int32_t>(arguments.size())});
}

Expr Binary(const Expr& a, const Expr& b, ActionCode code) {
  return Expr([a, b, code](ActionAssembler& as) {
    a.Emit(as);
    b.Emit(as);
    as.Op(code);
  });
}

}  // namespace

Expr Expr::Get(const std::string& member) const {
  Expr object = *this;
  return Expr([object, member](ActionAssembler& a) {
    object.Emit(a);
    a.Push({member});
    a.Op(kActionGetMember);
  });
}

Expr Expr::Call(const std::string& method, const std::vector<Expr>& arguments) const {
  Expr object = *this;
  return Expr([object, method, arguments](ActionAssembler& a) {
    EmitArguments(a, arguments);
    object.Emit(a);
    a.Push({method});
    a.Op(kActionCallMethod);
  });
}

Expr Str(const std::string& text) {
  return Expr([text](ActionAssembler& a) { a.Push({text}); });
}

Expr Num(double value) {
  return Expr([value](ActionAssembler& a) {
    if (std::floor(value) == value && std::fabs(value) < 2147483647.0)
      a.Push({static_cast<int32_t>(value)});
    else
      a.Push({value});
  });
}

Expr Bool(bool value) {
  return Expr([value](ActionAssembler& a) { a.Push({value}); });
}

Expr Null() {
  return Expr([](ActionAssembler& a) { a.Push({PushNull{}}); });
}

Expr Undefined() {
  return Expr([](ActionAssembler& a) { a.Push({PushUndefined{}}); });
}

Expr Var(const std::string& name) {
  return Expr([name](ActionAssembler& a) {
    a.Push({name});
    a.Op(kActionGetVariable);
  });
}

Expr CallFunction(const std::string& name, const std::vector<Expr>& arguments) {
  return Expr([name, arguments](ActionAssembler& a) {
    EmitArguments(a, arguments);
    a.Push({name});
    a.Op(kActionCallFunction);
  });
}

Expr New(const std::string& class_name, const std::vector<Expr>& arguments) {
  return Expr([class_name, arguments](ActionAssembler& a) {
    EmitArguments(a, arguments);
    a.Push({class_name});
    a.Op(kActionNewObject);
  });
}

Expr NewMember(const Expr& object, const std::string& class_name,
               const std::vector<Expr>& arguments) {
  return Expr([object, class_name, arguments](ActionAssembler& a) {
    EmitArguments(a, arguments);
    object.Emit(a);
    a.Push({class_name});
    a.Op(kActionNewMethod);
  });
}

Expr Object(const std::vector<std::pair<std::string, Expr>>& members) {
  return Expr([members](ActionAssembler& a) {
    for (const auto& [name, value] : members) {
      a.Push({name});
      value.Emit(a);
    }
    a.Push({static_cast<int32_t>(members.size())});
    a.Op(kActionInitObject);
  });
}

Expr Array(const std::vector<Expr>& elements) {
  return Expr([elements](ActionAssembler& a) {
    EmitArguments(a, elements);
    a.Op(kActionInitArray);
  });
}

Expr TypeOf(const Expr& value) {
  return Expr([value](ActionAssembler& a) {
    value.Emit(a);
    a.Op(kActionTypeOf);
  });
}

Expr ToNumber(const Expr& value) {
  return Expr([value](ActionAssembler& a) {
    value.Emit(a);
    a.Op(kActionToNumber);
  });
}

Expr ToString(const Expr& value) {
  return Expr([value](ActionAssembler& a) {
    value.Emit(a);
    a.Op(kActionToString);
  });
}

Expr Timer() {
  return Expr([](ActionAssembler& a) { a.Op(kActionGetTime); });
}

Expr operator+(const Expr& a, const Expr& b) {
  return Binary(a, b, kActionAdd2);
}
Expr operator-(const Expr& a, const Expr& b) {
  return Binary(a, b, kActionSubtract);
}
Expr operator*(const Expr& a, const Expr& b) {
  return Binary(a, b, kActionMultiply);
}
Expr operator/(const Expr& a, const Expr& b) {
  return Binary(a, b, kActionDivide);
}
Expr operator%(const Expr& a, const Expr& b) {
  return Binary(a, b, kActionModulo);
}
Expr operator<(const Expr& a, const Expr& b) {
  return Binary(a, b, kActionLess2);
}
Expr operator>(const Expr& a, const Expr& b) {
  return Binary(a, b, kActionGreater);
}
Expr operator<=(const Expr& a, const Expr& b) {
  return !(a > b);
}
Expr operator>=(const Expr& a, const Expr& b) {
  return !(a < b);
}
Expr operator==(const Expr& a, const Expr& b) {
  return Binary(a, b, kActionEquals2);
}
Expr operator!=(const Expr& a, const Expr& b) {
  return !(a == b);
}

Expr operator!(const Expr& a) {
  return Expr([a](ActionAssembler& as) {
    a.Emit(as);
    as.Op(kActionNot);
  });
}

Expr operator&&(const Expr& a, const Expr& b) {
  return Expr([a, b](ActionAssembler& as) {
    const auto done = as.NewLabel();
    a.Emit(as);
    as.Op(kActionPushDuplicate);
    as.Op(kActionNot);
    as.BranchIfTrue(done);
    as.Op(kActionPop);
    b.Emit(as);
    as.Bind(done);
  });
}

Expr operator||(const Expr& a, const Expr& b) {
  return Expr([a, b](ActionAssembler& as) {
    const auto done = as.NewLabel();
    a.Emit(as);
    as.Op(kActionPushDuplicate);
    as.BranchIfTrue(done);
    as.Op(kActionPop);
    b.Emit(as);
    as.Bind(done);
  });
}

Expr Choose(const Expr& condition, const Expr& if_true, const Expr& if_false) {
  return Expr([condition, if_true, if_false](ActionAssembler& as) {
    const auto yes = as.NewLabel();
    const auto done = as.NewLabel();
    condition.Emit(as);
    as.BranchIfTrue(yes);
    if_false.Emit(as);
    as.Jump(done);
    as.Bind(yes);
    if_true.Emit(as);
    as.Bind(done);
  });
}

void Script::Set(const std::string& variable, const Expr& value) {
  assembler_.Push({variable});
  value.Emit(assembler_);
  assembler_.Op(kActionSetVariable);
}

void Script::SetMember(const Expr& object, const std::string& member, const Expr& value) {
  object.Emit(assembler_);
  assembler_.Push({member});
  value.Emit(assembler_);
  assembler_.Op(kActionSetMember);
}

void Script::Local(const std::string& name, const Expr& value) {
  assembler_.Push({name});
  value.Emit(assembler_);
  assembler_.Op(kActionDefineLocal);
}

void Script::Do(const Expr& value) {
  value.Emit(assembler_);
  assembler_.Op(kActionPop);
}

void Script::If(const Expr& condition, const Body& then_body, const Body& else_body) {
  const auto skip = assembler_.NewLabel();
  (!condition).Emit(assembler_);
  assembler_.BranchIfTrue(skip);
  then_body();
  if (!else_body) {
    assembler_.Bind(skip);
    return;
  }
  const auto done = assembler_.NewLabel();
  assembler_.Jump(done);
  assembler_.Bind(skip);
  else_body();
  assembler_.Bind(done);
}

void Script::While(const Expr& condition, const Body& body) {
  const auto top = assembler_.NewLabel();
  const auto done = assembler_.NewLabel();
  assembler_.Bind(top);
  (!condition).Emit(assembler_);
  assembler_.BranchIfTrue(done);
  body();
  assembler_.Jump(top);
  assembler_.Bind(done);
}

void Script::Return(const Expr& value) {
  value.Emit(assembler_);
  assembler_.Op(kActionReturn);
}

void Script::Return() {
  Return(Undefined());
}

void Script::DeleteMember(const Expr& object, const std::string& member) {
  object.Emit(assembler_);
  assembler_.Push({member});
  assembler_.Op(kActionDelete);
  assembler_.Op(kActionPop);
}

void Script::GetUrl(const Expr& url, const Expr& target) {
  url.Emit(assembler_);
  target.Emit(assembler_);
  assembler_.GetUrl2();
}

void Script::Trace(const Expr& value) {
  value.Emit(assembler_);
  assembler_.Op(kActionTrace);
}

void Script::Function(const std::string& name, const std::vector<std::string>& parameters,
                      const Body& body) {
  assembler_.BeginFunction(name, parameters);
  body();
  assembler_.EndFunction();
}

Expr Script::Lambda(const std::vector<std::string>& parameters, const Body& body) {
  return Expr([parameters, body](ActionAssembler& a) {
    a.BeginFunction("", parameters);
    body();
    a.EndFunction();
  });
}

}  // namespace players
