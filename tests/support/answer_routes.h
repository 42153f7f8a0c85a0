#pragma once

namespace httplib {
class Server;
}

namespace vexo::test {

// Installs the fixed answers on `server`.
void InstallAnswerRoutes(httplib::Server& server);

}  // namespace vexo::test
