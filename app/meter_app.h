// The application object: runs the main window once, then lets the process end.
#pragma once

#include "platform/dialog.h"

namespace velmora {

class CMeterApp : public platform::App {
  public:
    bool InitInstance() override;
};

}  // namespace velmora
