#include "ui/info_dlg.h"

#include "resources/templates.h"

namespace velmora {

CInfoDlg::CInfoDlg(platform::Backend& backend, platform::Dialog* owner)
    : Dialog(resources::InfoTemplate(), backend, owner) {}

}  // namespace velmora
