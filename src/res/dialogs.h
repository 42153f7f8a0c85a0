// The dialog templates of the client, as data (see platform/ui/dialog_layout.h).
#pragma once

#include "platform/ui/dialog_layout.h"

namespace vexo::res {

const ui::DialogLayout& AboutDialog();
const ui::DialogLayout& LoginDialog();
const ui::DialogLayout& FixedDialog();
const ui::DialogLayout& DynamicDialog();

// String 101: the About item of the login window's system menu.
inline constexpr char kAboutMenuText[] = "Vexo VPN 정보(&A)...";

}  // namespace vexo::res
