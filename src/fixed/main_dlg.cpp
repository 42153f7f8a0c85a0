#include "fixed/main_dlg.h"

#include "res/dialogs.h"
#include "res/resource_ids.h"

using vexo::ui::ColumnFormat;

CMainDlg::CMainDlg(vexo::ClientEnv env)
    : CProductWindow(vexo::res::FixedDialog(), env, vexo::settings::Product::kFixed) {}

bool CMainDlg::OnInitDialog() {
  window().SetIcon(vexo::res::kIcon);
  window().SetText("Vexo - VPN");
  // A connection left over from an earlier run is dropped.
  StartHangUpWorker();
  ReadOptions();
  window().EnableItem(vexo::res::kStartChangeButton, false);
  window().EnableItem(vexo::res::kMinutesEdit, false);
  const struct {
    const char* title;
    int width;
  } columns[] = {{"상태", 55}, {"아이피", 105}, {"만료일", 80}, {"메모", 124},
                 {"rid", 0},   {"rpwd", 0},     {"server", 0}};
  DressList();
  int index = 0;
  for (const auto& c : columns) {
    window().InsertColumn(vexo::res::kServerList, index++, c.title, ColumnFormat::kCenter, c.width);
  }
  return true;
}
