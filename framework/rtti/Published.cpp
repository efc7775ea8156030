#include "framework/rtti/Published.h"

namespace lx::framework::published {

void RaiseForeignInstance(const std::string& property, const TObject& instance) {
  throw EPropertyError("Property " + property + " does not belong to " + instance.ClassName());
}

void RaiseWrongValue(const std::string& property) {
  throw EPropertyConvertError("Invalid value type for property " + property);
}

void RaiseWrongClass(const std::string& property, const TObject& value) {
  throw EPropertyConvertError("Property " + property + " cannot hold a " + value.ClassName());
}

std::int64_t CheckedOrdinal(const TPropValue& value, std::int64_t low, std::int64_t high,
                            const std::string& property) {
  const std::int64_t ordinal = Expect<std::int64_t>(value, property);
  if (ordinal < low || ordinal > high) {
    throw EPropertyConvertError("Value " + std::to_string(ordinal) +
                                " is out of range for property " + property);
  }
  return ordinal;
}

const TMethodInfo& FindEventMethod(const TMethod& method, std::type_index signature,
                                   const std::string& property) {
  if (method.data == nullptr) {
    throw EPropertyError("Method " + method.name + " has no object");
  }
  const TMethodInfo* info = method.data->ClassInfo().FindMethod(method.name);
  if (info == nullptr) {
    throw EPropertyError("Method " + method.name + " does not exist in " +
                         method.data->ClassName());
  }
  if (info->Signature() != signature) {
    throw EPropertyConvertError("Method " + info->Name() + " does not fit property " + property);
  }
  return *info;
}

}  // namespace lx::framework::published
