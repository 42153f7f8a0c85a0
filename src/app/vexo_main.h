// The client's start, called by the platform's entry point.
#pragma once

namespace vexo {

// Runs the client; returns the process's exit status.
int VexoMain();

}  // namespace vexo
