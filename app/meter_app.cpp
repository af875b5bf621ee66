#include "app/meter_app.h"

#include "ui/meter_dlg.h"

namespace velmora {

bool CMeterApp::InitInstance() {
    CMeterDlg dlg(GetBackend());
    m_pMainWnd = &dlg;
    // However the window ends, nothing is saved and nothing is asked.
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return false;
}

}  // namespace velmora
