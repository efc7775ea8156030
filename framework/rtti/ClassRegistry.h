// The classes that streaming creates by name.
//
// Class infos exist on first use without registration; a class is registered only so that a
// stored form naming it can be read. Registration is explicit (a program registers its form
// classes at start-up), so it never depends on static initialisation. Names are compared
// ASCII case-insensitively.
#pragma once

#include <initializer_list>
#include <string_view>

#include "framework/rtti/Rtti.h"

namespace lx::framework {

/// Registers the class and its ancestors up to TPersistent. Registering the same class again
/// does nothing; another class of the same name raises EFilerError
/// "A class named <name> already exists".
void RegisterClass(const TClassInfo& classInfo);
void RegisterClasses(std::initializer_list<const TClassInfo*> classInfos);
/// Forgets the class (not its ancestors).
void UnRegisterClass(const TClassInfo& classInfo);
/// The registered class named `name`, or null.
const TClassInfo* GetClass(std::string_view name);
/// The registered class named `name`; raises EClassNotFound "Class <name> not found".
const TClassInfo& FindClass(std::string_view name);

}  // namespace lx::framework
