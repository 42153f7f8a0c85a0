#include "app/vexo_main.h"

#include "app/corvane_app.h"
#include "platform/net.h"
#include "platform/os.h"
#include "platform/rasapi.h"
#include "platform/ui/window.h"

namespace vexo {

int VexoMain() {
  CCorvaneApp app(ClientEnv{platform::SystemOs(), platform::SystemNet(), ui::SystemWindows(),
                            platform::SystemRas()});
  app.InitInstance();
  return 0;
}

}  // namespace vexo
