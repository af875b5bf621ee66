// The info box: name, version, author, contact, icon and logo. It changes nothing.
#pragma once

#include "platform/dialog.h"

namespace velmora {

class CInfoDlg : public platform::Dialog {
  public:
    CInfoDlg(platform::Backend& backend, platform::Dialog* owner);
};

}  // namespace velmora
