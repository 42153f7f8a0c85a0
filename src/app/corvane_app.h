// The application object: the single-instance guard, then the login window
// as a modal dialog; the process ends when it ends.
#pragma once

#include "app/client_env.h"

class CCorvaneApp {
 public:
  explicit CCorvaneApp(vexo::ClientEnv env) : m_env(env) {}

  // Always false: the application ends when this returns.
  bool InitInstance();

  // How long the end of the application waits for running workers.
  static constexpr unsigned kWorkerWaitMs = 3000;

 private:
  vexo::ClientEnv m_env;
};
