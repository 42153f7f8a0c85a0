// The dialog templates of the client, as data (see platform/ui/dialog_spec.h).
#pragma once

#include "platform/ui/dialog_spec.h"

namespace vexo::res {

const ui::DialogSpec& AboutDialog();
const ui::DialogSpec& LoginDialog();
const ui::DialogSpec& FixedDialog();
const ui::DialogSpec& DynamicDialog();

// String 101: the About item of the login window's system menu.
inline constexpr char kAboutMenuText[] = "Vexo VPN 정보(&A)...";

}  // namespace vexo::res
