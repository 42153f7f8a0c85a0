// Builds the in-memory dialog template (DLGTEMPLATE and its items) that
// CreateDialogIndirectParamA takes, from a portable dialog spec.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/ui/dialog_spec.h"

namespace vexo::ui::win32 {

// The template as DWORD-aligned words; pass data() to the dialog functions.
std::vector<WORD> BuildDialogTemplate(const DialogSpec& spec);

}  // namespace vexo::ui::win32
