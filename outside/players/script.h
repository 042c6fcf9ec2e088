// Player logic as readable C++: expressions and statements that emit AVM1 through the
// assembler, in the order ActionScript 2 would run them.
//
//   Script s(assembler);
//   s.Set("ns", New("NetStream", {Var("nc")}));
//   s.If(Var("ns").Get("time") > Num(0), [&] { s.Do(Var("ns").Call("pause", {Bool(true)})); });
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "outside/players/action_assembler.h"

namespace players {

// Code that leaves exactly one value on the stack.
class Expr {
 public:
  using Emitter = std::function<void(ActionAssembler&)>;
  explicit Expr(Emitter emit) : emit_(std::move(emit)) {}

  void Emit(ActionAssembler& assembler) const { emit_(assembler); }

  Expr Get(const std::string& member) const;
  Expr Call(const std::string& method, const std::vector<Expr>& arguments = {}) const;

 private:
  Emitter emit_;
};

Expr Str(const std::string& text);
Expr Num(double value);
Expr Bool(bool value);
Expr Null();
Expr Undefined();
Expr Var(const std::string& name);
// f(a, b): a function found by name along the scope chain.
Expr CallFunction(const std::string& name, const std::vector<Expr>& arguments = {});
Expr New(const std::string& class_name, const std::vector<Expr>& arguments = {});
// new object.Class(...), for classes in packages such as flash.filters.
Expr NewMember(const Expr& object, const std::string& class_name,
               const std::vector<Expr>& arguments = {});
Expr Object(const std::vector<std::pair<std::string, Expr>>& members);
Expr Array(const std::vector<Expr>& elements);
Expr TypeOf(const Expr& value);
Expr ToNumber(const Expr& value);
Expr ToString(const Expr& value);
// getTimer(): milliseconds since the movie started. It is an action, not a global function.
Expr Timer();

Expr operator+(const Expr& a, const Expr& b);
Expr operator-(const Expr& a, const Expr& b);
Expr operator*(const Expr& a, const Expr& b);
Expr operator/(const Expr& a, const Expr& b);
Expr operator%(const Expr& a, const Expr& b);
Expr operator<(const Expr& a, const Expr& b);
Expr operator>(const Expr& a, const Expr& b);
Expr operator<=(const Expr& a, const Expr& b);
Expr operator>=(const Expr& a, const Expr& b);
// Loose equality (==) and its negation, as ActionScript compares.
Expr operator==(const Expr& a, const Expr& b);
Expr operator!=(const Expr& a, const Expr& b);
Expr operator!(const Expr& a);
// Short-circuit && and ||, giving the deciding operand as ActionScript does.
Expr operator&&(const Expr& a, const Expr& b);
Expr operator||(const Expr& a, const Expr& b);
Expr Choose(const Expr& condition, const Expr& if_true, const Expr& if_false);
inline Expr Min(const Expr& a, const Expr& b) {
  return Choose(a < b, a, b);
}
inline Expr Max(const Expr& a, const Expr& b) {
  return Choose(a > b, a, b);
}

class Script {
 public:
  using Body = std::function<void()>;
  explicit Script(ActionAssembler& assembler) : assembler_(assembler) {}

  void Set(const std::string& variable, const Expr& value);
  void SetMember(const Expr& object, const std::string& member, const Expr& value);
  // var name = value, inside a function.
  void Local(const std::string& name, const Expr& value);
  // Runs the expression for its effect and drops its value.
  void Do(const Expr& value);
  void If(const Expr& condition, const Body& then_body, const Body& else_body = {});
  void While(const Expr& condition, const Body& body);
  void Return(const Expr& value);
  void Return();
  void DeleteMember(const Expr& object, const std::string& member);
  // getURL(url, target).
  void GetUrl(const Expr& url, const Expr& target);
  void Trace(const Expr& value);
  // function name(parameters) { body }, defined where the code runs.
  void Function(const std::string& name, const std::vector<std::string>& parameters,
                const Body& body);
  // function (parameters) { body } as a value, for handlers.
  Expr Lambda(const std::vector<std::string>& parameters, const Body& body);

 private:
  ActionAssembler& assembler_;
};

}  // namespace players
