// The skin's hooks reach the backend: real windows ask a dialog for its
// background, its control colours and its row colours while they paint.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "platform/ui/dialog.h"
#include "platform/ui/driver.h"

namespace {

using namespace vexo::ui;

#ifdef _WIN32

const DialogLayout& HookSpec() {
  static const DialogLayout layout = [] {
    DialogLayout d;
    d.id = 900;
    d.caption = "hooks";
    d.width = 200;
    d.height = 120;
    d.has_caption = true;
    d.visible = true;
    d.controls = {
        {10, ControlKind::kStatic, "상태", 5, 5, 100, 10, kStyleNone},
        {11, ControlKind::kListView, "", 5, 20, 190, 90, kSingleSelection},
    };
    return d;
  }();
  return layout;
}

class HookDialog : public Dialog {
 public:
  explicit HookDialog(WindowSystem& system) : Dialog(HookSpec(), system) {}
  bool OnInitDialog() override {
    window().InsertColumn(11, 0, "col", ColumnFormat::kLeft, 100);
    window().InsertRow(11, 0, "row");
    return true;
  }
  std::optional<int> BackgroundBitmap() override {
    ++backgrounds;
    return std::nullopt;
  }
  std::optional<ControlColors> ColorsOf(int id) override {
    if (id == 10) ++control_colors;
    return ControlColors{0xFF0000, std::nullopt, std::nullopt};
  }
  std::optional<RowColors> ColorsOfRow(int, int) override {
    ++row_colors;
    return RowColors{0xFFFFFF, 0x5BC0DE};
  }

  std::atomic<int> backgrounds{0};
  std::atomic<int> control_colors{0};
  std::atomic<int> row_colors{0};
};

TEST(WindowHooksTest, PaintingAsksTheDialog) {
  Driver& driver = SystemDriver();
  HookDialog* dialog = nullptr;
  std::atomic<bool> created{false};
  driver.StartUi([&] {
    HookDialog d(SystemWindows());
    dialog = &d;
    created = true;
    d.DoModal(nullptr);
  });
  ASSERT_TRUE(driver.RunUntilIdle());
  ASSERT_TRUE(created.load());
  // Painting is done before a screenshot is taken.
  const std::string shot = "hooks.bmp";
  EXPECT_TRUE(driver.SaveScreenshot(shot));
  std::remove(shot.c_str());
  ASSERT_TRUE(driver.RunUntilIdle());
  EXPECT_GT(dialog->backgrounds.load(), 0);
  EXPECT_GT(dialog->control_colors.load(), 0);
  EXPECT_GT(dialog->row_colors.load(), 0);
  driver.Inspect(900, [](Window& w) { w.EndDialog(2); });
  EXPECT_TRUE(driver.WaitUiEnded(10000));
}

#else

TEST(WindowHooksTest, PaintingAsksTheDialog) { GTEST_SKIP() << "the host backend paints nothing"; }

#endif

}  // namespace
