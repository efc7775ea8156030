// Form resources: stored forms linked into the program and found by their root class.
//
// The build compiles each text form of a program into a binary form stream and links it as
// an RCDATA resource named after the form's root class, upper-cased as Windows names
// resources (cmake/LxForms.cmake: lx_add_form). Resource names are compared without regard
// to case, so a form is found by its class name as it is spelt.
#pragma once

#include <memory>
#include <string_view>

#include "framework/core/Component.h"
#include "framework/streaming/Streams.h"
#include "platform/Resources.h"

namespace lx::framework {

/// The module that holds the resources of a class: the program itself, which is one module.
platform::HMODULE FindClassHInstance(const TClassInfo& classInfo);

/// True when `module` holds the form resource of the class named `className`.
bool HasFormResource(platform::HMODULE module, std::string_view className);
/// A stream over the form resource of the class named `className`; raises EResNotFound
/// "Resource <className> not found" when the module holds none.
std::unique_ptr<TResourceStream> FindFormResource(platform::HMODULE module,
                                                  std::string_view className);

/// Reads into `instance` the form resources of its class and of its ancestor classes below
/// `rootAncestor` (TForm for a form, TDataModule for a data module), the most basic first, so
/// that a form derived from another form gets the components of both. Loaded is called once
/// on every component read, after the last resource. False when none of the classes has a
/// resource. Reader errors propagate; `instance` stays the caller's.
bool InitInheritedComponent(TComponent& instance, const TClassInfo& rootAncestor);

}  // namespace lx::framework
