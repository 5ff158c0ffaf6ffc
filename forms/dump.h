// A readable tree of a form section, one window after the other, for
// `imagetool dump`: every element with its class, geometry, container,
// flags, cursor, event bindings and decoded class properties. Texts are shown
// in UTF-8.
#pragma once

#include "forms/section.h"

#include <string>

namespace vorn::forms {

std::string dump_forms(const FormSection& forms);

} // namespace vorn::forms
