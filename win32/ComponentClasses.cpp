// Every component class the program's layouts use, by name.
#include "win32/ComponentClasses.h"

#include <map>

#include "framework/SysUtils.h"
#include "win32/Buttons.h"
#include "win32/ExtCtrls.h"
#include "win32/Forms.h"
#include "win32/StdCtrls.h"

namespace {

template <class Component>
TComponent* Make(TComponent* owner) {
  return new Component(owner);
}

using TComponentFactory = TComponent* (*)(TComponent* owner);

const std::map<std::string, TComponentFactory>& ComponentClasses() {
  static const std::map<std::string, TComponentFactory> classes = {
      {"TTimer", Make<TTimer>},       {"TApplicationEvents", Make<TApplicationEvents>},
      {"TPanel", Make<TPanel>},       {"TImage", Make<TImage>},
      {"TCheckBox", Make<TCheckBox>}, {"TLabel", Make<TLabel>},
      {"TBitBtn", Make<TBitBtn>},
  };
  return classes;
}

}  // namespace

TComponent* CreateRegisteredComponent(const std::string& className, TComponent* owner) {
  auto found = ComponentClasses().find(className);
  if (found == ComponentClasses().end()) throw ELayoutError("Class " + className + " not found");
  return found->second(owner);
}
