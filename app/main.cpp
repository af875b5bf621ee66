#include "app/meter_app.h"
#include "platform/qt/qt_backend.h"
#include "resources/templates.h"

namespace {

// One per process, before the entry point runs.
velmora::CMeterApp theApp;

}  // namespace

int main(int argc, char** argv) {
    return platform::qt::RunApplication(argc, argv, theApp, resources::Module());
}
