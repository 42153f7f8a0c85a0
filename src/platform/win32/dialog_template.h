// Builds the in-memory dialog template (DLGTEMPLATE and its items) that
// CreateDialogIndirectParamA takes, from a portable dialog layout.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/ui/dialog_layout.h"

namespace vexo::ui::win32 {

// The template as DWORD-aligned words; pass data() to the dialog functions.
std::vector<WORD> BuildDialogTemplate(const DialogLayout& layout);

}  // namespace vexo::ui::win32
